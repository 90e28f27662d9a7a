// SPDX-License-Identifier: GPL-3.0-or-later
// The XSPF writer of plugins/export_xspf.kep: locations, text escaping, the document read back with an XML parser
// against the format's rules, and the file opened by a real player.
#include "addons/export_xspf/xspf_writer.h"
#include "tests/support/media_fixtures.h"

#include <QString>
#include <QUrl>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace karvo {
namespace {

using testing::fixture_folder;
using testing::mp3_options;
using testing::tag_fields;

TEST(XspfWriter, LocationsArePercentEncodedFileUris) {
    const std::pair<const char*, const char*> cases[] = {
        {"/music/a b.mp3", "file:///music/a%20b.mp3"},
        {"/m/\xC3\xA9t\xC3\xA9.mp3", "file:///m/%C3%A9t%C3%A9.mp3"},
        {"/m/100%#?.mp3", "file:///m/100%25%23%3F.mp3"},
        {"/m/a+b&c;d=e[1]@x:y.ogg", "file:///m/a%2Bb%26c%3Bd%3De%5B1%5D%40x%3Ay.ogg"},
        {"/m/~x_y-z.1.flac", "file:///m/~x_y-z.1.flac"},
        {"/m/\xFF\x01.mp3", "file:///m/%FF%01.mp3"},
    };
    for (const auto& [path, uri] : cases) {
        EXPECT_EQ(xspf::file_uri(path), uri) << path;
        // What a reader of the URI gets back is the path itself.
        EXPECT_EQ(QUrl::fromEncoded(QByteArray(uri)).toLocalFile().toUtf8().toStdString(),
                  QString::fromUtf8(path).toUtf8().toStdString())
            << path;
    }
}

TEST(XspfWriter, TextIsEscapedAndKeepsOnlyWhatXmlAllows) {
    const std::pair<const char*, const char*> cases[] = {
        {"Tom & Jerry <3>", "Tom &amp; Jerry &lt;3&gt;"},
        {"say \"hi\"", "say &quot;hi&quot;"},
        {"bad\x01"
         "ctl\x1F\tok",
         "badctl\tok"},
        {"\xC3(stray", "(stray"},
        {"\xC3\x84\xC3\x96 \xF0\x9F\x8E\xB5", "\xC3\x84\xC3\x96 \xF0\x9F\x8E\xB5"},
        {"no\xEF\xBF\xBE"
         "nchar",
         "nonchar"},
    };
    for (const auto& [text, escaped] : cases)
        EXPECT_EQ(xspf::xml_text(text), escaped) << text;
}

struct read_track {
    std::vector<std::string> elements; // child element names in order
    std::map<std::string, std::string> text;
};

// Parses the document as any XSPF reader would; empty on an XML error.
std::vector<read_track> parse(const std::string& document, std::string& error) {
    QXmlStreamReader xml(QByteArray::fromStdString(document));
    std::vector<read_track> tracks;
    int depth = 0;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            ++depth;
            const std::string name = xml.name().toString().toStdString();
            if (depth == 1 && (name != "playlist" || xml.namespaceUri() != u"http://xspf.org/ns/0/" ||
                               xml.attributes().value("version") != u"1"))
                error = "bad root";
            if (name == "track") {
                tracks.emplace_back();
            } else if (depth == 4) {
                tracks.back().elements.push_back(name);
                tracks.back().text[name] = xml.readElementText().toStdString(); // consumes its end element
                --depth;
            }
        } else if (xml.isEndElement()) {
            --depth;
        }
    }
    if (xml.hasError())
        error = xml.errorString().toStdString();
    return tracks;
}

class XspfDocument : public ::testing::Test {
protected:
    void SetUp() override {
        tag_fields tagged;
        tagged.title = "Rock & Roll <Live>";
        tagged.artist = "Bj\xC3\xB6rk";
        tagged.album = "Greatest \"Hits\"";
        tagged.track = 7;
        paths = {folder.file("tagged one.mp3"), folder.file("untagged #2.mp3"), folder.file("missing.mp3")};
        testing::write_mp3(paths[0], mp3_options().with_id3v2(tagged, testing::id3v2_encoding::utf16));
        testing::write_mp3(paths[1], mp3_options().with_frames(80));
        target = folder.file("out.xspf");
    }

    fixture_folder folder;
    string_list paths;
    std::string target;
};

TEST_F(XspfDocument, HoldsEveryEntryWithItsTagsInTheFormatsOrder) {
    ASSERT_TRUE(xspf::write_playlist(target, paths, "My <Mix>", true));
    std::ifstream in(target, std::ios::binary);
    const std::string document((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string error;
    const std::vector<read_track> tracks = parse(document, error);
    ASSERT_EQ(error, "");
    ASSERT_EQ(tracks.size(), 3u);
    EXPECT_NE(document.find("<title>My &lt;Mix&gt;</title>"), std::string::npos);

    // 40 and 80 frames of 1152 samples at 44.1 kHz.
    struct expected {
        std::map<std::string, std::string> text;
        long long duration_ms;
    };
    const expected rows[] = {
        {{{"title", "Rock & Roll <Live>"},
          {"creator", "Bj\xC3\xB6rk"},
          {"album", "Greatest \"Hits\""},
          {"trackNum", "7"}},
         1045},
        {{}, 2090},
        {{}, -1},
    };
    const std::vector<std::string> order = {"location", "title", "creator", "album", "trackNum", "duration"};
    for (std::size_t i = 0; i < tracks.size(); ++i) {
        const read_track& t = tracks[i];
        EXPECT_EQ(QUrl(QString::fromStdString(t.text.at("location"))).toLocalFile().toStdString(), paths[i]);
        for (const auto& [name, value] : rows[i].text)
            EXPECT_EQ(t.text.count(name) ? t.text.at(name) : "(none)", value) << i << " " << name;
        if (rows[i].duration_ms < 0) {
            EXPECT_EQ(t.text.count("duration"), 0u) << i;
        } else {
            ASSERT_EQ(t.text.count("duration"), 1u) << i;
            EXPECT_NEAR(static_cast<double>(std::stoll(t.text.at("duration"))),
                        static_cast<double>(rows[i].duration_ms), 30)
                << i;
        }
        // Each element once, in the order the format describes, and nothing empty.
        std::size_t next = 0;
        for (const std::string& name : t.elements) {
            const auto at = std::find(order.begin() + static_cast<long>(next), order.end(), name);
            ASSERT_NE(at, order.end()) << i << " " << name << " out of order";
            next = static_cast<std::size_t>(at - order.begin()) + 1;
            EXPECT_FALSE(t.text.at(name).empty()) << i << " " << name;
        }
    }
}

TEST_F(XspfDocument, ARealPlayerLoadsEveryEntry) {
    for (const char* program : {"audacious", "audtool", "dbus-run-session"})
        if (std::system((std::string("command -v ") + program + " >/dev/null 2>&1").c_str()) != 0)
            GTEST_SKIP() << program << " is not installed (apt-get install audacious dbus)";
    ASSERT_TRUE(xspf::write_playlist(target, paths, "Mix", true));
    // A private session bus and configuration; the player is asked for its playlist until it has loaded it.
    const std::string home = folder.file("home");
    std::filesystem::create_directories(home);
    const std::string script =
        "export HOME='" + home + "' XDG_CONFIG_HOME='" + home +
        "/.config'; "
        "timeout 60 dbus-run-session -- sh -c '"
        "audacious --headless \"$0\" >/dev/null 2>&1 & "
        "for i in $(seq 1 120); do n=$(audtool --playlist-length 2>/dev/null); "
        "[ -n \"$n\" ] && [ \"$n\" != 0 ] && break; sleep 0.25; done; "
        "echo \"$n\"; for i in $(seq 1 \"${n:-0}\"); do audtool --playlist-song-filename $i; done; "
        "audtool --shutdown; wait' '" +
        target + "' 2>/dev/null";
    FILE* pipe = ::popen(script.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string output;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe))
        output += buffer;
    ::pclose(pipe);
    std::istringstream lines(output);
    std::string count;
    std::getline(lines, count);
    EXPECT_EQ(count, "3") << output;
    for (const std::string& path : paths) {
        std::string line;
        std::getline(lines, line);
        EXPECT_EQ(line, path);
    }
}

} // namespace
} // namespace karvo
