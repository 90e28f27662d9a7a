// The notification-area icon: a hint, an icon chosen from a list, a pop-up menu and the mouse events of the icon,
// over QSystemTrayIcon. Where the desktop has no notification area the icon is simply never shown, and the
// application window is never hidden behind an icon nobody can click.
#pragma once

#include <functional>

#include <QIcon>
#include <QList>
#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QSystemTrayIcon>

namespace karvo {

class TStatusIcon : public QObject {
    Q_OBJECT
public:
    // At most this many characters of the hint reach the notification area.
    static constexpr int max_hint_length = 63;

    // `tray_available` tells whether the desktop has a notification area; the system's answer when not given.
    explicit TStatusIcon(QObject* parent = nullptr, std::function<bool()> tray_available = {});
    ~TStatusIcon() override;

    bool Enabled() const { return enabled_; }
    void set_Enabled(bool enabled);
    // Whether the application window is kept off the taskbar: set while the icon is shown, it hides a minimised
    // window, which comes back through the icon; without the icon a window hidden here is shown minimised again.
    bool HideAppl() const { return hide_appl_; }
    void set_HideAppl(bool hide);
    QString Hint() const { return hint_; }
    void set_Hint(const QString& hint);
    bool ShowHint() const { return show_hint_; }
    void set_ShowHint(bool show);
    QList<QIcon> Icons() const { return icons_; }
    void set_Icons(QList<QIcon> icons);
    int IconIndex() const { return icon_index_; }
    void set_IconIndex(int index);
    QMenu* PopupMenu() const { return popup_; }
    void set_PopupMenu(QMenu* menu);
    // The window whose taskbar entry HideAppl governs.
    void set_application_window(QWidget* window);

    // What the notification area gets: the hint cut to its limit (empty without ShowHint), the icon clamped to the
    // list.
    QString tool_tip() const;
    QIcon current_icon() const;
    // Whether the icon is in the notification area now: enabled, and the desktop has one.
    bool shown() const;

signals:
    void OnClick();
    void OnDblClick();
    void OnMouseDown(Qt::MouseButton button, bool double_click);
    void OnMouseUp(Qt::MouseButton button);

private:
    void update_icon();
    void apply_hide_appl();
    void activated(QSystemTrayIcon::ActivationReason reason);
    bool eventFilter(QObject* watched, QEvent* event) override;

    bool enabled_ = false;
    bool hide_appl_ = false;
    bool show_hint_ = true;
    QString hint_;
    QList<QIcon> icons_;
    int icon_index_ = 0;
    QPointer<QMenu> popup_;
    QPointer<QWidget> window_;
    bool hidden_by_icon_ = false; // the window was hidden here, so it must come back if the icon goes
    std::function<bool()> tray_available_;
    QSystemTrayIcon* icon_ = nullptr; // made the first time the icon is added
};

} // namespace karvo
