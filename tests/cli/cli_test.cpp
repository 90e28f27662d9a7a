// SPDX-License-Identifier: GPL-3.0-or-later
// The companion run as a process, as scripts run it; and the exports checked by a real player when one is installed.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "library/id3_class.h"
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include "library/playlist_files.h"
#include "tests/support/media_fixtures.h"
#include "tests/support/raw_file.h"
#include "tests/support/temp_folder.h"

extern char** environ;

namespace karvo {
namespace {

using testing::read_raw;
using testing::write_raw;
namespace fs = std::filesystem;

struct process_result {
    int status = -1;
    std::string out, err;
};

// Runs a program with its output in files; the exit status, or -1 when it did not exit.
process_result run_process(const std::vector<std::string>& argv, const std::string& folder) {
    const std::string out = folder + "/.stdout", err = folder + "/.stderr";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    std::vector<char*> args;
    for (const auto& arg : argv)
        args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    pid_t pid = 0;
    process_result result;
    if (posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ) == 0) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    result.out = read_raw(out);
    result.err = read_raw(err);
    return result;
}

int line_count(const std::string& text) {
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

TEST(cli, every_subcommand_works_and_each_bad_input_gets_a_status_and_one_line) {
    testing::temp_folder folder;
    const std::string data = folder.file("data");
    fs::create_directories(folder.file("music/Sub"));
    testing::write_mp3(folder.file("music/Sub/One.mp3"),
                       testing::mp3_options().with_id3v1(testing::title_tag("Tune", "Band")));
    testing::write_wav(folder.file("music/two.wav"), 44100, 1, 16, 0.2);
    write_raw(folder.file("music/notes.txt"), "x");
    write_raw(folder.file("music/list.m3u"),
              "#EXTM3U\r\n#EXTINF:3,Band - Tune\r\nC:\\MUSIC\\sub\\one.MP3\r\ntwo.wav\r\ngone.mp3\r\n");
    write_raw(folder.file("bin.m3u"), std::string(2000, '\0'));
    fs::create_directories(data + "/Media CDs");
    write_raw(data + "/Media CDs/Disc.vmc", "");
    const std::string m3u = folder.file("out.m3u"), pls = folder.file("out.pls");

    struct row {
        const char* name;
        std::vector<std::string> args;
        int status;
        std::string in_out; // a text standard output must hold
        std::string in_err; // empty: nothing on standard error; else its one line must hold this
    } rows[] = {
        {"help", {"--help"}, 0, "import FILE NAME", ""},
        {"subcommand help", {"export", "--help"}, 0, "Usage: karvo-media-cli export NAME FILE", ""},
        {"no command", {}, 2, "", "no command given"},
        {"unknown command", {"play"}, 2, "", "unknown command \"play\""},
        {"info as text", {"info", folder.file("music/Sub/One.mp3")}, 0, "song: Tune", ""},
        {"info as json", {"info", "--json", folder.file("music/two.wav")}, 0, "\"sample_rate\": \"44100\"", ""},
        {"info of a missing file",
         {"info", folder.file("none.mp3")},
         1,
         "",
         "info: " + folder.file("none.mp3") + ": no such file"},
        {"scan", {"scan", folder.file("music")}, 0, folder.file("music/Sub/One.mp3"), ""},
        {"scan of a file", {"scan", folder.file("music/two.wav")}, 1, "", "not a folder"},
        {"import",
         {"import", folder.file("music/list.m3u"), "Mix"},
         0,
         "3 entries imported, 2 resolved, 1 not found",
         ""},
        {"import over a saved playlist", {"import", folder.file("music/list.m3u"), "Mix"}, 1, "", "exists already"},
        {"import of binary data", {"import", folder.file("bin.m3u"), "Bin"}, 1, "", "binary data"},
        {"import with a bad name", {"import", folder.file("music/list.m3u"), "a/b"}, 1, "", "cannot be the name"},
        {"export as m3u", {"export", "Mix", m3u, "--extended"}, 0, "", ""},
        {"export as pls", {"export", "Mix", pls, "--format", "pls"}, 0, "", ""},
        {"export of no playlist", {"export", "Nope", m3u}, 1, "", "no saved playlist \"Nope\""},
        {"export in an unknown format", {"export", "Mix", m3u, "--format", "xspf"}, 2, "", "unknown format"},
        {"list", {"list"}, 0, "playlist\tMix\nmedia-cd\tDisc\n", ""},
        {"list with arguments", {"list", "x"}, 2, "", "no arguments expected"},
        {"tag", {"tag", folder.file("music/Sub/One.mp3"), "--title", "New Tune", "--genre", "jazz"}, 0, "", ""},
        {"tag with a genre ID3v1 lacks",
         {"tag", folder.file("music/Sub/One.mp3"), "--genre", "Polka2"},
         1,
         "",
         "\"Polka2\" is not an ID3v1 genre"},
        {"tag of a WAV file", {"tag", folder.file("music/two.wav"), "--title", "Wave", "--track", "2"}, 0, "", ""},
        {"its own tag read back", {"info", folder.file("music/two.wav")}, 0, "song: Wave\n", ""},
        {"tag help", {"tag", "--help"}, 0, "[--genre G] [--track N]", ""},
        {"tag without a field", {"tag", folder.file("music/two.wav")}, 2, "", "no field to write"},
        {"unknown option", {"import", "--force", "a", "b"}, 2, "", "unknown option --force"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        std::vector<std::string> argv = {KARVO_CLI_PATH};
        if (r.args.empty() || r.args[0] != "--help")
            argv.insert(argv.end(), {"--data-folder", data});
        argv.insert(argv.end(), r.args.begin(), r.args.end());
        const process_result result = run_process(argv, folder.path());
        EXPECT_EQ(result.status, r.status) << result.err;
        EXPECT_NE(result.out.find(r.in_out), std::string::npos) << result.out;
        if (r.in_err.empty()) {
            EXPECT_EQ(result.err, "");
        } else {
            EXPECT_EQ(line_count(result.err), 1) << result.err;
            EXPECT_NE(result.err.find(r.in_err), std::string::npos) << result.err;
        }
    }
    // The exports hold the resolved files, and the man page is rendered from the same text as --help.
    EXPECT_NE(read_raw(m3u).find(",Band - Tune\r\n" + folder.file("music/Sub/One.mp3")), std::string::npos);
    EXPECT_NE(read_raw(pls).find("File2=" + folder.file("music/two.wav")), std::string::npos);
    EXPECT_NE(read_raw(KARVO_CLI_MAN_PAGE).find("import FILE NAME [\\-\\-replace]"), std::string::npos);
    // tag changed the named fields and kept the others.
    id3_tag tag;
    ASSERT_TRUE(id3_2_class().read_tag(folder.file("music/Sub/One.mp3"), tag));
    EXPECT_EQ(tag.title.substr(0, 8), "New Tune");
    EXPECT_EQ(tag.artist.substr(0, 4), "Band");
    EXPECT_EQ(tag.genre, 8); // Jazz
}

// A real player counts the entries of an export written over a longer one.
TEST(cli, a_player_counts_only_the_entries_of_the_last_export) {
    if (::access("/usr/bin/mpv", X_OK) != 0)
        GTEST_SKIP() << "mpv is not installed: the player check is skipped";
    testing::temp_folder folder;
    std::vector<playlist_row> rows;
    for (int i = 0; i < 11; ++i) {
        const std::string file = folder.file("song " + std::to_string(i) + ".wav");
        testing::write_wav(file, 8000, 1, 8, 0.1);
        rows.push_back({file, "", "", -1});
    }
    const std::string socket_path = folder.file("mpv.sock");
    const std::vector<std::string> argv = {
        "/usr/bin/mpv", "--idle=yes", "--no-config",    "--pause",
        "--ao=null",    "--vo=null",  "--really-quiet", "--input-ipc-server=" + socket_path};
    std::vector<char*> args;
    for (const auto& arg : argv)
        args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    pid_t pid = 0;
    ASSERT_EQ(posix_spawn(&pid, args[0], nullptr, nullptr, args.data(), environ), 0);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", socket_path.c_str());
    bool connected = false;
    for (int tries = 0; tries < 100 && !connected; ++tries) {
        connected = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
        if (!connected)
            ::usleep(100 * 1000);
    }
    // One request, then the reply line that carries its id.
    const auto ask = [fd](const std::string& request, int id) {
        const std::string line =
            request.substr(0, request.size() - 1) + ",\"request_id\":" + std::to_string(id) + "}\n";
        if (::write(fd, line.data(), line.size()) != static_cast<ssize_t>(line.size()))
            return std::string();
        std::string buffer;
        char chunk[4096];
        for (;;) {
            const std::string marker = "\"request_id\":" + std::to_string(id);
            if (const auto at = buffer.find(marker); at != std::string::npos) {
                const auto start = buffer.rfind('\n', at);
                return buffer.substr(start == std::string::npos ? 0 : start + 1, buffer.find('\n', at) - start);
            }
            const ssize_t n = ::read(fd, chunk, sizeof chunk);
            if (n <= 0)
                return buffer;
            buffer.append(chunk, static_cast<std::size_t>(n));
        }
    };
    int id = 0;
    for (const auto format : {playlist_format::pls, playlist_format::m3u}) {
        if (!connected)
            break;
        const std::string file = folder.file(format == playlist_format::pls ? "list.pls" : "list.m3u");
        ASSERT_TRUE(write_playlist(file, format, rows).written);
        ASSERT_TRUE(write_playlist(file, format, {rows.begin(), rows.begin() + 3}).written);
        ask("{\"command\":[\"loadlist\",\"" + file + "\",\"replace\"]}", ++id);
        // The list is loaded asynchronously; a few looks suffice.
        std::string reply;
        for (int tries = 0; tries < 50; ++tries) {
            reply = ask("{\"command\":[\"get_property\",\"playlist-count\"]}", ++id);
            if (reply.find("\"data\":3,") != std::string::npos || reply.find("\"data\":11") != std::string::npos)
                break;
            ::usleep(100 * 1000);
        }
        EXPECT_NE(reply.find("\"data\":3,"), std::string::npos) << file << ": " << reply;
    }
    ::close(fd);
    ::kill(pid, SIGTERM);
    ::waitpid(pid, nullptr, 0);
    EXPECT_TRUE(connected) << "mpv did not open its IPC socket";
}

} // namespace
} // namespace karvo
