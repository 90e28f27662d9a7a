// SPDX-License-Identifier: GPL-3.0-or-later
// plugins/export_copy.kep: "Copy to Folder" asks for a folder (a phone, a USB stick) and copies the
// playlist's files there with a progress window that can be cancelled. Nothing here lets an exception out.
#include "addons/export_common/plugin_exports.h"
#include "addons/export_common/plugin_settings.h"
#include "addons/export_common/plugin_windows.h"
#include "addons/export_copy/folder_copy.h"

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLocale>
#include <QMessageBox>
#include <QProgressDialog>
#include <QVBoxLayout>

namespace {

using namespace karvo;
using namespace karvo::copy_export;

constexpr double version = 1.0;
constexpr const char* author = "The Karvo Media developers";
constexpr const char* name = "Copy to Folder";
constexpr const char* menu_name = "Copy to Folder...";

exports::plugin_settings settings() {
    return exports::plugin_settings("export_copy.ini");
}

copy_options read_options(const exports::plugin_settings& store) {
    copy_options options;
    options.number_prefix = store.flag("NumberPrefix", options.number_prefix);
    options.write_m3u = store.flag("WriteM3U", options.write_m3u);
    return options;
}

void tell(QMessageBox::Icon icon, const QString& text) {
    QMessageBox box(icon, QString::fromUtf8(name), text, QMessageBox::Ok, exports::dialog_parent());
    box.exec();
}

QString size_text(std::uint64_t bytes) {
    return QLocale().formattedDataSize(static_cast<qint64>(bytes));
}

void copy_playlist(const string_list& paths) {
    const exports::plugin_settings store = settings();
    const QString folder =
        QFileDialog::getExistingDirectory(exports::dialog_parent(), QStringLiteral("Copy the playlist's files to"),
                                          QString::fromStdString(store.text("LastFolder", {})));
    if (folder.isEmpty())
        return;
    store.set_text("LastFolder", folder.toStdString());
    const copy_options options = read_options(store);
    const copy_plan plan = plan_copy(paths, folder.toStdString(), options);
    if (plan.files.empty()) {
        tell(QMessageBox::Warning, QStringLiteral("None of the playlist's files can be found."));
        return;
    }
    const auto room = free_space(plan.folder);
    if (!room || *room < plan.bytes_to_copy) {
        tell(QMessageBox::Warning, QStringLiteral("There is not enough free space in %1: the files need %2, %3 "
                                                  "are free. Nothing was copied.")
                                       .arg(folder, size_text(plan.bytes_to_copy), size_text(room.value_or(0))));
        return;
    }

    QProgressDialog progress(QStringLiteral("Copying..."), QStringLiteral("Cancel"), 0, 1000, exports::dialog_parent());
    progress.setWindowTitle(QString::fromUtf8(name));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    const double total = plan.bytes_to_copy > 0 ? static_cast<double>(plan.bytes_to_copy) : 1.0;
    std::size_t shown = plan.files.size();
    const copy_result result = run_copy(plan, options, [&](std::size_t file, std::uint64_t bytes) {
        if (file != shown) {
            shown = file;
            progress.setLabelText(QStringLiteral("Copying %1 of %2: %3")
                                      .arg(file + 1)
                                      .arg(plan.files.size())
                                      .arg(QString::fromStdString(plan.files[file].target_name)));
        }
        progress.setValue(static_cast<int>(1000.0 * static_cast<double>(bytes) / total));
        return !progress.wasCanceled();
    });
    progress.reset();

    QString text;
    switch (result.status) {
        case copy_status::done:
            text = QStringLiteral("%1 files copied to %2.").arg(result.copied).arg(folder);
            if (result.copied < plan.files.size())
                text += QStringLiteral(" Already there: %1.").arg(plan.files.size() - result.copied);
            break;
        case copy_status::cancelled: text = QStringLiteral("Cancelled after %1 files.").arg(result.copied); break;
        case copy_status::no_space:
            text = QStringLiteral("There is not enough free space in %1. Nothing was copied.").arg(folder);
            break;
        case copy_status::failed:
            text = QStringLiteral("%1 could not be written. %2 files were copied before it.")
                       .arg(QString::fromStdString(result.failed_file))
                       .arg(result.copied);
            break;
    }
    if (!plan.missing.empty())
        text += QStringLiteral("\nNot found and left out: %1.").arg(plan.missing.size());
    tell(result.status == copy_status::done ? QMessageBox::Information : QMessageBox::Warning, text);
}

void configure() {
    const exports::plugin_settings store = settings();
    const copy_options options = read_options(store);
    QDialog dialog(exports::dialog_parent());
    dialog.setWindowTitle(QStringLiteral("Copy to Folder Settings"));
    auto* prefix = new QCheckBox(QStringLiteral("Put the playlist position before each name (01 - ...)"));
    prefix->setChecked(options.number_prefix);
    auto* m3u = new QCheckBox(QStringLiteral("Write an M3U playlist beside the copies"));
    m3u->setChecked(options.write_m3u);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(prefix);
    layout->addWidget(m3u);
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted)
        return;
    store.set_flag("NumberPrefix", prefix->isChecked());
    store.set_flag("WriteM3U", m3u->isChecked());
}

} // namespace

const karvo::exports::plugin_description karvo::exports::this_plugin = {
    version,
    author,
    name,
    menu_name,
    "Copies the playlist's files into a folder, for example a phone or a "
    "USB stick, in playlist order, and writes an M3U playlist with relative "
    "paths beside them so the folder plays on its own. A file of the same "
    "name is never overwritten: the copy gets \" (2)\".",
    copy_playlist,
    configure,
};
