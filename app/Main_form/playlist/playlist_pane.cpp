// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Main_form/playlist/playlist_pane.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QCursor>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyleOptionHeader>
#include <QTableView>

#include "app/Main_form/column_widths.h"
#include "app/Main_form/command_registry.h"
#include "app/Main_form/drops.h"
#include "app/Main_form/keyboard_access.h"
#include "app/Main_form/playlist/hot_row_delegate.h"
#include "app/Main_form/picture_button.h"
#include "app/Main_form/playlist/playlist_model.h"
#include "library/media_list.h"
#include "library/playlist_edits.h"
#include "library/playlist_moves.h"
#include "platform/random.h"

namespace karvo {

namespace {

constexpr int button_size = 22;
constexpr int strip_height = 24;

// The arrow buttons repeat while held with either mouse button: the right button acts as the left one.
class repeat_button : public picture_button {
public:
    repeat_button(artwork::picture picture, const QString& name, QWidget* parent)
        : picture_button(picture, name, parent) {
        setAutoRepeat(true);
        setAutoRepeatDelay(500);
        setAutoRepeatInterval(1);
    }

protected:
    void mousePressEvent(QMouseEvent* event) override { picture_button::mousePressEvent(as_left(event).get()); }
    void mouseReleaseEvent(QMouseEvent* event) override { picture_button::mouseReleaseEvent(as_left(event).get()); }
    void mouseDoubleClickEvent(QMouseEvent* event) override { mousePressEvent(event); }

private:
    static std::unique_ptr<QMouseEvent> as_left(const QMouseEvent* event) {
        const Qt::MouseButtons held =
            event->buttons() & (Qt::LeftButton | Qt::RightButton) ? Qt::LeftButton : Qt::NoButton;
        return std::make_unique<QMouseEvent>(event->type(), event->position(), event->scenePosition(),
                                             event->globalPosition(), Qt::LeftButton, held, event->modifiers());
    }
};

// Column captions cut by their section end in an ellipsis (the styled header would clip them mid-letter); the
// full caption is the tool tip. It keeps a selection of its own, always empty: its sections are never highlighted,
// and asking the view's selection whether a column is wholly selected costs a pass over every row per section.
class eliding_header : public QHeaderView {
public:
    using QHeaderView::QHeaderView;

    void setSelectionModel(QItemSelectionModel* selection) override {
        if (!selection)
            return;
        if (!own_selection_ || own_selection_->model() != selection->model())
            own_selection_ = new QItemSelectionModel(selection->model(), this);
        QHeaderView::setSelectionModel(own_selection_);
    }

protected:
    void initStyleOptionForIndex(QStyleOptionHeader* option, int logical) const override {
        QHeaderView::initStyleOptionForIndex(option, logical);
        constexpr int padding = 10; // the style's left and right padding and the divider
        option->text = fontMetrics().elidedText(option->text, Qt::ElideRight, sectionSize(logical) - padding);
    }

private:
    QItemSelectionModel* own_selection_ = nullptr;
};

// Rows as every list has them: Home and End go to the first and last row (not column), and Shift with any jump,
// Ctrl held or not, extends the selection from the anchor that the last plain move or click set.
class row_list_view : public QTableView {
public:
    using QTableView::QTableView;

protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override {
        if (action != MoveHome && action != MoveEnd)
            return QTableView::moveCursor(action, modifiers);
        // The row changes, the column stays: the view does not scroll sideways to the first or last column.
        const QModelIndex to = QTableView::moveCursor(action, modifiers | Qt::ControlModifier);
        const int column = currentIndex().isValid() ? currentIndex().column() : 0;
        return to.isValid() ? model()->index(to.row(), column, to.parent()) : to;
    }
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override {
        if (event && event->type() == QEvent::KeyPress && selectionMode() == ExtendedSelection) {
            const auto* key = static_cast<const QKeyEvent*>(event);
            const bool jump = key->key() == Qt::Key_Home || key->key() == Qt::Key_End ||
                              key->key() == Qt::Key_PageUp || key->key() == Qt::Key_PageDown;
            const Qt::KeyboardModifiers both = Qt::ControlModifier | Qt::ShiftModifier;
            if (jump && (key->modifiers() & both) == both)
                return QItemSelectionModel::SelectCurrent | QItemSelectionModel::Rows;
        }
        return QTableView::selectionCommand(index, event);
    }
};

} // namespace

QTableView* make_list_view(const QString& name, QWidget* parent) {
    auto* view = new row_list_view(parent);
    view->setObjectName(name);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setShowGrid(true);
    view->setWordWrap(false);
    view->setCornerButtonEnabled(false);
    view->setIconSize(QSize(16, 16));
    view->verticalHeader()->hide();
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->verticalHeader()->setMinimumSectionSize(1);
    view->setHorizontalHeader(new eliding_header(Qt::Horizontal, view));
    auto* header = view->horizontalHeader();
    header->setSectionsClickable(true);
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setHighlightSections(false);
    header->setStretchLastSection(false);
    header->setSectionsMovable(false);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setMinimumSectionSize(0);
    return view;
}

playlist_pane::playlist_pane(media_list& list, command_registry& commands, QWidget* parent)
    : QObject(parent), list_(list), commands_(commands) {
    LstMusicList = make_list_view("LstMusicList", parent);
    LstMusicList->setAccessibleName(QStringLiteral("Virtual playlist"));
    model_ = new playlist_model(list, this);
    LstMusicList->setModel(model_);
    delegate_ = new hot_row_delegate(LstMusicList);
    LstMusicList->setItemDelegate(delegate_);
    LstMusicList->setMouseTracking(true);
    LstMusicList->viewport()->setCursor(Qt::PointingHandCursor);
    LstMusicList->viewport()->installEventFilter(this);
    LstMusicList->setContextMenuPolicy(Qt::CustomContextMenu);
    // Entries leave the playlist by dragging (the drop targets use the selection, not the dragged data); folders,
    // listing rows and files come in, handled in drop_event.
    LstMusicList->setDragEnabled(true);
    LstMusicList->setDragDropMode(QAbstractItemView::DragDrop);
    LstMusicList->setDropIndicatorShown(false);
    LstMusicList->viewport()->setAcceptDrops(true);
    connect(LstMusicList, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { commands_.popup("mnuCommands", LstMusicList->viewport()->mapToGlobal(at)); });
    connect(LstMusicList->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int column) { LstMusicListColumnClick(column); });
    connect(LstMusicList, &QAbstractItemView::doubleClicked, this, &playlist_pane::double_clicked);

    SpliterToolbar = new QWidget(parent);
    SpliterToolbar->setObjectName("SpliterToolbar");
    SpliterToolbar->resize(0, strip_height);
    pnlBottomButtons = new QWidget(parent);
    pnlBottomButtons->setObjectName("pnlBottomButtons");
    auto* cmdCommands = new picture_button(*commands_.picture("cmdCommands"), "cmdCommands", pnlBottomButtons);
    cmdCommands->setGeometry(0, 1, button_size, button_size);
    commands_.bind(cmdCommands, "cmdCommands", true);
    auto* waste = new waste_button(pnlBottomButtons);
    waste->setGeometry(button_size + 3, 1, button_size, button_size);
    connect(waste, &waste_button::dropped, this, &playlist_pane::waste_dropped);
    cmdCommands->move(2 * (button_size + 3), 1);
    pnlBottomButtons->resize(3 * button_size + 6, strip_height);
    buttons_.push_back(cmdCommands);
    buttons_.push_back(waste);

    add_button("cmdSort");
    add_button("cmdSortza");
    add_button("cmdRandom", 12);
    for (const bool up : {true, false}) {
        auto* arrow = new repeat_button(up ? artwork::picture::move_up : artwork::picture::move_down,
                                        up ? "vp_up" : "vp_down", SpliterToolbar);
        arrow->setStatusTip(up ? QStringLiteral("Click to move selected up.")
                               : QStringLiteral("Click to move selected down."));
        arrow->setGeometry(toolbar_width_, 1, button_size, button_size);
        toolbar_width_ += button_size + (up ? 3 : 12);
        SpliterToolbar->resize(toolbar_width_, strip_height);
        // Every repeat emits pressed again while the button stays down; the last release finds it up.
        connect(arrow, &QAbstractButton::pressed, this, [this, up, arrow] {
            arrow->property("repeating").toBool() ? arrow_repeated(up) : arrow_pressed(up);
            arrow->setProperty("repeating", true);
        });
        connect(arrow, &QAbstractButton::released, this, [this, arrow] {
            if (!arrow->isDown()) {
                arrow->setProperty("repeating", false);
                arrow_released();
            }
        });
        buttons_.push_back(arrow);
    }
}

picture_button* playlist_pane::button(const std::string& name) const {
    for (picture_button* b : buttons_)
        if (b->objectName().toStdString() == name)
            return b;
    return nullptr;
}

void playlist_pane::add_button(const std::string& name, int gap_after, bool on_press) {
    auto* b = new picture_button(commands_.picture(name).value_or(artwork::picture::commands),
                                 QString::fromStdString(name), SpliterToolbar);
    b->setGeometry(toolbar_width_, 1, button_size, button_size);
    toolbar_width_ += button_size + gap_after;
    SpliterToolbar->resize(toolbar_width_, strip_height);
    commands_.bind(b, name, on_press);
    buttons_.push_back(b);
}

void playlist_pane::open_menu_below(const std::string& button_name, const std::string& menu) {
    picture_button* b = button(button_name);
    commands_.popup(menu, b ? b->mapToGlobal(QPoint(0, b->height())) : QCursor::pos(), b);
}

void playlist_pane::join_tab_chain(tab_chain& chain) const {
    chain.order.push_back(LstMusicList);
}

void playlist_pane::focus() {
    LstMusicList->setFocus(Qt::OtherFocusReason);
}

void playlist_pane::repaint_rows() {
    LstMusicList->viewport()->update();
}

void playlist_pane::place(int left, int list_top, int width, int list_height, int strip_top) {
    SpliterToolbar->move(left, strip_top);
    pnlBottomButtons->move(left + width - pnlBottomButtons->width(), strip_top);
    LstMusicList->setGeometry(left, list_top, width, list_height);
}

std::vector<int> playlist_pane::selected_positions() const {
    std::vector<int> rows;
    const QItemSelection selection = LstMusicList->selectionModel()->selection();
    for (const QItemSelectionRange& range : selection)
        for (int row = range.top(); row <= range.bottom(); ++row)
            rows.push_back(row);
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

void playlist_pane::select_positions(const std::vector<int>& positions, int focused) {
    // Runs of rows, so a large selection is set in one go.
    QItemSelection selection;
    const int last_column = playlist_view_columns - 1;
    for (std::size_t i = 0; i < positions.size();) {
        std::size_t j = i;
        while (j + 1 < positions.size() && positions[j + 1] == positions[j] + 1)
            ++j;
        selection.select(model_->index(positions[i], 0), model_->index(positions[j], last_column));
        i = j + 1;
    }
    auto* selection_model = LstMusicList->selectionModel();
    selection_model->select(selection, QItemSelectionModel::ClearAndSelect);
    if (focused >= 0)
        selection_model->setCurrentIndex(model_->index(focused, 0), QItemSelectionModel::NoUpdate);
}

int playlist_pane::focused_row() const {
    const QModelIndex current = LstMusicList->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void playlist_pane::refresh_count() {
    model_->refresh_count();
}

void playlist_pane::apply(const edit_result& result) {
    model_->rows_edited(result.removed, result.inserted);
    select_positions(result.selected, result.focused);
}

void playlist_pane::move_to_edge(bool top) {
    const move_result result =
        top ? move_selected_to_top(list_, selected_positions()) : move_selected_to_bottom(list_, selected_positions());
    if (result.focused < 0)
        return;
    model_->rows_changed(result.first_changed, result.last_changed);
    select_positions(result.selected, result.focused);
}

void playlist_pane::set_font_size(int points) {
    QFont font = LstMusicList->font();
    font.setPointSize(points);
    LstMusicList->setFont(font);
    // One fixed row height keeps painting independent of the row count.
    LstMusicList->verticalHeader()->setDefaultSectionSize(std::max(QFontMetrics(font).height() + 4, 18));
    LstMusicList->viewport()->update();
}

std::array<int, playlist_view_columns> playlist_pane::column_widths() const {
    return section_widths<playlist_view_columns>(*LstMusicList->horizontalHeader());
}

void playlist_pane::set_column_widths(const std::array<int, playlist_view_columns>& widths) {
    resize_sections(*LstMusicList->horizontalHeader(), widths);
}

void playlist_pane::LstMusicListColumnClick(int column) {
    if (column < 0 || column >= playlist_view_columns)
        return;
    const int key = playlist_columns[static_cast<std::size_t>(column)].field;
    const bool ascending = sort_direction_;
    sort_direction_ = !sort_direction_;
    if (begin_step_)
        begin_step_(ascending ? "Sort Ascending" : "Sort Descending");
    ascending ? sort_ascending(key) : sort_descending(key);
    if (end_step_)
        end_step_();
}

void playlist_pane::sort_ascending(int column) {
    model_->reorder([&] { list_.sort_ascending(0, list_.count() - 1, column); });
}

void playlist_pane::sort_descending(int column) {
    model_->reorder([&] { list_.sort_descending(column); });
}

void playlist_pane::randomize(int passes, platform::random_source& random) {
    model_->reorder([&] {
        for (int pass = 0; pass < passes; ++pass)
            list_.randomize(random);
    });
}

void playlist_pane::move_kept(bool up, std::vector<int>& positions) {
    const move_result result = up ? move_selected_up(list_, positions, selected_positions())
                                  : move_selected_down(list_, positions, selected_positions());
    if (result.focused < 0)
        return;
    model_->rows_changed(result.first_changed, result.last_changed);
    select_positions(result.selected, result.focused);
}

void playlist_pane::move_selected(bool up) {
    std::vector<int> positions = selected_positions();
    move_kept(up, positions);
}

void playlist_pane::arrow_pressed(bool up) {
    // One step for the whole hold, however many rows it moved.
    if (begin_step_ && !arrow_step_open_) {
        arrow_step_open_ = true;
        begin_step_(up ? "Move Selected Up" : "Move Selected Down");
    }
    kept_positions_ = selected_positions();
    move_kept(up, kept_positions_);
}

void playlist_pane::arrow_repeated(bool up) {
    move_kept(up, kept_positions_);
    scroll(up ? -1 : 1);
}

void playlist_pane::arrow_released() {
    kept_positions_.clear();
    if (arrow_step_open_ && end_step_) {
        arrow_step_open_ = false;
        end_step_();
    }
}

void playlist_pane::scroll(int lines) {
    QScrollBar* bar = LstMusicList->verticalScrollBar();
    bar->setValue(bar->value() + lines * bar->singleStep());
}

bool playlist_pane::eventFilter(QObject* watched, QEvent* event) {
    const auto type = event->type();
    if (watched != LstMusicList->viewport())
        return false;
    if (type == QEvent::DragEnter || type == QEvent::DragMove || type == QEvent::Drop)
        return drop_event(event);
    if (type == QEvent::MouseButtonRelease) {
        kept_positions_.clear();
    } else if (type == QEvent::MouseMove || type == QEvent::Leave) {
        const int row = type == QEvent::Leave
                            ? -1
                            : LstMusicList->rowAt(static_cast<QMouseEvent*>(event)->position().toPoint().y());
        if (row != delegate_->hot_row) {
            delegate_->hot_row = row;
            LstMusicList->viewport()->update();
        }
    }
    return false;
}

bool playlist_pane::drop_event(QEvent* event) {
    auto* drop = static_cast<QDropEvent*>(event);
    const QString source = drag_source_name(drop);
    const bool from_tree = source == QLatin1String("MyTree");
    const bool from_listing = source == QLatin1String("LstMusicListAll");
    const string_list files = source.isEmpty() && accepts_shell_files_ ? dropped_local_files(drop) : string_list{};
    if (!from_tree && !from_listing && files.empty()) {
        drop->ignore();
        return true;
    }
    drop->setDropAction(Qt::CopyAction);
    drop->accept();
    if (event->type() != QEvent::Drop)
        return true;
    const int row = LstMusicList->rowAt(drop->position().toPoint().y());
    if (from_tree)
        emit tree_dropped();
    else if (from_listing)
        emit listing_dropped(row);
    else
        emit files_dropped(files, row);
    return true;
}

} // namespace karvo
