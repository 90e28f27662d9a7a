// SPDX-License-Identifier: GPL-3.0-or-later
#include <QAbstractItemModelTester>
#include <QTableView>
#include <functional>
#include <gtest/gtest.h>

#include "app/Main_form/playlist/playlist_model.h"
#include "library/media_list.h"
#include "main_window_fixture.h"

namespace karvo {
namespace {

TEST(playlist_model, columns_read_the_media_list_through_the_column_table) {
    media_list list;
    playlist_model model(list);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    media_fields fields;
    fields = {"/m/My_Song.mp3", "Title", "Artist", "Album", "1999", "", "Rock", "125", "", "", "", "44100", "128"};
    list.append(make_media_info(fields), "Pls");
    model.refresh_count();
    ASSERT_EQ(model.rowCount(), 1);
    const QStringList expected = {"My Song", "Artist", "Title", "Album", "Rock", "02:05", "128kbits", "1999", "Pls"};
    for (int column = 0; column < 9; ++column)
        EXPECT_EQ(model.data(model.index(0, column)).toString(), expected[column]) << column;
    EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString(), "Media Names   (Total Files 1)");
    EXPECT_EQ(model.headerData(8, Qt::Horizontal).toString(), "List");

    // A change that rewrites the list runs inside one reset and the count follows.
    model.rewrite([&] {
        list.append(make_media_info(fields), "Pls");
        list.append(make_media_info(fields), "Pls");
    });
    EXPECT_EQ(model.rowCount(), 3);
    EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString(), "Media Names   (Total Files 3)");
    model.rewrite([&] { list.clear(); });
    EXPECT_EQ(model.rowCount(), 0);
}

TEST(playlist_model, extension_images_with_nine_for_unknown_types) {
    media_list list;
    playlist_model model(list);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    std::vector<std::string> extensions;
    std::vector<QIcon> icons;
    for (int i = 0; i < 12; ++i) {
        extensions.push_back("E" + std::to_string(i));
        QPixmap pixmap(16, 16);
        pixmap.fill(QColor(i * 20, 0, 0));
        icons.emplace_back(pixmap);
    }
    extensions[0] = "MP3";
    extensions[3] = "FLAC";
    model.set_extension_images(extensions, icons);
    struct image_case {
        const char* path;
        int image;
    };
    for (const auto& c : std::vector<image_case>{
             {"/a/b.mp3", 0}, {"/a/b.MP3", 0}, {"/a/b.Flac", 3}, {"/a/b.xyz", 9}, {"/a/noext", 9}, {"/a.b/c", 9}})
        EXPECT_EQ(model.extension_image(c.path), c.image) << c.path;

    media_fields fields{};
    fields[0] = "/a/b.xyz";
    list.append(make_media_info(fields), "");
    model.refresh_count();
    const QIcon icon = model.data(model.index(0, 0), Qt::DecorationRole).value<QIcon>();
    EXPECT_EQ(icon.pixmap(16, 16).toImage().pixelColor(0, 0), QColor(180, 0, 0));
    EXPECT_FALSE(model.data(model.index(0, 1), Qt::DecorationRole).isValid());
}

TEST(playlist_model, rows_beyond_the_list_read_as_nothing) {
    // Between a change of the list and the next refresh the view may still ask for old rows.
    media_list list;
    playlist_model model(list);
    media_fields fields{};
    fields[0] = "/a/x.mp3";
    list.append(make_media_info(fields), "");
    list.append(make_media_info(fields), "");
    model.refresh_count();
    list.clear();
    EXPECT_TRUE(model.data(model.index(1, 0)).toString().isEmpty());
    EXPECT_FALSE(model.data(model.index(1, 0), Qt::DecorationRole).isValid());
}

TEST(playlist_model, the_play_picture_stays_on_the_first_row_with_the_playing_path) {
    struct picture_case {
        const char* name;
        const char* playing;
        std::function<void(media_list&, playlist_model&)> change;
        int row; // the picture's row after the change
    };
    const auto edit = [](int first, int last, std::function<void(media_list&)> change) {
        return [=](media_list& list, playlist_model& model) {
            change(list);
            model.rows_changed(first, last);
        };
    };
    const picture_case cases[] = {
        {"above the changed rows it stays", "/b.mp3", edit(3, 4, [](media_list& l) { l.swap(3, 4); }), 1},
        {"it moves with its row", "/c.mp3", edit(1, 2, [](media_list& l) { l.move_up(2); }), 1},
        {"a renamed row hands it to the next match", "/b.mp3",
         edit(1, 1, [](media_list& l) { l.set_cell(FullPath, 1, "/x.mp3"); }), 3},
        {"a match above takes it", "/e.mp3", edit(2, 2, [](media_list& l) { l.set_cell(FullPath, 2, "/e.mp3"); }), 2},
        {"below the changed rows it stays", "/e.mp3", edit(0, 1, [](media_list& l) { l.swap(0, 1); }), 4},
        {"a row getting the path shows it", "/z.mp3",
         edit(4, 4, [](media_list& l) { l.set_cell(FullPath, 4, "/z.mp3"); }), 4},
        {"a sort looks for it again", "/b.mp3",
         [](media_list& l, playlist_model& m) { m.reorder([&] { l.sort_descending(FullPath); }); }, 2},
    };
    for (const picture_case& c : cases) {
        SCOPED_TRACE(c.name);
        media_list list;
        playlist_model model(list);
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
        for (const char* path : {"/a.mp3", "/b.mp3", "/c.mp3", "/b.mp3", "/e.mp3"}) {
            media_fields fields{};
            fields[0] = path;
            list.append(make_media_info(fields), "");
        }
        model.refresh_count();
        model.set_playing_path(c.playing);
        c.change(list, model);
        EXPECT_EQ(model.playing_row(), c.row);
        const qint64 picture = model.data(model.index(c.row, 0), Qt::DecorationRole).value<QIcon>().cacheKey();
        for (int row = 0; row < model.rowCount(); ++row)
            EXPECT_EQ(model.data(model.index(row, 0), Qt::DecorationRole).value<QIcon>().cacheKey() == picture,
                      row == c.row)
                << row;
    }

    // A list long enough for the store's own scan: after a sort the picture is on the first of two matches.
    media_list list;
    playlist_model model(list);
    const int count = 40000;
    for (int k = 0; k < count; ++k) {
        media_fields fields{};
        fields[0] = k == 7 || k == 9000 ? "/b.mp3" : "/p" + std::to_string(k) + ".mp3";
        list.append(make_media_info(fields), "");
    }
    model.refresh_count();
    model.set_playing_path("/b.mp3");
    EXPECT_EQ(model.playing_row(), 7);
    model.reorder([&] { list.sort_descending(FullPath); });
    EXPECT_EQ(model.playing_row(), count - 2);
}

} // namespace
} // namespace karvo
