// SPDX-License-Identifier: GPL-3.0-or-later
// The search panel `a1`: a floating panel (folds like the players panel) with the query field `txtSearch`, the
// category list `cmbSearchCategory`, the search button `picSearchType`, the result-mode pair "Select Found." /
// "Display Found." of which exactly one is ticked, and the searching tips button. The search itself is the
// window's: the pane reports Enter and the button.
#pragma once

#include <QObject>
#include <string>
#include <vector>

class QComboBox;
class QLineEdit;
class QWidget;

namespace karvo {

class CoolComboBox;
class floating_panel;
class picture_button;
struct tab_chain;

class search_pane : public QObject {
    Q_OBJECT
public:
    static constexpr int panel_left = 320;
    static constexpr int panel_width = 170;
    static constexpr int unfolded_height = 200;

    explicit search_pane(QWidget* parent);

    void join_tab_chain(tab_chain& chain) const;
    void raise();
    void fold_or_unfold();
    // Unfolds the panel (when it is not unfolding already) and puts the keyboard in the query field.
    void focus_query();

    std::string query() const;
    int category() const;
    bool display_found() const;
    // Start-up: "Display Found." when search_item is non-zero, else "Select Found.".
    void set_display_found(bool display);

signals:
    void search_requested();
    void tips_requested();

private:
    std::vector<QWidget*> fields() const;

    floating_panel* a1;
    QLineEdit* txtSearch;
    QComboBox* cmbSearchCategory;
    picture_button* picSearchType;
    CoolComboBox* SearchSelect;
    CoolComboBox* SearchDisplayOnly;
    picture_button* SearchingTips;
};

} // namespace karvo
