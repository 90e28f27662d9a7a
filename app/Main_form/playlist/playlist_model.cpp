// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Main_form/playlist/playlist_model.h"

#include "library/playlist_search.h"

#include <QMimeData>
#include <algorithm>
#include <vector>

#include "app/resources/artwork.h"
#include "library/media_list.h"
#include "library/text.h"

namespace karvo {

playlist_model::playlist_model(const media_list& list, QObject* parent)
    : listing_model(playlist_columns, parent), list_(list) {
    for (const view_column& shown : playlist_columns)
        captions_.append(QString::fromUtf8(shown.caption));
    QIcon playing;
    for (const qreal ratio : {1.0, 2.0})
        playing.addPixmap(artwork::glyph_pixmap(artwork::picture::play, 16, ratio));
    playing_icon_ = playing;
}

int playlist_model::list_count() const {
    return list_.count();
}

QVariant playlist_model::data(const QModelIndex& index, int role) const {
    ++data_calls_;
    if (role == Qt::DecorationRole && index.isValid() && index.column() == 0 && index.row() == playing_row_ &&
        index.row() < list_count())
        return playing_icon_;
    return listing_model::data(index, role);
}

void playlist_model::set_playing_path(const std::string& path) {
    playing_path_ = path;
    move_picture(find_playing_row(0, rows_));
}

int playlist_model::find_playing_row(int from, int to) const {
    if (playing_path_.empty())
        return -1;
    to = std::min({to, rows_, list_count()});
    from = std::max(from, 0);
    if (to - from < long_stretch) {
        for (int row = from; row < to; ++row)
            if (list_.full_path(row) == playing_path_)
                return row;
        return -1;
    }
    // After a sort, rows in display order are scattered over the store: it reads the paths in its own order.
    const std::vector<int> rows = list_.rows_where(
        FullPath, [this](std::string_view path) { return path == playing_path_; }, false, false);
    const auto found = std::lower_bound(rows.begin(), rows.end(), from);
    return found != rows.end() && *found < to ? *found : -1;
}

void playlist_model::move_picture(int row) {
    if (row == playing_row_)
        return;
    const int old = playing_row_;
    playing_row_ = row;
    repaint_image(old);
    repaint_image(row);
}

void playlist_model::repaint_image(int row) {
    if (row >= 0 && row < rows_)
        emit dataChanged(index(row, 0), index(row, 0), {Qt::DecorationRole});
}

std::string_view playlist_model::cell_text(int column, int row) const {
    return list_.cell(this->column(column).field, row);
}

int playlist_model::row_image(int row) const {
    return extension_image(list_.full_path(row));
}

QString playlist_model::caption(int section) const {
    return section == 0 ? count_caption() : captions_[section];
}

QStringList playlist_model::mimeTypes() const {
    return {QStringLiteral("application/x-karvo-playlist-selection")};
}

QMimeData* playlist_model::mimeData(const QModelIndexList& indexes) const {
    if (indexes.isEmpty())
        return nullptr;
    auto* data = new QMimeData;
    data->setData(mimeTypes().front(), {});
    return data;
}

void playlist_model::set_caption(int column, const QString& caption) {
    if (column < 1 || column >= playlist_view_columns)
        return;
    captions_[column] = caption;
    emit headerDataChanged(Qt::Horizontal, column, column);
}

void playlist_model::set_count_texts(const QString& media_names, const QString& total_files) {
    media_names_ = media_names;
    total_files_ = total_files;
    emit headerDataChanged(Qt::Horizontal, 0, 0);
}

void playlist_model::set_extension_images(const std::vector<std::string>& extensions, std::vector<QIcon> icons) {
    extension_index_.clear();
    for (std::size_t i = 0; i < extensions.size(); ++i)
        extension_index_.emplace(upper_case(extensions[i]), static_cast<int>(i)); // the first one wins
    set_icons(std::move(icons));
}

int playlist_model::extension_image(std::string_view path) const {
    const auto found = extension_index_.find(upper_extension(path));
    return found == extension_index_.end() ? unknown_extension_image : found->second;
}

void playlist_model::refresh_count() {
    const int count = list_count();
    if (count > rows_) {
        beginInsertRows({}, rows_, count - 1);
        rows_ = count;
        endInsertRows();
    } else if (count < rows_) {
        beginRemoveRows({}, count, rows_ - 1);
        rows_ = count;
        endRemoveRows();
    }
    // Every row repaints below, the picture's row with them.
    playing_row_ = find_playing_row(0, rows_);
    repaint_all();
}

void playlist_model::repaint_all() {
    if (rows_ > 0)
        emit dataChanged(index(0, 0), index(rows_ - 1, playlist_view_columns - 1),
                         {Qt::DisplayRole, Qt::DecorationRole});
    emit headerDataChanged(Qt::Horizontal, 0, 0);
}

void playlist_model::rows_changed(int first, int last) {
    first = std::max(first, 0);
    last = std::min(last, rows_ - 1);
    if (first > last)
        return;
    // A picture above the range stays the first. Otherwise no row above holds the path: look in the range, and
    // past it only if the picture was in it (one below the range stays the first otherwise).
    if (playing_row_ < 0 || playing_row_ >= first) {
        int row = find_playing_row(first, last + 1);
        if (row < 0 && playing_row_ > last)
            row = playing_row_;
        else if (row < 0 && playing_row_ >= 0)
            row = find_playing_row(last + 1, rows_);
        const int old = playing_row_;
        playing_row_ = row;
        // The range repaints below; a picture leaving it or arriving past it repaints on its own.
        if (row != old) {
            if (old < first || old > last)
                repaint_image(old);
            if (row < first || row > last)
                repaint_image(row);
        }
    }
    emit dataChanged(index(first, 0), index(last, playlist_view_columns - 1), {Qt::DisplayRole, Qt::DecorationRole});
}

void playlist_model::rows_edited(const std::vector<row_range>& removed, const std::vector<row_range>& inserted) {
    for (const row_range& range : removed) {
        if (range.last < range.first || range.first >= rows_)
            continue;
        const int last = std::min(range.last, rows_ - 1);
        beginRemoveRows({}, range.first, last);
        rows_ -= last - range.first + 1;
        endRemoveRows();
    }
    for (const row_range& range : inserted) {
        if (range.last < range.first || range.first > rows_)
            continue;
        beginInsertRows({}, range.first, range.last);
        rows_ += range.last - range.first + 1;
        endInsertRows();
    }
    refresh_count();
}

QString playlist_model::count_caption() const {
    // While a search has narrowed the list the caption says so, so emptying the search is known to bring it back.
    const QString caption = QString::fromStdString(
        karvo::count_caption(media_names_.toStdString(), total_files_.toStdString(), rows_, list_.backup_count()));
    return modified_ ? QStringLiteral("* ") + caption : caption;
}

void playlist_model::set_modified(bool modified) {
    if (modified == modified_)
        return;
    modified_ = modified;
    emit headerDataChanged(Qt::Horizontal, 0, 0);
}

} // namespace karvo
