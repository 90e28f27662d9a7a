// SPDX-License-Identifier: GPL-3.0-or-later
// TfrmMain: the export plug-ins' items of the "Export To" submenu, after the program's own M3U and PLS items.
#include "app/Main_form/TfrmMain.h"
#include "app/Main_form/command_registry.h"

namespace karvo {

void TfrmMain::load_export_plugins() {
    exports_.scan_program_folder(program_folder);
    command_registry& r = *commands_;
    for (const std::string& id : export_command_ids_)
        r.remove(id);
    export_command_ids_.clear();

    std::vector<std::string> entries = {"mnuExportM3U", "mnuExportPLS"};
    if (exports_.count() > 0)
        entries.push_back(menu_separator);
    for (std::size_t i = 0; i < exports_.count(); ++i) {
        // Items are told apart by position, so two plug-ins with the same menu name each run their own library.
        std::string id = "mnuExportPlugin" + std::to_string(i + 1);
        r.add({id, name_caption(exports_.menu_names()[i]), {}, {}, [this, i] { ExportPluginClick(i); }});
        entries.push_back(id);
        export_command_ids_.push_back(std::move(id));
    }
    r.set_entries("ExportTo", std::move(entries));
}

void TfrmMain::ExportPluginClick(std::size_t index) {
    string_list paths;
    paths.reserve(static_cast<std::size_t>(music_list.count()));
    for (int row = 0; row < music_list.count(); ++row)
        paths.emplace_back(music_list.full_path(row));
    exports_.execute(index, paths);
}

} // namespace karvo
