// SPDX-License-Identifier: GPL-3.0-or-later
#include "addons/resource/id3v1_text.h"

#include <mutex>
#include <string>

#include <taglib/id3v1tag.h>

#include "platform/cp1252.h"

namespace karvo::resource {
namespace {

class cp1252_handler : public TagLib::ID3v1::StringHandler {
public:
    // A field ends at its first zero byte; blanks around it are padding, as TagLib's own reader takes them.
    TagLib::String parse(const TagLib::ByteVector& data) const override {
        std::string bytes(data.data(), data.size());
        bytes.resize(bytes.find('\0') == std::string::npos ? bytes.size() : bytes.find('\0'));
        return TagLib::String(platform::decode_cp1252_to_utf8(bytes), TagLib::String::UTF8).stripWhiteSpace();
    }
    TagLib::ByteVector render(const TagLib::String& text) const override {
        const std::string bytes = platform::encode_utf8_to_cp1252(text.to8Bit(true));
        return TagLib::ByteVector(bytes.data(), static_cast<unsigned int>(bytes.size()));
    }
};

} // namespace

void install_cp1252_id3v1() {
    static std::once_flag once;
    std::call_once(once, [] {
        static const cp1252_handler handler; // TagLib keeps the pointer for the life of the process
        TagLib::ID3v1::Tag::setStringHandler(&handler);
    });
}

} // namespace karvo::resource
