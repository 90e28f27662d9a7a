// SPDX-License-Identifier: GPL-3.0-or-later
/* A resource plug-in that misbehaves on purpose. Every list it returns at load time declares a count far beyond
 * its array, or points at memory that is not there; _get_main_language does the same, so the file also serves as
 * a broken language plug-in. Media information depends on the file name: "hang" never returns, "crash" ends the
 * process with SIGSEGV, "huge" declares a
 * count of 2^31 - 1, "wild" hands an item array at an unmapped address, "badtext" an item that is not mapped;
 * every other file is described by its path and empty fields. */
#define _POSIX_C_SOURCE 200809L
#include "sdk/karvo_plugin.h"

#include <signal.h>
#include <string.h>
#include <time.h>

static const char* const two[] = {"MP3", "WAV"};
static const struct karvo_string_list huge_list = {0x7fffffff, two};
static const struct karvo_string_list wild_list = {3, (const char* const*)16};
static const char* const bad_items[] = {"ok", (const char*)8};
static const struct karvo_string_list bad_text_list = {2, bad_items};

static const char* const extension[] = {"MP3"};
static const char* const description[] = {"MPEG Layer 3"};
static const struct karvo_string_list extensions = {1, extension};
static const struct karvo_string_list descriptions = {1, description};

KARVO_EXPORT const struct karvo_string_list* _get_player_names(void) {
    return &huge_list;
}
KARVO_EXPORT const struct karvo_string_list* _get_filename(void) {
    return &wild_list;
}
KARVO_EXPORT const struct karvo_string_list* _get_default_player_locations(void) {
    return &bad_text_list;
}
KARVO_EXPORT const struct karvo_string_list* _get_URL(void) {
    return (const struct karvo_string_list*)24;
}
KARVO_EXPORT const struct karvo_string_list* _get_new_extensions(void) {
    return &extensions;
}
KARVO_EXPORT const struct karvo_string_list* _get_new_descriptions(void) {
    return &descriptions;
}
KARVO_EXPORT const struct karvo_string_list* _get_plugin_info(void) {
    return &huge_list;
}
KARVO_EXPORT const char* _get_author_name(void) {
    return (const char*)32;
}
KARVO_EXPORT const struct karvo_string_list* _get_main_language(void) {
    return &huge_list;
}
KARVO_EXPORT const unsigned char* _get_icon_resource(int32_t id, int32_t* size) {
    (void)id;
    *size = 0x7fffffff;
    return (const unsigned char*)two;
}

KARVO_EXPORT const struct karvo_string_list* _get_media_info_string(const char* path) {
    static char text[4096 + 17];
    static const char* item[1] = {text};
    static struct karvo_string_list list = {1, item};
    if (strstr(path, "hang")) {
        for (;;) {
            struct timespec second = {1, 0};
            nanosleep(&second, NULL);
        }
    }
    if (strstr(path, "crash"))
        raise(SIGSEGV);
    if (strstr(path, "huge"))
        return &huge_list;
    if (strstr(path, "wild"))
        return &wild_list;
    if (strstr(path, "badtext"))
        return &bad_text_list;
    if (strlen(path) > 4096)
        return NULL;
    strcpy(text, path);
    memset(text + strlen(path), 0xFF, 16);
    text[strlen(path) + 16] = '\0';
    return &list;
}
