// SPDX-License-Identifier: GPL-3.0-or-later
// The resource plug-in's tag writing: every field into each format's own tag, read back by another tag reader, with
// the audio and everything else kept; failures and kills at any moment leave the old file or the new one.
#include "addons/resource/tag_writer.h"
#include "library/id3_class.h"
#include "library/media_entry.h"
#include "platform/dynamic_library.h"
#include "sdk/karvo_plugin.h"
#include "tests/support/media_fixtures.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace karvo {
namespace {

namespace fs = std::filesystem;
using testing::fixture_folder;

std::string output_of(const std::string& command) {
    std::string out;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
            out.append(buffer, n);
        if (::pclose(pipe) != 0)
            out = "failed: " + out;
    }
    return out;
}

std::string quoted(const std::string& text) {
    return "'" + text + "'";
}

std::string bytes_of(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The system's python with mutagen (a python of one's own may lack it); empty when there is none.
const std::string& python() {
    static const std::string found = [] {
        for (const char* candidate : {"/usr/bin/python3", "python3"})
            if (std::system((std::string(candidate) + " -c 'import mutagen' 2>/dev/null").c_str()) == 0)
                return std::string(candidate);
        return std::string();
    }();
    return found;
}

std::string tag_check(const std::string& arguments) {
    return output_of(python() + " " + KARVO_SOURCE_DIR "/tests/addons/tag_check.py " + arguments + " 2>&1");
}

std::string audio_md5(const std::string& path) {
    return output_of("ffmpeg -v fatal -i " + quoted(path) + " -map 0:a -f md5 - </dev/null");
}

// The value of "key" in a flat JSON object as tag_check.py prints it (texts without quotes or escapes inside).
std::string json_value(const std::string& json, const std::string& key) {
    const std::string marker = "\"" + key + "\": ";
    const std::size_t at = json.find(marker);
    if (at == std::string::npos)
        return "<missing>";
    std::size_t begin = at + marker.size();
    if (json[begin] == '"') {
        const std::size_t end = json.find('"', begin + 1);
        return json.substr(begin + 1, end - begin - 1);
    }
    return json.substr(begin, json.find_first_of(",}", begin) - begin);
}

class TagWriting : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(library.load(KARVO_PLUGIN_DIR "/resource.krp")) << library.error();
        write = library.function<karvo_write_media_tags_fn>("_write_media_tags");
        info = library.function<karvo_get_media_info_string_fn>("_get_media_info_string");
        ASSERT_NE(write, nullptr);
    }

    // Through the export, as the program calls it.
    std::pair<int, std::string> write_tags(const std::string& path,
                                           const std::vector<std::pair<std::string, std::string>>& fields) const {
        std::vector<karvo_tag_field> passed;
        for (const auto& [name, value] : fields)
            passed.push_back({name.c_str(), value.c_str()});
        const char* message = nullptr;
        const int status = write(path.c_str(), passed.data(), static_cast<int32_t>(passed.size()), &message);
        return {status, message ? message : "<null>"};
    }

    media_fields fields_of(const std::string& path) const {
        std::string joined;
        if (const karvo_string_list* l = info(path.c_str()))
            for (int32_t i = 0; i < l->count; ++i)
                joined += l->items[i];
        return parse_media_info(joined);
    }

    void require_tools() const {
        ASSERT_FALSE(python().empty()) << "python3-mutagen is missing: run scripts/setup.sh --tests";
        ASSERT_EQ(std::system("ffmpeg -version >/dev/null 2>&1"), 0)
            << "ffmpeg is missing: run scripts/setup.sh --tests";
    }

    platform::dynamic_library library;
    karvo_write_media_tags_fn write = nullptr;
    karvo_get_media_info_string_fn info = nullptr;
    fixture_folder folder;
};

// ID3v1 is CP1252: a title it can hold; every other tag takes any text.
std::string title_for(const std::string& kind) {
    return kind == "mp3v1" ? "Título uno" : "Título € ☃";
}

TEST_F(TagWriting, EveryFieldGoesIntoEachFormatsOwnTagAndNothingElseChanges) {
    require_tools();
    struct row {
        const char* kind;
        const char* file;
        const char* format;      // mutagen's name for what it read
        const char* id3_version; // kept as the file had it; "" for other tags
        const char* track;       // a total of tracks the file had stays
        bool rich;               // cover, lyrics, ReplayGain and the rest were there to keep
    };
    const row rows[] = {
        {"mp3v23", "v23.mp3", "MP3", "2.3", "7", true},  {"mp3v24", "v24.mp3", "MP3", "2.4", "7", true},
        {"mp3v1", "v1.mp3", "MP3", "1.1", "7", false},   {"flac", "a.flac", "FLAC", "", "7/12", true},
        {"ogg", "a.ogg", "OggVorbis", "", "7/12", true}, {"opus", "a.opus", "OggOpus", "", "7/12", true},
        {"m4a", "a.m4a", "MP4", "", "7/12", true},       {"wav", "a.wav", "WAVE", "2.4", "7", true},
    };
    // The tools run once for all files where they can: each start of the second reader costs a second or more.
    std::string prepare = "prepare", dump = "dump";
    std::map<std::string, std::string> audio_before;
    for (const row& r : rows) {
        const std::string path = folder.file(r.file);
        ASSERT_TRUE(testing::write_silence_with_ffmpeg(path)) << r.kind;
        prepare += std::string(" ") + r.kind + " " + quoted(path);
        dump += " " + quoted(path);
    }
    ASSERT_EQ(tag_check(prepare), "");
    for (const row& r : rows) {
        SCOPED_TRACE(r.kind);
        const std::string path = folder.file(r.file);
        audio_before[r.kind] = audio_md5(path);
        ASSERT_EQ(audio_before[r.kind].rfind("MD5=", 0), 0u) << audio_before[r.kind];
        const auto [status, message] = write_tags(path, {{KARVO_TAG_TITLE, title_for(r.kind)},
                                                         {KARVO_TAG_ARTIST, "Ärtist"},
                                                         {KARVO_TAG_ALBUM, "The Album"},
                                                         {KARVO_TAG_YEAR, "2024"},
                                                         {KARVO_TAG_COMMENT, "Written here"},
                                                         {KARVO_TAG_GENRE, "Jazz"},
                                                         {KARVO_TAG_TRACK, "7"}});
        ASSERT_EQ(status, KARVO_TAG_WRITTEN) << message;
        EXPECT_EQ(message, "");
    }
    std::istringstream dumped(tag_check(dump));
    for (const row& r : rows) {
        SCOPED_TRACE(r.kind);
        const std::string path = folder.file(r.file);
        const std::string title = title_for(r.kind);
        std::string seen;
        std::getline(dumped, seen);
        EXPECT_EQ(json_value(seen, "format"), r.format) << seen;
        EXPECT_EQ(json_value(seen, "title"), title) << seen;
        EXPECT_EQ(json_value(seen, "artist"), "Ärtist") << seen;
        EXPECT_EQ(json_value(seen, "album"), "The Album") << seen;
        EXPECT_EQ(json_value(seen, "year"), "2024") << seen;
        EXPECT_EQ(json_value(seen, "comment"), "Written here") << seen;
        EXPECT_EQ(json_value(seen, "genre"), "Jazz") << seen;
        EXPECT_EQ(json_value(seen, "track"), r.track) << seen;
        if (*r.id3_version) {
            EXPECT_EQ(json_value(seen, "id3_version"), r.id3_version) << seen;
        }
        if (r.rich) {
            EXPECT_EQ(json_value(seen, "cover"), "1032") << seen;
            EXPECT_EQ(json_value(seen, "lyrics"), "First line\\nsecond line") << seen;
            EXPECT_EQ(json_value(seen, "gain"), "-6.50 dB") << seen;
            EXPECT_EQ(json_value(seen, "albumartist"), "Album Artist") << seen;
            EXPECT_EQ(json_value(seen, "other"), "kept") << seen;
            EXPECT_EQ(json_value(seen, "notes"), "described") << seen;
        }
        if (std::string(r.kind) == "wav") { // the RIFF INFO list too
            EXPECT_NE(seen.find("\"info\": {\"album\": \"The Album\", \"artist\": \"Ärtist\", \"comment\": "
                                "\"Written here\", \"genre\": \"Jazz\", \"title\": \"" +
                                title + "\", \"track\": \"7\", \"year\": \"2024\"}"),
                      std::string::npos)
                << seen;
        }
        if (std::string(r.kind) == "mp3v24") { // its ID3v1 tag kept in step, as the program writes it
            id3_tag v1;
            ASSERT_TRUE(id3_2_class().read_tag(path, v1));
            EXPECT_EQ(v1.title, "Título € ?" + std::string(20, ' '));
            EXPECT_EQ(v1.genre, 8);
            EXPECT_EQ(v1.track, 7);
        }
        EXPECT_EQ(audio_md5(path), audio_before[r.kind]);
        EXPECT_EQ(fields_of(path)[1], title); // and the plug-in's own reading
    }
    // Only the copies' final names remain: no temporary file is left behind.
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder.path()))
        ++files;
    EXPECT_EQ(files, std::size(rows));
}

TEST_F(TagWriting, AFailureAtAnyStepOrABadRequestLeavesTheFileAsItWas) {
    const std::string mp3 = folder.file("song.mp3"), v1 = folder.file("v1.mp3"), text = folder.file("text.mp3");
    testing::write_mp3(mp3, testing::mp3_options().with_id3v2(testing::title_tag("Old")));
    testing::tag_fields old_v1 = testing::title_tag("Old");
    old_v1.track = 3;
    testing::write_mp3(v1, testing::mp3_options().with_id3v1(old_v1));
    testing::write_bytes(text, {'n', 'o', 't', ' ', 'm', 'e', 'd', 'i', 'a'});
    const resource::tag_changes growing = {{KARVO_TAG_COMMENT, std::string(5000, 'c')}};
    struct row {
        const char* name;
        std::string path;
        resource::tag_changes changes;
        const char* failing_step;
        int status;
        const char* message;
    };
    const row rows[] = {
        {"copy fails", mp3, growing, "copy", KARVO_TAG_FAILED, "the copy failed"},
        {"save fails", mp3, growing, "save", KARVO_TAG_FAILED, "the tag could not be written"},
        {"flush fails", mp3, growing, "sync", KARVO_TAG_FAILED, "could not be written to disk"},
        {"rename fails", mp3, growing, "rename", KARVO_TAG_FAILED, "could not be replaced"},
        {"not media", text, growing, "", KARVO_TAG_UNSUPPORTED, "not a media file"},
        {"no such field", mp3, {{"mood", "x"}}, "", KARVO_TAG_BAD_FIELD, "no tag field \"mood\""},
        {"year not a number", mp3, {{KARVO_TAG_YEAR, "20x4"}}, "", KARVO_TAG_BAD_FIELD, "must be a number"},
        {"genre outside ID3v1", v1, {{KARVO_TAG_GENRE, "Synthwave"}}, "", KARVO_TAG_BAD_FIELD, "not an ID3v1 genre"},
        {"track past ID3v1", v1, {{KARVO_TAG_TRACK, "300"}}, "", KARVO_TAG_BAD_FIELD, "up to 255"},
        {"missing file", folder.file("gone.mp3"), growing, "", KARVO_TAG_FAILED, "cannot be found"},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.name);
        const std::string before = bytes_of(r.path);
        const std::string failing = r.failing_step;
        const auto result = resource::write_media_tags(r.path, r.changes,
                                                       [&failing](std::string_view step) { return step != failing; });
        EXPECT_EQ(result.status, r.status);
        EXPECT_NE(result.message.find(r.message), std::string::npos) << result.message;
        EXPECT_EQ(bytes_of(r.path), before);
        EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 3);
    }
    // Through a link the target is replaced and the link stays a link.
    fs::create_symlink(mp3, folder.file("link.mp3"));
    EXPECT_EQ(resource::write_media_tags(folder.file("link.mp3"), growing).status, KARVO_TAG_WRITTEN);
    EXPECT_TRUE(fs::is_symlink(folder.file("link.mp3")));
    EXPECT_EQ(fields_of(mp3)[5], std::string(5000, 'c'));
}

TEST_F(TagWriting, Id3v1IsCp1252BothWaysAndKeepsItsTrackAndRiffInfoIsRead) {
    // Only the title changes: the ID3v1.1 track byte of the file stays.
    const std::string v1 = folder.file("v1.mp3");
    testing::tag_fields old_v1 = testing::title_tag("Old", "Band");
    old_v1.track = 9;
    testing::write_mp3(v1, testing::mp3_options().with_id3v1(old_v1));
    const std::string cp1252_only = "€ ’ “ ” – … ™";
    ASSERT_EQ(write_tags(v1, {{KARVO_TAG_TITLE, cp1252_only}}).first, KARVO_TAG_WRITTEN);
    const std::string raw = bytes_of(v1).substr(bytes_of(v1).size() - 128);
    EXPECT_EQ(raw.substr(3, 13), "\x80 \x92 \x93 \x94 \x96 \x85 \x99");
    EXPECT_EQ(raw.substr(125, 2), std::string("\0\x09", 2));
    const media_fields read = fields_of(v1);
    EXPECT_EQ(read[1], cp1252_only);
    EXPECT_EQ(read[2], "Band");
    EXPECT_EQ(read[10], "9");

    // A WAV file with only a RIFF INFO list shows it.
    if (std::system("ffmpeg -version >/dev/null 2>&1") == 0) {
        const std::string wav = folder.file("info.wav");
        ASSERT_TRUE(testing::write_silence_with_ffmpeg(wav));
        EXPECT_EQ(fields_of(wav)[1], "Old");
    }
}

// kill -9 at random moments of a stream of writes: what remains is always the old file or a new one, whole.
TEST_F(TagWriting, AKillAtAnyMomentLeavesTheOldFileOrTheNewOne) {
    const char* asked = std::getenv("KARVO_KILL_ROUNDS"); // more rounds on request; 200 by default
    const int rounds = asked ? std::max(1, std::atoi(asked)) : 200;
    const std::string path = folder.file("song.mp3");
    testing::write_mp3(path, testing::mp3_options().with_frames(400).with_id3v2(testing::title_tag("Start")));
    const media_fields start = fields_of(path);
    ASSERT_EQ(start[1], "Start");

    // The titles and comments of the writes alternate, so that every other write grows the tag and moves the audio.
    const auto write_forever = [this, &path] {
        for (unsigned i = 0;; ++i)
            write_tags(path, {{KARVO_TAG_TITLE, "Title " + std::to_string(i % 2)},
                              {KARVO_TAG_COMMENT, std::string(i % 2 ? 9000 : 10, 'c')}});
    };
    const auto t0 = std::chrono::steady_clock::now();
    ASSERT_EQ(write_tags(path, {{KARVO_TAG_TITLE, "Start"}}).first, KARVO_TAG_WRITTEN);
    const auto one_write = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - t0);

    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    std::uniform_int_distribution<long long> moment(0, 3 * one_write.count());
    const std::string snapshots = folder.file("snapshots");
    fs::create_directory(snapshots);
    const std::set<std::string> titles = {"Start", "Title 0", "Title 1"};
    int left_copies = 0;
    std::string names;
    for (int round = 0; round < rounds; ++round) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            write_forever();
            ::_exit(0);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(moment(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);

        const media_fields now = fields_of(path);
        ASSERT_EQ(titles.count(now[1]), 1u) << "round " << round << ": \"" << now[1] << "\"";
        ASSERT_EQ(now[7], start[7]) << "round " << round;   // the same length
        ASSERT_EQ(now[11], start[11]) << "round " << round; // and sample rate
        const std::string snapshot = snapshots + "/" + std::to_string(round) + ".mp3";
        fs::copy_file(path, snapshot);
        names += " " + quoted(snapshot);
        // A copy the kill left behind is hidden beside the file, never in its place, and the next write removes it.
        int hidden = 0;
        for (const auto& entry : fs::directory_iterator(folder.path()))
            hidden += entry.path().filename().string().rfind(".karvo-", 0) == 0;
        ASSERT_LE(hidden, 1) << "round " << round;
        left_copies += hidden;
    }
    std::cout << rounds << " kills, " << left_copies
              << " kills left a hidden copy (removed by the next write), one write took " << one_write.count()
              << " us\n";
    if (python().empty())
        return;
    const std::string seen = tag_check("dump" + names);
    std::istringstream lines(seen);
    int read = 0;
    for (std::string line; std::getline(lines, line); ++read)
        EXPECT_EQ(titles.count(json_value(line, "title")), 1u) << line;
    EXPECT_EQ(read, rounds) << seen.substr(0, 2000);
}

} // namespace
} // namespace karvo
