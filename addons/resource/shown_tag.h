// SPDX-License-Identifier: GPL-3.0-or-later
// The tag whose fields the program shows. A WAV file may carry an ID3 chunk and a RIFF INFO list, and TagLib's
// tag() gives only the ID3 chunk: here each field comes from the ID3 chunk when it has one, else from the INFO list.
#pragma once

#include <memory>

namespace TagLib {
class File;
class Tag;
} // namespace TagLib

namespace karvo::resource {

class shown_tag {
public:
    explicit shown_tag(TagLib::File* file);
    ~shown_tag();
    shown_tag(const shown_tag&) = delete;
    shown_tag& operator=(const shown_tag&) = delete;

    // Null when the file has no tag at all.
    const TagLib::Tag* get() const { return tag_; }

private:
    class merged;
    std::unique_ptr<merged> merged_;
    const TagLib::Tag* tag_ = nullptr;
};

} // namespace karvo::resource
