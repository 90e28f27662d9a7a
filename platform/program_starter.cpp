// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/program_starter.h"

namespace karvo::platform {

std::vector<std::string> split_command_line(const std::string& parameters) {
    // The command-line-to-arguments rules: blanks separate outside quotes; 2n backslashes before a quote give n
    // backslashes and the quote opens or closes a group; 2n+1 give n backslashes and a literal quote; inside a
    // group a tripled quote yields one literal quote.
    std::vector<std::string> arguments;
    std::string current;
    bool in_argument = false;
    int quotes = 0;
    std::size_t backslashes = 0;
    std::size_t i = 0;
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (i < parameters.size()) {
        const char c = parameters[i];
        if (blank(c) && quotes == 0) {
            if (in_argument)
                arguments.push_back(std::move(current));
            current.clear();
            in_argument = false;
            backslashes = 0;
            while (i < parameters.size() && blank(parameters[i]))
                ++i;
            continue;
        }
        in_argument = true;
        if (c == '\\') {
            current += c;
            ++backslashes;
            ++i;
        } else if (c == '"') {
            if (backslashes % 2 == 0) {
                current.resize(current.size() - backslashes / 2);
                ++quotes;
            } else {
                current.resize(current.size() - backslashes / 2 - 1);
                current += '"';
            }
            backslashes = 0;
            ++i;
            while (i < parameters.size() && parameters[i] == '"') {
                if (++quotes == 3) {
                    current += '"';
                    quotes = 0;
                }
                ++i;
            }
            if (quotes == 2)
                quotes = 0;
        } else {
            current += c;
            backslashes = 0;
            ++i;
        }
    }
    if (in_argument)
        arguments.push_back(std::move(current));
    return arguments;
}

} // namespace karvo::platform
