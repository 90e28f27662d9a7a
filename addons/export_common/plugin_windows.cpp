// SPDX-License-Identifier: GPL-3.0-or-later
#include "addons/export_common/plugin_windows.h"

#include <QApplication>
#include <QMessageBox>

namespace karvo::exports {

bool widgets_available() {
    return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
}

QWidget* dialog_parent() {
    return QApplication::activeWindow();
}

void show_about(const about_text& about) {
    if (!widgets_available())
        return;
    QMessageBox box(QMessageBox::Information, about.name,
                    QStringLiteral("<b>%1</b> v.%2<br>by %3<p>%4</p>")
                        .arg(about.name.toHtmlEscaped(), about.version.toHtmlEscaped(), about.author.toHtmlEscaped(),
                             about.description.toHtmlEscaped()),
                    QMessageBox::Ok, dialog_parent());
    box.setTextFormat(Qt::RichText);
    box.exec();
}

} // namespace karvo::exports
