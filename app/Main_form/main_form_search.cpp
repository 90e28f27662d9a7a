// SPDX-License-Identifier: GPL-3.0-or-later
// TfrmMain: the search panel's handlers: a search (Enter or the search button) narrows the playlist to the
// matches or selects them; the tips button shows the searching tips.
#include "app/Main_form/TfrmMain.h"
#include "app/Main_form/playlist_pane.h"
#include "app/Main_form/search_pane.h"
#include "app/Search_tips/TfrmSearchTips.h"
#include "library/playlist_search.h"

namespace karvo {

void TfrmMain::picSearchTypeClick() {
    const search_result result = run_search(
        music_list, search_->query(), search_->category(),
        search_->display_found() ? search_mode::display_found : search_mode::select_found, selected_positions());
    if (result.list_rewritten)
        refresh_count();
    playlist_->select_positions(result.selected);
}

void TfrmMain::SearchingTipsClick() {
    TfrmSearchTips tips(this);
    tips.exec();
}

} // namespace karvo
