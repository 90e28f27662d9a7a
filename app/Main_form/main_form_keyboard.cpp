// SPDX-License-Identifier: GPL-3.0-or-later
// TfrmMain: the window without a mouse and through a screen reader. Tab walks tree, folder listing, playlist,
// search field (while its panel is open) and players; the commands of the picture buttons and panels are in the
// commands menu's "Window" submenu with keys of their own; every control has an accessible name.
#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QTableView>
#include <QTreeWidget>

#include "app/Main_form/TfrmMain.h"
#include "app/Main_form/chrome_pane.h"
#include "app/Main_form/command_registry.h"
#include "app/Main_form/floating_panel.h"
#include "app/Main_form/listing_pane.h"
#include "app/Main_form/navigation_tree.h"
#include "app/Main_form/picture_button.h"
#include "app/Main_form/players_pane.h"
#include "app/Main_form/players_panel.h"
#include "app/Main_form/playlist_model.h"
#include "app/Main_form/playlist_pane.h"
#include "app/Main_form/search_pane.h"
#include "app/Main_form/tree_pane.h"
#include "components/Coolcombobox/CoolComboBox.h"

namespace karvo {

namespace {

// The search field takes part in the Tab order only while its panel is unfolded far enough to show it.
class shown_fields : public QObject {
public:
    shown_fields(QWidget* panel, std::vector<QWidget*> fields) : QObject(panel), panel_(panel), fields_(std::move(fields)) {
        panel->installEventFilter(this);
        follow();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == panel_ && event->type() == QEvent::Resize)
            follow();
        return false;
    }

private:
    void follow() {
        for (QWidget* field : fields_)
            field->setFocusPolicy(panel_->height() > field->geometry().bottom() ? Qt::StrongFocus : Qt::NoFocus);
    }
    QWidget* panel_;
    std::vector<QWidget*> fields_;
};

// Picture buttons that run no registry command of their own name: what they do, for a screen reader.
const std::pair<const char*, const char*> button_names[] = {
    {"cmdCommands", "Commands Menu"},
    {"Waste", "Waste Bin"},
    {"vp_up", "Move Selected Up"},
    {"vp_down", "Move Selected Down"},
    {"my_computer", "My Computer Menu"},
    {"my_saved_pls", "My Playlists Menu"},
    {"my_media_cd", "My Media CDs Menu"},
    {"picSearchType", "Search"},
    {"SearchingTips", "Searching Tips"},
    {"imgComboDown", "More Players"},
    {"ToolbarMin", "Minimize"},
    {"ToolbarMax", "Maximize"},
    {"ToolbarExit", "Exit"},
};

} // namespace

void TfrmMain::declare_window_commands() {
    command_registry& r = *commands_;
    r.add({"mnuFind", QStringLiteral("Search..."), QKeySequence(Qt::CTRL | Qt::Key_F), {}, [this] {
               if (!search_->panel()->unfolding())
                   search_->panel()->fold_click();
               search_->query_field()->setFocus(Qt::ShortcutFocusReason);
           }});
    r.add({"mnuFoldSearch", QStringLiteral("Fold or Unfold the Search Panel"), {}, {},
           [this] { search_->panel()->fold_click(); }});
    r.add({"mnuFoldPlayers", QStringLiteral("Fold or Unfold the Players Panel"), {}, {},
           [this] { players_->panel()->fold_click(); }});
    r.add({"mnuChoosePlayer", QStringLiteral("Choose a Player"), QKeySequence(Qt::CTRL | Qt::Key_P), {}, [this] {
               if (!players_->panel()->unfolding())
                   players_->panel()->fold_click();
               players_->panel()->setFocus(Qt::ShortcutFocusReason);
           }});
    r.add({"mnuMinimize", QStringLiteral("Minimize"), {}, {}, [this] { ToolbarMinClick(); }});
    std::vector<std::string> columns;
    for (int column = 0; column < playlist_view_columns; ++column) {
        const std::string id = "mnuSortColumn" + std::to_string(column);
        const QString caption = column == 0 ? QStringLiteral("Media Name")
                                            : playlist_->model()->headerData(column, Qt::Horizontal).toString();
        r.add({id, caption, {}, {}, [this, column] { playlist_->LstMusicListColumnClick(column); }});
        columns.push_back(id);
    }
    r.add_menu("mnuSortColumn", QStringLiteral("Sort by Column"), columns);
    r.add_menu("mnuWindow", QStringLiteral("Window"),
               {"cmdPlay", "cmdStop", "cmdVolume", "mnuChoosePlayer", menu_separator, "cmdSort", "cmdSortza",
                "cmdRandom", "mnuSortColumn", menu_separator, "mnuFind", "mnuFoldSearch", "mnuFoldPlayers",
                menu_separator, "cmdOptions", "mnuMinimize"});
    // The preferences have a key too; the other buttons' commands have the Window submenu.
    r.action("cmdOptions")->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    r.action("cmdOptions")->setShortcutContext(Qt::WindowShortcut);
    addAction(r.action("cmdOptions"));
}

void TfrmMain::wire_keyboard() {
    QWidget* const chain[] = {tree_->tree(),           listing_->view(),         playlist_->view(),
                              search_->query_field(),  search_->category_list(), search_->select_found(),
                              search_->display_found_box(), players_->panel()};
    for (std::size_t k = 0; k + 1 < std::size(chain); ++k)
        setTabOrder(chain[k], chain[k + 1]);
    new shown_fields(search_->panel(), {search_->query_field(), search_->category_list(), search_->select_found(),
                                        search_->display_found_box()});

    tree_->tree()->setAccessibleName(QStringLiteral("Navigation tree"));
    listing_->view()->setAccessibleName(QStringLiteral("Folder listing"));
    playlist_->view()->setAccessibleName(QStringLiteral("Virtual playlist"));
    search_->query_field()->setAccessibleName(QStringLiteral("Search text"));
    search_->category_list()->setAccessibleName(QStringLiteral("Search in"));
    search_->panel()->setAccessibleName(QStringLiteral("Search"));
    for (floating_panel* panel : findChildren<floating_panel*>())
        if (panel->accessibleName().isEmpty())
            panel->setAccessibleName(panel->objectName());
    for (picture_button* button : findChildren<picture_button*>()) {
        const std::string name = button->objectName().toStdString();
        QString spoken;
        if (commands_->has(name) && !commands_->is_menu(name))
            spoken = commands_->action(name)->text();
        for (const auto& [id, text] : button_names)
            if (name == id)
                spoken = QString::fromUtf8(text);
        if (spoken.isEmpty() && qobject_cast<floating_panel*>(button->parentWidget()))
            spoken = QStringLiteral("Fold or Unfold ") + button->parentWidget()->accessibleName();
        if (spoken.isEmpty())
            spoken = button->statusTip();
        button->setAccessibleName(spoken);
    }
}

} // namespace karvo
