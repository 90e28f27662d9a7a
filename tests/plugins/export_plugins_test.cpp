// SPDX-License-Identifier: GPL-3.0-or-later
// The export plug-in scan and calls against test plug-ins written in C, beside files that only look like plug-ins.
#include "plugins/export_plugins.h"

#include "platform/dynamic_library.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace karvo {
namespace {

namespace fs = std::filesystem;

const char* const built[] = {"b_second.kep",       "a_first.kep",      "C_same_menu.kep",
                             "d_missing_menu.kep", "e_null_texts.kep", "f_long_name.kep"};

std::string built_plugin(const std::string& name) {
    return std::string(KARVO_TEST_PLUGIN_DIR) + "/exports/" + name;
}

bool still_loaded(const std::string& path) {
    void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (handle)
        ::dlclose(handle);
    return handle != nullptr;
}

class ExportPlugins : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : built)
            fs::create_symlink(built_plugin(name), folder.file(name));
        std::ofstream(folder.file("g_not_a_library.kep")) << "not an ELF file";
        fs::create_directory(folder.file("h_folder.kep"));
        std::ofstream(folder.file("readme.txt")) << "not a candidate";
    }

    std::string log_of(const platform::dynamic_library& library) const {
        const auto log = library.function<const char* (*)()>("_test_call_log");
        return log ? log() : "";
    }

    testing::temp_folder folder;
    export_plugins plugins;
};

TEST_F(ExportPlugins, ScanTakesTheGoodLibrariesInNameOrderAndCopiesTheirTexts) {
    platform::dynamic_library first(folder.file("a_first.kep")); // keeps its call log alive across the scan
    plugins.scan(folder.path());
    const std::string dir = folder.path() + "/";
    EXPECT_EQ(plugins.files(), (string_list{dir + "a_first.kep", dir + "b_second.kep", dir + "C_same_menu.kep",
                                            dir + "e_null_texts.kep", dir + "f_long_name.kep"}));
    EXPECT_EQ(plugins.menu_names(), (string_list{"Alpha", "Beta", "Alpha", "", "Foxtrot"}));
    EXPECT_EQ(plugins.versions(), (string_list{"1.5", "2", "0.1", "3", "1e+20"}));
    EXPECT_EQ(plugins.authors(),
              (string_list{"Author of Alpha", "Author of Beta", "Author of Alpha", "", "Author of Foxtrot"}));
    // The 1 MB name is cut before the character that straddles the limit.
    EXPECT_EQ(plugins.names()[4], std::string(254, 'x'));
    EXPECT_EQ(plugins.names()[3], "");
    EXPECT_EQ(plugins.display_line(1), "Plug-in Beta  v.2   (b_second.kep )");
    EXPECT_EQ(log_of(first), "author,version,name,menu,");
    // Released right after the scan: nothing but the test's own handle keeps a library loaded.
    EXPECT_FALSE(still_loaded(folder.file("b_second.kep")));
}

TEST_F(ExportPlugins, EachOperationCallsOnlyItsOwnEntryAndOnlyWhenItCan) {
    plugins.scan(folder.path());
    enum class call { execute, config, about };
    struct row {
        call what;
        std::size_t index;
        string_list paths;
        bool called;
        const char* plugin; // whose log shows the call
        const char* log;
    };
    const row rows[] = {
        {call::execute, 0, {"/m/a.mp3", "/m/b c.mp3"}, true, "a_first.kep", "execute:/m/a.mp3|/m/b c.mp3|,"},
        {call::execute, 0, {}, false, "a_first.kep", ""},
        // Same menu name as entry 0: it runs its own library all the same.
        {call::execute, 2, {"/x.ogg"}, true, "C_same_menu.kep", "execute:/x.ogg|,"},
        {call::execute, 9, {"/x.ogg"}, false, "a_first.kep", ""},
        {call::config, 1, {}, true, "b_second.kep", "config,"},
        {call::about, 1, {}, true, "b_second.kep", "about,"},
        {call::config, 3, {}, false, "e_null_texts.kep", ""},
        {call::about, 3, {}, false, "e_null_texts.kep", ""},
    };
    for (const row& r : rows) {
        // A fresh log: the library is loaded anew here and stays so while the call runs.
        EXPECT_FALSE(still_loaded(folder.file(r.plugin))) << r.plugin;
        const platform::dynamic_library watch(folder.file(r.plugin));
        const std::string before = log_of(watch);
        const bool called = r.what == call::execute  ? plugins.execute(r.index, r.paths)
                            : r.what == call::config ? plugins.show_config_window(r.index)
                                                     : plugins.show_about_window(r.index);
        EXPECT_EQ(called, r.called) << r.plugin << " " << r.index;
        EXPECT_EQ(log_of(watch).substr(before.size()), r.log) << r.plugin << " " << r.index;
    }
}

TEST_F(ExportPlugins, AnEmptyOrMissingFolderGivesNoPlugins) {
    plugins.scan(folder.path());
    ASSERT_EQ(plugins.count(), 5u);
    for (const std::string& empty : {folder.file("h_folder.kep"), folder.file("no_such_folder")}) {
        plugins.scan(empty);
        EXPECT_EQ(plugins.count(), 0u) << empty;
        EXPECT_TRUE(plugins.menu_names().empty());
    }
}

} // namespace
} // namespace karvo
