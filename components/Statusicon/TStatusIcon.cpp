#include "components/Statusicon/TStatusIcon.h"
#include "components/Statusicon/taskbar_entry.h"

#include <QEvent>
#include <QMenu>
#include <QMetaObject>
#include <QWidget>
#include <algorithm>

namespace karvo {

TStatusIcon::TStatusIcon(QObject* parent, std::function<bool()> tray_available)
    : QObject(parent), tray_available_(std::move(tray_available)) {
    if (!tray_available_)
        tray_available_ = [] { return QSystemTrayIcon::isSystemTrayAvailable(); };
}

TStatusIcon::~TStatusIcon() {
    if (icon_)
        icon_->hide();
}

void TStatusIcon::set_Enabled(bool enabled) {
    enabled_ = enabled;
    update_icon();
    apply_hide_appl();
}

void TStatusIcon::set_HideAppl(bool hide) {
    hide_appl_ = hide;
    apply_hide_appl();
}

void TStatusIcon::set_Hint(const QString& hint) {
    hint_ = hint;
    update_icon();
}

void TStatusIcon::set_ShowHint(bool show) {
    show_hint_ = show;
    update_icon();
}

void TStatusIcon::set_Icons(QList<QIcon> icons) {
    icons_ = std::move(icons);
    update_icon();
}

void TStatusIcon::set_IconIndex(int index) {
    icon_index_ = index;
    update_icon();
}

void TStatusIcon::set_PopupMenu(QMenu* menu) {
    popup_ = menu;
    if (icon_)
        icon_->setContextMenu(menu);
}

void TStatusIcon::set_application_window(QWidget* window) {
    if (window_)
        window_->removeEventFilter(this);
    window_ = window;
    if (window_)
        window_->installEventFilter(this);
}

QString TStatusIcon::tool_tip() const {
    return show_hint_ ? hint_.left(max_hint_length) : QString();
}

QIcon TStatusIcon::current_icon() const {
    if (icons_.isEmpty())
        return {};
    return icons_[std::clamp(icon_index_, 0, static_cast<int>(icons_.size()) - 1)];
}

bool TStatusIcon::shown() const {
    return icon_ && icon_->isVisible() && tray_available_();
}

void TStatusIcon::update_icon() {
    if (!enabled_) {
        if (icon_)
            icon_->hide();
        return;
    }
    if (!tray_available_())
        return; // no notification area: the program runs on without the icon
    if (!icon_) {
        icon_ = new QSystemTrayIcon(this);
        icon_->setContextMenu(popup_);
        connect(icon_, &QSystemTrayIcon::activated, this, &TStatusIcon::activated);
    }
    icon_->setIcon(current_icon());
    icon_->setToolTip(tool_tip());
    icon_->show();
}

// The window manager and the taskbar settle after the current event, so the change waits for the event loop.
void TStatusIcon::apply_hide_appl() {
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (!window_)
                return;
            // Kept off the taskbar while shown too, not only while minimised behind the icon.
            keep_off_taskbar(window_, hide_appl_ && shown());
            if (hide_appl_ && shown()) {
                if (window_->isMinimized() && window_->isVisible()) {
                    hidden_by_icon_ = true;
                    window_->hide();
                }
            } else if (hidden_by_icon_ && !window_->isVisible()) {
                // Without the icon a hidden window could never be reached again: back to the taskbar.
                hidden_by_icon_ = false;
                window_->showMinimized();
            }
        },
        Qt::QueuedConnection);
}

bool TStatusIcon::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window_) {
        // Only the owner's minimise applies HideAppl: the window manager echoes an old minimised state right
        // after the window is shown again, and acting on that would hide it at once.
        if (event->type() == QEvent::Show) {
            hidden_by_icon_ = false;
            keep_off_taskbar(window_, hide_appl_ && shown()); // set again before the window is mapped
        }
    }
    return QObject::eventFilter(watched, event);
}

void TStatusIcon::activated(QSystemTrayIcon::ActivationReason reason) {
    switch (reason) {
        case QSystemTrayIcon::Trigger:
            emit OnMouseDown(Qt::LeftButton, false);
            emit OnClick();
            emit OnMouseUp(Qt::LeftButton);
            break;
        case QSystemTrayIcon::DoubleClick:
            emit OnDblClick();
            emit OnMouseDown(Qt::LeftButton, true);
            break;
        case QSystemTrayIcon::MiddleClick:
            emit OnMouseDown(Qt::MiddleButton, false);
            emit OnMouseUp(Qt::MiddleButton);
            break;
        case QSystemTrayIcon::Context:
            // The menu itself is popped up by the notification area, which owns the right button.
            emit OnMouseDown(Qt::RightButton, false);
            emit OnMouseUp(Qt::RightButton);
            break;
        default: break;
    }
}

} // namespace karvo
