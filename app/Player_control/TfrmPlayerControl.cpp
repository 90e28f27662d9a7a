// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Player_control/TfrmPlayerControl.h"

#include <QCursor>
#include <QIcon>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QTimer>
#include <QWindow>

#include "app/Main_form/picture_button.h"
#include "platform/program_starter.h"
#include "platform/window_messages.h"
#include "players/player_selection.h"

namespace karvo {

namespace {

constexpr int button_top = 60;
constexpr int button_width = 24;
constexpr int button_height = 21;
constexpr std::array<int, control_button_count> button_lefts = {21, 50, 79, 108, 137};
constexpr int logo_size = 32;
constexpr int text_left = 58;
constexpr int text_width = 198;

QPixmap logo_pixmap(int kind, qreal ratio) {
    QPixmap pixmap(QSize(logo_size, logo_size) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    artwork::paint_player_logo(p, QRectF(0, 0, logo_size, logo_size), kind);
    return pixmap;
}

QLabel* logo_label(const QString& name, int kind, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    label->setPixmap(logo_pixmap(kind, parent->devicePixelRatioF()));
    label->resize(logo_size, logo_size);
    label->hide();
    return label;
}

QLabel* text_label(const QString& name, const QString& style, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setStyleSheet(style);
    label->setTextFormat(Qt::PlainText); // titles and player names as written
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    return label;
}

// Long titles end in an ellipsis rather than running under the close picture.
void set_elided(QLabel* label, const std::string& text) {
    const QString full = QString::fromStdString(text);
    label->setText(label->fontMetrics().elidedText(full, Qt::ElideRight, label->width()));
    label->setToolTip(full);
}

} // namespace

control_button_face::control_button_face(artwork::picture glyph, const QString& name, QWidget* parent)
    : QAbstractButton(parent), glyph_(glyph) {
    setObjectName(name);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
}

void control_button_face::set_set(artwork::button_set set) {
    set_ = set;
    update();
}

void control_button_face::paintEvent(QPaintEvent*) {
    QPainter p(this);
    artwork::paint_control_button(p, QRectF(rect()), glyph_, set_, isDown(), isEnabled());
}

TfrmPlayerControl::TfrmPlayerControl(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      control_(std::make_unique<player_control_class>(platform::system_window_messages(),
                                                      platform::system_program_starter())) {
    setObjectName("frmPlayerControl");
    setWindowTitle(QStringLiteral("Karvo Media Player Control"));
    setFixedSize(client_width, client_height);

    LogoWinamp = logo_label("LogoWinamp", winamp_kind, this);
    LogoNAD = logo_label("LogoNAD", nad_kind, this);
    LogoSonique = logo_label("LogoSonique", sonique_kind, this);
    LogoPlayer = logo_label("LogoPlayer", bus_kind, this);

    lblTitle = text_label("lblTitle", "color: white; font-weight: bold;", this);
    lblTitle->setGeometry(text_left, 8, text_width, 18);
    lblSong = text_label("lblSong", "color: rgb(150,215,255);", this);
    lblSong->setGeometry(text_left, 25, text_width + 24, 15);
    lblArtist = text_label("lblArtist", "color: rgb(170,180,205);", this);
    lblArtist->setGeometry(text_left, 39, text_width + 24, 15);
    lblStatus = text_label("lblStatus", "color: rgb(255,205,120);", this);
    lblStatus->setGeometry(166, button_top - 3, 116, button_height + 6);
    lblStatus->setAlignment(Qt::AlignCenter);
    lblStatus->setWordWrap(true);

    const std::array<std::pair<artwork::picture, const char*>, control_button_count> faces = {{
        {artwork::picture::previous, "picPrev"},
        {artwork::picture::play, "picPlay"},
        {artwork::picture::pause, "picPause"},
        {artwork::picture::stop, "picStop"},
        {artwork::picture::next, "picNext"},
    }};
    for (int i = 0; i < control_button_count; ++i) {
        auto* face = new control_button_face(faces[i].first, QString::fromLatin1(faces[i].second), this);
        face->setGeometry(button_lefts[i], button_top, button_width, button_height);
        connect(face, &QAbstractButton::clicked, this, [this, i] { press(static_cast<control_button>(i)); });
        buttons_[i] = face;
    }

    Close = new picture_button(artwork::picture::exit, "Close", this);
    Close->setGeometry(263, 7, 18, 18);
    connect(Close, &QAbstractButton::clicked, this, &QWidget::hide);

    Player_Control_Timer = new QTimer(this);
    Player_Control_Timer->setObjectName("Player_Control_Timer");
    Player_Control_Timer->setInterval(timer_interval);
    connect(Player_Control_Timer, &QTimer::timeout, this, &TfrmPlayerControl::Player_Control_TimerTimer);
}

TfrmPlayerControl::~TfrmPlayerControl() = default;

void TfrmPlayerControl::set_drivers(platform::window_messages& messages, platform::program_starter& starter) {
    control_ = std::make_unique<player_control_class>(messages, starter);
}

void TfrmPlayerControl::set_bus_players(const linux_player_services& services) {
    control_->set_bus_players(services);
}

const player_control_view& TfrmPlayerControl::view() const {
    return control_->view();
}

void TfrmPlayerControl::player_changed(const std::string& bus_name) {
    if (isVisible() && control_->player_changed(bus_name))
        show_view();
}

void TfrmPlayerControl::mpd_changed() {
    if (isVisible() && control_->view().kind == mpd_kind) {
        control_->refresh();
        show_view();
    }
}

void TfrmPlayerControl::press(control_button which) {
    control_->press(which);
    show_view();
}

void TfrmPlayerControl::show_view() {
    const player_control_view& shown = control_->view();
    const int kind = shown.kind;
    // The named players' logos sit a pixel apart, as their pictures always did.
    LogoWinamp->setVisible(kind == winamp_kind);
    LogoNAD->setVisible(kind == nad_kind);
    LogoSonique->setVisible(kind == sonique_kind);
    LogoWinamp->move(16, 14);
    LogoNAD->move(15, 13);
    LogoSonique->move(16, 14);
    if (kind == bus_kind || kind == mpd_kind) {
        const QIcon icon = QIcon::fromTheme(QString::fromStdString(shown.icon_name));
        if (!shown.icon_name.empty() && !icon.isNull())
            LogoPlayer->setPixmap(icon.pixmap(QSize(logo_size, logo_size), devicePixelRatioF()));
        else
            LogoPlayer->setPixmap(logo_pixmap(bus_kind, devicePixelRatioF()));
        LogoPlayer->move(16, 14);
    }
    LogoPlayer->setVisible(kind == bus_kind || kind == mpd_kind);

    const std::string title = kind == winamp_kind    ? std::string(winamp_player_name)
                              : kind == nad_kind     ? std::string(nad_player_name)
                              : kind == sonique_kind ? std::string(sonique_player_name)
                                                     : shown.title;
    set_elided(lblTitle, title);
    set_elided(lblSong, shown.track_title);
    set_elided(lblArtist, shown.track_artist);
    // Trouble first; otherwise what the player says it is doing.
    lblStatus->setText(QString::fromStdString(shown.status.empty() ? shown.playback_status : shown.status));
    for (int i = 0; i < control_button_count; ++i) {
        buttons_[i]->setEnabled(shown.enabled[i]);
        buttons_[i]->set_set(kind == nad_kind ? artwork::button_set::steel : artwork::button_set::rounded);
    }
}

void TfrmPlayerControl::Player_Control_TimerTimer() {
    const QPoint cursor = QCursor::pos();
    if (!cursor_inside(x(), y(), width(), height(), cursor.x(), cursor.y()))
        hide();
}

void TfrmPlayerControl::showEvent(QShowEvent* event) {
    Player_Control_Timer->start();
    control_->open(player_kind, sonique_path, bus_program, bus_player);
    show_view();
    QWidget::showEvent(event);
}

void TfrmPlayerControl::hideEvent(QHideEvent* event) {
    Player_Control_Timer->stop();
    dragging_ = false;
    QWidget::hideEvent(event);
}

void TfrmPlayerControl::closeEvent(QCloseEvent* event) {
    Player_Control_Timer->stop();
    QWidget::closeEvent(event);
}

void TfrmPlayerControl::changeEvent(QEvent* event) {
    // Once another window takes over, the panel no longer follows the cursor.
    if (event->type() == QEvent::ActivationChange && !isActiveWindow())
        Player_Control_Timer->stop();
    QWidget::changeEvent(event);
}

void TfrmPlayerControl::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF face = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath outline;
    outline.addRoundedRect(face, 35 / 2.0, 45 / 2.0);
    QLinearGradient fill(0, 0, 0, height());
    fill.setColorAt(0, artwork::navy().lighter(150));
    fill.setColorAt(0.55, artwork::navy());
    fill.setColorAt(1, artwork::navy().darker(170));
    p.fillPath(outline, fill);
    // The blue strip under the buttons and the rule between the track and the buttons.
    p.save();
    p.setClipPath(outline);
    QLinearGradient strip(0, button_top - 5, 0, height());
    strip.setColorAt(0, artwork::panel_blue().darker(130));
    strip.setColorAt(1, artwork::panel_blue().darker(260));
    p.fillRect(QRectF(0, button_top - 5, width(), height() - button_top + 5), strip);
    p.setPen(QPen(QColor(110, 200, 255, 170), 1));
    p.drawLine(QPointF(12, button_top - 5.5), QPointF(width() - 12, button_top - 5.5));
    p.restore();
    p.setPen(QPen(QColor(90, 170, 230), 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(outline);
}

void TfrmPlayerControl::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // The window itself is the rounded rectangle, so the desktop shows through its corners.
    QPainterPath path;
    path.addRoundedRect(QRectF(0, 0, width() + 1, height() + 1), 35 / 2.0, 45 / 2.0);
    setMask(QRegion(path.toFillPolygon().toPolygon()));
}

void TfrmPlayerControl::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    // Dragging the background moves the panel: the desktop's own move where it offers one.
    if (windowHandle() && windowHandle()->startSystemMove())
        return;
    dragging_ = true;
    drag_from_ = event->globalPosition().toPoint() - pos();
}

void TfrmPlayerControl::mouseMoveEvent(QMouseEvent* event) {
    if (dragging_)
        move(event->globalPosition().toPoint() - drag_from_);
}

void TfrmPlayerControl::mouseReleaseEvent(QMouseEvent*) {
    dragging_ = false;
}

} // namespace karvo
