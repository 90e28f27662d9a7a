// SPDX-License-Identifier: GPL-3.0-or-later
/* A plug-in for the tests that offers little: with EMPTY_LISTS every export the program knows exists and returns
 * an empty list, NULL or nothing; without it, only a few resource exports exist and the extensions come without
 * their descriptions. */
#include "sdk/karvo_plugin.h"

#include <stddef.h>

#ifdef EMPTY_LISTS
static const struct karvo_string_list empty = {0, NULL};

KARVO_EXPORT const struct karvo_string_list* _get_player_names(void) {
    return &empty;
}
KARVO_EXPORT const struct karvo_string_list* _get_filename(void) {
    return NULL;
}
KARVO_EXPORT const struct karvo_string_list* _get_default_player_locations(void) {
    return &empty;
}
KARVO_EXPORT const struct karvo_string_list* _get_URL(void) {
    return NULL;
}
KARVO_EXPORT const struct karvo_string_list* _get_new_extensions(void) {
    return &empty;
}
KARVO_EXPORT const struct karvo_string_list* _get_new_descriptions(void) {
    return &empty;
}
KARVO_EXPORT const struct karvo_string_list* _get_plugin_info(void) {
    return NULL;
}
KARVO_EXPORT const char* _get_author_name(void) {
    return NULL;
}
KARVO_EXPORT const struct karvo_string_list* _get_media_info_string(const char* path) {
    (void)path;
    return &empty;
}
KARVO_EXPORT const struct karvo_string_list* _get_main_language(void) {
    return &empty;
}
KARVO_EXPORT const struct karvo_string_list* _get_options_language(void) {
    return NULL;
}
KARVO_EXPORT const struct karvo_string_list* _get_id3_language(void) {
    return &empty;
}
#else
static const char* const names[] = {"Only 0", "Only 1", "Only 2"};
static const struct karvo_string_list three_names = {3, names};

KARVO_EXPORT const struct karvo_string_list* _get_player_names(void) {
    return &three_names;
}
KARVO_EXPORT const struct karvo_string_list* _get_new_extensions(void) {
    return &three_names;
}
KARVO_EXPORT double _get_version(void) {
    return 0.25;
}
#endif
