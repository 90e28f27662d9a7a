// SPDX-License-Identifier: GPL-3.0-or-later
// Every question the program asks the user goes through this interface, so command logic runs with scripted
// answers in tests and with real dialogs in the program.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace karvo::platform {

enum class message_buttons { ok, ok_cancel, yes_no, yes_no_cancel };
enum class message_icon { none, information, warning, error, question };
enum class message_result { ok, cancel, yes, no };

// A dialog filter in the "Description|*.ext|All Files (*.*)|*.*" form.
struct file_dialog_options {
    std::string title;
    std::string filter;
    std::string default_extension; // without dot, appended when the chosen name has none
    std::string initial_name;
};

class prompts {
public:
    virtual ~prompts() = default;
    virtual message_result message_box(const std::string& text, const std::string& caption, message_buttons buttons,
                                       message_icon icon) = 0;
    // One-line input; nullopt when cancelled.
    virtual std::optional<std::string> input_box(const std::string& caption, const std::string& prompt,
                                                 const std::string& default_text) = 0;
    virtual std::optional<std::string> open_file(const file_dialog_options& options) = 0;
    virtual std::optional<std::string> save_file(const file_dialog_options& options) = 0;
    virtual std::optional<std::string> choose_folder(const std::string& title, const std::string& start) = 0;
    // Colour in 0x00BBGGRR; nullopt when cancelled.
    virtual std::optional<std::uint32_t> choose_colour(std::uint32_t initial) = 0;
};

} // namespace karvo::platform
