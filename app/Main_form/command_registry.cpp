// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Main_form/command_registry.h"

#include <QAction>
#include <QMenu>
#include <QWidget>
#include <algorithm>
#include <stdexcept>

#include "app/Main_form/picture_button.h"

namespace karvo {

command_registry::command_registry(QWidget* window, QString menu_style)
    : QObject(window), window_(window), menu_style_(std::move(menu_style)) {}

command_registry::~command_registry() = default;

QAction* command_registry::add(command declared) {
    if (has(declared.id))
        throw std::logic_error("command declared twice: " + declared.id);
    auto* action = new QAction(declared.caption, this);
    action->setObjectName(QString::fromStdString(declared.id));
    action->setVisible(declared.visible);
    if (declared.hint.builtin)
        action->setStatusTip(QString::fromStdString(texts_[declared.hint]));
    if (!declared.key.isEmpty()) {
        action->setShortcut(declared.key);
        action->setShortcutContext(Qt::WindowShortcut);
        window_->addAction(action);
    }
    const std::string id = declared.id;
    connect(action, &QAction::triggered, this, [this, id] { invoke(id); });
    actions_[id] = action;
    order_.push_back(id);
    commands_.emplace(id, std::move(declared));
    return action;
}

void command_registry::remove(const std::string& id) {
    const auto found = actions_.find(id);
    if (found == actions_.end())
        return;
    delete found->second; // leaves every menu and the window that holds it
    actions_.erase(found);
    commands_.erase(id);
    order_.erase(std::find(order_.begin(), order_.end(), id));
}

void command_registry::add_menu(const std::string& id, const QString& caption, std::vector<std::string> entries) {
    if (has(id))
        throw std::logic_error("menu declared twice: " + id);
    menus_[id] = menu_table{caption, std::move(entries), nullptr, {}};
    order_.push_back(id);
}

void command_registry::on_menu_open(const std::string& id, std::function<void(QMenu&)> hook) {
    menus_.at(id).hook = std::move(hook);
}

bool command_registry::has(const std::string& id) const {
    return commands_.count(id) || menus_.count(id);
}

bool command_registry::is_menu(const std::string& id) const {
    return menus_.count(id) != 0;
}

QAction* command_registry::action(const std::string& id) const {
    if (const auto found = actions_.find(id); found != actions_.end())
        return found->second;
    if (const auto found = menus_.find(id); found != menus_.end() && found->second.built)
        return found->second.built->menuAction();
    return nullptr;
}

QMenu* command_registry::menu(const std::string& id) {
    menu_table& table = menus_.at(id);
    if (table.built)
        return table.built;
    auto* built = new QMenu(table.caption, window_);
    built->setObjectName(QString::fromStdString(id));
    built->menuAction()->setObjectName(QString::fromStdString(id));
    built->setStyleSheet(menu_style_);
    table.built = built;
    fill(table);
    connect(built, &QMenu::aboutToShow, this, [this, id] { prepare(id); });
    connect(built, &QMenu::aboutToHide, this, [this, id] { release(id); });
    return built;
}

void command_registry::set_entries(const std::string& id, std::vector<std::string> entries) {
    menu_table& table = menus_.at(id);
    table.entries = std::move(entries);
    if (table.built) {
        table.built->clear(); // a submenu's own QMenu stays alive; only its action leaves this menu
        fill(table);
    }
}

void command_registry::fill(const menu_table& table) {
    for (const std::string& entry : table.entries) {
        if (entry == menu_separator)
            table.built->addSeparator();
        else if (is_menu(entry))
            table.built->addMenu(menu(entry));
        else
            table.built->addAction(actions_.at(entry));
    }
}

const std::vector<std::string>& command_registry::entries(const std::string& menu_id) const {
    return menus_.at(menu_id).entries;
}

std::vector<std::string> command_registry::command_ids() const {
    std::vector<std::string> ids;
    for (const std::string& id : order_)
        if (commands_.count(id))
            ids.push_back(id);
    return ids;
}

bool command_registry::enabled(const std::string& id) const {
    const auto found = commands_.find(id);
    return found != commands_.end() && (!found->second.enabled || found->second.enabled());
}

bool command_registry::invoke(const std::string& id) {
    const auto found = commands_.find(id);
    if (found == commands_.end() || !found->second.handler || !enabled(id))
        return false;
    // A copy: the handler may declare or rebuild commands.
    const command invoked = found->second;
    if (around_)
        around_(invoked, invoked.handler);
    else
        invoked.handler();
    return true;
}

void command_registry::set_caption(const std::string& id, const QString& caption) {
    if (const auto found = menus_.find(id); found != menus_.end()) {
        found->second.caption = caption;
        if (found->second.built)
            found->second.built->setTitle(caption);
    } else if (QAction* a = action(id)) {
        a->setText(caption);
    }
}

void command_registry::prepare(const std::string& menu_id) {
    menu_table& table = menus_.at(menu_id);
    for (const std::string& entry : table.entries)
        if (QAction* a = actions_.count(entry) ? actions_.at(entry) : nullptr)
            a->setEnabled(enabled(entry));
    if (table.hook && table.built)
        table.hook(*table.built);
}

// A closed menu leaves its items enabled: their keys ask the rule again when pressed, never the state the menu saw.
void command_registry::release(const std::string& menu_id) {
    for (const std::string& entry : menus_.at(menu_id).entries)
        if (const auto found = actions_.find(entry); found != actions_.end())
            found->second->setEnabled(true);
}

void command_registry::set_texts(const command_texts& texts) {
    texts_ = texts;
    for (const auto& [id, declared] : commands_) {
        if (!declared.hint.builtin)
            continue;
        const QString tip = hint(id);
        actions_.at(id)->setStatusTip(tip);
        const auto [first, last] = buttons_.equal_range(id);
        for (auto it = first; it != last; ++it)
            if (it->second)
                it->second->setStatusTip(tip);
    }
}

QString command_registry::hint(const std::string& id) const {
    const auto found = commands_.find(id);
    if (found == commands_.end() || !found->second.hint.builtin)
        return {};
    return QString::fromStdString(texts_[found->second.hint]);
}

std::optional<artwork::picture> command_registry::picture(const std::string& id) const {
    const auto found = commands_.find(id);
    return found == commands_.end() ? std::nullopt : found->second.picture;
}

void command_registry::set_picture(const std::string& id, artwork::picture picture) {
    if (const auto found = commands_.find(id); found != commands_.end())
        found->second.picture = picture;
    const auto [first, last] = buttons_.equal_range(id);
    for (auto it = first; it != last; ++it)
        if (it->second)
            it->second->set_picture(picture);
}

void command_registry::popup(const std::string& menu_id, const QPoint& global, picture_button* opener) {
    QMenu* shown = menu(menu_id);
    if (opener)
        connect(
            shown, &QMenu::aboutToHide, opener, [opener] { opener->refresh_hover(); }, Qt::SingleShotConnection);
    shown->popup(global);
}

void command_registry::bind(picture_button* button, const std::string& id, bool on_press) {
    if (on_press)
        connect(button, &QAbstractButton::pressed, this, [this, id] { invoke(id); });
    else
        connect(button, &QAbstractButton::clicked, this, [this, id] { invoke(id); });
    if (const QString tip = hint(id); !tip.isEmpty())
        button->setStatusTip(tip);
    buttons_.emplace(id, button);
}

} // namespace karvo
