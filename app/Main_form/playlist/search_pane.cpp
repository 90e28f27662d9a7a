// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Main_form/playlist/search_pane.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include "app/Main_form/floating_panel.h"
#include "app/Main_form/keyboard_access.h"
#include "app/Main_form/picture_button.h"
#include "components/Coolcombobox/CoolComboBox.h"
#include "library/playlist_search.h"

namespace karvo {

namespace {

floating_panel_texts search_texts() {
    return {QStringLiteral("Click to Hide the Search Menu."), QStringLiteral("Click to Show the Search Menu."),
            QStringLiteral("This is the Search Menu."),
            QStringLiteral("This is the Search Menu. Click on the Plus Button to show menu.")};
}

// The layout's fixed colours: the field and the list on 0x996633, the pair on 0x75874F (settings order BGR).
const char* const field_style = "background: rgb(51,102,153); color: white; border: 1px solid rgb(90,160,220);"
                                "selection-background-color: rgb(0,128,192);";
const QColor pair_back(0x4F, 0x87, 0x75);
// The keyboard's place, in the one focus colour of the window.
const char* const focus_style = "border: 2px solid rgb(255,200,0);";

} // namespace

search_pane::search_pane(QWidget* parent) : QObject(parent) {
    a1 = new floating_panel(QStringLiteral("a1"), QStringLiteral("SearchMinMaxButton"),
                            QStringLiteral("SearchMenuAnim"), unfolded_height, 30, search_texts(), parent);
    a1->resize(panel_width, floating_panel::folded_height);
    a1->move(panel_left, 0);
    auto* caption = new QLabel(QStringLiteral("Search"), a1);
    caption->setObjectName("Search_Volume");
    caption->setStyleSheet("color: white; background: transparent; font-weight: bold;");
    caption->setAttribute(Qt::WA_TransparentForMouseEvents);
    caption->move(30, 5);

    const int left = 10;
    const int width = panel_width - 2 * left;
    txtSearch = new QLineEdit(a1);
    txtSearch->setObjectName("txtSearch");
    txtSearch->setStyleSheet(QStringLiteral("QLineEdit { %1 } QLineEdit:focus { %2 }")
                                 .arg(QString::fromLatin1(field_style), QString::fromLatin1(focus_style)));
    txtSearch->setPlaceholderText(QStringLiteral("Search the playlist"));
    txtSearch->setGeometry(left, 34, width, 22);
    // Enter runs the search and goes no further (no beep, no character).
    connect(txtSearch, &QLineEdit::returnPressed, this, &search_pane::search_requested);

    cmbSearchCategory = new QComboBox(a1);
    cmbSearchCategory->setObjectName("cmbSearchCategory");
    cmbSearchCategory->setStyleSheet(QStringLiteral("QComboBox { %1 padding-left: 3px; } QComboBox:focus { %2 } "
                                                    "QComboBox QAbstractItemView { %1 }")
                                         .arg(QString::fromLatin1(field_style), QString::fromLatin1(focus_style)));
    for (const search_category& category : search_categories)
        cmbSearchCategory->addItem(QString::fromLatin1(category.text));
    cmbSearchCategory->setCurrentIndex(0);
    cmbSearchCategory->setGeometry(left, 62, width, 22);

    picSearchType = new picture_button(artwork::picture::search, QStringLiteral("picSearchType"), a1);
    picSearchType->setStatusTip(QStringLiteral("Click to Search."));
    picSearchType->setGeometry(left, 92, 26, 26);
    connect(picSearchType, &QAbstractButton::clicked, this, &search_pane::search_requested);
    SearchingTips = new picture_button(artwork::picture::tips, QStringLiteral("SearchingTips"), a1);
    SearchingTips->setStatusTip(QStringLiteral("Click here to for Detailed Searching Tips."));
    SearchingTips->setGeometry(left + width - 26, 92, 26, 26);
    connect(SearchingTips, &QAbstractButton::clicked, this, &search_pane::tips_requested);

    SearchSelect = new CoolComboBox(QStringLiteral("Select Found."), a1);
    SearchSelect->setObjectName("SearchSelect");
    SearchDisplayOnly = new CoolComboBox(QStringLiteral("Display Found."), a1);
    SearchDisplayOnly->setObjectName("SearchDisplayOnly");
    int top = 128;
    for (CoolComboBox* box : {SearchSelect, SearchDisplayOnly}) {
        box->set_Box_Color(Qt::white);
        box->set_Back_Color(pair_back);
        box->set_owner_handles_clicks(true);
        box->setGeometry(left, top, width, 18);
        top += 24;
        // Either one flips both: exactly one stays ticked.
        connect(box, &CoolComboBox::clicked, this, [this] {
            SearchSelect->set_Checked(!SearchSelect->Checked());
            SearchDisplayOnly->set_Checked(!SearchDisplayOnly->Checked());
        });
    }
    set_display_found(true);
    a1->setAccessibleName(QStringLiteral("Search"));
    txtSearch->setAccessibleName(QStringLiteral("Search text"));
    cmbSearchCategory->setAccessibleName(QStringLiteral("Search in"));
    focus_while_shown(a1, fields());
}

std::vector<QWidget*> search_pane::fields() const {
    return {txtSearch, cmbSearchCategory, SearchSelect, SearchDisplayOnly};
}

void search_pane::join_tab_chain(tab_chain& chain) const {
    for (QWidget* field : fields())
        chain.order.push_back(field);
}

void search_pane::raise() {
    a1->raise();
}

void search_pane::fold_or_unfold() {
    a1->fold_click();
}

void search_pane::focus_query() {
    a1->unfold_for_keyboard(txtSearch);
}

std::string search_pane::query() const {
    return txtSearch->text().toStdString();
}

int search_pane::category() const {
    return cmbSearchCategory->currentIndex();
}

bool search_pane::display_found() const {
    return SearchDisplayOnly->Checked();
}

void search_pane::set_display_found(bool display) {
    SearchDisplayOnly->set_Checked(display);
    SearchSelect->set_Checked(!display);
}

} // namespace karvo
