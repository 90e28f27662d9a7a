/*
 * karvo_plugin.h - the C interface between Karvo Media and its plug-ins.
 *
 * A plug-in is an ELF shared object loaded with dlopen(). The program looks up the functions below by their exact
 * names; every one of them is optional. Only plain C types cross the boundary, and no exception may leave a plug-in.
 *
 * Ownership: every string list and every text a plug-in returns belongs to the plug-in. The program reads it and
 * never frees or changes it. Unless a function says otherwise, what it returns stays valid until the plug-in is
 * unloaded. Paths and texts are zero-terminated UTF-8.
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

/* An ordered list of texts: items[0] .. items[count - 1], each zero-terminated. */
struct karvo_string_list {
    int32_t count;
    const char* const* items;
};

/* ---- Resource plug-in (plugins/resource.krp) ---------------------------------------------------------------- */

/* Player names; index 0-5 are the six player slots, 6 and up are extra players. */
typedef const struct karvo_string_list* (*karvo_get_player_names_fn)(void);
/* Program file name (or pattern) of each player, same index as the names. */
typedef const struct karvo_string_list* (*karvo_get_filename_fn)(void);
/* Default program path of each player, same index as the names. */
typedef const struct karvo_string_list* (*karvo_get_default_player_locations_fn)(void);
/* Home page of each player, same index as the names. */
typedef const struct karvo_string_list* (*karvo_get_url_fn)(void);
/* Media file extensions without the dot, and their descriptions at the same index. */
typedef const struct karvo_string_list* (*karvo_get_new_extensions_fn)(void);
typedef const struct karvo_string_list* (*karvo_get_new_descriptions_fn)(void);
/* Free text lines describing the plug-in. */
typedef const struct karvo_string_list* (*karvo_get_plugin_info_fn)(void);
typedef const char* (*karvo_get_author_name_fn)(void);
typedef double (*karvo_get_version_fn)(void);
/* The media info string of one file, split into items that the program joins in order. Fifteen fields, each ended
 * by byte 0xFF, then one more 0xFF. No field holds 0xFF, CR or LF. The list stays valid until the next call. */
typedef const struct karvo_string_list* (*karvo_get_media_info_string_fn)(const char* path);
/* Shows a window with the file's details; returns when the window is closed. */
typedef void (*karvo_show_media_info_fn)(const char* path);
/* Length of the file in seconds, or -1. Resolved by the program but not called. */
typedef int32_t (*karvo_get_media_duration_fn)(const char* path);
/* Icon resource `id` (extension i has id i + 1) as PNG bytes; *size receives their count. NULL when there is none.
 * The bytes stay valid until the plug-in is unloaded. */
typedef const unsigned char* (*karvo_get_icon_resource_fn)(int32_t id, int32_t* size);

/* ---- Language plug-in (plugins/language.dll) ---------------------------------------------------------------- */

/* Replacement texts, read by index. */
typedef const struct karvo_string_list* (*karvo_get_language_fn)(void);
/* Exported as _get_main_language, _get_options_language, _get_id3_language and _get_about_language. */

#ifdef __cplusplus
}
#endif

#endif /* KARVO_PLUGIN_H */
