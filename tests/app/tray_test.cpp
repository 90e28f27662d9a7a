// The tray icon: its menu through the registry, what show_in makes of minimising and of the icon's click, the
// icon gone at Exit, and what reaches the notification area.
#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <gtest/gtest.h>

#include "app/resources/tray_icons.h"
#include "components/Statusicon/TStatusIcon.h"
#include "platform/ini_file.h"
#include "tests/app/main_window_fixture.h"

namespace karvo {
namespace {

using testing::part;
using testing::main_window_fixture;

TEST(tray_icon, the_menu_shows_the_window_back) {
    main_window_fixture f;
    TfrmMain& w = f.create();
    ASSERT_TRUE(f.created);
    command_registry& r = w.commands();
    EXPECT_EQ(r.entries("IconTrayMenu"), (std::vector<std::string>{"mnuShow", "mnuExit"}));
    EXPECT_EQ(r.menu("IconTrayMenu")->actions().at(0)->text(), QStringLiteral("Show Karvo Media"));
    EXPECT_EQ(r.menu("IconTrayMenu")->actions().at(1)->text(), QStringLiteral("Exit Karvo Media"));
    EXPECT_EQ(w.chrome_area().tray_icon().PopupMenu(), r.menu("IconTrayMenu"));
    w.show();
    part<picture_button>(w, "ToolbarMin")->click();
    ASSERT_TRUE(w.isMinimized());
    EXPECT_TRUE(r.invoke("mnuShow"));
    EXPECT_FALSE(w.isMinimized());
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(f.terminated, 0);
}

TEST(tray_icon, show_in_decides_where_the_window_goes) {
    struct row {
        const char* show_in;
        bool tray;
        bool enabled, hide_appl;
        bool hidden_when_minimised;
    };
    const row rows[] = {
        {"0", true, false, false, false},
        {"1", true, true, true, true},
        {"2", true, true, false, false},
        {"x", true, false, false, false},
        // No notification area: the window stays on the taskbar whatever show_in says.
        {"1", false, true, true, false},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(std::string(r.show_in) + (r.tray ? " with a tray" : " without a tray"));
        main_window_fixture f;
        f.tray_available = [tray = r.tray] { return tray; };
        f.write_ini(std::string("show_in=") + r.show_in + "\r\n");
        TfrmMain& w = f.create();
        ASSERT_TRUE(f.created);
        w.show();
        part<picture_button>(w, "ToolbarMin")->click();
        QCoreApplication::processEvents();
        EXPECT_EQ(w.chrome_area().tray_icon().Enabled(), r.enabled);
        EXPECT_EQ(w.chrome_area().tray_icon().HideAppl(), r.hide_appl);
        EXPECT_EQ(w.chrome_area().tray_icon().shown(), r.enabled && r.tray);
        EXPECT_EQ(!w.isVisible(), r.hidden_when_minimised);
        // The icon's click brings the window back and keeps the taskbar choice.
        emit w.chrome_area().tray_icon().OnClick();
        QCoreApplication::processEvents();
        EXPECT_TRUE(w.isVisible());
        EXPECT_FALSE(w.isMinimized());
        EXPECT_EQ(w.chrome_area().tray_icon().HideAppl(), r.hide_appl);
    }
}

TEST(tray_icon, every_exit_takes_the_icon_away) {
    for (const char* exit_command : {"mnuExit", "mnuExitKarvo"}) {
        SCOPED_TRACE(exit_command);
        main_window_fixture f;
        f.tray_available = [] { return true; };
        f.write_ini("show_in=2\r\n");
        TfrmMain& w = f.create();
        ASSERT_TRUE(f.created);
        ASSERT_TRUE(w.chrome_area().tray_icon().shown());
        EXPECT_TRUE(w.commands().invoke(exit_command));
        EXPECT_FALSE(w.chrome_area().tray_icon().shown());
        EXPECT_EQ(f.terminated, 1);
        EXPECT_EQ(platform::get_private_profile_string("Settings", "WindowWidth", "", f.ini()), "736");
    }
}

TEST(tray_icon, what_reaches_the_notification_area) {
    struct row {
        int hint_length;
        bool show_hint;
        int index;
        int tip_length;
        int icon_shown;
    };
    const row rows[] = {
        {20, true, 3, 20, 3},  {63, true, 0, 63, 0}, {100, true, 9, TStatusIcon::max_hint_length, 9},
        {20, false, 12, 0, 9}, // beyond the list: the last icon
        {20, true, -4, 20, 0},
    };
    QList<QIcon> icons;
    for (int i = 0; i < artwork::tray_icon_count; ++i)
        icons.append(artwork::tray_icon(i));
    for (const row& r : rows) {
        SCOPED_TRACE(r.hint_length);
        TStatusIcon icon(nullptr, [] { return false; });
        icon.set_Icons(icons);
        icon.set_Hint(QString(r.hint_length, QLatin1Char('h')));
        icon.set_ShowHint(r.show_hint);
        icon.set_IconIndex(r.index);
        EXPECT_EQ(icon.tool_tip().size(), r.tip_length);
        EXPECT_EQ(icon.current_icon().cacheKey(), icons[r.icon_shown].cacheKey());
    }
}

} // namespace
} // namespace karvo
