// SPDX-License-Identifier: GPL-3.0-or-later
// plugins/export_xspf.kep: "Export to XSPF" asks for a file and writes the playlist there as an
// XSPF document. Nothing here lets an exception out.
#include "addons/export_common/plugin_exports.h"
#include "addons/export_common/plugin_settings.h"
#include "addons/export_common/plugin_windows.h"
#include "addons/export_xspf/xspf_writer.h"
#include "library/playlist_files.h"

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QVBoxLayout>

namespace {

using namespace karvo;

constexpr double version = 1.0;
constexpr const char* author = "The Karvo Media developers";
constexpr const char* name = "XSPF Playlist Export";
constexpr const char* menu_name = "Export to XSPF";

exports::plugin_settings settings() {
    return exports::plugin_settings("export_xspf.ini");
}

void export_playlist(const string_list& paths) {
    const exports::plugin_settings options = settings();
    const QString folder = QString::fromStdString(options.text("LastFolder", {}));
    QString target = QFileDialog::getSaveFileName(exports::dialog_parent(), QString::fromUtf8(menu_name),
                                                  QFileInfo(folder, QStringLiteral("Playlist.xspf")).filePath(),
                                                  QStringLiteral("XSPF Playlist (*.xspf);;All Files (*)"));
    if (target.isEmpty())
        return;
    if (QFileInfo(target).suffix().isEmpty())
        target += QStringLiteral(".xspf");
    options.set_text("LastFolder", QFileInfo(target).absolutePath().toStdString());

    std::string title = options.text("Title", {});
    if (title.empty())
        title = QFileInfo(target).completeBaseName().toStdString();
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const bool written = xspf::write_playlist(target.toStdString(), paths, title, options.flag("ReadTags", true));
    QGuiApplication::restoreOverrideCursor();
    if (!written)
        QMessageBox::warning(exports::dialog_parent(), QString::fromUtf8(cant_write_file_caption),
                             QString::fromUtf8(cant_write_file_text));
}

void configure() {
    const exports::plugin_settings options = settings();
    QDialog dialog(exports::dialog_parent());
    dialog.setWindowTitle(QStringLiteral("XSPF Export Settings"));
    auto* read_tags =
        new QCheckBox(QStringLiteral("Read title, artist, album, track number and length from the files"));
    read_tags->setChecked(options.flag("ReadTags", true));
    auto* title = new QLineEdit(QString::fromStdString(options.text("Title", {})));
    title->setPlaceholderText(QStringLiteral("the file's name"));
    auto* form = new QFormLayout;
    form->addRow(read_tags);
    form->addRow(QStringLiteral("Playlist title:"), title);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addLayout(form);
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted)
        return;
    options.set_flag("ReadTags", read_tags->isChecked());
    options.set_text("Title", title->text().simplified().toStdString());
}

} // namespace

const karvo::exports::plugin_description karvo::exports::this_plugin = {
    version,
    author,
    name,
    menu_name,
    "Writes the playlist as an XSPF document (UTF-8, file:// locations) "
    "with the title, artist, album, track number and length read from "
    "the files' tags, for any player that reads XSPF.",
    export_playlist,
    configure,
};
