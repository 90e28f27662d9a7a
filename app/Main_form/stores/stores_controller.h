// SPDX-License-Identifier: GPL-3.0-or-later
// The stores area: the saved playlist and Media CD commands with their two menus and toolbar buttons, Send To, the
// import of M3U and PLS files, and the Media CD check that follows the mounts. Each command runs one store command
// of the library with the window's lists and prompts, then shows what its outcome names.
#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/Main_form/areas.h"
#include "library/command_texts.h"

class QSocketNotifier;

namespace karvo {

namespace platform {
class mount_watch;
}
class command_registry;
class job_runner;
class list_loader;
enum class playlist_format;
struct main_context;

class stores_controller : public QObject, public stores_port {
    Q_OBJECT
public:
    stores_controller(main_context& context, command_registry& commands, const areas& others, QObject* parent);

    ~stores_controller() override;

    // The check runs again whenever a volume is mounted or unmounted.
    void watch_mounts();
    void open_playlist(const std::string& name) override;
    // The saved playlist being restored in the background, empty when none.
    const std::string& restoring_name() const { return restoring_name_; }
    // An import runs on a worker (the window stays live; Esc cancels it and nothing is saved).
    bool importing() const;

    // stores_port
    void run(const std::function<store_outcome(store_context&)>& command) override;
    bool load_media_cd(const std::string& name) override;
    void media_cd_check() override;

private:
    void declare_commands();
    void rebuild_send_to();
    void import_playlist_file(playlist_format format, const std::string& title);
    // What a command does to the list besides its own work: an edit is an undo step (the registry's), a save makes
    // the list match its file, a load shows another list (after the unsaved-changes question), New Playlist both
    // empties the list as a step and saves it.
    enum class effect { edit, save, load, replaced, new_list };
    void run_with_effect(const std::function<store_outcome(store_context&)>& command, effect does);

    main_context& context_;
    command_registry& commands_;
    const areas& others_;
    std::vector<std::string> send_to_ids_; // the Send To items of the saved playlists
    std::string last_import_report_;
    std::unique_ptr<list_loader> loader_;
    std::unique_ptr<job_runner> import_runner_;
    std::unique_ptr<platform::mount_watch> mounts_;
    std::unique_ptr<QSocketNotifier> mount_notifier_; // after the watch: it stops before the descriptor closes
    std::string restoring_name_;
};

} // namespace karvo
