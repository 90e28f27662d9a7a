// SPDX-License-Identifier: GPL-3.0-or-later
// The model behind `LstMusicList`: the columns of playlist_columns read from the main window's media_list at the moment the view asks
// for a cell. It holds no entries; its row count is the view's item count, set by refresh_count.
#pragma once

#include <QStringList>
#include <array>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "app/Main_form/listing_model.h"
#include "library/main_settings.h"
#include "library/playlist_edits.h"

namespace karvo {

class media_list;

class playlist_model : public listing_model {
public:
    // The image shown for an extension the resource plug-in does not list.
    static constexpr int unknown_extension_image = 9;

    playlist_model(const media_list& list, QObject* parent = nullptr);

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    // A drag out of the playlist carries no cells: its drop targets read the view's selection.
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;

    // Captions of columns 1-8 (column 0 shows the count caption).
    void set_caption(int column, const QString& caption);
    // Messages 0 and 1 of the message table, the parts of the count caption.
    void set_count_texts(const QString& media_names, const QString& total_files);
    // The resource plug-in's extensions (upper case, no dot) and their icons, same index.
    void set_extension_images(const std::vector<std::string>& extensions, std::vector<QIcon> icons);
    int extension_image(std::string_view path) const;

    // The view's item count := the list's row count, as rows added or taken at the end, so the selection keeps its
    // positions and the view its scroll position; the rows shown repaint and the count caption follows.
    void refresh_count();
    // Runs a change that rewrites many rows, then refreshes the count once.
    template <typename Change>
    void rewrite(Change&& change) {
        change();
        refresh_count();
    }
    // Runs a change that only reorders the rows (a sort, a shuffle), then repaints them once. A path no row held
    // is held by none after it, so the picture is looked for again only when one was shown.
    template <typename Change>
    void reorder(Change&& change) {
        const bool counted = rows_ == list_count();
        change();
        if (counted && rows_ == list_count() && playing_row_ < 0)
            repaint_all();
        else
            refresh_count();
    }
    // Rows first..last changed in place; the picture follows its path within them.
    void rows_changed(int first, int last);
    // After a command took rows away or put rows in, already done to the list: the view is told range by range
    // (removed: old coordinates, last range first; inserted: new coordinates, ascending), then the count follows.
    void rows_edited(const std::vector<row_range>& removed, const std::vector<row_range>& inserted);

    // Now playing: the first row with this full path shows the play picture instead of its file icon ("" none).
    // Only the row that had the picture and the one that gets it repaint; after edits it is looked up again.
    void set_playing_path(const std::string& path);
    int playing_row() const { return playing_row_; }

    QString count_caption() const;
    // The list differs from its saved file: the count caption starts with a mark.
    void set_modified(bool modified);
    // How many times data() ran; the view asks only for what it paints.
    std::size_t data_calls() const { return data_calls_; }
    void reset_data_calls() { data_calls_ = 0; }

private:
    int list_count() const;
    int list_rows() const override { return list_count(); }
    std::string_view cell_text(int column, int row) const override;
    int row_image(int row) const override;
    QString caption(int section) const override;

    // The first row in from..to-1 with the playing path, -1 if none.
    int find_playing_row(int from, int to) const;
    static constexpr int long_stretch = 1 << 15; // rows from which the store's own scan is faster
    void move_picture(int row);
    void repaint_image(int row);
    void repaint_all();

    const media_list& list_;
    QStringList captions_;
    QString media_names_ = QStringLiteral("Media Names");
    QString total_files_ = QStringLiteral("Total Files");
    std::unordered_map<std::string, int> extension_index_;
    mutable std::size_t data_calls_ = 0;
    std::string playing_path_;
    int playing_row_ = -1;
    bool modified_ = false;
    QIcon playing_icon_;
};

} // namespace karvo
