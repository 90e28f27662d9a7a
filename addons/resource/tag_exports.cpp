// SPDX-License-Identifier: GPL-3.0-or-later
// The tag exports of plugins/resource.krp: ID3v1 text read as CP1252 from the moment the plug-in is loaded, and
// _write_media_tags. Nothing here lets an exception out.
#include "addons/resource/id3v1_text.h"
#include "addons/resource/tag_writer.h"
#include "sdk/karvo_plugin.h"

#include <string>

namespace {

// Before any file is read: the handler is process-wide and read by every TagLib parse.
const bool cp1252_installed = (karvo::resource::install_cp1252_id3v1(), true);

} // namespace

extern "C" {

KARVO_EXPORT int32_t _write_media_tags(const char* path, const karvo_tag_field* fields, int32_t count,
                                       const char** message) {
    thread_local std::string last_message;
    int32_t status = KARVO_TAG_FAILED;
    try {
        karvo::resource::tag_changes changes;
        for (int32_t i = 0; fields && i < count; ++i)
            changes.emplace_back(fields[i].name ? fields[i].name : "", fields[i].value ? fields[i].value : "");
        const auto result = path ? karvo::resource::write_media_tags(path, changes)
                                 : karvo::resource::tag_write_result{KARVO_TAG_FAILED, "no file given"};
        status = result.status;
        last_message = result.message;
    } catch (...) {
        last_message = "the tag could not be written; the file was left as it was";
    }
    static_cast<void>(cp1252_installed);
    if (message)
        *message = last_message.c_str();
    return status;
}

} // extern "C"
