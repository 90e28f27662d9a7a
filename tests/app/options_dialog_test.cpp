// SPDX-License-Identifier: GPL-3.0-or-later
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTreeWidget>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

#include "app/Options/TfrmOptions.h"
#include "app/Options/colour_shape.h"
#include "main_window_fixture.h"
#include "players/player_selection.h"

namespace karvo {
namespace {

using testing::main_window_fixture;

// A main window with its preferences dialog, opened from the toolbar.
struct options_fixture {
    explicit options_fixture(const char* language = nullptr) {
        if (language)
            std::filesystem::copy_file(std::string(KARVO_TEST_PLUGIN_DIR "/") + language,
                                       f.folder.file("plugins/language.dll"));
        f.save_playlist("Jazz", testing::twelve_songs());
        f.write_file("winamp.exe", "");
        f.write_ini("WinAMP=" + f.folder.file("winamp.exe") + "\r\n");
        f.create();
        f.window->set_options_dialog(&dialog);
    }
    TfrmMain& w() { return *f.window; }
    void open() { w().commands().invoke("cmdOptions"); }
    template <typename T>
    T* find(const char* name) {
        return dialog.findChild<T*>(QString::fromLatin1(name));
    }
    // As a user does: the control's page chosen in the tree first.
    void click(const char* name) {
        QWidget* control = find<QWidget>(name);
        for (QWidget* p = control; p; p = p->parentWidget())
            if (auto* page = qobject_cast<QGroupBox*>(p); page && page->property("page").toBool()) {
                QTreeWidgetItem* pages = dialog.tree()->topLevelItem(0);
                for (int i = 0; i < pages->childCount(); ++i)
                    if (pages->child(i)->toolTip(0) == page->title().trimmed()) // the whole name
                        dialog.tree()->setCurrentItem(pages->child(i));
            }
        QTest::mouseClick(control, Qt::LeftButton, {}, QPoint(6, control->height() / 2));
    }
    void type(const char* name, const QString& text) {
        find<QLineEdit>(name)->clear();
        QTest::keyClicks(find<QLineEdit>(name), text);
    }
    std::string stored(const char* section, const char* key) {
        return platform::profile_document(f.ini()).get_string(section, key, "(missing)");
    }

    main_window_fixture f;
    TfrmOptions dialog;
};

// Each control changed in the dialog is written by Apply, taken by the main window, and shown again next time.
TEST(options_dialog, every_page_round_trips_through_the_settings_file) {
    using S = const main_settings&;
    struct control_case {
        const char* control;
        std::function<void(options_fixture&)> change;
        const char* section;
        const char* key;
        std::string written;
        std::function<bool(S)> taken; // what the main window loaded; null when it does not read the key
    };
    options_fixture o;
    const std::string folder = o.f.folder.file("watched");
    auto click = [](const char* name) { return [name](options_fixture& x) { x.click(name); }; };
    auto colour = [](const char* shape, std::uint32_t c) {
        return [shape, c](options_fixture& x) {
            x.f.prompts.answer_colour(c);
            x.click(shape);
        };
    };
    const std::vector<control_case> cases = {
        {"BackColor", colour("BackColor", 0x123456), "Settings", "MainBackColor", "1193046",
         [](S s) { return s.main_back_color == 0x123456; }},
        {"MiscBackColorOff", colour("MiscBackColorOff", 0x0000FF), "Settings", "MiscBackColorOff", "255",
         [](S s) { return s.misc_back_color_off == 0xFF; }},
        {"MiscForeColorOff", colour("MiscForeColorOff", 0x10), "Settings", "MiscForeColorOff", "16", nullptr},
        {"FontSize", [](options_fixture& x) { x.type("FontSize", "12"); }, "Settings", "pls_font_size", "12",
         [](S s) { return s.pls_font_size == 12; }},
        {"chkEnhancedWinamp", click("chkEnhancedWinamp"), "Settings", "EnhancedWinamp", "1",
         [](S s) { return s.enhanced_winamp; }},
        {"chkUnderscore", click("chkUnderscore"), "Settings", "underscore_with_space", "0",
         [](S s) { return !s.underscore_with_space; }},
        {"chkPrctWithSpace", click("chkPrctWithSpace"), "Settings", "%20_with_space", "0",
         [](S s) { return !s.percent20_with_space; }},
        {"chkDotWithSpace", click("chkDotWithSpace"), "Settings", "dot_with_space", "0",
         [](S s) { return !s.dot_with_space; }},
        {"chkRemoveBracket", click("chkRemoveBracket"), "Settings", "remove_brackets", "0",
         [](S s) { return !s.remove_brackets; }},
        {"chkShowExtension", click("chkShowExtension"), "Settings", "ShowFileExtension", "0",
         [](S s) { return !s.show_file_extension; }},
        {"chkVeryfiyMP3", click("chkVeryfiyMP3"), "Settings", "verify_on_startup", "0",
         [](S s) { return !s.verify_on_startup; }},
        {"rdoBoth", click("rdoBoth"), "Settings", "show_in", "2", [](S s) { return s.show_in == 2; }},
        {"IconTrackBar", [](options_fixture& x) { x.find<QSlider>("IconTrackBar")->setValue(4); }, "Settings",
         "system_tray_icon", "4", [](S s) { return s.system_tray_icon == 4; }},
        {"RandomizeTimes", [](options_fixture& x) { x.type("RandomizeTimes", "25"); }, "Advanced", "RandomizeTimes",
         "25", [](S s) { return s.randomize_times == 25; }},
        {"lstExtensions",
         [](options_fixture& x) { x.find<QListWidget>("lstExtensions")->item(0)->setCheckState(Qt::Unchecked); },
         "Advanced", "MP3", "0",
         [](S s) {
             return std::find(s.enabled_extensions.begin(), s.enabled_extensions.end(), "MP3") ==
                    s.enabled_extensions.end();
         }},
        {"rdoSelectAll", click("rdoSelectAll"), "Advanced", "Double_Click", "3",
         [](S s) { return s.double_click == 3; }},
        {"rdoAtTop", click("rdoAtTop"), "Settings", "drag_n_drop", "2", [](S s) { return s.drag_n_drop == 2; }},
        {"chkDragNDrop_Rnd", click("chkDragNDrop_Rnd"), "Settings", "drag_n_drop_rnd", "1",
         [](S s) { return s.drag_n_drop_rnd; }},
        {"chkAddPlaylist", click("chkAddPlaylist"), "Settings", "add_playlist_type", "0",
         [](S s) { return !s.add_playlist_type; }},
        {"chkSearchFileName", click("chkSearchFileName"), "Settings", "search_item", "0",
         [](S s) { return s.search_item == 0; }},
        {"chkSortFullPath", click("chkSortFullPath"), "Settings", "sort_item", "0",
         [](S s) { return s.sort_item == 0; }},
        {"chkEnableAutoPlayliser", click("chkEnableAutoPlayliser"), "AutoPlaylister", "enabled", "1",
         [](S s) { return s.auto_playlister.enabled; }},
        {"cmdAutoPlaylisterBrowse",
         [folder](options_fixture& x) {
             x.f.prompts.answer_folder(folder);
             x.click("cmdAutoPlaylisterBrowse");
         },
         "AutoPlaylister", "dir", folder, [folder](S s) { return s.auto_playlister.dir == folder; }},
        {"chkEnqueue", click("chkEnqueue"), "AutoPlaylister", "enqueue", "1",
         [](S s) { return s.auto_playlister.enqueue; }},
        {"chkAddCurrPlaylist", click("chkAddCurrPlaylist"), "AutoPlaylister", "add_curr_playlist", "1",
         [](S s) { return s.auto_playlister.add_curr_playlist; }},
        {"chkAddSavedPlaylist", click("chkAddSavedPlaylist"), "AutoPlaylister", "add_saved_playlist", "1",
         [](S s) { return s.auto_playlister.add_saved_playlist; }},
        {"cmbPlaylists", [](options_fixture& x) { x.find<QComboBox>("cmbPlaylists")->setCurrentIndex(0); },
         "AutoPlaylister", "saved_playlist", "Jazz", [](S s) { return s.auto_playlister.saved_playlist == "Jazz"; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.control);
        o.open();
        ASSERT_TRUE(o.dialog.isVisible());
        ASSERT_TRUE(o.find<QWidget>(c.control)->isEnabled());
        c.change(o);
        const options_values shown = o.dialog.values();
        o.click("cmdApply");
        EXPECT_EQ(o.stored(c.section, c.key), c.written);
        if (c.taken) {
            EXPECT_TRUE(c.taken(o.w().context().settings));
        }
        o.click("cmdOK");
        EXPECT_FALSE(o.dialog.isVisible());
        o.open();
        EXPECT_EQ(o.dialog.values(), shown);
        o.click("cmdCancel");
    }
}

// A location is the player's as soon as it names an existing file, and OK writes it under the player's name.
TEST(options_dialog, player_location_is_taken_at_once) {
    options_fixture o;
    const std::string program = o.f.folder.file("other.exe");
    o.f.write_file("other.exe", "");
    o.open();
    const std::string name = o.dialog.findChild<QListWidget*>("lstMP3Players")->item(0)->text().toStdString();
    EXPECT_EQ(o.find<QLabel>("lblSpecify")->text().toStdString(), "Please specify the location of " + name + ".");
    const std::string missing = o.f.folder.file("nothing.exe");
    o.type("txtLocation", QString::fromStdString(missing));
    EXPECT_NE(o.w().players_area().choice().location(0), missing);
    o.type("txtLocation", QString::fromStdString(program));
    EXPECT_EQ(o.w().players_area().choice().location(0), program);
    o.click("cmdOK");
    EXPECT_EQ(o.stored("Settings", name.c_str()), program);
}

// Cancel, Escape and closing the window write nothing, after Restore Defaults too, and the changes are gone.
// Exit writes search_item and sort_item again; what the dialog wrote survives it.
TEST(options_dialog, exit_keeps_what_the_dialog_wrote) {
    options_fixture o;
    o.open();
    o.click("chkSearchFileName");
    o.click("chkSortFileName");
    o.click("cmdOK");
    o.w().ExitClick();
    EXPECT_EQ(o.stored("Settings", "search_item"), "0");
    EXPECT_EQ(o.stored("Settings", "sort_item"), "0");
}

TEST(options_dialog, cancel_writes_nothing) {
    const std::vector<std::function<void(options_fixture&)>> closings = {
        [](options_fixture& x) { x.click("cmdCancel"); },
        [](options_fixture& x) { QTest::keyClick(&x.dialog, Qt::Key_Escape); },
        [](options_fixture& x) { x.dialog.close(); },
    };
    for (const auto& close : closings) {
        options_fixture o;
        o.f.write_ini("WinAMP=" + o.f.folder.file("winamp.exe") + "\r\nMainBackColor=255\r\nEnhancedWinamp=0\r\n");
        o.open();
        const options_values before = o.dialog.values();
        const std::string bytes = o.f.read_ini();
        o.click("chkEnhancedWinamp");
        o.click("cmdRestoreDefaults");
        EXPECT_EQ(o.dialog.findChild<colour_shape*>("BackColor")->colour(), 0x800000u);
        close(o);
        EXPECT_FALSE(o.dialog.isVisible());
        EXPECT_EQ(o.f.read_ini(), bytes);
        o.open();
        EXPECT_EQ(o.dialog.values(), before);
    }
}

TEST(options_dialog, language_plugin_captions) {
    struct caption_case {
        const char* library;
        const char* control;
        QString expected;
    };
    const std::vector<caption_case> cases = {
        {"language_long.dll", "GroupBox_MP3_Players", "options 2"},
        {"language_long.dll", "GroupBoxAdvancedI", "options 48"}, // 48 replaces 22
        {"language_long.dll", "chkRemoveBracket", "options 58"},
        {"language_long.dll", "cmdConfig", "options 56"},
        {"language_long.dll", "tree:1/0", "options 51"},
        {"language_long.dll", "tree:1/1", "options 52"},
        {"language_long.dll", "tree:0/4", "options 49"},
        {"language_short.dll", "GroupBoxAdvancedI", "options 22"},
        {"language_short.dll", "chkRemoveBracket", "Remove brackets."}, // 49 and up need a longer list
        {"language_short.dll", "tree:1/0", "Resource"},
        {"language_short.dll", "tree:0/0", "options 2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.library) + " " + c.control);
        options_fixture o(c.library);
        QString shown;
        const std::string control = c.control;
        if (control.rfind("tree:", 0) == 0) {
            const QTreeWidgetItem* root = o.dialog.tree()->topLevelItem(control[5] - '0');
            shown = root->child(control[7] - '0')->toolTip(0);
        } else if (auto* box = o.find<QGroupBox>(c.control)) {
            shown = box->title();
        } else {
            shown = o.find<QAbstractButton>(c.control)->text();
        }
        EXPECT_EQ(shown, c.expected);
    }
}

} // namespace
} // namespace karvo
