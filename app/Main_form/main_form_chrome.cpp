// TfrmMain: the borderless window's chrome: layout and shapes, moving, minimise, the maximise toggle, the resize
// grip, the splitters and the status line's two states.
#include <QApplication>
#include <QCursor>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPainterPath>
#include <QScreen>
#include <QTableView>
#include <QTimer>
#include <QTreeWidget>
#include <QWindow>

#include "app/Main_form/TfrmMain.h"
#include "app/Main_form/hot_row_delegate.h"
#include "app/Main_form/pane_splitter.h"
#include "app/Main_form/picture_button.h"
#include "app/Main_form/status_line.h"
#include "platform/ini_file.h"

namespace karvo {

namespace {

constexpr int margin = 6;
constexpr int title_height = 20;
constexpr int pane_top = 46;           // the upper pane; the toolbar strip sits at its height + 48
constexpr int strip_offset = 48;
constexpr int splitter_width = 3;
constexpr int strip_height = 24;
constexpr int status_height = 18;
constexpr int grip_size = 14;
constexpr int min_list_height = 30;
constexpr int min_folder_width = 40;
constexpr int media_cd_label_width = 290;

// A region with rounded corners; `corner` is the diameter of the corner ellipse, as the window regions give it.
QRegion rounded_region(const QSize& size, int corner) {
    QPainterPath path;
    path.addRoundedRect(QRectF(0, 0, size.width(), size.height()), corner / 2.0, corner / 2.0);
    return QRegion(path.toFillPolygon().toPolygon());
}

void set_rounded(QWidget* widget, int corner) {
    widget->setMask(rounded_region(widget->size(), corner));
}

} // namespace

void TfrmMain::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    place_controls();
}

void TfrmMain::place_controls() {
    const int w = width();
    const int h = height();
    back_panel->setGeometry(0, 0, w, h);
    set_rounded(back_panel, 20);
    setMask(back_panel->mask());

    pnlTitle->setGeometry(0, 0, w, title_height);
    lblTitle->adjustSize();
    lblTitle->move(14, (title_height - lblTitle->height()) / 2);
    const int button = title_height - 4;
    ToolbarExit->setGeometry(w - 10 - button, 2, button, button);
    ToolbarMax->setGeometry(ToolbarExit->x() - button - 3, 2, button, button);
    ToolbarMin->setGeometry(ToolbarMax->x() - button - 3, 2, button, button);

    // The panes follow the splitter values, squeezed only as far as the window demands.
    const int list_room = h - strip_offset - strip_height - 1 - margin - status_height - 3 - min_list_height;
    const int upper = std::clamp(h_splitter, 1, std::max(1, list_room));
    const int tree = std::clamp(v_splitter, 0, std::max(0, w - 2 * margin - splitter_width - min_folder_width));

    MyTree->setGeometry(margin, pane_top, tree, upper);
    VSplitter->setGeometry(margin + tree, pane_top, splitter_width, upper);
    const int folder_left = margin + tree + splitter_width;
    LstMusicListAll->setGeometry(folder_left, pane_top, w - margin - folder_left, upper);
    imgFolderCaption->adjustSize();
    imgFolderCaption->move(tree + 7, title_height + (pane_top - title_height - imgFolderCaption->height()) / 2);
    HSplitter->setGeometry(margin, pane_top + upper, w - 2 * margin, strip_offset - pane_top);

    const int strip_top = upper + strip_offset;
    SpliterToolbar->move(margin, strip_top);
    pnlBottomButtons->move(w - margin - pnlBottomButtons->width(), strip_top);
    const int list_top = strip_top + strip_height + 1;
    const int status_top = h - margin - status_height;
    LstMusicList->setGeometry(margin, list_top, w - 2 * margin, status_top - 3 - list_top);

    imgMessage->setGeometry(margin, status_top, w - 2 * margin - grip_size - 2, status_height);
    lblMessage->setGeometry(4, 0, imgMessage->width() - 8, status_height);
    imgResize->setGeometry(w - margin - grip_size + 2, h - margin - grip_size + 2, grip_size, grip_size);

    a1->move(320, title_height);
    set_rounded(a1, 30);
    a->raise();
    a1->raise();
}

void TfrmMain::set_splitters(int tree_width, int upper_height) {
    v_splitter = std::max(0, tree_width);
    h_splitter = std::max(1, upper_height);
    place_controls();
}

bool TfrmMain::start_move(QWidget*, const QPoint& global) {
    if (QWindow* window = windowHandle(); window && window->startSystemMove())
        return true;
    // No window manager to move us: follow the pointer ourselves.
    dragging_window_ = true;
    drag_origin_ = global;
    drag_window_start_ = pos();
    return false;
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* event) {
    if (!mnuCommands)  // still being built
        return QWidget::eventFilter(watched, event);
    const auto type = event->type();
    auto* mouse = dynamic_cast<QMouseEvent*>(event);

    if (watched == vp_up || watched == vp_down) {
        if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) {
            static_cast<picture_button*>(watched)->setDown(true);
            watched == vp_up ? vp_upMouseDown() : vp_downMouseDown();
            return true;
        }
        if (type == QEvent::MouseButtonRelease) {
            static_cast<picture_button*>(watched)->setDown(false);
            vp_MouseUp();
            return true;
        }
        return false;
    }
    if (watched == LstMusicList->viewport()) {
        if (type == QEvent::MouseButtonRelease) {
            kept_positions.clear();
        } else if (type == QEvent::MouseMove || type == QEvent::Leave) {
            const int row = type == QEvent::Leave ? -1 : LstMusicList->rowAt(mouse->position().toPoint().y());
            if (row != playlist_delegate->hot_row) {
                playlist_delegate->hot_row = row;
                LstMusicList->viewport()->update();
            }
        }
        return false;
    }
    if (watched == imgResize) {
        if (type == QEvent::MouseButtonPress && !window_maximised)
            TimerResize->start();
        else if (type == QEvent::MouseButtonRelease)
            TimerResize->stop();
        return false;
    }
    if (watched == pnlTitle || watched == imgMessage || watched == back_panel) {
        if (type == QEvent::MouseButtonDblClick && watched == pnlTitle && mouse->button() == Qt::LeftButton) {
            ToolbarMaxClick();
            return true;
        }
        if (type == QEvent::MouseButtonPress && mouse->button() == Qt::LeftButton) {
            drag_origin_ = mouse->globalPosition().toPoint();
            dragging_window_ = false;
            return true;
        }
        if (type == QEvent::MouseMove && (mouse->buttons() & Qt::LeftButton)) {
            const QPoint global = mouse->globalPosition().toPoint();
            if (dragging_window_) {
                move(drag_window_start_ + global - drag_origin_);
            } else if (!window_maximised &&
                       (global - drag_origin_).manhattanLength() >= QApplication::startDragDistance()) {
                start_move(static_cast<QWidget*>(watched), drag_origin_);
            }
            return true;
        }
        if (type == QEvent::MouseButtonRelease) {
            dragging_window_ = false;
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TfrmMain::ToolbarMinClick() {
    showMinimized();
    // The tray icon follows show_in once the notification-area icon exists.
    settings.show_in = read_show_in(settings_file);
}

void TfrmMain::ToolbarMaxClick() {
    if (window_maximised) {
        window_maximised = false;
        ToolbarMax->set_picture(artwork::picture::maximize);
        setGeometry(restore_rect.left, restore_rect.top, restore_rect.width, restore_rect.height);
        imgResize->show();
    } else {
        restore_rect = {x(), y(), width(), height()};
        imgResize->hide();
        TimerResize->stop();
        window_maximised = true;
        ToolbarMax->set_picture(artwork::picture::restore);
        if (const QScreen* where = screen())
            setGeometry(where->availableGeometry());
    }
}

void TfrmMain::imgResizeTimer() {
    if (window_maximised) {
        TimerResize->stop();
        return;
    }
    const QPoint cursor = QCursor::pos();
    resize(cursor.x() - x() + 5, cursor.y() - y() + 5);
}

void TfrmMain::ExitClick() {
    Save_settings();
    if (environment_.terminate)
        environment_.terminate();
}

void TfrmMain::show_message(const QString& text) {
    for (QLabel* label : {Selected_Playlist, Selected_MediaCD, Selected_Nothing, SelectedName, imgMyComputer,
                          lblmycomputer})
        label->hide();
    location_shown_ = false;
    lblMessage->setText(text);
    lblMessage->show();
    imgMessage->repaint();
}

void TfrmMain::show_location() {
    lblMessage->clear();
    lblMessage->hide();
    if (location_shown_)
        return;
    QLabel* picture = Selected_Nothing;
    switch (PlaylistMode) {
    case mode_playlist:
    case mode_grouping: picture = Selected_Playlist; break;
    case mode_media_cd: picture = Selected_MediaCD; break;
    case mode_all_playlists:
        picture = Selected_Playlist;
        SelectedName->setText(QStringLiteral("<Displaying All Saved Playlists>"));
        break;
    case mode_all_media_cds:
        picture = Selected_MediaCD;
        SelectedName->setText(QStringLiteral("<Displaying All Media CDs>"));
        break;
    default: break;
    }
    for (QLabel* other : {Selected_Playlist, Selected_MediaCD, Selected_Nothing})
        other->setVisible(other == picture);
    const int h = imgMessage->height();
    picture->adjustSize();
    picture->move(4, (h - picture->height()) / 2);
    SelectedName->adjustSize();
    SelectedName->move(picture->x() + picture->width() + 4, (h - SelectedName->height()) / 2);
    imgMyComputer->adjustSize();
    imgMyComputer->move(SelectedName->x() + SelectedName->width() + 5, (h - imgMyComputer->height()) / 2);
    lblmycomputer->adjustSize();
    lblmycomputer->move(imgMyComputer->x() + imgMyComputer->width() + 2, (h - lblmycomputer->height()) / 2);
    for (QLabel* label : {SelectedName, imgMyComputer, lblmycomputer})
        label->show();
    location_shown_ = true;
}

void TfrmMain::set_current_folder(const std::string& folder) {
    current_folder = folder;
    lblmycomputer->setText(QString::fromStdString(folder));
    platform::write_private_profile_string("Settings", "LastDir", folder, settings_file);
    location_shown_ = false;
    if (!lblMessage->isVisible())
        show_location();
}

void TfrmMain::set_current_playlist_name(const std::string& name) {
    current_playlist_name = name;
    SelectedName->setText(QString::fromStdString(name));
    location_shown_ = false;
    if (!lblMessage->isVisible())
        show_location();
}

void TfrmMain::set_current_media_cd_name(const std::string& name) {
    current_media_cd_name = name;
    QString text = QString::fromStdString(name);
    const QFontMetrics metrics(SelectedName->font());
    while (!text.isEmpty() && metrics.horizontalAdvance(text) > media_cd_label_width)
        text.chop(1);
    SelectedName->setText(text);
    location_shown_ = false;
    if (!lblMessage->isVisible())
        show_location();
}

} // namespace karvo
