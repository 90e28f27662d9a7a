// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/testing/scripted_local_sockets.h"

#include <deque>

namespace karvo::platform {

class scripted_connection final : public local_connection {
public:
    scripted_connection(scripted_local_sockets& owner, std::string path) : owner_(owner), path_(std::move(path)) {}

    bool write(const std::string& text) override {
        const auto listener = owner_.listeners_.find(path_);
        if (listener == owner_.listeners_.end())
            return false;
        pending_ += text;
        for (std::size_t end; (end = pending_.find('\n')) != std::string::npos;) {
            const std::string line = pending_.substr(0, end);
            pending_.erase(0, end + 1);
            owner_.written_.push_back(path_ + ": " + line);
            for (std::string& reply : listener->second(line))
                replies_.push_back(std::move(reply));
        }
        return true;
    }

    std::optional<std::string> read_line() override {
        if (replies_.empty())
            return std::nullopt; // what a silent listener looks like after the time-out
        std::string line = std::move(replies_.front());
        replies_.pop_front();
        return line;
    }

private:
    scripted_local_sockets& owner_;
    std::string path_;
    std::string pending_;
    std::deque<std::string> replies_;
};

void scripted_local_sockets::listen(const std::string& path, responder answer) {
    listeners_[path] = std::move(answer);
}

void scripted_local_sockets::close(const std::string& path) {
    listeners_.erase(path);
}

std::unique_ptr<local_connection> scripted_local_sockets::connect(const std::string& path) {
    if (listeners_.count(path) == 0)
        return nullptr;
    return std::make_unique<scripted_connection>(*this, path);
}

} // namespace karvo::platform
