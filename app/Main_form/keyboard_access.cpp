// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Main_form/keyboard_access.h"

#include <QAction>
#include <QEvent>
#include <QWidget>
#include <string>
#include <utility>

#include "app/Main_form/command_registry.h"
#include "app/Main_form/floating_panel.h"
#include "app/Main_form/picture_button.h"

namespace karvo {

namespace {

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

QString spoken_name(const picture_button* button, command_registry& commands) {
    const std::string name = button->objectName().toStdString();
    for (const auto& [id, text] : button_names)
        if (name == id)
            return QString::fromUtf8(text);
    if (commands.has(name) && !commands.is_menu(name))
        return commands.action(name)->text();
    if (qobject_cast<floating_panel*>(button->parentWidget()))
        return QStringLiteral("Fold or Unfold ") + button->parentWidget()->accessibleName();
    return button->statusTip();
}

} // namespace

void focus_while_shown(QWidget* panel, std::vector<QWidget*> fields) {
    new shown_fields(panel, std::move(fields));
}

void give_keyboard_access(QWidget* window, command_registry& commands, const tab_chain& chain) {
    for (std::size_t k = 0; k + 1 < chain.order.size(); ++k)
        QWidget::setTabOrder(chain.order[k], chain.order[k + 1]);
    for (floating_panel* panel : window->findChildren<floating_panel*>())
        if (panel->accessibleName().isEmpty())
            panel->setAccessibleName(panel->objectName());
    for (picture_button* button : window->findChildren<picture_button*>())
        button->setAccessibleName(spoken_name(button, commands));
}

} // namespace karvo
