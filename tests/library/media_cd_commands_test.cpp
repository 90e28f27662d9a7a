// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/media_cd_commands.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "library/command_texts.h"
#include "library/folder_scanner.h"
#include "library/media_list.h"
#include "library/mp3_cd_class.h"
#include "library/navigation_tree_logic.h"
#include "library/playlist_class.h"
#include "library/playlist_files.h"
#include "platform/testing/fake_drive_table.h"
#include "platform/testing/scripted_prompts.h"
#include "tests/support/raw_file.h"
#include "tests/library/store_context_fixture.h"
#include "tests/support/temp_folder.h"

namespace karvo {
namespace {

using platform::drive_info;
using platform::drive_type;
using platform::message_result;

std::string info_of(const std::string& path) {
    media_fields fields;
    fields[0] = path;
    return make_media_info(fields);
}

constexpr std::uint32_t stick_serial = 0xABCD1234u;

struct media_cd_fixture : testing::store_context_fixture {
    media_files media;
    folder_scanner scanner{media};

    std::string volume(const char* mount) const { return data.path() + "/" + mount + "/"; }

    // A volume holding two media files and a text file, mounted at `mount`.
    void mount(const char* mount, drive_type type, std::uint32_t serial = stick_serial) {
        const std::string root = volume(mount);
        std::filesystem::create_directories(root + "sub");
        for (const char* name : {"a.mp3", "sub/b.mp3", "notes.txt"})
            testing::write_raw(root + name, "x");
        drives.set_drives({{"/", drive_type::fixed, "", 1u}, {root, type, "STICK", serial}});
    }

    media_cd_fixture() { media.load({"MP3"}, {}); }

    store_outcome add(const std::string& folder) { return add_new_media_cd(context, folder, scanner, info_of, {}); }

    string_list paths() const {
        string_list result;
        for (int row = 0; row < list.count(); ++row)
            result.emplace_back(list.full_path(row));
        std::sort(result.begin(), result.end());
        return result;
    }
};

TEST(media_cd_commands, a_removable_volume_is_catalogued_and_found_again_at_another_mount_point) {
    media_cd_fixture f;
    f.mount("usb1", drive_type::removable);
    f.prompts.answer_input("Holiday");
    const store_outcome added = f.add(f.volume("usb1") + "sub/");
    ASSERT_TRUE(added.done);
    EXPECT_EQ(f.prompts.questions().at(0).default_text, "STICK");
    EXPECT_EQ(added.status, "New Media CD added.");
    EXPECT_TRUE(added.tree.relist_media_cds && added.tree.media_cd_check);
    EXPECT_EQ(f.state.mode.value(), PlaylistMode::media_cd);
    EXPECT_EQ(f.paths(), (string_list{f.volume("usb1") + "a.mp3", f.volume("usb1") + "sub/b.mp3"}));
    string_list stored = full_paths_of(f.media_cds.load("Holiday"));
    std::sort(stored.begin(), stored.end());
    EXPECT_EQ(stored, (string_list{"a.mp3", "sub/b.mp3"}));

    // Next time the stick is mounted elsewhere, and a CD-ROM with another disc is in too.
    f.mount("usb2", drive_type::removable);
    f.drives.add_drive({"/media/cdrom/", drive_type::cdrom, "", 77u});
    begin_new_list(f.list);
    std::optional<std::string> root;
    load_media_cd(f.context, "Holiday", &root);
    EXPECT_EQ(root, f.volume("usb2"));
    EXPECT_EQ(f.paths(), (string_list{f.volume("usb2") + "a.mp3", f.volume("usb2") + "sub/b.mp3"}));
    EXPECT_EQ(media_cd_check_images(f.media_cds, {"Holiday", "Gone"}, f.drives),
              (std::vector<int>{img_media_cd_inserted, -1}));

    // Saving while it is in keeps the catalogue relative.
    f.prompts.clear();
    ASSERT_TRUE(save_media_cd(f.context).done);
    stored = full_paths_of(f.media_cds.load("Holiday"));
    std::sort(stored.begin(), stored.end());
    EXPECT_EQ(stored, (string_list{"a.mp3", "sub/b.mp3"}));

    f.drives.set_serial(f.volume("usb2"), 5u); // another stick at that mount point
    EXPECT_EQ(media_cd_check_images(f.media_cds, {"Holiday"}, f.drives), (std::vector<int>{img_media_cd}));
}

TEST(media_cd_commands, add_refuses_fixed_disks_and_empty_names) {
    struct refusal_case {
        const char* name;
        drive_type type;
        std::optional<std::string> answer;
        string_list messages;
    };
    const std::vector<refusal_case> cases = {
        {"fixed disk", drive_type::fixed, std::nullopt, {"The Selected Drive is not a CD-ROM!"}},
        {"cancelled", drive_type::cdrom, std::nullopt, {}},
        {"empty name", drive_type::cdrom, "", {"Nothing was entered."}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        media_cd_fixture f;
        f.mount("disc", c.type);
        if (c.type == drive_type::cdrom)
            f.prompts.answer_input(c.answer);
        for (std::size_t k = 0; k < c.messages.size(); ++k)
            f.prompts.answer_message(message_result::ok);
        EXPECT_FALSE(f.add(f.volume("disc")).done);
        EXPECT_EQ(f.prompts.message_texts(), c.messages);
        EXPECT_EQ(f.media_cds.count(), 0);
        EXPECT_EQ(f.list.count(), 0);
    }
}

TEST(media_cd_commands, a_volume_of_unknown_serial_is_catalogued_without_an_identity) {
    media_cd_fixture f;
    f.mount("blank", drive_type::cdrom, platform::unknown_serial);
    ASSERT_TRUE(f.media_cds.store_identity("Blank", 42.0f)); // a stale key of that name goes too
    f.prompts.answer_input("Blank");
    f.prompts.answer_message(message_result::ok);
    ASSERT_TRUE(f.add(f.volume("blank")).done);
    EXPECT_EQ(f.media_cds.load("Blank").size(), 2u);
    EXPECT_EQ(f.media_cds.stored_identity("Blank"), no_disc_identity);
    ASSERT_EQ(f.prompts.message_texts().size(), 1u);
    EXPECT_NE(f.prompts.message_texts()[0].find("will not be recognised"), std::string::npos);
    // Another unreadable volume is not taken for it.
    f.mount("other", drive_type::cdrom, platform::unknown_serial);
    EXPECT_EQ(media_cd_check_images(f.media_cds, {"Blank"}, f.drives), (std::vector<int>{img_media_cd}));
}

TEST(media_cd_commands, remove_rename_and_save_with_their_prompts) {
    enum class command { remove, rename, save_wrong_mode };
    struct command_case {
        const char* name;
        command run;
        std::optional<std::string> typed;
        string_list messages;
        const char* current;
        string_list catalogued;
    };
    const std::vector<command_case> cases = {
        {"remove after Yes",
         command::remove,
         std::nullopt,
         {"Are you sure you want to DELETE the currently selected Media CD, called:  Disc?"},
         "",
         {"Disc (2)"}},
        {"rename proposes the first free number",
         command::rename,
         "Disc (3)",
         {},
         "Disc (3)",
         {"Disc (2)", "Disc (3)"}},
        {"save outside Media CD mode",
         command::save_wrong_mode,
         std::nullopt,
         {"Can't Save or not in Media CD Mode."},
         "Disc",
         {"Disc", "Disc (2)"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        media_cd_fixture f;
        f.mount("disc", drive_type::cdrom);
        for (const char* name : {"Disc", "Disc (2)"}) {
            f.prompts.answer_input(name);
            ASSERT_TRUE(f.add(f.volume("disc")).done);
        }
        f.state.current_media_cd_name = "Disc";
        f.prompts.clear();
        f.prompts.answer_message(c.run == command::remove ? message_result::yes : message_result::ok);
        f.prompts.answer_input(c.typed);
        store_outcome outcome;
        switch (c.run) {
            case command::remove: outcome = remove_media_cd(f.context, true); break;
            case command::rename: outcome = rename_media_cd(f.context); break;
            case command::save_wrong_mode:
                f.state.mode.show_playlist();
                outcome = save_media_cd(f.context);
                break;
        }
        EXPECT_EQ(f.prompts.message_texts(), c.messages);
        EXPECT_EQ(f.state.current_media_cd_name, c.current);
        EXPECT_EQ(f.media_cds.names(), c.catalogued);
        EXPECT_EQ(outcome.name_label_none, c.run == command::remove);
        if (c.run == command::rename) {
            EXPECT_EQ(f.prompts.questions().back().default_text, "Disc (3)");
            EXPECT_EQ(f.prompts.questions().back().text, "Please Enter a New Media CD Name for: Disc.");
            EXPECT_EQ(f.media_cds.stored_identity("Disc (3)"), disc_identity(stick_serial));
        }
        if (c.run == command::save_wrong_mode) {
            EXPECT_EQ(f.prompts.questions().front().caption, "Karvo Media");
        }
    }
}

} // namespace
} // namespace karvo
