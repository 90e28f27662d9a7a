// SPDX-License-Identifier: GPL-3.0-or-later
#include "addons/resource/tag_writer.h"

#include <sys/stat.h>

#include <optional>

#include <taglib/aifffile.h>
#include <taglib/apefile.h>
#include <taglib/apetag.h>
#include <taglib/asffile.h>
#include <taglib/commentsframe.h>
#include <taglib/fileref.h>
#include <taglib/flacfile.h>
#include <taglib/id3v1genres.h>
#include <taglib/id3v1tag.h>
#include <taglib/id3v2tag.h>
#include <taglib/mp4file.h>
#include <taglib/mpcfile.h>
#include <taglib/mpegfile.h>
#include <taglib/oggfile.h>
#include <taglib/textidentificationframe.h>
#include <taglib/trueaudiofile.h>
#include <taglib/wavfile.h>
#include <taglib/wavpackfile.h>
#include <taglib/xiphcomment.h>

#include "addons/resource/id3v1_text.h"
#include "library/id3_class.h"
#include "sdk/karvo_plugin.h"

namespace karvo::resource {
namespace {

using TagLib::String;

// The new value of each field named; a field not named stays as it is.
struct tag_values {
    std::optional<std::string> title, artist, album, year, comment, genre, track;
};

struct field_slot {
    const char* name;
    std::optional<std::string> tag_values::*member;
};
constexpr field_slot slots[] = {
    {KARVO_TAG_TITLE, &tag_values::title},     {KARVO_TAG_ARTIST, &tag_values::artist},
    {KARVO_TAG_ALBUM, &tag_values::album},     {KARVO_TAG_YEAR, &tag_values::year},
    {KARVO_TAG_COMMENT, &tag_values::comment}, {KARVO_TAG_GENRE, &tag_values::genre},
    {KARVO_TAG_TRACK, &tag_values::track},
};

bool is_number(const std::string& text) {
    return !text.empty() && text.size() <= 9 && text.find_first_not_of("0123456789") == std::string::npos;
}

unsigned number_of(const std::string& text) {
    return is_number(text) ? static_cast<unsigned>(std::stoul(text)) : 0;
}

// The error text, or nothing when every change can be made.
std::optional<std::string> parse(const tag_changes& changes, tag_values& values) {
    for (const auto& [name, value] : changes) {
        const field_slot* slot = nullptr;
        for (const field_slot& s : slots)
            if (name == s.name)
                slot = &s;
        if (!slot)
            return "there is no tag field \"" + name + "\"";
        if ((slot->member == &tag_values::year || slot->member == &tag_values::track) && !value.empty() &&
            !is_number(value))
            return std::string("the ") + slot->name + " must be a number";
        values.*slot->member = value;
    }
    return std::nullopt;
}

String text_of(const std::string& utf8) {
    return String(utf8, String::UTF8);
}

// "5" with an old "3/12" gives "5/12": the total of tracks is other data and stays.
String with_same_total(const String& old, const std::string& number) {
    const int slash = old.find("/");
    return slash < 0 ? text_of(number) : text_of(number) + old.substr(static_cast<unsigned>(slash));
}

void set_id3v2_comment(TagLib::ID3v2::Tag& tag, const std::string& value) {
    // Only the plain comment; described ones (player data, notes of other programs) are other data.
    TagLib::ID3v2::CommentsFrame* plain = nullptr;
    for (TagLib::ID3v2::Frame* frame : TagLib::ID3v2::FrameList(tag.frameListMap()["COMM"])) {
        auto* comment = dynamic_cast<TagLib::ID3v2::CommentsFrame*>(frame);
        if (!comment || !comment->description().isEmpty())
            continue;
        if (value.empty() || plain)
            tag.removeFrame(comment);
        else
            plain = comment;
    }
    if (value.empty())
        return;
    if (!plain) {
        plain = new TagLib::ID3v2::CommentsFrame(String::UTF8);
        plain->setLanguage("eng");
        tag.addFrame(plain);
    }
    plain->setText(text_of(value));
}

void set_track(TagLib::Tag& tag, const std::string& value) {
    if (auto* id3 = dynamic_cast<TagLib::ID3v2::Tag*>(&tag)) {
        const TagLib::ID3v2::FrameList frames = id3->frameListMap()["TRCK"];
        auto* frame =
            frames.isEmpty() ? nullptr : dynamic_cast<TagLib::ID3v2::TextIdentificationFrame*>(frames.front());
        if (frame && !value.empty())
            frame->setText(with_same_total(frame->toString(), value));
        else
            tag.setTrack(number_of(value));
    } else if (auto* xiph = dynamic_cast<TagLib::Ogg::XiphComment*>(&tag)) {
        const TagLib::StringList old = xiph->fieldListMap()["TRACKNUMBER"];
        if (value.empty())
            xiph->removeFields("TRACKNUMBER");
        else
            xiph->addField("TRACKNUMBER", with_same_total(old.isEmpty() ? String() : old.front(), value), true);
    } else if (auto* mp4 = dynamic_cast<TagLib::MP4::Tag*>(&tag)) {
        const int total = mp4->contains("trkn") ? mp4->item("trkn").toIntPair().second : 0;
        if (value.empty())
            mp4->removeItem("trkn");
        else
            mp4->setItem("trkn", TagLib::MP4::Item(static_cast<int>(number_of(value)), total));
    } else if (auto* ape = dynamic_cast<TagLib::APE::Tag*>(&tag)) {
        const auto& items = ape->itemListMap();
        const String old = items.contains("TRACK") ? items["TRACK"].toString() : String();
        if (value.empty())
            ape->removeItem("TRACK");
        else
            ape->addValue("TRACK", with_same_total(old, value), true);
    } else {
        tag.setTrack(number_of(value));
    }
}

void apply(TagLib::Tag& tag, const tag_values& values) {
    if (values.title)
        tag.setTitle(text_of(*values.title));
    if (values.artist)
        tag.setArtist(text_of(*values.artist));
    if (values.album)
        tag.setAlbum(text_of(*values.album));
    if (values.genre)
        tag.setGenre(text_of(*values.genre));
    if (values.year)
        tag.setYear(number_of(*values.year));
    if (values.comment) {
        if (auto* id3 = dynamic_cast<TagLib::ID3v2::Tag*>(&tag))
            set_id3v2_comment(*id3, *values.comment);
        else
            tag.setComment(text_of(*values.comment));
    }
    if (values.track)
        set_track(tag, *values.track);
}

// An ID3v1 genre: the program's table name, a number, or a standard name; 255 (none) for anything else.
int id3v1_genre(const std::string& name) {
    const int number = id3_genre_number(name);
    return number >= 0 ? number : TagLib::ID3v1::genreIndex(text_of(name));
}

// The 128-byte block at the end, written as the program writes it (blank-padded CP1252, the ID3v1.1 track byte when
// the comment leaves room for it). `strict`: a value it cannot hold is an error rather than left out.
std::optional<std::string> write_id3v1(const std::string& path, const tag_values& values, bool strict) {
    id3_2_class block;
    id3_tag tag;
    block.read_tag(path, tag);
    for (const auto& [member, text] : {std::pair{&id3_tag::title, values.title},
                                       {&id3_tag::artist, values.artist},
                                       {&id3_tag::album, values.album},
                                       {&id3_tag::year, values.year},
                                       {&id3_tag::comment, values.comment}})
        if (text)
            tag.*member = *text;
    if (values.genre) {
        const int genre = values.genre->empty() ? id3_no_genre : id3v1_genre(*values.genre);
        if (strict && genre == id3_no_genre && !values.genre->empty())
            return "\"" + *values.genre + "\" is not an ID3v1 genre";
        tag.genre = genre;
    }
    if (values.track) {
        const unsigned track = number_of(*values.track);
        if (strict && track > 255)
            return "an ID3v1 tag holds track numbers up to 255";
        tag.track = track <= 255 ? static_cast<int>(track) : 0;
    }
    if (!block.write_tag(path, tag))
        return std::string("the ID3v1 tag could not be written");
    return std::nullopt;
}

TagLib::ID3v2::Version version_of(const TagLib::ID3v2::Tag* tag) {
    return tag && tag->header()->majorVersion() == 3 ? TagLib::ID3v2::v3 : TagLib::ID3v2::v4;
}

enum class edit_result { saved, save_failed, unsupported };

// The formats whose own tag is APE, with an ID3v1 tag kept in step when they carry one.
template <typename Format>
bool ape_tags(TagLib::File* file, TagLib::Tag*& tag, TagLib::Tag*& id3v1) {
    auto* f = dynamic_cast<Format*>(file);
    if (!f)
        return false;
    tag = f->APETag(true);
    id3v1 = f->hasID3v1Tag() ? f->ID3v1Tag() : nullptr;
    return true;
}

// Edits the tag of the file's own format; `id3v1_after` is set when its ID3v1 block is to be written afterwards.
edit_result edit(TagLib::File* file, const tag_values& values, bool& id3v1_after, bool& id3v1_only) {
    using namespace TagLib;
    if (auto* f = dynamic_cast<MPEG::File*>(file)) {
        id3v1_after = f->hasID3v1Tag();
        if (!f->hasID3v2Tag() && f->hasID3v1Tag()) {
            id3v1_only = true; // its only tag stays its only tag
            return edit_result::saved;
        }
        const ID3v2::Version version = version_of(f->hasID3v2Tag() ? f->ID3v2Tag() : nullptr);
        apply(*f->ID3v2Tag(true), values);
        return f->save(MPEG::File::ID3v2, File::StripNone, version, File::DoNotDuplicate) ? edit_result::saved
                                                                                          : edit_result::save_failed;
    }
    if (auto* f = dynamic_cast<RIFF::WAV::File*>(file)) {
        apply(*f->InfoTag(), values);
        const bool id3 = f->hasID3v2Tag();
        if (id3)
            apply(*f->ID3v2Tag(), values);
        const ID3v2::Version version = version_of(id3 ? f->ID3v2Tag() : nullptr);
        return f->save(id3 ? RIFF::WAV::File::AllTags : RIFF::WAV::File::Info, File::StripNone, version)
                   ? edit_result::saved
                   : edit_result::save_failed;
    }
    if (auto* f = dynamic_cast<RIFF::AIFF::File*>(file)) {
        const ID3v2::Version version = version_of(f->hasID3v2Tag() ? f->tag() : nullptr);
        apply(*f->tag(), values);
        return f->save(version) ? edit_result::saved : edit_result::save_failed;
    }
    TagLib::Tag* tag = nullptr;
    TagLib::Tag* id3v1 = nullptr; // kept in step where the format carries one
    if (auto* f = dynamic_cast<FLAC::File*>(file)) {
        tag = f->xiphComment(true);
    } else if (dynamic_cast<Ogg::File*>(file) || dynamic_cast<MP4::File*>(file) || dynamic_cast<ASF::File*>(file)) {
        tag = file->tag();
    } else if (auto* tta = dynamic_cast<TrueAudio::File*>(file)) {
        tag = tta->ID3v2Tag(true);
        id3v1 = tta->hasID3v1Tag() ? tta->ID3v1Tag() : nullptr;
    } else {
        static_cast<void>(ape_tags<APE::File>(file, tag, id3v1) || ape_tags<MPC::File>(file, tag, id3v1) ||
                          ape_tags<WavPack::File>(file, tag, id3v1));
    }
    if (!tag)
        return edit_result::unsupported;
    apply(*tag, values);
    if (id3v1)
        apply(*id3v1, values);
    return file->save() ? edit_result::saved : edit_result::save_failed;
}

struct audio_shape {
    int sample_rate = 0, channels = 0;
    bool operator==(const audio_shape&) const = default;
};

// What the audio of a readable media file looks like; nothing when it has no audio stream.
std::optional<audio_shape> audio_of(const std::string& path) {
    const TagLib::FileRef ref(path.c_str(), true, TagLib::AudioProperties::Fast);
    const TagLib::AudioProperties* audio = ref.isNull() ? nullptr : ref.audioProperties();
    if (!audio || audio->sampleRate() <= 0)
        return std::nullopt;
    return audio_shape{audio->sampleRate(), audio->channels()};
}

const char* const unchanged = "; the file was left as it was";

} // namespace

tag_write_result write_media_tags(const std::string& path, const tag_changes& changes,
                                  const file_replacement::fault_hook& hook) {
    install_cp1252_id3v1();
    tag_values values;
    if (const auto error = parse(changes, values))
        return {KARVO_TAG_BAD_FIELD, *error};
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return {KARVO_TAG_FAILED, "the file cannot be found"};
    if (!S_ISREG(info.st_mode))
        return {KARVO_TAG_UNSUPPORTED, "not a regular file"};
    const std::optional<audio_shape> before = audio_of(path);
    if (!before)
        return {KARVO_TAG_UNSUPPORTED, "not a media file whose tags can be written"};

    file_replacement copy(path, hook);
    if (!copy.ok())
        return {KARVO_TAG_FAILED, copy.error() + unchanged};
    bool id3v1_after = false, id3v1_only = false;
    edit_result edited;
    {
        const TagLib::FileRef ref(copy.copy_path().c_str(), false);
        edited = ref.isNull() ? edit_result::unsupported : edit(ref.file(), values, id3v1_after, id3v1_only);
    }
    if (edited == edit_result::unsupported)
        return {KARVO_TAG_UNSUPPORTED, "the tags of this kind of file cannot be written"};
    if (edited == edit_result::save_failed || (hook && !hook("save")))
        return {KARVO_TAG_FAILED, std::string("the tag could not be written") + unchanged};
    if (id3v1_after)
        if (const auto error = write_id3v1(copy.copy_path(), values, id3v1_only))
            return {id3v1_only ? KARVO_TAG_BAD_FIELD : KARVO_TAG_FAILED, *error + unchanged};
    // Whatever went wrong inside the writer, a file that no longer reads as the same audio does not replace one that
    // did.
    if (audio_of(copy.copy_path()) != before)
        return {KARVO_TAG_FAILED, std::string("the written file did not read back") + unchanged};
    if (!copy.commit())
        return {KARVO_TAG_FAILED, copy.error() + unchanged};
    return {KARVO_TAG_WRITTEN, ""};
}

} // namespace karvo::resource
