// SPDX-License-Identifier: GPL-3.0-or-later
// Talking to another program over a local (Unix-domain) stream socket, one text line at a time. Every connect,
// write and read gives up after a short time-out, so a program that stops answering never blocks the caller.
#pragma once

#include <memory>
#include <optional>
#include <string>

namespace karvo::platform {

class local_connection {
public:
    virtual ~local_connection() = default;
    // Writes the whole text; false when the other end has gone or did not take it in time.
    virtual bool write(const std::string& text) = 0;
    // The next line without its line end; nullopt on time-out or when the other end has closed.
    virtual std::optional<std::string> read_line() = 0;
};

class local_sockets {
public:
    virtual ~local_sockets() = default;
    // nullptr when nothing listens at the path.
    virtual std::unique_ptr<local_connection> connect(const std::string& path) = 0;
};

local_sockets& system_local_sockets();

} // namespace karvo::platform
