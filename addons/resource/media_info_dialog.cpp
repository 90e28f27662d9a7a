// SPDX-License-Identifier: GPL-3.0-or-later
#include "addons/resource/media_info_dialog.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include <array>
#include <cstdlib>
#include <string>

namespace karvo::resource {
namespace {

struct row {
    info_field field;
    const char* label;
    const char* unit;
};

constexpr std::array<row, info_field_count> rows = {{
    {field_path, "File", ""},
    {field_title, "Title", ""},
    {field_artist, "Artist", ""},
    {field_album, "Album", ""},
    {field_year, "Year", ""},
    {field_track, "Track", ""},
    {field_genre, "Genre", ""},
    {field_comment, "Comment", ""},
    {field_seconds, "Length", ""},
    {field_codec, "Codec", ""},
    {field_bit_rate, "Bit rate", " kbit/s"},
    {field_sample_rate, "Sample rate", " Hz"},
    {field_channels, "Channels", ""},
    {field_file_size, "File size", " bytes"},
    {field_modified, "Modified", ""},
}};

QString length_text(const std::string& seconds) {
    if (seconds.empty())
        return {};
    const long total = std::strtol(seconds.c_str(), nullptr, 10);
    return QString::asprintf("%ld:%02ld", total / 60, total % 60);
}

} // namespace

void show_media_info_dialog(const info_fields& fields) {
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return;
    QDialog dialog(QApplication::activeWindow());
    dialog.setWindowTitle(QStringLiteral("Media Information"));
    auto* form = new QFormLayout;
    for (const row& r : rows) {
        const std::string& value = fields[r.field];
        QString text = r.field == field_seconds ? length_text(value) : QString::fromStdString(value);
        if (!value.empty() && *r.unit)
            text += QString::fromUtf8(r.unit);
        auto* edit = new QLineEdit(text);
        edit->setReadOnly(true);
        edit->setCursorPosition(0);
        edit->setMinimumWidth(320);
        form->addRow(QString::fromUtf8(r.label), edit);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addLayout(form);
    layout->addWidget(buttons);
    dialog.exec();
}

} // namespace karvo::resource
