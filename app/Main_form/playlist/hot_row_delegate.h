// SPDX-License-Identifier: GPL-3.0-or-later
// Paints the playlist's hot row (the row under the pointer) underlined, as the list's hot tracking asks.
#pragma once

#include <QStyledItemDelegate>

namespace karvo {

class hot_row_delegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    int hot_row = -1;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
};

} // namespace karvo
