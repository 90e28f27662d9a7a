// SPDX-License-Identifier: GPL-3.0-or-later
// Language texts: the built-in message table, and lists applied to messages and captions by index, through the
// loader and the C test plug-ins (whose entry i reads "<list> i").
#include "plugins/language_plugin.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace karvo {
namespace {

std::string test_plugin(const char* name) {
    return std::string(KARVO_TEST_PLUGIN_DIR) + "/" + name;
}

language_plugin loaded(const char* name) {
    language_plugin plugin;
    EXPECT_TRUE(plugin.load(test_plugin(name))) << name;
    return plugin;
}

string_list numbered(const std::string& prefix, int count) {
    string_list list;
    for (int i = 0; i < count; ++i)
        list.push_back(prefix + " " + std::to_string(i));
    return list;
}

std::string caption(const std::map<std::string, std::string>& captions, const std::string& control) {
    const auto it = captions.find(control);
    return it == captions.end() ? "<layout>" : it->second;
}

TEST(MainLanguage, WithoutTheLibraryEveryMessageIsBuiltIn) {
    language_plugin plugin;
    EXPECT_FALSE(plugin.load_from("/nonexistent/program/"));
    const main_language language = plugin.main_window();
    EXPECT_TRUE(language.captions.empty());
    for (int i = 0; i < main_message_count; ++i)
        EXPECT_EQ(language.messages[i], builtin_main_messages()[i]) << i;
    // Wording that is easy to get wrong: blanks, the leading ';', the spelling.
    const std::pair<int, const char*> exact[] = {
        {0, "Media Names"},
        {15, "Karvo Media can't find this Media Player.  Please go to Prefrences->Media Players and specify the "
             "location of: "},
        {28, "Are you sure you want to Revert the current Playlist?  All Changes will be Lost!"},
        {37, ";Please Enter a New Playlist Name for: "},
        {46, "Please Choose an Media CD to Delete."},
        {49, "Couldn't Load Language file."},
        {51, "Length: "},
        {56, "Search Type: Partial Search, Full Display.  Click to change to Partial Search, Partial Display."},
        {60, "There is Nothing Selected."},
    };
    for (const auto& [index, text] : exact)
        EXPECT_EQ(language.messages[index], text) << index;
}

TEST(MainLanguage, LongListReplacesMessagesAndCaptions) {
    const main_language language = loaded("language_long.dll").main_window();
    const std::pair<int, const char*> messages[] = {
        {0, "main 6"},   {1, "main 7"},   {2, "main 15"},  {7, "main 20"},   {49, "main 62"},
        {50, "main 91"}, {55, "main 96"}, {56, "main 98"}, {60, "main 102"},
    };
    for (const auto& [index, text] : messages)
        EXPECT_EQ(language.messages[index], text) << index;

    const std::pair<const char*, const char*> captions[] = {
        {"mnuPlayCurrentPlaylist", "main 20"},
        {"mnuPlayAllPlaylists", "main 11"},
        {"mnuPlaySelected", "main 13"},
        {"AddNewMediaCD", "main 63"},
        {"AddNewMediaCD1", "main 63"},
        {"mnuID3", "main 67"},
        {"AddPlaylistFile", "main 86"},
        {"AddM3UPlaylist", "main 52"},
        {"AddPLSPlaylist", "main 53"},
        {"mnuSaveAs", "main 89"},
        {"mnuPlaySelectedTemp", "main 97"},
        {"mnuMoveSelectedUp", "main 109"},
        {"mnuMoveSelectedDown", "main 110"},
        {virtual_playlist_column1, "main 114"},
        {"mnuDelete", "main 119"},
    };
    for (const auto& [control, text] : captions)
        EXPECT_EQ(caption(language.captions, control), text) << control;
    std::set<std::string> used(language.messages.begin(), language.messages.end());
    for (const auto& entry : language.captions)
        used.insert(entry.second);
    for (int unread : {0, 1, 2, 3, 4, 5, 8, 9, 10, 12, 87, 88, 90})
        EXPECT_EQ(used.count("main " + std::to_string(unread)), 0u) << unread;
}

TEST(MainLanguage, EntriesFrom91OnNeedMoreThan91Entries) {
    struct list_case {
        int count;
        const char* message_50;
        const char* message_51;
        const char* move_up;
        const char* new_playlist;
        const char* message_49;
    };
    const char* const built_in_50 = builtin_main_messages()[50];
    const char* const built_in_51 = builtin_main_messages()[51];
    const list_case cases[] = {
        {120, "main 91", "main 92", "main 109", "main 83", "main 62"},
        {92, "main 91", built_in_51, "<layout>", "main 83", "main 62"},    // 92 is beyond the list
        {91, built_in_50, built_in_51, "<layout>", "main 83", "main 62"},  // exactly 91: not more than 91
        {80, built_in_50, built_in_51, "<layout>", "<layout>", "main 62"}, // 83 is beyond the list
        {40, built_in_50, built_in_51, "<layout>", "<layout>", builtin_main_messages()[49]},
        {0, built_in_50, built_in_51, "<layout>", "<layout>", builtin_main_messages()[49]},
    };
    for (const list_case& c : cases) {
        SCOPED_TRACE(c.count);
        const main_language language = apply_main_language(numbered("main", c.count));
        EXPECT_EQ(language.messages[50], c.message_50);
        EXPECT_EQ(language.messages[51], c.message_51);
        EXPECT_EQ(caption(language.captions, "mnuMoveSelectedUp"), c.move_up);
        EXPECT_EQ(caption(language.captions, "mnuNewPls"), c.new_playlist);
        EXPECT_EQ(language.messages[49], c.message_49);
        // The import menu entries always show messages 39 and 40.
        EXPECT_EQ(caption(language.captions, "AddM3UPlaylist"), language.messages[39]);
    }
    EXPECT_EQ(loaded("language_short.dll").main_window().messages[50], built_in_50);
    EXPECT_EQ(loaded("language_92.dll").main_window().messages[50], "main 91");
}

TEST(OptionsLanguage, AppliesCaptionsAndTheFourNamedTexts) {
    const options_language built_in = language_plugin().options_dialog();
    EXPECT_EQ(built_in.folder_browse_title, "Select Auto Playlist Directory.");
    EXPECT_EQ(built_in.location_prompt, "Please specify the location of ");
    EXPECT_EQ(built_in.resource_page_name, "Resource");
    EXPECT_EQ(built_in.export_page_name, "Export");
    EXPECT_TRUE(built_in.captions.empty());

    const options_language full = loaded("language_long.dll").options_dialog();
    EXPECT_EQ(caption(full.captions, "GroupBox_MP3_Players"), "options 2");
    EXPECT_EQ(caption(full.captions, "lblSpecify"), "options 3");
    EXPECT_EQ(full.location_prompt, "options 3");
    EXPECT_EQ(full.folder_browse_title, "options 40");
    EXPECT_EQ(caption(full.captions, "GroupBoxAdvancedI"), "options 48") << "48 replaces 22";
    EXPECT_EQ(caption(full.captions, "GroupBoxPlugins"), "options 50");
    EXPECT_EQ(caption(full.captions, "GroupBoxResourcePlugin"), "options 50");
    EXPECT_EQ(full.resource_page_name, "options 51");
    EXPECT_EQ(full.export_page_name, "options 52");
    EXPECT_EQ(caption(full.captions, "chkSortFileName"), "options 78");

    const options_language short_list = loaded("language_short.dll").options_dialog(); // 40 entries
    EXPECT_EQ(caption(short_list.captions, "GroupBoxAdvancedI"), "options 22");
    EXPECT_EQ(short_list.folder_browse_title, "Select Auto Playlist Directory.") << "40 is beyond the list";
    EXPECT_EQ(short_list.resource_page_name, "Resource");
    EXPECT_EQ(caption(short_list.captions, "GroupBoxAdvancedII"), "<layout>");

    const options_language exactly_49 = loaded("language_92.dll").options_dialog();
    EXPECT_EQ(caption(exactly_49.captions, "GroupBoxAdvancedI"), "options 48");
    EXPECT_EQ(caption(exactly_49.captions, "GroupBoxAdvancedII"), "<layout>") << "49 is beyond a 49-entry list";
    EXPECT_EQ(exactly_49.export_page_name, "Export");
}

TEST(TagEditorLanguage, NeedsBothExports) {
    const id3_language both = loaded("language_long.dll").tag_editor();
    const std::pair<const char*, const char*> captions[] = {
        {id3_window_caption, "id3 0"}, {"cmdSave", "id3 1"},    {"TotalLabel", "id3 8"}, {"lblArtist", "main 35"},
        {"lblTitle", "main 36"},       {"lblAlbum", "main 37"}, {"lblYear", "main 38"},
    };
    for (const auto& [control, text] : captions)
        EXPECT_EQ(caption(both.captions, control), text) << control;

    EXPECT_TRUE(loaded("language_no_main.dll").tag_editor().captions.empty());
    EXPECT_EQ(loaded("language_no_main.dll").main_window().messages[0], "Media Names");

    const id3_language short_list = loaded("language_short.dll").tag_editor(); // 5 entries
    EXPECT_EQ(caption(short_list.captions, "lblComments"), "id3 4");
    EXPECT_EQ(caption(short_list.captions, "cmdNext"), "<layout>");
    EXPECT_EQ(caption(short_list.captions, "lblYear"), "main 38");
}

TEST(LanguagePlugin, EmptyListsKeepTheBuiltInTexts) {
    const language_plugin plugin = loaded("empty_lists.krp");
    const main_language main = plugin.main_window();
    EXPECT_EQ(main.messages[15], builtin_main_messages()[15]);
    EXPECT_EQ(main.messages[50], builtin_main_messages()[50]);
    EXPECT_EQ(plugin.options_dialog().export_page_name, "Export");
    EXPECT_TRUE(plugin.about_box().empty());
    EXPECT_EQ(loaded("language_long.dll").about_box(), (string_list{"about 0", "about 1", "about 2"}));
}

} // namespace
} // namespace karvo
