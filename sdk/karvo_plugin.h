// SPDX-License-Identifier: GPL-3.0-or-later
/*
 * karvo_plugin.h - the C interface between Karvo Media and its plug-ins.
 *
 * A plug-in is an ELF shared object loaded with dlopen(). The program looks up the functions below by their exact
 * names (given with each type); every one of them is optional. Only plain C types cross the boundary, and no
 * exception or other C++ failure may leave a plug-in: a plug-in that fails returns an empty list, NULL or -1.
 *
 * Ownership: every string list and every text a plug-in returns belongs to the plug-in. The program reads it and
 * never frees or changes it. Unless a function says otherwise, what it returns stays valid until the plug-in is
 * unloaded. Paths and texts are zero-terminated UTF-8 (a path is the file name's bytes as the file system holds
 * them). All functions are called from one thread at a time, except where a plug-in declares otherwise (see
 * _is_reentrant below).
 */
#ifndef KARVO_PLUGIN_H
#define KARVO_PLUGIN_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(__GNUC__)
#define KARVO_EXPORT __attribute__((visibility("default")))
#else
#define KARVO_EXPORT
#endif

/* An ordered list of texts: items[0] .. items[count - 1], each zero-terminated. A list with count 0 may have
 * items == NULL. A function returning a list may also return NULL, which the program reads as an empty list. */
struct karvo_string_list {
    int32_t count;
    const char* const* items;
};

/* The byte that ends every field of a media info string. It never occurs in UTF-8 text. */
#define KARVO_INFO_SEPARATOR '\xFF'
/* Number of fields of a media info string. */
#define KARVO_INFO_FIELD_COUNT 15

/* ---- Resource plug-in (plugins/resource.krp) ---------------------------------------------------------------- */

/* _get_player_names: player names; index 0-5 are the six player slots, 6 and up are extra players. */
typedef const struct karvo_string_list* (*karvo_get_player_names_fn)(void);
/* _get_filename: program file name (or pattern) of each player, same index as the names. */
typedef const struct karvo_string_list* (*karvo_get_filename_fn)(void);
/* _get_default_player_locations: default program path of each player (may be empty), same index as the names. */
typedef const struct karvo_string_list* (*karvo_get_default_player_locations_fn)(void);
/* _get_URL: home page of each player, same index as the names. */
typedef const struct karvo_string_list* (*karvo_get_url_fn)(void);
/* _get_new_extensions, _get_new_descriptions: media file extensions without the dot, upper case, and their
 * descriptions at the same index. The program uses the extensions only when both functions exist. */
typedef const struct karvo_string_list* (*karvo_get_new_extensions_fn)(void);
typedef const struct karvo_string_list* (*karvo_get_new_descriptions_fn)(void);
/* _get_plugin_info: free text lines describing the plug-in. */
typedef const struct karvo_string_list* (*karvo_get_plugin_info_fn)(void);
/* _get_author_name: one text. */
typedef const char* (*karvo_get_author_name_fn)(void);
/* _get_version: the plug-in's version number (shown as "v. " + the number in general format). */
typedef double (*karvo_get_version_fn)(void);
/* _get_media_info_string: the media info string of one file, split into items that the program joins in order:
 * fifteen fields (0 FullPath, 1 Song, 2 Artist, 3 Album, 4 Year, 5 Comment, 6 Genre, 7 Seconds, 8 channels,
 * 9 file size, 10 track number, 11 SampleRate, 12 bit rate in kbit/s, 13 codec, 14 modification time), each ended
 * by KARVO_INFO_SEPARATOR, then one more separator. No field holds the separator, CR or LF.
 * A file that cannot be read gives the path and empty fields. A path that itself holds byte 0xFF, CR or LF cannot
 * be represented in the string: the result is then an empty list (count 0), and the program skips the file.
 * The list and its texts stay valid until the next call of this function (in a reentrant plug-in: the next call
 * on the same thread). */
typedef const struct karvo_string_list* (*karvo_get_media_info_string_fn)(const char* path);
/* _is_reentrant: optional; nonzero when _get_media_info_string may be called from several threads at once, each
 * call on its own file, while _show_media_info and _get_media_duration may also run on the program's
 * user-interface thread. Such a plug-in keeps no shared mutable state between calls: its returned list lives in
 * storage of the calling thread (for example a thread_local buffer), and everything it uses to read a file is safe
 * to use from several threads at once. The program then reads media information ahead on a few worker threads.
 * A plug-in without this export, or returning 0, is called from one thread at a time: one worker reads ahead, and
 * no two calls of its functions ever overlap. */
typedef int32_t (*karvo_is_reentrant_fn)(void);
/* _show_media_info: shows a modal window with the file's details; returns when the window is closed. */
typedef void (*karvo_show_media_info_fn)(const char* path);
/* _get_media_duration: length of the file in seconds, or -1. Resolved by the program but not called. */
typedef int32_t (*karvo_get_media_duration_fn)(const char* path);
/* _get_icon_resource: icon resource `id` (extension i has id i + 1) as 16 x 16 PNG bytes; *size receives their
 * count. NULL (and *size 0) when there is none. The bytes stay valid until the plug-in is unloaded. */
typedef const unsigned char* (*karvo_get_icon_resource_fn)(int32_t id, int32_t* size);

/* _write_media_tags: optional; writes tag fields into the file's own tag, in the form its format has: ID3v2 of an
 * MP3 at the version the file has (a file with only an ID3v1 tag keeps only that; an ID3v1 tag beside an ID3v2 one
 * is kept in step), Vorbis comments of FLAC, Ogg Vorbis and Opus, MP4 items, RIFF INFO of WAV (and its ID3 chunk when
 * it has one), APE tags of Musepack, WavPack and Monkey's Audio.
 *   fields: `count` name/value pairs, names from KARVO_TAG_* below; they belong to the program and are valid only
 *           during the call. Only the named fields change; an empty value removes the field. Year and track are
 *           decimal numbers. Everything else in the file (other fields and frames, pictures, lyrics, the audio)
 *           stays as it was.
 *   message: when not NULL, receives a text for the user (empty after a success) that belongs to the plug-in and
 *           stays valid until the next call of this function on the same thread.
 * Returns one of the KARVO_TAG_* statuses. The file is replaced as a whole: a write that fails or is interrupted at
 * any moment leaves the old file, never a mix. Thread rules as for _get_media_info_string (with _is_reentrant, calls
 * on different files may overlap); the program never writes one file from two threads at once. */
struct karvo_tag_field {
    const char* name;
    const char* value;
};
#define KARVO_TAG_TITLE "title"
#define KARVO_TAG_ARTIST "artist"
#define KARVO_TAG_ALBUM "album"
#define KARVO_TAG_YEAR "year"
#define KARVO_TAG_COMMENT "comment"
#define KARVO_TAG_GENRE "genre"
#define KARVO_TAG_TRACK "track"
#define KARVO_TAG_WRITTEN 0     /* the file now holds the fields */
#define KARVO_TAG_UNSUPPORTED 1 /* not a media file whose tags this plug-in writes; the file is unchanged */
#define KARVO_TAG_BAD_FIELD 2   /* an unknown name or a value the tag cannot hold; the file is unchanged */
#define KARVO_TAG_FAILED 3      /* the file could not be read, written or replaced; the file is unchanged */
typedef int32_t (*karvo_write_media_tags_fn)(const char* path, const struct karvo_tag_field* fields, int32_t count,
                                             const char** message);

/* ---- Language plug-in (plugins/language.dll) ---------------------------------------------------------------- */

/* Replacement texts, read by index. Exported as _get_main_language, _get_options_language, _get_id3_language and
 * _get_about_language; an index beyond the list's count is never read (the text keeps its built-in value). */
typedef const struct karvo_string_list* (*karvo_get_language_fn)(void);

/* ---- Export plug-ins (plugins/NAME.kep) -----------------------------------------------------------------------
 *
 * Each one adds an item to the "Export To" submenu. The program loads the library for one operation only and
 * unloads it right after: the scan (the four texts and the version below are copied at once), one _execute, one
 * _show_config_window or one _show_about_window. The four scan exports are required; a library lacking one is not
 * taken. A plug-in that links libraries keeping process-wide state (Qt, TagLib) should link with -z nodelete. */

/* _get_version_number: shown in general floating-point format. */
typedef double (*karvo_get_version_number_fn)(void);
/* _get_author_name (the type above), _get_plugin_name, _get_menu_name: one text each, NULL read as empty; the
 * program copies at most KARVO_EXPORT_TEXT_MAX bytes of it. _get_menu_name is the caption of the menu item. */
typedef const char* (*karvo_get_plugin_name_fn)(void);
typedef const char* (*karvo_get_menu_name_fn)(void);
#define KARVO_EXPORT_TEXT_MAX 255
/* _execute: the full paths of every entry of the virtual playlist, in list order (never an empty list). The list
 * and its texts belong to the program and are valid only until _execute returns; the plug-in copies what it keeps.
 * It runs on the program's user-interface thread inside its Qt application, so it may show modal Qt windows; it
 * must not return before they are closed. */
typedef void (*karvo_execute_fn)(const struct karvo_string_list* paths);
/* _show_config_window, _show_about_window: optional; show a modal window and return when it is closed. */
typedef void (*karvo_show_window_fn)(void);

#ifdef __cplusplus
}
#endif

#endif /* KARVO_PLUGIN_H */
