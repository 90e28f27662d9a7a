// SPDX-License-Identifier: GPL-3.0-or-later
#include "plugins/media_tags.h"

#include "library/id3_class.h"
#include "library/media_entry.h"
#include "platform/case_fold.h"
#include "plugins/resource_plugin.h"

namespace karvo {
namespace {

struct text_slot {
    const char* name;
    std::string tag_texts::*member;
};
constexpr text_slot slots[] = {
    {KARVO_TAG_TITLE, &tag_texts::title},     {KARVO_TAG_ARTIST, &tag_texts::artist},
    {KARVO_TAG_ALBUM, &tag_texts::album},     {KARVO_TAG_YEAR, &tag_texts::year},
    {KARVO_TAG_COMMENT, &tag_texts::comment}, {KARVO_TAG_GENRE, &tag_texts::genre},
    {KARVO_TAG_TRACK, &tag_texts::track},
};

bool is_mpeg_name(const std::string& path) {
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || path.find('/', dot) != std::string::npos)
        return false;
    const std::string extension = path.substr(dot + 1);
    return platform::equal_ignoring_case(extension, "mp3") || platform::equal_ignoring_case(extension, "mp2");
}

std::string trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first, text.find_last_not_of(' ') - first + 1);
}

} // namespace

tag_field_changes changed_tag_fields(const tag_texts& before, const tag_texts& after) {
    tag_field_changes changes;
    for (const text_slot& slot : slots)
        if (before.*slot.member != after.*slot.member)
            changes.emplace_back(slot.name, after.*slot.member);
    return changes;
}

media_tags::media_tags(const resource_plugin* resource)
    : resource_(resource), writes_(resource && resource->writes_tags()) {}

bool media_tags::id3v1_limits(const std::string& path) const {
    if (!writes_)
        return true;
    id3_tag tag;
    return is_mpeg_name(path) && !has_id3v2_tag(path) && id3_2_class().read_tag(path, tag);
}

tag_texts media_tags::read(const std::string& path) const {
    tag_texts texts;
    if (id3v1_limits(path)) {
        id3_tag tag;
        id3_2_class().read_tag(path, tag);
        texts = {trimmed(tag.title),
                 trimmed(tag.artist),
                 trimmed(tag.album),
                 trimmed(tag.year),
                 trimmed(tag.comment),
                 id3_genre_name(tag.genre),
                 tag.track > 0 ? std::to_string(tag.track) : ""};
        return texts;
    }
    const std::string info = resource_ ? resource_->media_info_string(path) : std::string();
    if (info.empty())
        return texts;
    const media_fields fields = parse_media_info(info);
    return {fields[1], fields[2], fields[3], fields[4], fields[5], fields[6], fields[10]};
}

std::string media_tags::write(const std::string& path, const tag_field_changes& changes) const {
    if (!writes_)
        return write_id3v1(path, changes);
    const resource_plugin::tag_write_result result = resource_->write_media_tags(path, changes);
    return result.status == KARVO_TAG_WRITTEN ? std::string() : "The tag could not be written: " + result.message + ".";
}

// The program's own path: the 128-byte block of an MP3 file, changed in place by one write.
std::string media_tags::write_id3v1(const std::string& path, const tag_field_changes& changes) const {
    if (!is_mpeg_name(path))
        return "Only MP3 files have an ID3v1 tag; the tags of other files are written by a resource plug-in that "
               "writes tags. Nothing was written.";
    static constexpr std::pair<const char*, std::string id3_tag::*> id3_texts[] = {
        {KARVO_TAG_TITLE, &id3_tag::title}, {KARVO_TAG_ARTIST, &id3_tag::artist},   {KARVO_TAG_ALBUM, &id3_tag::album},
        {KARVO_TAG_YEAR, &id3_tag::year},   {KARVO_TAG_COMMENT, &id3_tag::comment},
    };
    id3_2_class block;
    id3_tag tag;
    block.read_tag(path, tag);
    for (const auto& [name, value] : changes) {
        if (name == KARVO_TAG_GENRE) {
            const int genre = value.empty() ? id3_no_genre : id3_genre_number(value);
            if (genre < 0)
                return "\"" + value + "\" is not an ID3v1 genre. Nothing was written.";
            tag.genre = genre;
        } else if (name == KARVO_TAG_TRACK) {
            const bool number = value.size() <= 3 && value.find_first_not_of("0123456789") == std::string::npos;
            const int track = number && !value.empty() ? std::stoi(value) : 0;
            if (!number || track > 255)
                return "An ID3v1 tag holds track numbers from 1 to 255. Nothing was written.";
            tag.track = track;
        } else {
            for (const auto& [field, member] : id3_texts)
                if (name == field)
                    tag.*member = value;
        }
    }
    return block.write_tag(path, tag) ? std::string() : id3_file_error_text;
}

} // namespace karvo
