// SPDX-License-Identifier: GPL-3.0-or-later
// The virtual playlist pane: the view `LstMusicList` over the main media_list, its model and count caption, and
// the toolbar strip below the upper panes with its picture buttons. It sorts, shuffles and moves the selection
// (header clicks, the arrow buttons' auto-repeat); every other button runs a command of the registry.
#pragma once

#include <QObject>
#include <QPoint>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "library/main_settings.h"
#include "app/resources/artwork.h"
#include "library/string_list.h"

class QIcon;
class QTableView;
class QWidget;

namespace karvo {

class command_registry;
struct edit_result;
struct tab_chain;
class hot_row_delegate;
class media_list;
class picture_button;
class playlist_model;
namespace platform {
class random_source;
}

// A list view as both lists of the window use it: whole rows, several selected, fixed compact rows, no editing.
QTableView* make_list_view(const QString& name, QWidget* parent);

class playlist_pane : public QObject {
    Q_OBJECT
public:
    playlist_pane(media_list& list, command_registry& commands, QWidget* parent);

    playlist_model* model() const { return model_; }

    // The toolbar's picture buttons: each runs the command of its own name on click (or on press) and shows its
    // picture and hint.
    void add_button(const std::string& name, int gap_after = 3, bool on_press = false);
    // Opens a menu of the registry below a button, as a click on the button does.
    void open_menu_below(const std::string& button, const std::string& menu);
    void place(int left, int list_top, int width, int list_height, int strip_top);
    void join_tab_chain(tab_chain& chain) const;
    void focus();
    void repaint_rows();

    std::vector<int> selected_positions() const;
    // The selection becomes exactly these positions (ascending); `focused` gets the focus, -1 keeps it.
    void select_positions(const std::vector<int>& positions, int focused = -1);
    int focused_row() const;

    void refresh_count();
    // A command's rows and selection, as it returned them.
    void apply(const edit_result& result);
    void set_font_size(int points);
    std::array<int, playlist_view_columns> column_widths() const;
    void set_column_widths(const std::array<int, playlist_view_columns>& widths);

    void LstMusicListColumnClick(int column);
    void sort_ascending(int column); // the list must hold rows
    void sort_descending(int column);
    void move_to_edge(bool top); // Move Selected to Top / to Bottom
    void randomize(int passes, platform::random_source& random);
    void move_selected(bool up);
    // The arrow buttons: press keeps the positions and moves once; each repeat moves again and scrolls a line.
    void arrow_pressed(bool up);
    void arrow_repeated(bool up);
    void arrow_released();
    const std::vector<int>& kept_positions() const { return kept_positions_; }

    // Changes the pane makes itself (header sorts, the arrow buttons from press to release) are undo steps:
    // `begin` before with the step's name, `end` after.
    void set_undo_steps(std::function<void(const std::string&)> begin, std::function<void()> end) {
        begin_step_ = std::move(begin);
        end_step_ = std::move(end);
    }

    // Shell files are refused while a shell drop is being added.
    void set_accepts_shell_files(bool accepts) { accepts_shell_files_ = accepts; }

signals:
    void double_clicked();
    // Drops on the list; `row` is the row under the drop point, -1 when there is none.
    void tree_dropped();
    void listing_dropped(int row);
    void files_dropped(const karvo::string_list& files, int row);
    void waste_dropped(const QString& source);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    picture_button* button(const std::string& name) const; // a toolbar button by its control name, or null
    bool drop_event(QEvent* event);
    void move_kept(bool up, std::vector<int>& positions);
    void scroll(int lines);

    media_list& list_;
    command_registry& commands_;
    QTableView* LstMusicList;
    playlist_model* model_;
    hot_row_delegate* delegate_;
    QWidget* SpliterToolbar;
    QWidget* pnlBottomButtons;
    std::vector<picture_button*> buttons_;
    int toolbar_width_ = 0;
    bool accepts_shell_files_ = true;
    bool sort_direction_ = true; // the next header click sorts ascending
    std::vector<int> kept_positions_;
    std::function<void(const std::string&)> begin_step_;
    std::function<void()> end_step_;
    bool arrow_step_open_ = false;
};

} // namespace karvo
