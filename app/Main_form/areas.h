// SPDX-License-Identifier: GPL-3.0-or-later
// What one area of the main window may ask of another. Each controller implements its own interface and reaches
// the others only through these, never through another controller's header; the window fills `areas` once all
// controllers exist.
#pragma once

#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "library/string_list.h"

class QWidget;

namespace karvo {

struct store_context;
struct store_outcome;

// The window's frame: the status line, the location it shows, the window as a parent for dialogs, the end.
class shell {
public:
    virtual void show_message(const QString& text) = 0;
    virtual void show_location() = 0;
    virtual void refresh_location() = 0;
    virtual void show_progress(const std::string& line) = 0;
    virtual void finish_progress() = 0;
    // Media reads that did not come in time since `unread_before` (the read count then): their files are listed by
    // path only, and the status line says how many.
    virtual void report_unread(int unread_before) = 0;
    virtual void set_current_folder(const std::string& folder) = 0;
    virtual void set_current_playlist_name(const std::string& name) = 0;
    virtual void set_current_media_cd_name(const std::string& name) = 0;
    virtual void show_list_name(const QString& name) = 0; // the name label alone, as a store command leaves it
    virtual QWidget* window() = 0;
    virtual void exit() = 0;

protected:
    ~shell() = default;
};

// The virtual playlist's view: its selection and the rows it shows.
class playlist_port {
public:
    virtual std::vector<int> selected_positions() const = 0;
    virtual int focused_row() const = 0;
    virtual void select_positions(const std::vector<int>& positions) = 0;
    virtual void refresh_count() = 0;                   // the rows were replaced: shown again from the top
    virtual void rows_changed(int first, int last) = 0; // the same rows with new fields
    virtual void rows_appended(int first, int last) = 0;
    virtual void set_playing_path(const std::string& path) = 0;
    virtual void repaint() = 0;
    // The auto playlister's add, one undo step; `info` describes the files (the media reads when not given).
    virtual void add_files_at_end(const string_list& paths,
                                  const std::function<std::string(const std::string&)>& info = {}) = 0;
    virtual void show_modified(bool modified) = 0;                // the mark in the count caption

protected:
    ~playlist_port() = default;
};

// Undo and redo of the virtual playlist and the question before unsaved edits are dropped.
class history_port {
public:
    virtual void begin_step(const std::string& what) = 0;
    virtual void end_step() = 0;
    // Runs a change to the playlist as one undo step called `what` (nested calls make one step).
    void undoable(const std::string& what, const std::function<void()>& change) {
        begin_step(what);
        struct ender {
            history_port* history;
            ~ender() { history->end_step(); }
        } end{this};
        change();
    }
    // A change that only narrows the view (a search, a grouping value): undoable, but no edit to be saved.
    virtual void narrowing(const std::string& what, const std::function<void()>& change) = 0;
    // Asks "Save changes to ...?" while the list differs from its file; false: stay where we are.
    virtual bool settle_unsaved() = 0;
    virtual void list_replaced() = 0; // another list is shown: no undo leads back to the old one
    virtual void list_saved(bool keep_step) = 0; // the list matches its file (keep_step: the emptying stays undoable)

protected:
    ~history_port() = default;
};

enum class tree_selection { other, saved_playlist, media_cd };

// The navigation tree and the folder listing.
class navigation_port {
public:
    virtual void relist_saved_playlists(const std::string& select = {}) = 0; // "My Playlists" listed again, open
    virtual void relist_media_cds() = 0;
    virtual void relist_drives() = 0;
    virtual void refresh_groupings(const std::string& playlist_name) = 0;
    virtual void show_media_cd_images(const std::vector<int>& images) = 0;
    virtual string_list media_cd_names() const = 0;
    virtual tree_selection selected_node() const = 0;
    virtual std::vector<int> take_listing_selection() = 0; // the listing's selected rows, then none selected
    // The folder the add menu acts on: the node it was opened from, else the current folder.
    virtual std::string add_menu_folder() const = 0;
    // A drag from the tree onto the playlist: the dragged folder is added, or the user is told why not.
    virtual void add_dragged_node() = 0;

protected:
    ~navigation_port() = default;
};

// The players: what the other areas hand them to play.
class players_port {
public:
    virtual void play_paths(const string_list& paths) = 0;
    virtual void play_listing_rows(const std::vector<int>& rows) = 0;

protected:
    ~players_port() = default;
};

// The saved playlists and Media CDs: a store command run with the window's lists, shown as its outcome names.
class stores_port {
public:
    virtual void run(const std::function<store_outcome(store_context&)>& command) = 0;
    virtual bool load_media_cd(const std::string& name) = 0; // appended; false when its disc is in no drive
    // Shows a saved playlist in the emptied list; a large one is read on a worker thread and shown once complete.
    virtual void open_playlist(const std::string& name) = 0;
    virtual void media_cd_check() = 0;

protected:
    ~stores_port() = default;
};

struct areas {
    shell* frame = nullptr;
    playlist_port* playlist = nullptr;
    navigation_port* navigation = nullptr;
    players_port* players = nullptr;
    stores_port* stores = nullptr;
    history_port* history = nullptr;
};

} // namespace karvo
