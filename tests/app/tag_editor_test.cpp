// SPDX-License-Identifier: GPL-3.0-or-later
#include <QComboBox>
#include <QKeyEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <optional>
#include <gtest/gtest.h>

#include "app/Id3_form/TID3Form.h"
#include "app/Id3_form/cp1252_limit.h"
#include "app/Main_form/playlist/playlist_controller.h"
#include "app/Main_form/tags/tags_controller.h"
#include "components/Fsnotify/TFSNotify.h"
#include "library/id3_class.h"
#include "library/playlist_class.h"
#include "main_window_fixture.h"
#include "tests/support/media_fixtures.h"

namespace karvo {
namespace {

using testing::main_window_fixture;

// A window whose playlist holds one generated MP3 file per entry of `files`, listed as "listed <n>".
struct tagged_window {
    explicit tagged_window(const std::vector<testing::mp3_options>& files, bool with_language = false) {
        if (with_language)
            std::filesystem::copy_file(KARVO_TEST_PLUGIN_DIR "/language_long.dll",
                                       f.folder.file("plugins/language.dll"));
        TfrmMain& w = f.create();
        for (std::size_t i = 0; i < files.size(); ++i) {
            paths.push_back(f.folder.file("song" + std::to_string(i) + ".mp3"));
            testing::write_mp3(paths.back(), files[i]);
            w.virtual_playlist().append(testing::media_info({paths.back(), "listed " + std::to_string(i)}), "");
        }
        w.playlist().refresh_count();
    }
    TfrmMain& window() { return *f.window; }
    // Puts a file that is already there at the end of the playlist.
    void add(const std::string& path) {
        paths.push_back(path);
        window().virtual_playlist().append(testing::media_info({path, "listed " + std::to_string(paths.size() - 1)}),
                                           "");
        window().playlist_area().refresh_count();
    }
    // Opens the editor through its command, with `focused` selected and focused (-1: nothing selected).
    TID3Form& open(int focused) {
        window().playlist().select_positions(focused < 0 ? std::vector<int>{} : std::vector<int>{focused}, focused);
        EXPECT_TRUE(window().commands().invoke("mnuID3"));
        return *window().tags_area().tag_editor();
    }

    main_window_fixture f;
    std::vector<std::string> paths;
};

testing::mp3_options v1(const std::string& title) {
    return testing::mp3_options{}.with_id3v1(testing::title_tag(title, "Artist " + title));
}

// Key presses carrying `text`, one per character (QTest's key clicks know only ASCII).
void type(QLineEdit& field, const QString& text) {
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(&field, &press);
    }
}

std::vector<testing::mp3_options> three_files() {
    return {v1("One"), v1("Two"), v1("Three")};
}

TEST(tag_editor, opens_on_the_focused_row_and_moves_within_the_list) {
    struct row {
        int focused;
        std::vector<const char*> moves; // "next" / "back"
        int position;
        const char* title;
    };
    const row rows[] = {
        {-1, {}, 1, "One"},
        {1, {}, 2, "Two"},
        {2, {"next"}, 3, "Three"}, // Next on the last entry does nothing
        {-1, {"back"}, 1, "One"},  // Back on the first does nothing
        {0, {"next", "next", "back"}, 2, "Two"},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.focused);
        tagged_window t(three_files());
        TID3Form& form = t.open(r.focused);
        for (const char* move : r.moves)
            QTest::mouseClick(std::string(move) == "next" ? form.cmdNext : form.cmdBack, Qt::LeftButton);
        EXPECT_EQ(form.current_position(), r.position);
        EXPECT_EQ(form.lblCurrent->text(), QString::number(r.position));
        EXPECT_EQ(form.lblTotal->text(), "3");
        EXPECT_EQ(form.txtTitle->text(), r.title);
        EXPECT_EQ(form.txtFilename->text().toStdString(), t.paths[static_cast<std::size_t>(r.position - 1)]);
        EXPECT_FALSE(form.cmdSave->isEnabled());
    }
    // An empty playlist: nothing to move through or edit.
    tagged_window t(std::vector<testing::mp3_options>{});
    TID3Form& form = t.open(-1);
    EXPECT_EQ(form.lblCurrent->text() + form.lblTotal->text(), "00");
    EXPECT_FALSE(form.cmdNext->isEnabled() || form.cmdBack->isEnabled() || form.txtTitle->isEnabled());
    EXPECT_FALSE(form.cmdSave->isEnabled());
}

TEST(tag_editor, save_is_enabled_by_an_edit_and_off_again_after_save_or_a_move) {
    struct row {
        const char* action;
        bool enabled;
    };
    const row rows[] = {{"type", true}, {"genre", true}, {"type+save", false}, {"type+next", false}};
    for (const row& r : rows) {
        SCOPED_TRACE(r.action);
        tagged_window t(three_files());
        TID3Form& form = t.open(-1);
        const std::string action = r.action;
        if (action == "genre")
            form.cmbGenre->setCurrentIndex(5);
        else
            QTest::keyClicks(form.txtTitle, "x");
        if (action == "type+save")
            QTest::mouseClick(form.cmdSave, Qt::LeftButton);
        if (action == "type+next")
            QTest::mouseClick(form.cmdNext, Qt::LeftButton);
        EXPECT_EQ(form.cmdSave->isEnabled(), r.enabled);
    }
}

// Each file's own tag, with ID3v1's limits and genre list only where ID3v1 is the tag written; the row then reads
// what was written.
TEST(tag_editor, save_writes_the_files_own_tag_and_the_playlist_row_reads_it_again) {
    const testing::mp3_options both =
        testing::mp3_options{}.with_id3v2(testing::title_tag("Frame Title")).with_id3v1(testing::title_tag("Old"));
    struct row {
        const char* name;
        std::optional<testing::mp3_options> mp3; // none: a FLAC file titled "Old"
        bool id3v1_limits;
        bool id3v1_after; // an ID3v1 tag holds the new title afterwards
    };
    const row rows[] = {
        {"ID3v1 only", v1("Old"), true, true},
        {"no tag: ID3v2", testing::mp3_options{}, false, false},
        {"ID3v2 with ID3v1 kept in step", both, false, true},
        {"FLAC", std::nullopt, false, false},
    };
    const QString title = "New Title " + QString(30, 'x'); // 40 characters
    for (const row& r : rows) {
        SCOPED_TRACE(r.name);
        tagged_window t({v1("First")});
        if (r.mp3) {
            testing::write_mp3(t.f.folder.file("edited.mp3"), *r.mp3);
            t.add(t.f.folder.file("edited.mp3"));
        } else {
            ASSERT_TRUE(testing::write_silence_with_ffmpeg(t.f.folder.file("edited.flac")));
            t.add(t.f.folder.file("edited.flac"));
        }
        const std::string& path = t.paths[1];
        TID3Form& form = t.open(1);
        EXPECT_EQ(form.id3v1_limits(), r.id3v1_limits);
        EXPECT_EQ(form.cmbGenre->isEditable(), !r.id3v1_limits);
        EXPECT_FALSE(form.lblID3v2->isVisibleTo(&form)); // the tag players show is the one written
        if (!r.mp3) {
            EXPECT_EQ(form.txtTitle->text(), "Old");
        }
        form.txtTitle->clear();
        form.txtTitle->insert(title); // as a paste: ID3v1 keeps 30 characters
        form.txtTrack->setText("12");
        if (r.id3v1_limits)
            form.cmbGenre->setCurrentIndex(17);
        else
            form.cmbGenre->setCurrentText("Chamber Pop");
        QTest::mouseClick(form.cmdSave, Qt::LeftButton);
        EXPECT_FALSE(form.cmdSave->isEnabled()); // written

        const std::string expected = title.left(r.id3v1_limits ? 30 : 40).toStdString();
        id3_tag written;
        EXPECT_EQ(id3_2_class().read_tag(path, written), r.id3v1_after);
        if (r.id3v1_after) {
            EXPECT_EQ(written.title, title.left(30).toStdString());
            EXPECT_EQ(written.track, 12);
            EXPECT_EQ(written.genre, r.id3v1_limits ? 17 : 255);
        }
        QTest::mouseClick(form.cmdExit, Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(t.window().tags_area().tag_editor(), nullptr); // freed when it closed
        const media_list& list = t.window().virtual_playlist();
        EXPECT_EQ(list.song(1), expected);
        EXPECT_EQ(list.cell(Genre, 1), r.id3v1_limits ? "Rock" : "Chamber Pop");
        EXPECT_EQ(list.cell(Info10, 1), "12");
        EXPECT_EQ(list.song(0), "listed 0"); // other rows untouched
    }
}

TEST(tag_editor, fields_count_their_limit_in_cp1252_bytes) {
    const std::string e_acute = "\xC3\xA9", smile = "\xF0\x9F\x98\x80";
    auto times = [](const std::string& text, int n) {
        std::string out;
        for (int i = 0; i < n; ++i)
            out += text;
        return out;
    };
    struct row {
        std::size_t limit;
        std::string start, typed, pasted;
        std::string kept;
    };
    const row rows[] = {
        {30, times("a", 30), "b", "", times("a", 30)},                   // a 31st character is refused
        {30, times(e_acute, 29), e_acute + "x", "", times(e_acute, 30)}, // é is one byte on disk
        {30, "", "", times(smile, 31), times(smile, 30)},                // a paste keeps what fits, whole characters
        {4, "19", "", "99999", "1999"},
        {30, "", "", times("ab", 20), times("ab", 15)},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.kept);
        QLineEdit field;
        new cp1252_limit(&field, r.limit);
        field.setText(QString::fromStdString(r.start));
        field.setCursorPosition(static_cast<int>(field.text().size()));
        type(field, QString::fromStdString(r.typed));
        field.insert(QString::fromStdString(r.pasted));
        EXPECT_EQ(field.text().toStdString(), r.kept);
    }
    // Typing into the middle of a full field changes nothing either.
    QLineEdit field;
    new cp1252_limit(&field, 4);
    field.setText("1999");
    field.setCursorPosition(2);
    QTest::keyClicks(&field, "0");
    EXPECT_EQ(field.text(), "1999");
}

TEST(tag_editor, language_plugin_replaces_captions_and_labels_stay_beside_their_fields) {
    tagged_window t(three_files(), true);
    TID3Form& form = t.open(-1);
    EXPECT_EQ(form.windowTitle(), "id3 0");
    EXPECT_EQ(form.lblCaption->text(), "id3 0");
    struct row {
        QLabel* label;
        QWidget* control;
        const char* caption;
    };
    const row rows[] = {
        {form.lblGenre, form.cmbGenre, "id3 3"},       {form.lblComments, form.txtComments, "id3 4"},
        {form.CurrentLabel, form.lblCurrent, "id3 7"}, {form.TotalLabel, form.lblTotal, "id3 8"},
        {form.lblArtist, form.txtArtist, "main 35"},   {form.lblTitle, form.txtTitle, "main 36"},
        {form.lblAlbum, form.txtAlbum, "main 37"},     {form.lblYear, form.txtYear, "main 38"},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.caption);
        EXPECT_EQ(r.label->text(), r.caption);
        EXPECT_EQ(r.label->geometry().right() + 1, r.control->x() - id3_label_gap);
    }
    for (auto [button, caption] :
         {std::pair{form.cmdSave, "id3 1"}, {form.cmdExit, "id3 2"}, {form.cmdNext, "id3 5"}, {form.cmdBack, "id3 6"}})
        EXPECT_EQ(button->text(), caption);
}

} // namespace
} // namespace karvo

namespace karvo {
namespace {

// The window's watcher: a new file below the watched folder reaches the virtual playlist and the saved playlist
// once; files there at start-up never do; a watched folder that goes away ends the watch, and loading the settings
// again (as the preferences' OK does) watches it again.
TEST(auto_playlister_window, feeds_the_playlist_and_a_saved_playlist_and_follows_the_settings) {
    main_window_fixture f;
    const std::string watched = f.folder.file("incoming");
    std::filesystem::create_directories(watched);
    testing::write_mp3(watched + "/already.mp3", v1("Already"));
    f.save_playlist("Inbox", {{"/music/old.mp3", "Old"}});
    f.write_ini("[AutoPlaylister]\r\nenabled=1\r\ndir=" + watched +
                "\r\nadd_curr_playlist=1\r\nadd_saved_playlist=1\r\nsaved_playlist=Inbox\r\n");
    TfrmMain& w = f.create();
    ASSERT_TRUE(f.created);
    ASSERT_TRUE(w.players_area().folder_watcher().Active());
    EXPECT_EQ(w.virtual_playlist().count(), 0);

    auto saved_lines = [&] { return w.context().playlists->load("Inbox").size(); };
    auto arrive = [&](const std::string& relative, const std::string& title) {
        const std::string path = watched + "/" + relative;
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        testing::write_mp3(path + ".part", v1(title));
        std::filesystem::rename(path + ".part", path); // complete when it appears, as a download finishes
        return path;
    };

    const std::string first = arrive("a/b/new.mp3", "New");
    QTRY_COMPARE_WITH_TIMEOUT(w.virtual_playlist().count(), 1, 5000);
    EXPECT_EQ(std::string(w.virtual_playlist().full_path(0)), first);
    EXPECT_EQ(w.virtual_playlist().song(0), "New");
    QTRY_COMPARE_WITH_TIMEOUT(saved_lines(), std::size_t{2}, 5000);

    // Gone while watched: the watch ends by itself. Back again and the settings loaded: a new file is taken.
    std::filesystem::remove_all(watched);
    QTRY_VERIFY_WITH_TIMEOUT(!w.players_area().folder_watcher().Active(), 5000);
    std::filesystem::create_directories(watched);
    w.chrome_area().settings_written();
    ASSERT_TRUE(w.players_area().folder_watcher().Active());
    const std::string second = arrive("later.mp3", "Later");
    QTRY_COMPARE_WITH_TIMEOUT(w.virtual_playlist().count(), 2, 5000);
    EXPECT_EQ(std::string(w.virtual_playlist().full_path(1)), second);
    QTest::qWait(300); // a late second scan must not add it again
    EXPECT_EQ(w.virtual_playlist().count(), 2);
    EXPECT_EQ(saved_lines(), std::size_t{3});
}

} // namespace
} // namespace karvo
