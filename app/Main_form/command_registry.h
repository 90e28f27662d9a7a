// SPDX-License-Identifier: GPL-3.0-or-later
// Every menu item, toolbar command and shortcut of the main window, declared once by the area that owns it: id (the
// control name, also the language plug-in's caption entry), caption, key, enabling rule, hint, picture and handler.
// Menus are tables of ids; menus, keys, buttons, double clicks and drops run commands by id, and the enabling rule
// is asked at that moment, so a test can list the tables and invoke any command without a display.
#pragma once

#include <QKeySequence>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/resources/artwork.h"
#include "library/command_texts.h"

class QAction;
class QMenu;
class QPoint;
class QWidget;

namespace karvo {

class picture_button;

struct command {
    std::string id;
    QString caption;               // the built-in text; the language entry named `id` replaces it
    QKeySequence key = {};         // a window shortcut, live while the menus are closed
    std::function<bool()> enabled = {}; // null: always enabled; asked when a menu opens and before the handler runs
    std::function<void()> handler = {};
    bool visible = true;
    texts::message_id hint = {-1, nullptr}; // the status-line hint of its button and menu item
    std::optional<artwork::picture> picture = {}; // the picture of its toolbar button
};

inline constexpr const char* menu_separator = "-";

// A caption made of a user's or plug-in's name, shown as written: its '&' is no mnemonic.
inline QString name_caption(const std::string& name) {
    return QString::fromStdString(name).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

class command_registry : public QObject {
    Q_OBJECT
public:
    // Shortcuts are installed on `window`; menus are its children and use `menu_style`.
    command_registry(QWidget* window, QString menu_style);
    ~command_registry() override;

    QAction* add(command declared);
    // Drops a command declared at run time (a plug-in's item); menus that list it must be given new entries.
    void remove(const std::string& id);
    // A menu table: command ids, other menu ids (submenus) and menu_separator, in order. A submenu's caption is
    // its own table's caption.
    void add_menu(const std::string& id, const QString& caption, std::vector<std::string> entries);
    // Replaces a menu's table; a menu already built is filled again, so items can follow the plug-ins found.
    void set_entries(const std::string& id, std::vector<std::string> entries);
    // Runs before the menu shows, after the enabling rules (the Send To list is rebuilt this way).
    void on_menu_open(const std::string& id, std::function<void(QMenu&)> hook);

    bool has(const std::string& id) const;
    bool is_menu(const std::string& id) const;
    // The QAction of a command or the menu action of a submenu; null when unknown.
    QAction* action(const std::string& id) const;
    QMenu* menu(const std::string& id);
    const std::vector<std::string>& entries(const std::string& menu_id) const;
    std::vector<std::string> command_ids() const;

    // Runs the handler when the command is enabled; false when it is unknown, disabled or has none.
    bool invoke(const std::string& id);
    bool enabled(const std::string& id) const;
    // Wraps every handler that invoke runs: a change it makes to the playlist becomes one undo step.
    using around_handler = std::function<void(const command&, const std::function<void()>&)>;
    void set_around(around_handler around) { around_ = std::move(around); }
    void set_caption(const std::string& id, const QString& caption);
    // The hints follow the language's message table.
    void set_texts(const command_texts& texts);
    QString hint(const std::string& id) const;
    std::optional<artwork::picture> picture(const std::string& id) const;
    void set_picture(const std::string& id, artwork::picture picture); // its buttons show it at once

    // Opens a menu at a global point with its enabling computed; the button that opened it gets its hover back.
    void popup(const std::string& menu_id, const QPoint& global, picture_button* opener = nullptr);
    // The button runs the command on click (or on press) and shows its hint.
    void bind(picture_button* button, const std::string& id, bool on_press = false);

private:
    struct menu_table {
        QString caption;
        std::vector<std::string> entries;
        QMenu* built = nullptr;
        std::function<void(QMenu&)> hook;
    };
    void prepare(const std::string& menu_id);
    void release(const std::string& menu_id);
    void fill(const menu_table& table);

    QWidget* window_;
    QString menu_style_;
    std::map<std::string, command> commands_;
    std::map<std::string, QAction*> actions_;
    std::map<std::string, menu_table> menus_;
    std::vector<std::string> order_;
    around_handler around_;
    std::multimap<std::string, QPointer<picture_button>> buttons_;
    command_texts texts_;
};

} // namespace karvo
