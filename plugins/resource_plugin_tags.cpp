// SPDX-License-Identifier: GPL-3.0-or-later
// The tag writing export of the resource plug-in, looked up when it is used: it is optional, and older plug-ins lack
// it.
#include "plugins/resource_plugin.h"

namespace karvo {

bool resource_plugin::writes_tags() const {
    return library_.loaded() && library_.function<karvo_write_media_tags_fn>("_write_media_tags") != nullptr;
}

resource_plugin::tag_write_result
resource_plugin::write_media_tags(const std::string& path,
                                  const std::vector<std::pair<std::string, std::string>>& fields) const {
    const auto write = library_.loaded() ? library_.function<karvo_write_media_tags_fn>("_write_media_tags") : nullptr;
    if (!write)
        return {KARVO_TAG_UNSUPPORTED, "the resource plug-in does not write tags"};
    std::vector<karvo_tag_field> passed;
    passed.reserve(fields.size());
    for (const auto& [name, value] : fields)
        passed.push_back({name.c_str(), value.c_str()});
    const auto lock = exclusive_call();
    const char* message = nullptr;
    const std::int32_t status = write(path.c_str(), passed.data(), static_cast<std::int32_t>(passed.size()), &message);
    // Copied under the lock: the text is only valid until the next call.
    return {status, message ? message : ""};
}

} // namespace karvo
