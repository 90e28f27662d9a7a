// SPDX-License-Identifier: GPL-3.0-or-later
#include "addons/resource/media_info_reader.h"
#include "addons/resource/shown_tag.h"

#include <sys/stat.h>

#include <ctime>

#include <taglib/aifffile.h>
#include <taglib/apefile.h>
#include <taglib/asffile.h>
#include <taglib/fileref.h>
#include <taglib/flacfile.h>
#include <taglib/mp4file.h>
#include <taglib/mpcfile.h>
#include <taglib/mpegfile.h>
#include <taglib/oggflacfile.h>
#include <taglib/opusfile.h>
#include <taglib/speexfile.h>
#include <taglib/tag.h>
#include <taglib/trueaudiofile.h>
#include <taglib/vorbisfile.h>
#include <taglib/wavfile.h>
#include <taglib/wavpackfile.h>

namespace karvo::resource {
namespace {

std::string field_text(const TagLib::String& text) {
    std::string utf8 = text.to8Bit(true);
    clean_field(utf8);
    return utf8;
}

std::string number_or_empty(long long value) {
    return value > 0 ? std::to_string(value) : std::string();
}

std::string mpeg_codec(const TagLib::MPEG::Properties* properties) {
    if (!properties)
        return "MPEG";
    const char* version = properties->version() == TagLib::MPEG::Header::Version1   ? "MPEG-1"
                          : properties->version() == TagLib::MPEG::Header::Version2 ? "MPEG-2"
                                                                                    : "MPEG-2.5";
    return std::string(version) + " Layer " + std::to_string(properties->layer());
}

// The codec by the file class TagLib chose; the container alone would call every Ogg or MP4 file the same.
std::string codec_name(TagLib::File* file) {
    using namespace TagLib;
    if (auto* f = dynamic_cast<MPEG::File*>(file))
        return mpeg_codec(f->audioProperties());
    if (dynamic_cast<FLAC::File*>(file) || dynamic_cast<Ogg::FLAC::File*>(file))
        return "FLAC";
    if (dynamic_cast<Ogg::Vorbis::File*>(file))
        return "Vorbis";
    if (dynamic_cast<Ogg::Opus::File*>(file))
        return "Opus";
    if (dynamic_cast<Ogg::Speex::File*>(file))
        return "Speex";
    if (auto* f = dynamic_cast<MP4::File*>(file)) {
        const auto* p = f->audioProperties();
        return p && p->codec() == MP4::Properties::ALAC  ? "ALAC"
               : p && p->codec() == MP4::Properties::AAC ? "AAC"
                                                         : "MP4";
    }
    if (auto* f = dynamic_cast<ASF::File*>(file)) {
        const auto* p = f->audioProperties();
        std::string name = p ? field_text(p->codecName()) : std::string();
        return name.empty() ? "WMA" : name;
    }
    if (dynamic_cast<MPC::File*>(file))
        return "Musepack";
    if (dynamic_cast<APE::File*>(file))
        return "Monkey's Audio";
    if (dynamic_cast<WavPack::File*>(file))
        return "WavPack";
    if (dynamic_cast<TrueAudio::File*>(file))
        return "TTA";
    if (auto* f = dynamic_cast<RIFF::WAV::File*>(file)) {
        const auto* p = f->audioProperties();
        return p && p->format() == 1 ? "PCM" : p && p->format() == 3 ? "IEEE float" : "WAV";
    }
    if (auto* f = dynamic_cast<RIFF::AIFF::File*>(file))
        return f->audioProperties() && f->audioProperties()->isAiffC() ? "AIFF-C" : "AIFF";
    return {};
}

std::string modification_time(const struct stat& info) {
    std::tm local{};
    if (!localtime_r(&info.st_mtime, &local))
        return {};
    char text[32];
    const std::size_t n = std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local);
    return std::string(text, n);
}

// Opening a FIFO or a device would block or read without end; only regular files are media.
bool regular_file(const char* path, struct stat& info) {
    return ::stat(path, &info) == 0 && S_ISREG(info.st_mode);
}

// The file's audio properties when it holds an audio stream. Some file classes accept a file without a single
// audio frame (an MP3 name on a text file, a file cut inside its tag); such a file is not media.
const TagLib::AudioProperties* audio_stream(const TagLib::FileRef& ref) {
    if (ref.isNull())
        return nullptr;
    const TagLib::AudioProperties* audio = ref.audioProperties();
    return audio && audio->sampleRate() > 0 ? audio : nullptr;
}

} // namespace

bool representable_path(std::string_view path) {
    return path.find_first_of("\xFF\r\n") == std::string_view::npos;
}

void clean_field(std::string& text) {
    for (char& c : text)
        if (c == '\xFF' || c == '\r' || c == '\n')
            c = ' ';
}

info_fields read_media_info(const char* path, long long* length_ms) {
    if (length_ms)
        *length_ms = -1;
    info_fields fields;
    fields[field_path] = path;
    struct stat info {};
    if (!regular_file(path, info))
        return fields;
    const TagLib::FileRef ref(path, true, TagLib::AudioProperties::Fast);
    const TagLib::AudioProperties* audio = audio_stream(ref);
    if (!audio)
        return fields;

    const shown_tag shown(ref.file());
    if (const TagLib::Tag* tag = shown.get()) {
        fields[field_title] = field_text(tag->title());
        fields[field_artist] = field_text(tag->artist());
        fields[field_album] = field_text(tag->album());
        fields[field_year] = number_or_empty(tag->year());
        fields[field_comment] = field_text(tag->comment());
        fields[field_genre] = field_text(tag->genre());
        fields[field_track] = number_or_empty(tag->track());
    }
    fields[field_seconds] = std::to_string(audio->lengthInSeconds());
    if (length_ms)
        *length_ms = audio->lengthInMilliseconds();
    fields[field_channels] = number_or_empty(audio->channels());
    fields[field_sample_rate] = number_or_empty(audio->sampleRate());
    fields[field_bit_rate] = number_or_empty(audio->bitrate());
    fields[field_file_size] = std::to_string(static_cast<long long>(info.st_size));
    fields[field_codec] = codec_name(ref.file());
    fields[field_modified] = modification_time(info);
    return fields;
}

int read_media_duration(const char* path) {
    struct stat info {};
    if (!regular_file(path, info))
        return -1;
    const TagLib::FileRef ref(path, true, TagLib::AudioProperties::Fast);
    const TagLib::AudioProperties* audio = audio_stream(ref);
    return audio ? audio->lengthInSeconds() : -1;
}

} // namespace karvo::resource
