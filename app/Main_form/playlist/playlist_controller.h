// SPDX-License-Identifier: GPL-3.0-or-later
// The playlist area: the virtual playlist's view with its toolbar strip, the search panel, and the commands on the
// list: sort, randomize, delete, move, select, clone, export, and every drop on the list and on the waste bin. Each
// command runs one library operation and hands its rows and selection to the pane.
#pragma once

#include <QObject>
#include <string>
#include <vector>

#include "app/Main_form/areas.h"

class QWidget;

namespace karvo {

class command_registry;
class playlist_pane;
class search_pane;
struct drop_result;
struct drop_settings;
struct edit_result;
struct main_context;

class playlist_controller : public QObject, public playlist_port {
    Q_OBJECT
public:
    playlist_controller(main_context& context, command_registry& commands, const areas& others, QWidget* back);

    playlist_pane& pane() const { return *playlist_; }
    search_pane& search() const { return *search_; }

    // The export plug-ins' items of "Export To", after the program's own M3U and PLS items.
    void load_export_plugins();
    void apply_settings(); // font size and the name switches
    void picSearchTypeClick();

    // playlist_port
    std::vector<int> selected_positions() const override;
    int focused_row() const override;
    void select_positions(const std::vector<int>& positions) override;
    void refresh_count() override;
    void rows_changed(int first, int last) override;
    void rows_appended(int first, int last) override;
    void set_playing_path(const std::string& path) override;
    void repaint() override;
    void add_files_at_end(const string_list& paths,
                          const std::function<std::string(const std::string&)>& info = {}) override;
    void show_modified(bool modified) override;
    // Files and folders named on a command line (this start's or a second one's), added at the playlist's end.
    void open_files(const string_list& paths);

private:
    void declare_commands();
    void wire_pane();
    void edited(const edit_result& result);
    void dropped(const drop_result& result);
    // An add that reads media information (`add` gets the reader); the rows it made are shown, and the status line
    // says how many files a read left listed by path only.
    void add_reading(const std::function<drop_result(const std::function<std::string(const std::string&)>& info)>& add);
    drop_settings drops_as_set() const;
    void listing_dropped(int row_under_point);
    void files_dropped(const string_list& files, int row_under_point);
    void waste_dropped(const QString& source);
    void export_with_plugin(std::size_t index);
    void refresh_groupings();

    main_context& context_;
    command_registry& commands_;
    const areas& others_;
    playlist_pane* playlist_ = nullptr;
    search_pane* search_ = nullptr;
    std::vector<std::string> export_command_ids_; // the "Export To" items of the plug-ins, in scan order
};

} // namespace karvo
