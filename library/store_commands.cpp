// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/store_commands.h"

#include <algorithm>

#include "library/command_texts.h"
#include "library/media_list.h"
#include "platform/prompts.h"

namespace karvo {

namespace {
// NAME_MAX less the longest extension (".spl", ".vmc") and a margin for the temporary name of an atomic write.
constexpr std::size_t longest_name = 250;
} // namespace

std::optional<std::string> unusable_name_message(const std::string& name) {
    const bool control = std::any_of(name.begin(), name.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 || byte == 0x7F;
    });
    if (name.find('/') == std::string::npos && (name.empty() || name.front() != '.') && !control &&
        name.size() <= longest_name)
        return std::nullopt;
    std::string message = "\"";
    message.append(control ? "(this name)" : name);
    message.append("\" can't be used as a name. A name may not begin with a dot, hold a \"/\" or control characters, "
                   "or be longer than ")
        .append(std::to_string(longest_name))
        .append(" bytes.");
    return message;
}

void inform(const store_context& context, const std::string& text) {
    context.prompts.message_box(text, context.texts.title, platform::message_buttons::ok,
                                platform::message_icon::information);
}

bool confirm(const store_context& context, const std::string& text) {
    return context.prompts.message_box(text, context.texts.title, platform::message_buttons::yes_no,
                                       platform::message_icon::question) == platform::message_result::yes;
}

void begin_new_list(media_list& list) {
    list.clear();
    list.discard_backup();
}

std::string rename_failed_message(const std::string& old_name, const std::string& new_name) {
    return "Karvo was NOT able to rename \"" + old_name + "\" to \"" + new_name +
           "\". An item of that name may exist already.";
}

std::string unrecognisable_volume_message(const std::string& name) {
    return "Karvo cannot read the serial number of this volume. The Media CD \"" + name +
           "\" was saved, but it will not be recognised when the volume is inserted.";
}

std::string write_failed_message(const std::string& name) {
    return "Karvo was NOT able to write \"" + name + "\". The saved copy is unchanged.";
}

std::optional<std::string> ask_item_name(const store_context& context, const std::string& prompt,
                                         const std::string& initial) {
    const auto name = context.prompts.input_box(context.texts.title, prompt, initial);
    if (!name)
        return std::nullopt;
    if (name->empty()) {
        inform(context, context.texts[texts::nothing_entered]);
        return std::nullopt;
    }
    if (const auto problem = unusable_name_message(*name)) {
        inform(context, *problem);
        return std::nullopt;
    }
    return name;
}

} // namespace karvo
