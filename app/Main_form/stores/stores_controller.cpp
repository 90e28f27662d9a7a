// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Main_form/stores/stores_controller.h"

#include <QAction>
#include <QCursor>
#include <QSocketNotifier>

#include "app/Main_form/command_registry.h"
#include "app/Main_form/job_runner.h"
#include "app/Main_form/main_context.h"
#include "app/Main_form/stores/list_loader.h"
#include "app/resources/explorer_images.h"
#include "library/folder_scanner.h"
#include "library/media_cd_commands.h"
#include "library/mp3_cd_class.h"
#include "library/playlist_class.h"
#include "library/playlist_commands.h"
#include "library/playlist_files.h"
#include "library/playlist_import.h"
#include "library/playlist_import_job.h"
#include "platform/prompts.h"

namespace karvo {

stores_controller::stores_controller(main_context& context, command_registry& commands, const areas& others,
                                     QObject* parent)
    : QObject(parent), context_(context), commands_(commands), others_(others) {
    declare_commands();
}

stores_controller::~stores_controller() = default;

namespace {

// Below this a playlist (some twenty thousand entries) loads in well under a tenth of a second: it is there when
// the window first paints, as it always was.
constexpr std::uint64_t background_bytes = 4 << 20;

} // namespace

void stores_controller::open_playlist(const std::string& name) {
    if (context_.playlists->size_of(name) < background_bytes) {
        if (loader_)
            loader_->cancel(); // a large one still on its way must not replace this one
        restoring_name_.clear();
        load_playlist_into(*context_.playlists, name, context_.music_list);
        others_.frame->set_current_playlist_name(name);
        return;
    }
    // Until the list is complete no name is set, so no save can write the empty list over the file.
    others_.frame->set_current_playlist_name({});
    if (!loader_)
        loader_ = std::make_unique<list_loader>();
    restoring_name_ = name;
    playlist_class* const store = context_.playlists.get();
    loader_->start(
        context_.music_list.switches,
        [store, name](media_list& list, const std::function<void(int)>& progress) {
            load_playlist_into(*store, name, list, progress);
        },
        [this, name](int rows) {
            others_.frame->show_progress("Loading \"" + name + "\": " + std::to_string(rows) + " entries");
        },
        [this, name](media_list* loaded) {
            others_.frame->show_progress("");
            restoring_name_.clear();
            // The playlist is shown only where nothing happened meanwhile: a list the user opened, or an entry
            // added, stays as it is (the saved file is unchanged, nothing is lost). Until now the name was unset,
            // so no save could write the empty list over the file.
            const shell_state& state = context_.state;
            if (!loaded || !(state.mode == PlaylistMode::playlist) || !state.current_playlist_name.empty() ||
                context_.music_list.count() != 0)
                return;
            context_.music_list = std::move(*loaded);
            others_.frame->set_current_playlist_name(name);
            others_.playlist->refresh_count();
            others_.frame->refresh_location();
        });
}

void stores_controller::run(const std::function<store_outcome(store_context&)>& command) {
    const command_texts words = context_.texts();
    shell_state& state = context_.state;
    store_context context{context_.music_list, *context_.playlists, *context_.media_cds, context_.prompts(),
                          context_.drives(),   words,                state};
    const store_outcome outcome = command(context);
    switch (outcome.list) {
        case list_change::none: break;
        case list_change::list_names:
        case list_change::rows_replaced: others_.playlist->rows_changed(0, context_.music_list.count() - 1); break;
        case list_change::rewritten:
            others_.playlist->refresh_count();
            others_.playlist->select_positions({});
            break;
    }
    const tree_update& tree = outcome.tree;
    if (tree.relist_playlists || !tree.add_playlist_node.empty())
        others_.navigation->relist_saved_playlists(tree.add_playlist_node);
    if (!tree.refresh_groupings.empty())
        others_.navigation->refresh_groupings(tree.refresh_groupings);
    if (tree.relist_media_cds)
        others_.navigation->relist_media_cds();
    if (tree.media_cd_check)
        media_cd_check();
    // The names the command left in the state, on the status line.
    shell& frame = *others_.frame;
    frame.show_list_name(QString::fromStdString(state.mode.saves_media_cd() ? state.current_media_cd_name
                                                                                     : state.current_playlist_name));
    if (outcome.name_label_none)
        frame.show_list_name(QStringLiteral("<none>"));
    frame.refresh_location();
    if (!outcome.status.empty())
        frame.show_message(QString::fromStdString(outcome.status));
}

void stores_controller::run_with_effect(const std::function<store_outcome(store_context&)>& command, effect does) {
    history_port& history = *others_.history;
    if ((does == effect::load || does == effect::new_list) && !history.settle_unsaved())
        return;
    bool done = false;
    run([&](store_context& c) {
        store_outcome outcome = command(c);
        done = outcome.done;
        return outcome;
    });
    if (!done)
        return;
    if (does == effect::save || does == effect::new_list)
        history.list_saved(does == effect::new_list);
    else if (does == effect::load || does == effect::replaced)
        history.list_replaced();
}

bool stores_controller::load_media_cd(const std::string& name) {
    const bool found = context_.media_cds->load_into(name, context_.music_list, context_.drives()).has_value();
    others_.playlist->refresh_count();
    others_.frame->set_current_media_cd_name(name);
    return found;
}

void stores_controller::media_cd_check() {
    others_.navigation->show_media_cd_images(
        media_cd_check_images(*context_.media_cds, others_.navigation->media_cd_names(), context_.drives()));
}

void stores_controller::watch_mounts() {
    mounts_ = context_.drives().watch_mounts();
    if (!mounts_)
        return;
    mount_notifier_ = std::make_unique<QSocketNotifier>(mounts_->descriptor(), QSocketNotifier::Exception);
    connect(mount_notifier_.get(), &QSocketNotifier::activated, this, [this] {
        mounts_->acknowledge();
        others_.navigation->relist_drives();
        media_cd_check();
    });
}

void stores_controller::declare_commands() {
    auto info = [this](const std::string& path) { return context_.media_info(path); };
    auto status = [this](const std::string& text) { others_.frame->show_progress(text); };
    auto store = [this](const char* id, const char* caption, QKeySequence key,
                        std::function<store_outcome(store_context&)> command, effect does = effect::edit,
                        bool visible = true, std::function<bool()> enabled = {}) {
        commands_.add({.id = id,
                       .caption = QString::fromUtf8(caption),
                       .key = key,
                       .enabled = std::move(enabled),
                       .handler = [this, command = std::move(command), does] { run_with_effect(command, does); },
                       .visible = visible});
    };
    // The playlist menu.
    store("mnuNewPls", "New Playlist", QKeySequence(Qt::CTRL | Qt::Key_N), new_playlist, effect::new_list);
    store(
        "mnuDeletePlaylist", "Delete Playlist", {},
        [this](store_context& c) {
            return delete_playlist(c, others_.navigation->selected_node() == tree_selection::saved_playlist);
        },
        effect::replaced);
    store("RenamePlaylist", "Rename Playlist", {}, rename_playlist, effect::save);
    store("RecachePlaylist", "Re-cache Playlist", {}, [this, info, status](store_context& c) {
        store_outcome outcome = recache_playlist(c, info, status, context_.resource.read_ahead());
        others_.frame->finish_progress();
        others_.frame->show_location();
        return outcome;
    });
    store("mnuDisplayAllSavedPlaylists", "Display All Saved Playlists", QKeySequence(Qt::CTRL | Qt::Key_W),
          [](store_context& c) { return display_all_saved_playlists(c); }, effect::load);
    store("mnuSaveAs", "Save Playlist As..", {}, save_playlist_as, effect::save, false);
    // The commands menu's store items; enabling follows the playlist mode.
    store("SavePlaylist", "Save Playlist", QKeySequence(Qt::CTRL | Qt::Key_S), save_playlist, effect::save, true,
          [this] { return context_.state.mode.can_save(); });
    store("SavePlaylistAs", "Save Playlist As", {}, save_playlist_as, effect::save, true,
          [this] { return context_.state.mode.can_save_as(context_.music_list.count()); });
    store("mnuRevertPlaylist", "Revert Playlist", QKeySequence(Qt::CTRL | Qt::Key_R), revert_playlist,
          effect::replaced);

    command_registry& r = commands_;
    r.add({.id = "AddM3UPlaylist",
           .caption = QString::fromUtf8(texts::add_m3u_title.builtin),
           .handler = [this] { import_playlist_file(playlist_format::m3u, context_.message(texts::add_m3u_title)); }});
    r.add({.id = "AddPLSPlaylist",
           .caption = QString::fromUtf8(texts::add_pls_title.builtin),
           .handler = [this] { import_playlist_file(playlist_format::pls, context_.message(texts::add_pls_title)); }});
    r.add({.id = "AddXSPFPlaylist",
           .caption = QString::fromUtf8(xspf_import_title),
           .handler = [this] { import_playlist_file(playlist_format::xspf, xspf_import_title); }});
    r.add({.id = "mnuImportReport", .caption = QStringLiteral("Show Import Report"), .handler = [this] {
               context_.prompts().message_box(last_import_report_.empty() ? "No playlist file was imported yet."
                                                                          : last_import_report_,
                                              application_title, platform::message_buttons::ok,
                                              platform::message_icon::information);
           }});
    r.add_menu("AddPlaylistFile", QStringLiteral("Add Playlist File"),
               {"AddM3UPlaylist", "AddPLSPlaylist", "AddXSPFPlaylist", menu_separator, "mnuImportReport"});
    r.add_menu("mnuSave", {},
               {"mnuNewPls", "mnuDeletePlaylist", "RenamePlaylist", "RecachePlaylist", menu_separator,
                "AddPlaylistFile", menu_separator, "mnuDisplayAllSavedPlaylists", "mnuSaveAs"});

    // The Media CD menu.
    store("AddNewMediaCD", "Add New Media CD", {}, [this, info, status](store_context& c) {
        store_outcome outcome = add_new_media_cd(c, others_.navigation->add_menu_folder(), *context_.scanners, info,
                                                 status, context_.resource.read_ahead());
        others_.frame->finish_progress();
        return outcome;
    }, effect::load);
    store(
        "RemoveMediaCD", "Remove Media CD", {},
        [this](store_context& c) {
            return remove_media_cd(c, others_.navigation->selected_node() == tree_selection::media_cd);
        },
        effect::replaced);
    store("RenameMediaCD", "Rename Media CD", {}, rename_media_cd, effect::save);
    store("SaveMediaCD", "Save Media CD", {}, save_media_cd, effect::save, false);
    store("mnuDisplayAllMediaCDs", "Display All Media CDs", {},
          [](store_context& c) { return display_all_media_cds(c); }, effect::load);
    r.add_menu("mnuMP3CD", {},
               {"AddNewMediaCD", "RemoveMediaCD", "RenameMediaCD", "SaveMediaCD", menu_separator,
                "mnuDisplayAllMediaCDs"});

    // Send To: a hidden first item and a separator, then one item per saved playlist, rebuilt as the menu opens.
    r.add({.id = "mnuSendToFolder", .caption = QStringLiteral("Another Folder"), .visible = false});
    r.add_menu("mnuSendTo", QStringLiteral("Send To"), {"mnuSendToFolder", menu_separator});
    r.on_menu_open("mnuSendTo", [this](QMenu&) { rebuild_send_to(); });

    // The toolbar buttons open their menu at the cursor.
    r.add({.id = "my_saved_pls",
           .caption = QStringLiteral("My Playlists"),
           .handler = [this] { commands_.popup("mnuSave", QCursor::pos()); },
           .hint = texts::my_playlists_hint,
           .picture = artwork::picture::selected_playlist});
    r.add({.id = "my_media_cd",
           .caption = QStringLiteral("My Media CDs"),
           .handler = [this] { commands_.popup("mnuMP3CD", QCursor::pos()); },
           .hint = texts::my_media_cds_hint,
           .picture = artwork::picture::selected_media_cd});
}

void stores_controller::rebuild_send_to() {
    std::vector<std::string> entries = {"mnuSendToFolder", menu_separator};
    for (const std::string& id : send_to_ids_)
        commands_.remove(id);
    send_to_ids_.clear();
    for (const std::string& name : context_.playlists->names()) {
        const std::string id = "mnuSendTo:" + name;
        commands_.add({.id = id, .caption = name_caption(name), .handler = [this, name] {
                           run([this, name](store_context& c) {
                               return send_to(c, name, others_.playlist->selected_positions());
                           });
                       }});
        commands_.action(id)->setIcon(artwork::explorer_icon(img_playlist));
        send_to_ids_.push_back(id);
        entries.push_back(id);
    }
    commands_.set_entries("mnuSendTo", entries);
}

bool stores_controller::importing() const {
    return import_runner_ && import_runner_->busy();
}

// An import saves the file's entries as a saved playlist; the tree then shows it under "My Playlists", the status
// line says what was found, and the whole report stays for "Show Import Report". The file is read and its entries
// described on a worker, with the count on the status line; Esc cancels and saves nothing.
void stores_controller::import_playlist_file(playlist_format format, const std::string& title) {
    if (importing()) {
        others_.frame->show_message(QStringLiteral("An import is still running (Esc cancels it)."));
        return;
    }
    const std::optional<std::string> file = choose_import_file(context_.prompts(), title, format);
    if (!file)
        return;
    const std::string name = import_name_of(*file);
    auto job = std::make_shared<playlist_import_job>(
        *file, format, name, [this](const std::string& path) { return context_.media_info(path); },
        context_.resource.read_ahead(), system_roots());
    if (!import_runner_)
        import_runner_ = std::make_unique<job_runner>(others_.frame->window());
    import_runner_->start(
        job->control(), [job] { job->run(); },
        [this, name](int done, int total) {
            others_.frame->show_progress("Importing \"" + name + "\": " +
                                         (total == 0 ? std::string("reading the file")
                                                     : std::to_string(done) + " of " + std::to_string(total) +
                                                           " entries") +
                                         " (Esc cancels)");
        },
        [this, job](bool completed) {
            others_.frame->finish_progress();
            if (completed && job->control().cancelled()) {
                others_.frame->show_message(QStringLiteral("The import was cancelled: nothing was saved."));
                return;
            }
            import_outcome outcome;
            if (completed) {
                outcome = job->save_into(*context_.playlists);
            } else {
                outcome.result = command_result::failed;
                outcome.report.error = "The playlist file could not be imported: nothing was saved.";
            }
            if (outcome.result == command_result::done)
                others_.navigation->relist_saved_playlists();
            last_import_report_ = outcome.report.details();
            if (outcome.result == command_result::failed) {
                context_.prompts().message_box(outcome.report.error.empty() ? cant_write_file_text
                                                                            : outcome.report.error,
                                               application_title, platform::message_buttons::ok,
                                               platform::message_icon::error);
                return;
            }
            others_.frame->show_message(QString::fromStdString(outcome.report.summary()));
        });
}

} // namespace karvo
