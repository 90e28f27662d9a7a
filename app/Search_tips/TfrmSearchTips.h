// SPDX-License-Identifier: GPL-3.0-or-later
// The searching tips window: how simple and advanced queries are written. Created when asked for, shown modally
// and freed when it closes.
#pragma once

#include <QDialog>

namespace karvo {

class TfrmSearchTips : public QDialog {
    Q_OBJECT
public:
    explicit TfrmSearchTips(QWidget* parent = nullptr);
};

} // namespace karvo
