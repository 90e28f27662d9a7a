// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Search_tips/TfrmSearchTips.h"

#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

namespace karvo {

TfrmSearchTips::TfrmSearchTips(QWidget* parent) : QDialog(parent, Qt::Tool) {
    setObjectName("frmSearchTips");
    setWindowTitle(QStringLiteral("Searching Tips"));
    setStyleSheet("QDialog { background: rgb(0,0,72); } QLabel { color: rgb(235,242,255); } "
                  "QGroupBox { color: white; border: 1px solid rgb(0,128,192); margin-top: 8px; padding-top: 6px; }"
                  "QGroupBox::title { subcontrol-origin: margin; left: 8px; }"
                  "QPushButton { background: rgb(0,96,160); color: white; border: 1px solid rgb(40,165,230);"
                  " padding: 3px 18px; }");

    auto* group = new QGroupBox(QStringLiteral(" Search Info "), this);
    auto* texts = new QVBoxLayout(group);
    auto add = [&](const QString& text, bool heading = false) {
        auto* label = new QLabel(text, group);
        label->setWordWrap(true);
        if (heading) {
            QFont font = label->font();
            font.setBold(true);
            label->setFont(font);
        }
        texts->addWidget(label);
    };
    add(QStringLiteral("Simple Search"), true);
    add(QStringLiteral("Type in any string that you are searching for. For example: type in aqua to find all media "
                       "files that contain  the word aqua.  Please note that this search is not case sensitive."));
    add(QStringLiteral("Advanced Search"), true);
    add(QStringLiteral("To activate Advanced Search type the star character (*) at the begining of the query and then "
                       "use the plus (+) or minus (-) characters for  inclusion and exclusion strings."));
    add(QStringLiteral("Example (without quotes): \"*+aqua -lollipop +candyman\""));
    add(QStringLiteral("The star turns on the advanced search; +aqua and +candyman ask for the files that contain aqua "
                       "and those that contain candyman, and -lollipop leaves out every file that contains lollipop."));
    add(QStringLiteral("Example (without quotes): \"aqua\""));
    add(QStringLiteral("When you type aqua and press Enter or click on GO, Karvo Media shows all of the media files "
                       "that contain the word aqua, in any mixture of upper and lower case."));

    auto* close = new QPushButton(QStringLiteral("&Close"), this);
    close->setObjectName("btnClose");
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(close, 0, Qt::AlignRight);
    // 449 x 301 unless the texts need more: with a larger font they grow the window rather than overlap.
    constexpr int width = 449;
    setFixedSize(width, std::max(301, layout->totalHeightForWidth(width)));

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

} // namespace karvo
