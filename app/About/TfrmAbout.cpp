// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/About/TfrmAbout.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/resources/artwork.h"

namespace karvo {

TfrmAbout::TfrmAbout(QWidget* parent) : QDialog(parent) {
    setObjectName("frmAbout");
    setWindowTitle(QStringLiteral("About Karvo Media"));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, artwork::navy());
    palette.setColor(QPalette::WindowText, Qt::white);
    setPalette(palette);
    setAutoFillBackground(true);

    lblTitle = new QLabel(QStringLiteral("Karvo Media"), this);
    lblTitle->setObjectName("lblTitle");
    QFont font = lblTitle->font();
    font.setPointSize(font.pointSize() + 6);
    font.setBold(true);
    lblTitle->setFont(font);
    lblVersion = new QLabel(QStringLiteral("v4.0 Beta 3.5"), this);
    lblVersion->setObjectName("lblVersion");
    cmdClose = new QPushButton(QStringLiteral("Close"), this);
    cmdClose->setObjectName("cmdClose");
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblTitle, 0, Qt::AlignHCenter);
    layout->addWidget(lblVersion, 0, Qt::AlignHCenter);
    layout->addSpacing(12);
    layout->addWidget(cmdClose, 0, Qt::AlignHCenter);
}

} // namespace karvo
