// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Main_form/playlist/playlist_controller.h"


#include "app/Main_form/command_registry.h"
#include "app/Main_form/main_context.h"
#include "app/Main_form/playlist/playlist_model.h"
#include "app/Main_form/playlist/playlist_pane.h"
#include "app/Main_form/playlist/search_pane.h"
#include "app/Search_tips/TfrmSearchTips.h"
#include "library/album_order.h"
#include "library/folder_scanner.h"
#include "library/open_files.h"
#include "library/playlist_drops.h"
#include "library/playlist_edits.h"
#include "library/playlist_files.h"
#include "library/playlist_search.h"
#include "platform/prompts.h"

namespace karvo {

playlist_controller::playlist_controller(main_context& context, command_registry& commands, const areas& others,
                                         QWidget* back)
    : QObject(back), context_(context), commands_(commands), others_(others) {
    declare_commands();
    playlist_ = new playlist_pane(context_.music_list, commands_, back);
    search_ = new search_pane(back);
    wire_pane();
}

void playlist_controller::declare_commands() {
    command_registry& r = commands_;
    media_list& list = context_.music_list;
    auto has_rows = [&list] { return list.count() > 0; };
    r.add({.id = "cmdSort",
           .caption = QStringLiteral("Sort Ascending"),
           .enabled = has_rows,
           .handler = [this] { playlist_->sort_ascending(context_.settings.sort_item); },
           .hint = texts::sort_ascending_hint,
           .picture = artwork::picture::sort_az});
    r.add({.id = "cmdSortza",
           .caption = QStringLiteral("Sort Descending"),
           .enabled = has_rows,
           .handler = [this] { playlist_->sort_descending(context_.settings.sort_item); },
           .hint = texts::sort_descending_hint,
           .picture = artwork::picture::sort_za});
    r.add({.id = "cmdRandom",
           .caption = QStringLiteral("Randomize"),
           .handler = [this] { playlist_->randomize(context_.settings.randomize_times, context_.random); },
           .hint = texts::randomize_hint,
           .picture = artwork::picture::randomize});
    r.add({.id = "cmdCommands",
           .caption = QStringLiteral("Commands"),
           .handler = [this] { playlist_->open_menu_below("cmdCommands", "mnuCommands"); },
           .hint = texts::commands_hint,
           .picture = artwork::picture::commands});

    auto item = [&r](const char* id, const char* caption, QKeySequence key, std::function<void()> handler,
                     std::function<bool()> enabled = {}) {
        r.add({.id = id,
               .caption = QString::fromUtf8(caption),
               .key = key,
               .enabled = std::move(enabled),
               .handler = std::move(handler)});
    };
    auto selected = [this] { return !selected_positions().empty(); };
    item("RemoveAllDeadFiles", "Delete Broken Files", QKeySequence(Qt::CTRL | Qt::Key_D),
         [this, &list] { edited(delete_broken_files(list)); });
    item("RemoveAllSelected", "Delete Selected", Qt::Key_Delete,
         [this, &list] { edited(delete_selected(list, selected_positions())); }, selected);
    item("RemoveAllbutSelected", "Delete All but Selected", QKeySequence(Qt::ALT | Qt::Key_Backspace),
         [this, &list] { edited(delete_all_but_selected(list, selected_positions())); }, selected);
    item("RemoveAll", "Delete All", QKeySequence(Qt::CTRL | Qt::Key_Delete), [this, &list] { edited(delete_all(list)); });
    r.add_menu("mnuDelete", QStringLiteral("Delete"),
               {"RemoveAllDeadFiles", "RemoveAllSelected", "RemoveAllbutSelected", "RemoveAll"});

    item("mnuMoveSelectedTop", "Move Selected to Top", {}, [this] { playlist_->move_to_edge(true); });
    item("mnuMoveSelectedBottom", "Move Selected to Bottom", {}, [this] { playlist_->move_to_edge(false); });
    item("mnuMoveSelectedUp", "Move Selected Up", {}, [this] { playlist_->move_selected(true); });
    item("mnuMoveSelectedDown", "Move Selected Down", {}, [this] { playlist_->move_selected(false); });
    r.add({.id = "mnuSortAlbumOrder",
           .caption = QStringLiteral("Sort in Album Order"),
           .enabled = has_rows,
           .handler = [this, &list] { playlist_->model()->reorder([&list] { sort_in_album_order(list); }); }});
    r.add_menu("mnuMove", QStringLiteral("Move"),
               {"mnuMoveSelectedTop", "mnuMoveSelectedBottom", "mnuMoveSelectedUp", "mnuMoveSelectedDown",
                menu_separator, "mnuSortAlbumOrder"});

    item("mnuInvertSelection", "Invert Selection", {},
         [this, &list] { playlist_->apply(invert_selection(list, selected_positions())); });
    item("mnuSelectAll", "Select All", QKeySequence(Qt::CTRL | Qt::Key_A),
         [this, &list] { playlist_->apply(select_all(list)); });
    item("mnuSelectthatHave", "Select that Have...", {}, [this, &list] {
        if (const auto result = select_that_have(list, selected_positions(), context_.prompts(), context_.texts()))
            playlist_->apply(*result);
    });
    r.add_menu("mnuSelect", QStringLiteral("Select"), {"mnuInvertSelection", "mnuSelectAll", "mnuSelectthatHave"});

    // The program's own two formats head the submenu; the export plug-ins' items follow them.
    item("mnuExportM3U", "Export to M3U", {}, [this, &list] {
        // The M3U export reports its own failure.
        export_m3u(context_.prompts(), context_.message(texts::export_m3u_title), list);
    });
    item("mnuExportPLS", "Export to PLS", {}, [this, &list] {
        if (export_pls(context_.prompts(), context_.message(texts::export_pls_title), list) == command_result::failed)
            context_.prompts().message_box(cant_write_file_text, application_title, platform::message_buttons::ok,
                                           platform::message_icon::error);
    });
    r.add_menu("ExportTo", QStringLiteral("Export To"), {"mnuExportM3U", "mnuExportPLS"});

    item("mnuCloneSong", "Clone Selected", QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_C),
         [this, &list] { edited(clone_selected(list, selected_positions())); }, selected);

    // Without a mouse: the search panel and a sort by any column.
    item("mnuFind", "Search...", QKeySequence(Qt::CTRL | Qt::Key_F), [this] {
        search_->focus_query();
    });
    item("mnuFoldSearch", "Fold or Unfold the Search Panel", {}, [this] { search_->fold_or_unfold(); });
    std::vector<std::string> columns;
    for (int column = 0; column < playlist_view_columns; ++column) {
        std::string id = "mnuSortColumn" + std::to_string(column);
        r.add({.id = id,
               .caption = QString::fromUtf8(playlist_columns[static_cast<std::size_t>(column)].caption),
               .handler = [this, column] { playlist_->LstMusicListColumnClick(column); }});
        columns.push_back(std::move(id));
    }
    r.add_menu("mnuSortColumn", QStringLiteral("Sort by Column"), columns);

    // The list's pop-up menu; its items come from every area.
    r.add_menu("mnuCommands", {},
               {"SavePlaylist",    "SavePlaylistAs", menu_separator, "mnuPlay",           "mnuID3",
                "mnuShowFileInfo", menu_separator,   "mnuDelete",    "mnuMove",           "mnuSelect",
                menu_separator,    "ExportTo",       "mnuSendTo",    "mnuRevertPlaylist", "mnuCloneSong",
                menu_separator,    "mnuWindow",      "mnuAbout",     "mnuOnline",         menu_separator,
                "mnuExitKarvo",
                menu_separator,    "mnuUndo",        "mnuRedo"});
}

void playlist_controller::wire_pane() {
    connect(playlist_, &playlist_pane::double_clicked, this, [this] { commands_.invoke("LstMusicListDblClick"); });
    // Drops and searches change the list outside the registry: each is one undo step of its own.
    connect(playlist_, &playlist_pane::tree_dropped, this,
            [this] { others_.history->undoable("Add Directory", [this] { others_.navigation->add_dragged_node(); }); });
    connect(playlist_, &playlist_pane::listing_dropped, this,
            [this](int row) { others_.history->undoable("Drop", [this, row] { listing_dropped(row); }); });
    connect(playlist_, &playlist_pane::files_dropped, this, [this](const string_list& files, int row) {
        others_.history->undoable("Drop", [&] { files_dropped(files, row); });
    });
    connect(playlist_, &playlist_pane::waste_dropped, this, [this](const QString& from) { waste_dropped(from); });
    connect(search_, &search_pane::search_requested, this,
            [this] { others_.history->narrowing("Search", [this] { picSearchTypeClick(); }); });
    // Header clicks and the arrow buttons change the order inside the pane.
    playlist_->set_undo_steps([this](const std::string& what) { others_.history->begin_step(what); },
                              [this] { others_.history->end_step(); });
    connect(search_, &search_pane::tips_requested, this, [this] {
        TfrmSearchTips tips(others_.frame->window());
        tips.exec();
    });
}

void playlist_controller::apply_settings() {
    const main_settings& settings = context_.settings;
    name_switches& switches = context_.music_list.switches;
    switches.strip_extension = settings.show_file_extension;
    switches.underscore_to_space = settings.underscore_with_space;
    switches.percent20_to_space = settings.percent20_with_space;
    switches.dot_to_space = settings.dot_with_space;
    switches.remove_brackets = settings.remove_brackets;
    playlist_->set_font_size(settings.pls_font_size);
}

void playlist_controller::refresh_groupings() {
    if (!context_.state.current_playlist_name.empty())
        others_.navigation->refresh_groupings(context_.state.current_playlist_name);
}

void playlist_controller::edited(const edit_result& result) {
    playlist_->apply(result);
    if (result.changed)
        refresh_groupings();
}

void playlist_controller::picSearchTypeClick() {
    const search_result result = run_search(
        context_.music_list, search_->query(), search_->category(),
        search_->display_found() ? search_mode::display_found : search_mode::select_found, selected_positions());
    if (result.list_rewritten)
        refresh_count();
    playlist_->select_positions(result.selected);
}

drop_settings playlist_controller::drops_as_set() const {
    const main_settings& s = context_.settings;
    return {s.drag_n_drop, s.drag_n_drop_rnd, s.randomize_times, s.add_playlist_type, s.verify_on_startup};
}

void playlist_controller::dropped(const drop_result& result) {
    if (result.shuffled || result.inserted.last < result.inserted.first)
        refresh_count();
    else
        playlist_->model()->rows_edited({}, {result.inserted});
    refresh_groupings();
}

void playlist_controller::listing_dropped(int row_under_point) {
    const std::vector<int> rows = others_.navigation->take_listing_selection();
    if (rows.empty())
        return;
    string_list paths;
    for (const int row : rows)
        paths.push_back(context_.folder_list.full_path(row));
    add_reading([&](const drop_info_source& info) {
        return drop_listing_rows(context_.music_list, paths, row_under_point, drops_as_set(), info, context_.random);
    });
}

void playlist_controller::files_dropped(const string_list& files, int row_under_point) {
    // No second shell drop while this one is added.
    playlist_->set_accepts_shell_files(false);
    add_reading([&](const drop_info_source& info) {
        return drop_shell_files(context_.music_list, files, row_under_point, drops_as_set(), context_.media_types, info,
                                context_.random);
    });
    playlist_->set_accepts_shell_files(true);
}

void playlist_controller::add_files_at_end(const string_list& paths,
                                           const std::function<std::string(const std::string&)>& info) {
    // The add-file operation of a shell drop, always at the end and never shuffled afterwards.
    drop_settings at_the_end = drops_as_set();
    at_the_end.drag_n_drop = 0;
    at_the_end.drag_n_drop_rnd = false;
    others_.history->undoable("Auto Playlister", [&] {
        dropped(drop_shell_files(
            context_.music_list, paths, -1, at_the_end, context_.media_types,
            [this, &info](const std::string& file) { return info ? info(file) : context_.media_info(file); },
            context_.random));
    });
}

void playlist_controller::open_files(const string_list& paths) {
    add_reading([&](const drop_info_source& info) {
        const open_result result = karvo::open_files(
            context_.music_list, paths, drops_as_set(), context_.media_types, info, context_.random,
            [&](const std::string& folder) {
                return context_.scanners->scan_dir(
                    folder, context_.music_list, info,
                    [this](const std::string& text) { others_.frame->show_progress(text); },
                    context_.resource.read_ahead());
            });
        if (result.reset) {
            others_.frame->finish_progress();
            others_.frame->show_location();
        }
        return drop_result{result.added, result.reset ? row_range{} : result.inserted, result.reset};
    });
}

void playlist_controller::add_reading(const std::function<drop_result(const drop_info_source& info)>& add) {
    const int unread_before = context_.resource.unread_count();
    dropped(add([this](const std::string& path) { return context_.media_info(path); }));
    others_.frame->report_unread(unread_before);
}

void playlist_controller::show_modified(bool modified) {
    playlist_->model()->set_modified(modified);
}

void playlist_controller::waste_dropped(const QString& source) {
    const drag_source from = source == QLatin1String("LstMusicList") ? drag_source::playlist
                             : source == QLatin1String("MyTree")     ? drag_source::tree
                                                                     : drag_source::other;
    const tree_selection node = others_.navigation->selected_node();
    switch (waste_drop(from, node == tree_selection::saved_playlist, node == tree_selection::media_cd,
                       context_.prompts(), context_.texts())) {
        case waste_action::delete_selected: commands_.invoke("RemoveAllSelected"); break;
        case waste_action::delete_playlist: commands_.invoke("mnuDeletePlaylist"); break;
        case waste_action::remove_media_cd: commands_.invoke("RemoveMediaCD"); break;
        case waste_action::refused: break;
    }
}

void playlist_controller::load_export_plugins() {
    context_.exports.scan_program_folder(context_.program_folder);
    command_registry& r = commands_;
    for (const std::string& id : export_command_ids_)
        r.remove(id);
    export_command_ids_.clear();

    std::vector<std::string> entries = {"mnuExportM3U", "mnuExportPLS"};
    if (context_.exports.count() > 0)
        entries.push_back(menu_separator);
    for (std::size_t i = 0; i < context_.exports.count(); ++i) {
        // Items are told apart by position, so two plug-ins with the same menu name each run their own library.
        std::string id = "mnuExportPlugin" + std::to_string(i + 1);
        r.add({.id = id,
               .caption = name_caption(context_.exports.menu_names()[i]),
               .handler = [this, i] { export_with_plugin(i); }});
        entries.push_back(id);
        export_command_ids_.push_back(std::move(id));
    }
    r.set_entries("ExportTo", std::move(entries));
}

void playlist_controller::export_with_plugin(std::size_t index) {
    const media_list& list = context_.music_list;
    string_list paths;
    paths.reserve(static_cast<std::size_t>(list.count()));
    for (int row = 0; row < list.count(); ++row)
        paths.emplace_back(list.full_path(row));
    context_.exports.execute(index, paths);
}

std::vector<int> playlist_controller::selected_positions() const {
    return playlist_->selected_positions();
}

int playlist_controller::focused_row() const {
    return playlist_->focused_row();
}

void playlist_controller::select_positions(const std::vector<int>& positions) {
    playlist_->select_positions(positions);
}

void playlist_controller::refresh_count() {
    playlist_->refresh_count();
}

void playlist_controller::rows_changed(int first, int last) {
    playlist_->model()->rows_changed(first, last);
}

void playlist_controller::rows_appended(int first, int last) {
    playlist_->model()->rows_edited({}, {{first, last}});
}

void playlist_controller::set_playing_path(const std::string& path) {
    playlist_->model()->set_playing_path(path);
}

void playlist_controller::repaint() {
    playlist_->repaint_rows();
}

} // namespace karvo
