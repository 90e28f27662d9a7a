// SPDX-License-Identifier: GPL-3.0-or-later
// Commands over a JSON IPC socket of the kind a player opens when started with its IPC switch: one JSON request
// per line, each answered by a line with the same request id (other lines on the socket are events and ignored).
#pragma once

#include <string>
#include <vector>

namespace karvo {
namespace platform {
class local_sockets;
}

// `refused`: every request was answered, but not all with success.
enum class ipc_result { done, refused, not_listening, no_answer };

// Sends each command (its words as a JSON array) and waits for every answer; `done` when all reported success.
ipc_result send_ipc_commands(platform::local_sockets& sockets, const std::string& socket_path,
                             const std::vector<std::vector<std::string>>& commands);

// The text as a JSON string literal.
std::string json_string(const std::string& text);

} // namespace karvo
