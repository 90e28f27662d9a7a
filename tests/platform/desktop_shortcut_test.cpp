// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/desktop_shortcut.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

#include "tests/support/raw_file.h"
#include "tests/support/temp_folder.h"

namespace karvo::platform {
namespace {

// The Exec value read back as a desktop reads it: string escapes first, then the quoting and "%%".
std::string first_exec_argument(const std::string& entry) {
    const std::size_t at = entry.find("\nExec=");
    const std::string raw = entry.substr(at + 6, entry.find('\n', at + 1) - at - 6);
    std::string value;
    for (std::size_t i = 0; i < raw.size(); ++i)
        value += raw[i] == '\\' && i + 1 < raw.size() && raw[i + 1] == '\\' ? raw[++i] : raw[i];
    std::string argument;
    if (value.empty() || value[0] != '"')
        return "(unquoted)";
    for (std::size_t i = 1; i < value.size() && value[i] != '"'; ++i) {
        if (value[i] == '\\' || (value[i] == '%' && i + 1 < value.size() && value[i + 1] == '%'))
            ++i;
        argument += value[i];
    }
    return argument;
}

TEST(desktop_shortcut, program_paths_survive_and_entries_validate) {
    const bool have_validator = std::system("command -v desktop-file-validate >/dev/null 2>&1") == 0;
    const std::vector<std::string> programs = {
        "/opt/karvo/karvo-media",
        "/home/a b/Karvo Media/karvo-media",
        "/opt/100%/karvo-media",
        "/opt/$HOME `x`/karvo-media",
        "/opt/say \"hi\"/karvo-media",
        "/opt/back\\slash/karvo-media",
        "/opt/Müsik;&|<>~#*?()/karvo-media",
    };
    testing::temp_folder folder;
    for (const auto& program : programs) {
        SCOPED_TRACE(program);
        const std::string file = folder.file("karvo-media.desktop");
        ASSERT_TRUE(write_desktop_entry(file, program, "/opt/icons/karvo media.svg", false));
        const std::string entry = testing::read_raw(file);
        EXPECT_EQ(first_exec_argument(entry), program);
        EXPECT_NE(entry.find("\" %F\n"), std::string::npos); // opened files arrive as arguments
        EXPECT_NE(std::filesystem::status(file).permissions() & std::filesystem::perms::owner_exec,
                  std::filesystem::perms::none);
        if (have_validator) {
            EXPECT_EQ(std::system(("desktop-file-validate '" + file + "' >/dev/null 2>&1").c_str()), 0) << entry;
        }
    }
    // Text an entry cannot carry makes no shortcut.
    for (const std::string bad : {"/opt/new\nline/karvo", "/opt/\xff/karvo", ""})
        EXPECT_FALSE(desktop_entry_text(bad, "karvo-media").has_value());
    if (!have_validator)
        GTEST_SKIP() << "desktop-file-validate is not installed; the entries were not validated";
}

TEST(desktop_shortcut, desktop_folder_from_user_dirs) {
    struct folder_case {
        const char* user_dirs; // null: no user-dirs.dirs
        const char* created;   // folder made below home, null for none
        const char* expected;  // below home; null: no desktop
    };
    const std::vector<folder_case> cases = {
        {nullptr, "Desktop", "Desktop"},
        {nullptr, nullptr, nullptr},
        {"# comment\nXDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n", "Schreibtisch", "Schreibtisch"},
        {"XDG_DESKTOP_DIR=\"$HOME/My\\\"Desk\"\n", "My\"Desk", "My\"Desk"},
        {"XDG_DESKTOP_DIR=\"$HOME/\"\n", "Desktop", nullptr}, // pointed at home: switched off
        {"XDG_DESKTOP_DIR=\"$HOME/Gone\"\n", "Desktop", nullptr},
        {"XDG_DESKTOP_DIR=relative\n", "Desktop", "Desktop"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.user_dirs ? c.user_dirs : "(no user-dirs.dirs)");
        testing::temp_folder home;
        const user_folders folders{home.path(), home.file(".config"), home.file(".local/share")};
        std::filesystem::create_directories(folders.config_home);
        if (c.user_dirs)
            testing::write_raw(folders.config_home + "/user-dirs.dirs", c.user_dirs);
        if (c.created)
            std::filesystem::create_directories(home.file(c.created));
        EXPECT_EQ(desktop_folder(folders), c.expected ? home.file(c.expected) : "");
        EXPECT_EQ(add_desktop_shortcut(folders, "/opt/karvo-media", "karvo-media"), c.expected != nullptr);
    }
}

TEST(desktop_shortcut, menu_shortcut_creates_its_folder_and_replaces_an_old_one) {
    testing::temp_folder home;
    const user_folders folders{home.path(), home.file(".config"), home.file("data")};
    ASSERT_TRUE(add_menu_shortcut(folders, "/old/karvo-media", "karvo-media"));
    ASSERT_TRUE(add_menu_shortcut(folders, "/new/karvo-media", "karvo-media"));
    const std::string entry = testing::read_raw(folders.data_home + "/applications/karvo-media.desktop");
    EXPECT_EQ(first_exec_argument(entry), "/new/karvo-media");
}

} // namespace
} // namespace karvo::platform
