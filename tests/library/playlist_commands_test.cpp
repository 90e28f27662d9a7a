// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/playlist_commands.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "library/command_texts.h"
#include "library/media_list.h"
#include "library/mp3_cd_class.h"
#include "library/playlist_class.h"
#include "platform/testing/fake_drive_table.h"
#include "platform/testing/scripted_prompts.h"
#include "tests/library/store_context_fixture.h"
#include "tests/support/temp_folder.h"

namespace karvo {
namespace {

using platform::message_result;

std::string info_of(const std::string& name) {
    media_fields fields;
    fields[0] = "/music/" + name + ".mp3";
    return make_media_info(fields);
}

struct store_fixture : testing::store_context_fixture {

    store_fixture() {
        playlists.save("Rock", {info_of("a"), info_of("b")});
        playlists.save("Jazz", {info_of("j")});
        load_playlist_into(playlists, "Rock", list);
        state = {PlaylistMode::from_stored(PlaylistMode::playlist), "Rock", ""};
    }

    // The saved playlist's entries by display name, "-" when it does not exist.
    std::string stored(const std::string& name) {
        if (!playlists.exists(name))
            return "-";
        media_list shown;
        load_playlist_into(playlists, name, shown);
        return names(shown);
    }
    static std::string names(const media_list& rows) {
        std::string text;
        for (int row = 0; row < rows.count(); ++row)
            text += std::string(row ? " " : "").append(rows.cell(Media, row));
        return text;
    }
};

// A scripted answer: an input (nullopt = Cancel) or a message box button.
struct answer {
    bool input;
    std::optional<std::string> text;
    message_result button = message_result::ok;
};
answer typed(std::optional<std::string> text) {
    return {true, std::move(text)};
}
answer button(message_result result) {
    return {false, std::nullopt, result};
}

enum class command { new_pls, remove, rename, save, save_as, revert, send_to_jazz };

TEST(playlist_commands, each_command_with_its_prompts_files_and_tree) {
    struct command_case {
        const char* name;
        command run;
        std::vector<answer> answers;
        string_list messages;
        const char* current;                                     // current playlist name afterwards
        const char* list;                                        // the virtual playlist afterwards
        std::vector<std::pair<const char*, const char*>> stored; // saved playlists afterwards
        bool relist;
        const char* added_node;
    };
    const char* exists = texts::playlist_exists_question;
    const std::vector<command_case> cases = {
        {"new: an existing name, No, asks again",
         command::new_pls,
         {typed("rock"), button(message_result::no), typed("Party")},
         {exists},
         "Party",
         "",
         {{"Party", ""}, {"Rock", "a b"}},
         false,
         "Party"},
        {"new: an existing name, Yes, empties it",
         command::new_pls,
         {typed("Rock"), button(message_result::yes)},
         {exists},
         "Rock",
         "",
         {{"Rock", ""}},
         true,
         ""},
        {"new: empty and unusable names are refused",
         command::new_pls,
         {typed(""), typed("../x"), typed(".hidden"), typed(std::nullopt)},
         {"Nothing was entered.",
          "\"../x\" can't be used as a name. A name may not begin with a dot, hold a \"/\" or control characters, "
          "or be longer than 250 bytes.",
          "\".hidden\" can't be used as a name. A name may not begin with a dot, hold a \"/\" or control "
          "characters, or be longer than 250 bytes."},
         "Rock",
         "a b",
         {{"Rock", "a b"}, {"x", "-"}},
         false,
         ""},
        {"delete after Yes",
         command::remove,
         {button(message_result::yes)},
         {"Are you sure you want to DELETE the currently selected Playlist:  Rock ?"},
         "",
         "",
         {{"Rock", "-"}},
         true,
         ""},
        {"rename onto an existing name fails, the tree is listed again",
         command::rename,
         {typed("Jazz")},
         {"Karvo was NOT able to rename \"Rock\" to \"Jazz\". An item of that name may exist already."},
         "Rock",
         "a b",
         {{"Rock", "a b"}, {"Jazz", "j"}},
         true,
         ""},
        {"rename",
         command::rename,
         {typed("Classics")},
         {},
         "Classics",
         "a b",
         {{"Rock", "-"}, {"Classics", "a b"}},
         true,
         ""},
        {"save writes the edited list", command::save, {}, {}, "Rock", "a", {{"Rock", "a"}}, false, ""},
        {"save as a new name",
         command::save_as,
         {typed("Mix")},
         {},
         "Mix",
         "a",
         {{"Mix", "a"}, {"Rock", "a b"}},
         false,
         "Mix"},
        {"save as where the file cannot be written",
         command::save_as,
         {typed("Blocked")},
         {"Karvo was NOT able to write \"Blocked\". The saved copy is unchanged."},
         "Rock",
         "a",
         {{"Rock", "a b"}},
         false,
         ""},
        {"revert after Yes",
         command::revert,
         {button(message_result::yes)},
         {texts::revert_question.builtin},
         "Rock",
         "a b",
         {{"Rock", "a b"}},
         false,
         ""},
        {"send the selected row to Jazz", command::send_to_jazz, {}, {}, "Rock", "a", {{"Jazz", "j a"}}, false, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        store_fixture f;
        std::filesystem::create_directory(f.playlists.folder() + "Blocked.spl");
        std::size_t buttons = 0;
        for (const answer& a : c.answers) {
            if (a.input)
                f.prompts.answer_input(a.text);
            else
                f.prompts.answer_message(a.button), ++buttons;
        }
        for (; buttons < c.messages.size(); ++buttons) // the information boxes
            f.prompts.answer_message(message_result::ok);
        if (c.run == command::save || c.run == command::save_as || c.run == command::send_to_jazz)
            f.list.remove(1); // an edit to save
        store_outcome outcome;
        switch (c.run) {
            case command::new_pls: outcome = new_playlist(f.context); break;
            case command::remove: outcome = delete_playlist(f.context, true); break;
            case command::rename: outcome = rename_playlist(f.context); break;
            case command::save: outcome = save_playlist(f.context); break;
            case command::save_as: outcome = save_playlist_as(f.context); break;
            case command::revert:
                f.list.remove(0);
                outcome = revert_playlist(f.context);
                break;
            case command::send_to_jazz: outcome = send_to(f.context, "Jazz", {0}); break;
        }
        EXPECT_EQ(f.prompts.message_texts(), c.messages);
        EXPECT_TRUE(f.prompts.errors().empty());
        EXPECT_EQ(f.prompts.unused_answers(), 0u);
        EXPECT_EQ(f.state.current_playlist_name, c.current);
        EXPECT_EQ(store_fixture::names(f.list), c.list);
        for (const auto& [name, entries] : c.stored)
            EXPECT_EQ(f.stored(name), entries) << name;
        EXPECT_EQ(outcome.tree.relist_playlists, c.relist);
        EXPECT_EQ(outcome.tree.add_playlist_node, c.added_node);
        for (int row = 0; row < f.list.count() && outcome.done && c.run != command::send_to_jazz; ++row)
            EXPECT_EQ(f.list.cell(ListName, row), c.current);
        EXPECT_FALSE(std::filesystem::exists(f.data.path() + "/x.spl"));
    }
}

TEST(playlist_commands, save_refuses_a_playlist_whose_file_was_removed_meanwhile) {
    store_fixture f;
    std::filesystem::remove(f.playlists.folder() + "Rock.spl");
    f.prompts.answer_message(message_result::ok);
    EXPECT_FALSE(save_playlist(f.context).done);
    EXPECT_EQ(f.prompts.message_texts(),
              string_list{"Can't Save! Please Choose a Playlist to Save or Not in Playlist Mode."});
    EXPECT_EQ(f.stored("Rock"), "-");
}

TEST(playlist_commands, a_new_list_forgets_the_narrowed_search_of_the_old_one) {
    store_fixture f;
    f.list.backup();
    f.list.remove(0);
    display_all_saved_playlists(f.context);
    EXPECT_EQ(f.list.backup_count(), -1);
    EXPECT_EQ(store_fixture::names(f.list), "j a b");
    EXPECT_EQ(f.state.current_playlist_name, "");
}

} // namespace
} // namespace karvo
