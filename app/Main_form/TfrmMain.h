// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: a borderless shell and the composition root of its areas. It makes the lists, stores, plug-ins
// and settings (main_context), creates the area controllers (playlist, navigation, players, stores, tags, chrome),
// gives each the others' ports, lays their panes out, and loads, restores and saves the settings. It holds no
// command: every command is declared by the area that owns it, in the registry.
#pragma once

#include <QWidget>
#include <memory>

#include "app/Main_form/areas.h"
#include "app/Main_form/main_context.h"

namespace karvo {

class chrome_controller;
class chrome_pane;
class command_registry;
class history_controller;
class listing_pane;
class navigation_controller;
class players_controller;
class players_pane;
class playlist_controller;
class playlist_pane;
class search_pane;
class status_pane;
class stores_controller;
class tags_controller;
class tree_pane;
class TfrmOptions;
class TfrmPlayerControl;

class TfrmMain : public QWidget {
    Q_OBJECT
public:
    explicit TfrmMain(main_environment environment, QWidget* parent = nullptr);
    ~TfrmMain() override;

    // The create event: plug-ins, paths, settings, previous state. False when the program must end.
    bool FormCreate();
    // The windows the program makes beside this one.
    void set_player_control(TfrmPlayerControl* panel);
    void set_options_dialog(TfrmOptions* dialog);
    void set_about_box(QWidget* about);
    // Exit and the window manager's close end here: after the unsaved-changes question, settings and window state
    // are saved once, then the program ends. False when the user chose to stay.
    bool ExitClick();
    // A signal or the session's end: the edits go to the recovery copy without a question, then the program ends.
    void end_by_session();
    void save_state_once();
    // A saved playlist is still being restored in the background.
    bool restoring() const;
    void set_splitters(int tree_width, int upper_height);

    // --- the registry, the shared data and the areas, for the program's entry and the tests
    command_registry& commands() const { return *commands_; }
    main_context& context() { return context_; }
    media_list& virtual_playlist() { return context_.music_list; }
    shell_state& state() { return context_.state; }
    playlist_controller& playlist_area() const { return *playlist_; }
    navigation_controller& navigation_area() const { return *navigation_; }
    players_controller& players_area() const { return *players_; }
    stores_controller& stores_area() const { return *stores_; }
    tags_controller& tags_area() const { return *tags_; }
    chrome_controller& chrome_area() const { return *chrome_; }
    history_controller& history_area() const { return *history_; }
    // The panes of the areas.
    playlist_pane& playlist() const;
    search_pane& search() const;
    tree_pane& navigation() const;
    listing_pane& listing() const;
    players_pane& players() const;
    status_pane& status() const;
    chrome_pane& chrome() const;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

private:
    void wire_areas();
    void load_language_plugin();
    bool load_resource_plugin();
    void place_controls();
    void wire_keyboard(); // the Tab order across the areas and a name for every control
    void Load_settings();
    void Restore_state();
    void Save_settings();
    window_state current_window_state() const;

    main_context context_;
    bool state_saved_ = false;
    areas ports_;

    // The panes are children of the background panel; the registry comes first, as they bind to it.
    QWidget* back_panel = nullptr;
    command_registry* commands_ = nullptr;
    chrome_controller* chrome_ = nullptr;
    playlist_controller* playlist_ = nullptr;
    navigation_controller* navigation_ = nullptr;
    stores_controller* stores_ = nullptr;
    tags_controller* tags_ = nullptr;
    players_controller* players_ = nullptr;
    history_controller* history_ = nullptr;
};

} // namespace karvo
