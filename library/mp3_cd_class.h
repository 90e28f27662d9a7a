// SPDX-License-Identifier: GPL-3.0-or-later
// The Media CD catalogue: one .vmc file per catalogued disc in the data folder's "Media CDs/", each line a media
// info string whose path is relative to the disc's root, and the index media_cds.ini mapping each name to the disc
// identity (the volume serial number as a single-precision value) by which an inserted disc is recognised.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "library/named_file_store.h"
#include "platform/drives.h"

namespace karvo {

class media_list;

inline constexpr const char* media_cds_folder_failure = "Karvo was NOT able to create the Media CDs directory.";
// The identity of a name without index key; no disc has it.
inline constexpr float no_disc_identity = -1.0f;

// The serial number rounded to single precision; an unreadable volume (0xFFFFFFFF) becomes 4294967296.
float disc_identity(std::uint32_t serial);
// Identity of the disc in the drive whose root is `root`; nullopt when its serial is unknown or the root is not in
// `drives`: such a volume cannot be recognised again.
std::optional<float> disc_identity_of(const std::string& root, platform::drive_table& drives);
// Decimal text with up to 15 significant digits: the plain integer digits for every identity.
std::string format_identity(float identity);
// The number in `text`; `fallback` for anything that is not a finite number in single-precision range.
float parse_identity(std::string_view text, float fallback = no_disc_identity);

class mp3_cd_class : private named_file_store {
public:
    explicit mp3_cd_class(const std::string& data_folder, folder_failure_handler on_failure = {});

    using named_file_store::count;
    using named_file_store::exists;
    using named_file_store::for_each_line;
    using named_file_store::folder;
    using named_file_store::folder_ok;
    using named_file_store::folder_path;
    using named_file_store::is_valid_name;
    using named_file_store::load;
    using named_file_store::names;
    using named_file_store::save;

    // Deletes the catalogue file and, when that worked, the name's index key.
    bool remove(const std::string& name);
    // Renames the catalogue file and, when that worked, moves the stored identity to the new key.
    bool rename(const std::string& old_name, const std::string& new_name);

    std::string index_path() const;
    // no_disc_identity when the key is missing or holds no number.
    float stored_identity(const std::string& name) const;
    bool store_identity(const std::string& name, float identity);
    // Deletes the name's index key: the catalogue then matches no volume.
    void forget_identity(const std::string& name);

    // Writes every row with its path made relative to the drive root it lies under (paths already relative stay
    // as they are); every row then gets `name` as list name. False when the catalogue could not be written.
    bool save_catalogue(const std::string& name, media_list& list, platform::drive_table& drives);

    // Appends the catalogue's entries with `name` as list name. When a CD-ROM or removable drive holds the disc (the first in
    // drive order whose identity equals the stored one) its root is put in front of each stored line, and the root
    // is returned; otherwise the paths stay relative.
    std::optional<std::string> load_into(const std::string& name, media_list& list, platform::drive_table& drives);

private:
    std::string index_;
};

// Drives a Media CD can be made from and found in: CD-ROMs and removable volumes (USB sticks, memory cards).
bool is_media_cd_drive(platform::drive_type type);

// The CD-ROM or removable drive whose volume has `identity`, first in drive order; a volume of unknown serial is
// never the one.
std::optional<std::string> drive_holding(float identity, const std::vector<platform::drive_info>& drives);

// `line` without the drive root its path lies under; a relative path (or any text not starting with '/') is kept.
std::string relative_to_drive(const std::string& line, const std::vector<platform::drive_info>& drives);

} // namespace karvo
