// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Main_form/listing_model.h"

namespace karvo {

namespace {

QVariant alignment(column_align align) {
    return QVariant::fromValue(
        Qt::Alignment((align == column_align::right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter));
}

} // namespace

listing_model::listing_model(std::span<const view_column> columns, QObject* parent)
    : QAbstractTableModel(parent), columns_(columns) {}

int listing_model::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int listing_model::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : column_count();
}

QVariant listing_model::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rows_ || index.row() >= list_rows() || index.column() >= column_count())
        return {};
    const int row = index.row();
    switch (role) {
        case Qt::DisplayRole:
        case Qt::ToolTipRole: {
            const std::string_view text = cell_text(index.column(), row);
            return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
        }
        case Qt::DecorationRole:
            if (index.column() == 0) {
                const int image = row_image(row);
                if (image >= 0 && image < static_cast<int>(icons_.size()))
                    return icons_[image];
            }
            return {};
        case Qt::TextAlignmentRole: return alignment(column(index.column()).align);
        default: return {};
    }
}

QVariant listing_model::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= column_count())
        return {};
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole) // the tip shows a caption the column cuts
        return caption(section);
    if (role == Qt::TextAlignmentRole)
        return alignment(column(section).align);
    return {};
}

Qt::ItemFlags listing_model::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled | Qt::ItemNeverHasChildren;
}

void listing_model::set_icons(std::vector<QIcon> icons) {
    icons_ = std::move(icons);
    if (rows_ > 0)
        emit dataChanged(index(0, 0), index(rows_ - 1, 0), {Qt::DecorationRole});
}

} // namespace karvo
