// SPDX-License-Identifier: GPL-3.0-or-later
// What the virtual playlist shows, as karvo.ini keeps it (PlaylistMode -1, 0, 1, 3, 4, 7), and what Save, Save As,
// Revert, Re-cache, Send To and the grouping values may do with the list. Clicks and commands change it through its
// transitions only; no widget holds it.
#pragma once

namespace karvo {

class PlaylistMode {
public:
    enum value_type : int {
        nothing = -1,      // nothing loaded since start-up
        playlist = 0,      // a saved playlist, whole
        media_cd = 1,      // a Media CD's catalogue
        all_playlists = 3, // every saved playlist, one after another
        all_media_cds = 4, // every Media CD's catalogue
        grouping = 7,      // a saved playlist narrowed to one grouping value
    };

    constexpr PlaylistMode() = default;
    constexpr value_type value() const { return value_; }
    constexpr bool operator==(value_type other) const { return value_ == other; }

    // A stored value: 7 comes back as the whole playlist, anything unknown as nothing.
    static constexpr PlaylistMode from_stored(int stored) {
        PlaylistMode mode;
        switch (stored) {
            case playlist:
            case grouping: mode.value_ = playlist; break;
            case media_cd: mode.value_ = media_cd; break;
            case all_playlists: mode.value_ = all_playlists; break;
            case all_media_cds: mode.value_ = all_media_cds; break;
            default: break;
        }
        return mode;
    }
    // A value as the program holds it, a grouping included (the recovery copy keeps it so); unknown is nothing.
    static constexpr PlaylistMode from_value(int value) {
        PlaylistMode mode = from_stored(value);
        if (value == grouping)
            mode.value_ = grouping;
        return mode;
    }
    // What karvo.ini keeps: a grouping is written as its whole playlist.
    constexpr int stored() const { return value_ == grouping ? playlist : value_; }

    // Transitions.
    constexpr void show_playlist() { value_ = playlist; }
    constexpr void show_grouping() { value_ = grouping; }
    constexpr void show_media_cd() { value_ = media_cd; }
    constexpr void show_all_playlists() { value_ = all_playlists; }
    constexpr void show_all_media_cds() { value_ = all_media_cds; }

    // What may be done with the list.
    constexpr bool can_save() const { return value_ == playlist || value_ == media_cd; }
    // Any list with rows may be saved as a new playlist; an empty one only over its own playlist.
    constexpr bool can_save_as(int rows) const { return value_ == playlist || rows > 0; }
    constexpr bool can_revert() const { return can_save(); }
    constexpr bool can_recache() const { return value_ == playlist; }
    constexpr bool saves_media_cd() const { return value_ == media_cd; }
    // The list holds the current saved playlist, whole or narrowed; its groupings read the list, not the file.
    constexpr bool holds_saved_playlist() const { return value_ == playlist || value_ == grouping; }

private:
    value_type value_ = nothing;
};

} // namespace karvo
