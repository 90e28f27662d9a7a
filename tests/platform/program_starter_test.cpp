// SPDX-License-Identifier: GPL-3.0-or-later
// Splitting parameter strings and starting real programs detached.
#include "platform/program_starter.h"

#include "tests/support/raw_file.h"
#include "tests/support/temp_folder.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>

namespace karvo::platform {
namespace {

using testing::read_raw;
using testing::write_raw;

using args = std::vector<std::string>;

TEST(SplitCommandLine, FollowsTheWindowsRules) {
    struct split_case {
        std::string parameters;
        args expected;
    };
    const std::vector<split_case> cases = {
        {"", {}},
        {"   \t ", {}},
        {"one", {"one"}},
        {"  one   two\tthree  ", {"one", "two", "three"}},
        {"\"/music/my list.m3u\"", {"/music/my list.m3u"}},
        {"/play \"a b\"", {"/play", "a b"}},
        {"\"abc\" d e", {"abc", "d", "e"}},
        {"a\\\\\\b d\"e f\"g h", {"a\\\\\\b", "de fg", "h"}},
        {"a\\\\\\\"b c d", {"a\\\"b", "c", "d"}},
        {"a\\\\\\\\\"b c\" d e", {"a\\\\b c", "d", "e"}},
        {"a\"b\"\" c d", {"ab\"", "c", "d"}},
        {"\"a\"\"b\"", {"a\"b"}},
        {"\"\"", {""}},
        {"x \"\" y", {"x", "", "y"}},
        {"\"unterminated arg", {"unterminated arg"}},
        {"C:\\Program Files\\x", {"C:\\Program", "Files\\x"}},
        {"trailing\\", {"trailing\\"}},
    };
    for (const split_case& c : cases)
        EXPECT_EQ(split_command_line(c.parameters), c.expected) << c.parameters;
}

// Polls for a file that a started program writes; the program runs on its own, so give it time.
std::string wait_for_file(const std::string& path) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < deadline) {
        if (std::filesystem::exists(path))
            return read_raw(path);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return "(never written)";
}

void write_script(const std::string& path, const std::string& body) {
    write_raw(path, "#!/bin/sh\n" + body);
    ::chmod(path.c_str(), 0755);
}

TEST(ProgramStarter, StartsAScriptWithBlanksInItsPathDetached) {
    testing::temp_folder folder;
    const std::string bin = folder.file("my programs");
    std::filesystem::create_directory(bin);
    const std::string script = bin + "/print args.sh";
    // Writes its arguments and working folder, then renames, so the file appears complete.
    write_script(script, "out=\"$1\"; { printf '%s\\n' \"$@\"; pwd; } > \"$out.part\" && mv \"$out.part\" \"$out\"\n");
    const std::string out = folder.file("out put.txt");
    const std::string work = folder.file("work dir");
    std::filesystem::create_directory(work);

    ASSERT_TRUE(system_program_starter().open(script, "\"" + out + "\" \"two words\" plain", work, show_mode::normal));
    EXPECT_EQ(wait_for_file(out), out + "\ntwo words\nplain\n" + work + "\n");
}

TEST(ProgramStarter, OpensDocumentsWithXdgOpenAndFailsSilentlyForMissingPrograms) {
    testing::temp_folder folder;
    // A stand-in xdg-open first in PATH records what it was asked to open.
    const std::string bin = folder.file("bin");
    std::filesystem::create_directory(bin);
    const std::string out = folder.file("opened.txt");
    write_script(bin + "/xdg-open",
                 "printf '%s\\n' \"$@\" > \"" + out + ".part\" && mv \"" + out + ".part\" \"" + out + "\"\n");
    const std::string document = folder.file("a list.m3u");
    write_raw(document, "/music/a.mp3\r\n");

    const std::string saved_path = std::getenv("PATH") ? std::getenv("PATH") : "";
    ::setenv("PATH", (bin + ":" + saved_path).c_str(), 1);
    const bool opened = system_program_starter().open(document, "ignored parameters", "", show_mode::normal);
    const bool missing = system_program_starter().open(folder.file("no such player"), "x", "", show_mode::normal);
    const bool missing_in_path = system_program_starter().open("no-such-player-karvo", "", "", show_mode::normal);
    ::setenv("PATH", saved_path.c_str(), 1);

    EXPECT_TRUE(opened);
    EXPECT_EQ(wait_for_file(out), document + "\n");
    EXPECT_FALSE(missing);
    EXPECT_FALSE(missing_in_path);
    EXPECT_FALSE(system_program_starter().open("", "", "", show_mode::normal));
}

} // namespace
} // namespace karvo::platform
