// SPDX-License-Identifier: GPL-3.0-or-later
#include "players/mpv_ipc.h"

#include <cstdio>

#include "platform/local_sockets.h"

namespace karvo {

std::string json_string(const std::string& text) {
    std::string json = "\"";
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (ch == '"' || ch == '\\') {
            json += '\\';
            json += ch;
        } else if (c < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", c);
            json += escape;
        } else {
            json += ch;
        }
    }
    return json + "\"";
}

ipc_result send_ipc_commands(platform::local_sockets& sockets, const std::string& socket_path,
                             const std::vector<std::vector<std::string>>& commands) {
    if (socket_path.empty())
        return ipc_result::not_listening;
    const auto connection = sockets.connect(socket_path);
    if (!connection)
        return ipc_result::not_listening;
    std::string requests;
    for (std::size_t id = 0; id < commands.size(); ++id) {
        requests += "{\"command\":[";
        for (std::size_t word = 0; word < commands[id].size(); ++word)
            requests.append(word > 0 ? "," : "").append(json_string(commands[id][word]));
        requests += "],\"request_id\":" + std::to_string(id + 1) + "}\n";
    }
    if (!connection->write(requests))
        return ipc_result::no_answer;
    std::size_t answered = 0;
    bool all_succeeded = true;
    while (answered < commands.size()) {
        const auto line = connection->read_line();
        if (!line)
            return ipc_result::no_answer;
        if (line->find("\"request_id\"") == std::string::npos || line->find("\"event\"") != std::string::npos)
            continue;
        ++answered;
        if (line->find("\"error\":\"success\"") == std::string::npos)
            all_succeeded = false;
    }
    return all_succeeded ? ipc_result::done : ipc_result::refused;
}

} // namespace karvo
