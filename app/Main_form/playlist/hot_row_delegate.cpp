// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Main_form/playlist/hot_row_delegate.h"

namespace karvo {

void hot_row_delegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    if (index.row() == hot_row)
        option->font.setUnderline(true);
}

} // namespace karvo
