// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/cli_usage.h"

#include <string_view>

namespace karvo::cli {

namespace {

struct entry {
    const char* name;     // subcommand or option
    const char* synopsis; // its arguments
    const char* text;
};

constexpr std::string_view summary =
    "works on the data of Karvo Media (saved playlists, Media CDs, playlist files, media information) from the "
    "command line, for scripts and headless use. It uses the same data folder as the program and may run while the "
    "program runs: every file is replaced atomically.";

constexpr entry commands[] = {
    {"info", "FILE... [--json]",
     "Prints the media information of each file (tags, length, quality) as the resource plug-in reads it, as text "
     "or as a JSON array."},
    {"scan", "FOLDER",
     "Prints the media files below FOLDER, one path a line, sub-folders included. Progress goes to standard error "
     "when it is a terminal."},
    {"import", "FILE NAME [--replace]",
     "Imports an M3U, M3U8 or PLS playlist as the saved playlist NAME and prints what was found: entries, files "
     "resolved, files not found. An existing saved playlist is replaced only with --replace."},
    {"export", "NAME FILE [--format m3u|pls] [--extended]",
     "Writes the saved playlist NAME as an M3U or PLS file; the format defaults to the extension of FILE. "
     "--extended writes an extended M3U with titles and lengths."},
    {"list", "", "Lists the saved playlists and the Media CDs, one a line, after the kind of each."},
    {"tag", "FILE [--title T] [--artist A] [--album A] [--year Y] [--comment C] [--genre G] [--track N]",
     "Writes the given fields into the file's own tag: the ID3v2 tag of an MP3 file at the version it has (a file "
     "whose only tag is ID3v1 keeps just that, and an ID3v1 tag beside ID3v2 is kept in step), the Vorbis comments "
     "of FLAC, Ogg Vorbis and Opus files, the MP4 items of M4A files, the RIFF INFO list of WAV files (and their ID3 "
     "chunk when they have one), the APE tag of Musepack, WavPack and Monkey's Audio files. Only the fields given "
     "change and an empty value removes a field; other fields, pictures, lyrics and the audio stay as they were. "
     "The file is replaced as a whole, so an interrupted write leaves the old file. Year and track are numbers; in "
     "an ID3v1 tag texts keep their first 30 characters, the genre is one of its list (by name or number) and the "
     "track at most 255. Without a resource plug-in that writes tags, only the ID3v1 tag of MP3 files is written."},
};

constexpr entry options[] = {
    {"--data-folder", "DIR", "Uses DIR as the data folder instead of the program's own."},
    {"--help", "", "Prints this text and exits."},
};

constexpr std::string_view exit_status =
    "0 when everything worked; 1 when an input could not be used (one line on standard error for each); 2 for a "
    "command line that is not understood.";

std::string roff_escaped(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '-')
            out += "\\-";
        else
            out += c;
    }
    if (!out.empty() && (out[0] == '.' || out[0] == '\''))
        out.insert(0, "\\&");
    return out;
}

std::string joined(const entry& e) {
    return std::string(e.name) + (e.synopsis[0] != '\0' ? std::string(" ") + e.synopsis : std::string());
}

} // namespace

std::string usage_text() {
    std::string text = std::string("Usage: ") + program_name + " [--data-folder DIR] COMMAND [ARGUMENTS]\n\n" +
                       program_name + " " + std::string(summary) + "\n\nCommands:\n";
    for (const auto& c : commands)
        text += "  " + joined(c) + "\n      " + c.text + "\n";
    text += "\nOptions:\n";
    for (const auto& o : options)
        text += "  " + joined(o) + "\n      " + o.text + "\n";
    text += "\nExit status: " + std::string(exit_status) + "\n";
    return text;
}

std::string synopsis_of(const std::string& subcommand) {
    for (const auto& c : commands)
        if (subcommand == c.name)
            return joined(c);
    return {};
}

std::string man_page() {
    std::string page = std::string(".TH KARVO-MEDIA-CLI 1\n.SH NAME\n") + roff_escaped(program_name) +
                       " \\- the command-line companion of Karvo Media\n.SH SYNOPSIS\n.B " +
                       roff_escaped(program_name) + "\n[\\-\\-data\\-folder DIR] COMMAND [ARGUMENTS]\n" +
                       ".SH DESCRIPTION\n.B " + roff_escaped(program_name) + "\n" + roff_escaped(summary) +
                       "\n.SH COMMANDS\n";
    for (const auto& c : commands)
        page += ".TP\n.B " + roff_escaped(joined(c)) + "\n" + roff_escaped(c.text) + "\n";
    page += ".SH OPTIONS\n";
    for (const auto& o : options)
        page += ".TP\n.B " + roff_escaped(joined(o)) + "\n" + roff_escaped(o.text) + "\n";
    page += ".SH EXIT STATUS\n" + roff_escaped(exit_status) + "\n";
    return page;
}

} // namespace karvo::cli
