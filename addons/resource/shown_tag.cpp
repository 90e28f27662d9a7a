// SPDX-License-Identifier: GPL-3.0-or-later
#include "addons/resource/shown_tag.h"

#include <taglib/tag.h>
#include <taglib/wavfile.h>

namespace karvo::resource {

// Read-only: each getter asks the first tag, then the second.
class shown_tag::merged : public TagLib::Tag {
public:
    merged(const TagLib::Tag& first, const TagLib::Tag& second) : first_(first), second_(second) {}
    TagLib::String title() const override { return pick(first_.title(), second_.title()); }
    TagLib::String artist() const override { return pick(first_.artist(), second_.artist()); }
    TagLib::String album() const override { return pick(first_.album(), second_.album()); }
    TagLib::String comment() const override { return pick(first_.comment(), second_.comment()); }
    TagLib::String genre() const override { return pick(first_.genre(), second_.genre()); }
    unsigned int year() const override { return first_.year() ? first_.year() : second_.year(); }
    unsigned int track() const override { return first_.track() ? first_.track() : second_.track(); }
    void setTitle(const TagLib::String&) override {}
    void setArtist(const TagLib::String&) override {}
    void setAlbum(const TagLib::String&) override {}
    void setComment(const TagLib::String&) override {}
    void setGenre(const TagLib::String&) override {}
    void setYear(unsigned int) override {}
    void setTrack(unsigned int) override {}

private:
    static TagLib::String pick(const TagLib::String& a, const TagLib::String& b) { return a.isEmpty() ? b : a; }
    const TagLib::Tag& first_;
    const TagLib::Tag& second_;
};

shown_tag::shown_tag(TagLib::File* file) {
    auto* wav = dynamic_cast<TagLib::RIFF::WAV::File*>(file);
    if (wav && wav->hasInfoTag() && wav->InfoTag()) {
        if (wav->ID3v2Tag()) {
            merged_ = std::make_unique<merged>(*wav->ID3v2Tag(), *wav->InfoTag());
            tag_ = merged_.get();
        } else {
            tag_ = wav->InfoTag();
        }
    } else if (file) {
        tag_ = file->tag();
    }
}

shown_tag::~shown_tag() = default;

} // namespace karvo::resource
