// SPDX-License-Identifier: GPL-3.0-or-later
// The program's questions as Qt dialogs: message boxes, the one-line input box, the file, folder and colour
// choices. Dialog filters arrive in the "Description|*.ext|All Files (*.*)|*.*" form and are translated here.
#pragma once

#include <QString>

#include "platform/prompts.h"

class QWidget;

namespace karvo {

// "MP3 Files (*.mp3)|*.mp3|All Files (*.*)|*.*" -> "MP3 Files (*.mp3 *.MP3);;All Files (*)". The patterns are
// matched without regard to case on the desktop this filter comes from, so both cases are offered.
QString qt_file_filter(const std::string& filter);

// The chosen name with ".ext" appended when its file name has no extension (and an extension is given).
std::string with_default_extension(const std::string& path, const std::string& extension);

class qt_prompts final : public platform::prompts {
public:
    explicit qt_prompts(QWidget* parent = nullptr) : parent_(parent) {}
    void set_parent(QWidget* parent) { parent_ = parent; }

    platform::message_result message_box(const std::string& text, const std::string& caption,
                                         platform::message_buttons buttons, platform::message_icon icon) override;
    std::optional<std::string> input_box(const std::string& caption, const std::string& prompt,
                                         const std::string& default_text) override;
    std::optional<std::string> open_file(const platform::file_dialog_options& options) override;
    std::optional<std::string> save_file(const platform::file_dialog_options& options) override;
    std::optional<std::string> choose_folder(const std::string& title, const std::string& start) override;
    std::optional<std::uint32_t> choose_colour(std::uint32_t initial) override;

private:
    QWidget* parent_;
};

} // namespace karvo
