// SPDX-License-Identifier: GPL-3.0-or-later
// The "Export To" submenu: the program's own items, then one item per export plug-in, rebuilt when the plug-ins
// are scanned again, each running its own plug-in with the whole virtual playlist.
#include <QAction>
#include <QMenu>
#include <gtest/gtest.h>

#include <dlfcn.h>

#include "main_window_fixture.h"
#include "platform/dynamic_library.h"

namespace karvo {
namespace {

using testing::main_window_fixture;

std::string test_export(const char* name) {
    return std::string(KARVO_TEST_PLUGIN_DIR) + "/exports/" + name;
}

std::vector<std::string> shown_items(QMenu* menu) {
    std::vector<std::string> items;
    for (const QAction* a : menu->actions())
        items.push_back(a->isSeparator() ? "-" : a->text().toStdString());
    return items;
}

TEST(export_menu, lists_the_plug_ins_after_the_own_formats_and_follows_a_new_scan) {
    main_window_fixture f;
    for (const char* name : {"b_second.kep", "a_first.kep", "C_same_menu.kep", "d_missing_menu.kep"})
        std::filesystem::create_symlink(test_export(name), f.folder.file(std::string("plugins/") + name));
    TfrmMain& w = f.create();
    ASSERT_TRUE(f.created);
    QMenu* menu = w.commands().menu("ExportTo");
    EXPECT_EQ(shown_items(menu),
              (std::vector<std::string>{"Export to M3U", "Export to PLS", "-", "Alpha", "Beta", "Alpha"}));

    std::filesystem::remove(f.folder.file("plugins/a_first.kep"));
    w.playlist_area().load_export_plugins();
    EXPECT_EQ(shown_items(menu), (std::vector<std::string>{"Export to M3U", "Export to PLS", "-", "Beta", "Alpha"}));
    EXPECT_FALSE(w.commands().has("mnuExportPlugin3"));

    for (const char* name : {"b_second.kep", "C_same_menu.kep"})
        std::filesystem::remove(f.folder.file(std::string("plugins/") + name));
    w.playlist_area().load_export_plugins();
    EXPECT_EQ(shown_items(menu), (std::vector<std::string>{"Export to M3U", "Export to PLS"}));
}

TEST(export_menu, an_item_hands_its_own_plug_in_every_path_of_the_virtual_playlist) {
    main_window_fixture f;
    for (const char* name : {"a_first.kep", "C_same_menu.kep"})
        std::filesystem::create_symlink(test_export(name), f.folder.file(std::string("plugins/") + name));
    TfrmMain& w = f.create();
    ASSERT_TRUE(f.created);
    // Held open here so the plug-ins' call logs outlast each call's own load.
    const platform::dynamic_library first(f.folder.file("plugins/a_first.kep"));
    const platform::dynamic_library second(f.folder.file("plugins/C_same_menu.kep"));
    auto log = [](const platform::dynamic_library& l) {
        return std::string(l.function<const char* (*)()>("_test_call_log")());
    };

    ASSERT_TRUE(w.commands().invoke("mnuExportPlugin2"));
    EXPECT_EQ(log(second), "") << "an empty playlist is not handed over";

    const auto songs = testing::twelve_songs();
    std::string expected = "execute:";
    for (const auto& s : songs) {
        w.virtual_playlist().append(testing::media_info(s), "");
        expected += s.path + "|";
    }
    ASSERT_TRUE(w.commands().invoke("mnuExportPlugin2"));
    EXPECT_EQ(log(second), expected + ",");
    EXPECT_EQ(log(first), "") << "the item with the same caption runs its own plug-in";
}

} // namespace
} // namespace karvo
