// SPDX-License-Identifier: GPL-3.0-or-later
// The common part of the main window's two list models (`LstMusicList`, `LstMusicListAll`): rows read from a list
// at the moment the view asks for a cell, a file icon in the first column, columns, captions and alignment from the view's column table, draggable rows.
#pragma once

#include <QAbstractTableModel>
#include <QIcon>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "library/view_columns.h"

namespace karvo {

class listing_model : public QAbstractTableModel {
public:
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

protected:
    listing_model(std::span<const view_column> columns, QObject* parent);

    const view_column& column(int section) const { return columns_[static_cast<std::size_t>(section)]; }
    // The text of a view cell (its column's field), the image index of a row (outside the image list: no icon) and
    // a column caption.
    virtual std::string_view cell_text(int column, int row) const = 0;
    virtual int row_image(int row) const = 0;
    virtual QString caption(int section) const = 0;
    // The rows the list holds now; a view count above it is being brought down.
    virtual int list_rows() const = 0;

    // Replaces the image list; the icons of the rows shown are repainted.
    void set_icons(std::vector<QIcon> icons);

    int rows_ = 0; // the view's item count

private:
    int column_count() const { return static_cast<int>(columns_.size()); }

    std::span<const view_column> columns_;
    std::vector<QIcon> icons_;
};

} // namespace karvo
