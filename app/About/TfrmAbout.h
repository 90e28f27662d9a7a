// SPDX-License-Identifier: GPL-3.0-or-later
// The about box: program title, version and a close button. It lives for the whole run and is shown on request.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace karvo {

class TfrmAbout : public QDialog {
public:
    explicit TfrmAbout(QWidget* parent = nullptr);

    QLabel* lblTitle = nullptr;
    QLabel* lblVersion = nullptr;
    QPushButton* cmdClose = nullptr;
};

} // namespace karvo
