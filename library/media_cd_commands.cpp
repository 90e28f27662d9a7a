// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/media_cd_commands.h"

#include <algorithm>

#include "library/command_texts.h"
#include "library/folder_scanner.h"
#include "library/media_list.h"
#include "library/mp3_cd_class.h"
#include "library/navigation_tree_logic.h"
#include "platform/drives.h"
#include "platform/prompts.h"

namespace karvo {

namespace {

// The name typed into a Media CD prompt, or nullopt after Cancel, an empty answer or an unusable name (each with
// its message).
void after_catalogue_change(store_outcome& outcome) {
    outcome.done = true;
    outcome.tree.relist_media_cds = true;
    outcome.tree.media_cd_check = true;
}

} // namespace

store_outcome add_new_media_cd(store_context& context, const std::string& current_folder, folder_scanner& scanner,
                               const media_cd_info_source& info, const media_cd_status& show_status,
                               const read_ahead_policy& read_ahead) {
    store_outcome outcome;
    const std::vector<platform::drive_info> drives = context.drives.drives();
    const std::string root = platform::drive_root_of(current_folder, drives);
    const auto drive =
        std::find_if(drives.begin(), drives.end(), [&](const platform::drive_info& d) { return d.root == root; });
    if (current_folder.empty() || drive == drives.end() || !is_media_cd_drive(drive->type)) {
        inform(context, context.texts[texts::not_a_cdrom]);
        return outcome;
    }
    const auto name = ask_item_name(context, context.texts[texts::name_new_media_cd], drive->label);
    if (!name)
        return outcome;
    const bool known_serial = drive->serial != platform::unknown_serial;
    // A Media CD without its index key would never find its disc: nothing is scanned then. An unknown serial would
    // match every other such volume, so it is never stored.
    if (known_serial && !context.media_cds.store_identity(*name, disc_identity(drive->serial))) {
        inform(context, write_failed_message(*name));
        return outcome;
    }
    if (!known_serial)
        context.media_cds.forget_identity(*name);

    context.state.current_media_cd_name = *name;
    begin_new_list(context.list);
    scanner.scan_dir(root, context.list, info, show_status, read_ahead);
    context.list.set_list_name_of_all(*name);
    outcome.status = texts::new_media_cd_added;
    if (scanner.left_out() > 0)
        outcome.status.append(" ").append(files_left_out_message(scanner.left_out()));
    outcome.list = list_change::rewritten;
    if (!context.media_cds.save_catalogue(*name, context.list, context.drives))
        inform(context, write_failed_message(*name));
    else if (!known_serial)
        inform(context, unrecognisable_volume_message(*name));
    context.state.mode.show_media_cd();
    after_catalogue_change(outcome);
    return outcome;
}

store_outcome remove_media_cd(store_context& context, bool media_cd_node_selected) {
    store_outcome outcome;
    if (!media_cd_node_selected)
        return outcome;
    const std::string name = context.state.current_media_cd_name;
    if (name.empty()) {
        inform(context, context.texts[texts::choose_media_cd_to_delete]);
        return outcome;
    }
    if (!confirm(context, context.texts[texts::delete_media_cd_question] + " " + name + "?"))
        return outcome;
    // Removes the index key too; a catalogue another program deleted meanwhile changes nothing.
    if (!context.media_cds.remove(name))
        return outcome;
    context.state.current_media_cd_name.clear();
    outcome.name_label_none = true;
    after_catalogue_change(outcome);
    return outcome;
}

std::string proposed_media_cd_name(const std::string& name, const string_list& catalogued) {
    for (int n = 2;; ++n) {
        std::string proposal = name + " (" + std::to_string(n) + ")";
        if (std::find(catalogued.begin(), catalogued.end(), proposal) == catalogued.end())
            return proposal;
    }
}

store_outcome rename_media_cd(store_context& context) {
    store_outcome outcome;
    const std::string old_name = context.state.current_media_cd_name;
    if (old_name.empty())
        return outcome;
    const auto name = ask_item_name(context, context.texts[texts::rename_media_cd_prompt] + old_name + ".",
                                    proposed_media_cd_name(old_name, context.media_cds.names()));
    if (!name)
        return outcome;
    if (!context.media_cds.rename(old_name, *name)) {
        inform(context, rename_failed_message(old_name, *name));
        return outcome;
    }
    context.state.current_media_cd_name = *name;
    after_catalogue_change(outcome);
    return outcome;
}

store_outcome save_media_cd(store_context& context) {
    store_outcome outcome;
    const std::string& name = context.state.current_media_cd_name;
    if (name.empty() || !context.state.mode.saves_media_cd()) {
        context.prompts.message_box(context.texts[texts::cant_save_media_cd], texts::media_cd_caption,
                                    platform::message_buttons::ok, platform::message_icon::information);
        return outcome;
    }
    if (!context.media_cds.save_catalogue(name, context.list, context.drives)) {
        inform(context, write_failed_message(name));
        return outcome;
    }
    outcome.done = true;
    outcome.list = list_change::list_names;
    return outcome;
}

store_outcome load_media_cd(store_context& context, const std::string& name, std::optional<std::string>* found_root) {
    const auto root = context.media_cds.load_into(name, context.list, context.drives);
    if (found_root)
        *found_root = root;
    context.state.current_media_cd_name = name;
    store_outcome outcome;
    outcome.done = true;
    outcome.list = list_change::rewritten;
    return outcome;
}

store_outcome display_all_media_cds(store_context& context) {
    begin_new_list(context.list);
    display_all_media_cds(context.media_cds, context.list, context.drives);
    context.state.mode.show_all_media_cds();
    context.state.current_media_cd_name.clear();
    store_outcome outcome;
    outcome.done = true;
    outcome.list = list_change::rewritten;
    return outcome;
}

std::vector<int> media_cd_check_images(mp3_cd_class& store, const string_list& node_names,
                                       platform::drive_table& drives) {
    std::vector<float> inserted;
    bool any_drive = false;
    for (const platform::drive_info& drive : drives.drives()) {
        if (!is_media_cd_drive(drive.type))
            continue;
        any_drive = true;
        if (drive.serial != platform::unknown_serial)
            inserted.push_back(disc_identity(drive.serial));
    }
    std::vector<int> images(node_names.size(), -1);
    if (!any_drive)
        return images;
    const string_list catalogued = store.names();
    for (std::size_t k = 0; k < node_names.size(); ++k) {
        const float identity = store.stored_identity(node_names[k]);
        if (std::find(inserted.begin(), inserted.end(), identity) != inserted.end())
            images[k] = img_media_cd_inserted;
        else if (std::find(catalogued.begin(), catalogued.end(), node_names[k]) != catalogued.end())
            images[k] = img_media_cd;
    }
    return images;
}

} // namespace karvo
