// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt_platform/qt_prompts.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

#include "platform/file_system.h"

namespace karvo {

namespace {

QString text_of(const std::string& text) {
    return QString::fromStdString(text);
}

// "*.mp3;*.m3u" -> "*.mp3 *.MP3 *.m3u *.M3U"; "*.*" means every file.
QString qt_patterns(const QString& patterns) {
    QStringList out;
    for (QString pattern : patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        pattern = pattern.trimmed();
        if (pattern == QLatin1String("*.*") || pattern == QLatin1String("*")) {
            out << QStringLiteral("*");
            continue;
        }
        for (const QString& variant : {pattern, pattern.toLower(), pattern.toUpper()})
            if (!out.contains(variant))
                out << variant;
    }
    out.removeDuplicates();
    return out.join(QLatin1Char(' '));
}

// The description without a trailing "(...)", which Qt would take for the pattern list.
QString bare_description(QString description) {
    description = description.trimmed();
    if (description.endsWith(QLatin1Char(')'))) {
        const qsizetype open = description.lastIndexOf(QLatin1Char('('));
        if (open > 0)
            description = description.left(open).trimmed();
    }
    return description;
}

} // namespace

QString qt_file_filter(const std::string& filter) {
    const QStringList parts = text_of(filter).split(QLatin1Char('|'));
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString patterns = qt_patterns(parts[i + 1]);
        if (patterns.isEmpty())
            continue;
        QString description = bare_description(parts[i]);
        if (description.isEmpty())
            description = patterns;
        entries << description + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return entries.join(QStringLiteral(";;"));
}

std::string with_default_extension(const std::string& path, const std::string& extension) {
    if (extension.empty() || path.empty())
        return path;
    const std::string name = platform::file_name_of(path);
    if (name.find('.') != std::string::npos && name.back() != '.')
        return path;
    return name.empty() || name.back() != '.' ? path + "." + extension : path + extension;
}

platform::message_result qt_prompts::message_box(const std::string& text, const std::string& caption,
                                                 platform::message_buttons buttons, platform::message_icon icon) {
    using platform::message_buttons;
    using platform::message_result;
    QMessageBox box(parent_);
    box.setWindowTitle(text_of(caption));
    box.setText(text_of(text));
    switch (icon) {
        case platform::message_icon::information: box.setIcon(QMessageBox::Information); break;
        case platform::message_icon::warning: box.setIcon(QMessageBox::Warning); break;
        case platform::message_icon::error: box.setIcon(QMessageBox::Critical); break;
        case platform::message_icon::question: box.setIcon(QMessageBox::Question); break;
        case platform::message_icon::none: break;
    }
    switch (buttons) {
        case message_buttons::ok: box.setStandardButtons(QMessageBox::Ok); break;
        case message_buttons::ok_cancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
        case message_buttons::yes_no: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
        case message_buttons::yes_no_cancel:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            break;
    }
    switch (box.exec()) {
        case QMessageBox::Ok: return message_result::ok;
        case QMessageBox::Yes: return message_result::yes;
        case QMessageBox::No: return message_result::no;
        default:
            // Closing the box answers like its cancelling button; a plain OK box can only be confirmed.
            return buttons == message_buttons::ok       ? message_result::ok
                   : buttons == message_buttons::yes_no ? message_result::no
                                                        : message_result::cancel;
    }
}

std::optional<std::string> qt_prompts::input_box(const std::string& caption, const std::string& prompt,
                                                 const std::string& default_text) {
    bool ok = false;
    const QString text = QInputDialog::getText(parent_, text_of(caption), text_of(prompt), QLineEdit::Normal,
                                               text_of(default_text), &ok);
    if (!ok)
        return std::nullopt;
    return text.toStdString();
}

std::optional<std::string> qt_prompts::open_file(const platform::file_dialog_options& options) {
    const QString path = QFileDialog::getOpenFileName(parent_, text_of(options.title), text_of(options.initial_name),
                                                      qt_file_filter(options.filter));
    if (path.isEmpty())
        return std::nullopt;
    return path.toStdString();
}

std::optional<std::string> qt_prompts::save_file(const platform::file_dialog_options& options) {
    const QString path = QFileDialog::getSaveFileName(parent_, text_of(options.title), text_of(options.initial_name),
                                                      qt_file_filter(options.filter));
    if (path.isEmpty())
        return std::nullopt;
    return with_default_extension(path.toStdString(), options.default_extension);
}

std::optional<std::string> qt_prompts::choose_folder(const std::string& title, const std::string& start) {
    const QString folder = QFileDialog::getExistingDirectory(parent_, text_of(title), text_of(start));
    if (folder.isEmpty())
        return std::nullopt;
    return folder.toStdString();
}

std::optional<std::uint32_t> qt_prompts::choose_colour(std::uint32_t initial) {
    const QColor start(initial & 0xFF, (initial >> 8) & 0xFF, (initial >> 16) & 0xFF);
    const QColor colour = QColorDialog::getColor(start, parent_);
    if (!colour.isValid())
        return std::nullopt;
    return static_cast<std::uint32_t>(colour.red()) | static_cast<std::uint32_t>(colour.green()) << 8 |
           static_cast<std::uint32_t>(colour.blue()) << 16;
}

} // namespace karvo
