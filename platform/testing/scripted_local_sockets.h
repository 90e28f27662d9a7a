// SPDX-License-Identifier: GPL-3.0-or-later
// Local sockets for tests: listeners registered by path that answer each written line with lines of their own,
// and a record of every line written, as "path: line".
#pragma once

#include "platform/local_sockets.h"

#include <functional>
#include <map>
#include <vector>

namespace karvo::platform {

class scripted_local_sockets final : public local_sockets {
public:
    using responder = std::function<std::vector<std::string>(const std::string& line)>;

    void listen(const std::string& path, responder answer);
    void close(const std::string& path);

    const std::vector<std::string>& written() const { return written_; }
    void clear() { written_.clear(); }

    std::unique_ptr<local_connection> connect(const std::string& path) override;

private:
    friend class scripted_connection;
    std::map<std::string, responder> listeners_;
    std::vector<std::string> written_;
};

} // namespace karvo::platform
