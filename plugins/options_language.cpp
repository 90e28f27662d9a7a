// SPDX-License-Identifier: GPL-3.0-or-later
#include "plugins/options_language.h"

#include <array>

namespace karvo {
namespace {

struct options_target {
    int index;
    const char* control = nullptr;
    const char* second_control = nullptr;
    std::string options_language::*text = nullptr;
};

constexpr int long_list_threshold = 48; // entries 49 and up are read only from a list longer than this

// In index order. 22 and 48 both name GroupBoxAdvancedI: the later entry wins.
const std::array<options_target, 72> options_targets = {{
    {2, "GroupBox_MP3_Players"},
    {3, "lblSpecify", nullptr, &options_language::location_prompt},
    {4, "GroupBoxPreferences"},
    {5, "GroupBoxGUI"},
    {6, "lblSpecifyBackColor"},
    {7, "lblSpecifyForeColor"},
    {8, "lblSpecifyPanelColor"},
    {11, "chkEnhancedWinamp"},
    {13, "chkUnderscore"},
    {14, "chkPrctWithSpace"},
    {15, "chkDotWithSpace"},
    {16, "chkShowExtension"},
    {17, "chkVeryfiyMP3"},
    {18, "cmdDesktopIcon"},
    {19, "cmdQuickLaunchIcon"},
    {20, "GroupBoxRandomize"},
    {21, "lblRandomize"},
    {22, "GroupBoxAdvancedI"},
    {23, "GroupBoxFileTypes"},
    {24, "lblFileTypes"},
    {25, "GroupBoxDblClick"},
    {26, "lblDblClick"},
    {27, "rdoEnqueue"},
    {28, "rdoPlay"},
    {29, "rdoRemove"},
    {30, "rdoSelectAll"},
    {31, "GroupBoxDragNDrop"},
    {32, "lblDragNDrop"},
    {33, "rdoAtBottom"},
    {34, "rdoCurrsorPos"},
    {35, "rdoAtTop"},
    {37, "chkDragNDrop_Rnd"},
    {38, "GroupBoxAutoPlaylisterMain"},
    {39, "GroupBoxAutoPlaylister"},
    {40, nullptr, nullptr, &options_language::folder_browse_title},
    {41, "lblAutoPlaylisterInfo"},
    {42, "chkEnableAutoPlayliser"},
    {43, "lblDir"},
    {44, "lblTakeAction"},
    {45, "chkEnqueue"},
    {46, "chkAddCurrPlaylist"},
    {47, "chkAddSavedPlaylist"},
    {48, "GroupBoxAdvancedI"},
    {49, "GroupBoxAdvancedII"},
    {50, "GroupBoxPlugins", "GroupBoxResourcePlugin"},
    {51, nullptr, nullptr, &options_language::resource_page_name},
    {52, nullptr, nullptr, &options_language::export_page_name},
    {53, "lblResourcePlugin"},
    {54, "lblResourcePluginInfo"},
    {55, "lblExpPluginNames"},
    {56, "cmdConfig"},
    {57, "cmdAbout"},
    {58, "chkRemoveBracket"},
    {59, "GroupBoxMainColor"},
    {60, "lblSpecifyPanelBorderColor"},
    {61, "GroupBoxMiscColorSettings"},
    {62, "lblMiscBackColorOff"},
    {63, "lblMiscForeColorOff"},
    {64, "lblMiscBackColorOn"},
    {65, "lblMiscForeColorOn"},
    {66, "cmdRestoreDefaults"},
    {67, "lblFontSize"},
    {70, "GroupBoxPlaylistAdding"},
    {71, "lblAddingPlaylistsInfo"},
    {72, "chkAddPlaylistContents"},
    {73, "chkAddPlaylist"},
    {74, "GroupBoxSearchSort"},
    {75, "chkSearchFullPath"},
    {76, "chkSearchFileName"},
    {77, "chkSortFullPath"},
    {78, "chkSortFileName"},
}};

} // namespace

options_language apply_options_language(const string_list& list) {
    options_language language;
    const bool long_list = list.size() > static_cast<std::size_t>(long_list_threshold);
    for (const options_target& target : options_targets) {
        if (target.index > long_list_threshold && !long_list)
            break;
        if (static_cast<std::size_t>(target.index) >= list.size())
            continue;
        const std::string& text = list[target.index];
        for (const char* control : {target.control, target.second_control})
            if (control)
                language.captions[control] = text;
        if (target.text)
            language.*target.text = text;
    }
    return language;
}

} // namespace karvo
