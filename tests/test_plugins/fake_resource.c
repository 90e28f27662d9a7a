// SPDX-License-Identifier: GPL-3.0-or-later
/* A resource plug-in for the tests, written in C. It records the order in which the program calls it
 * (_test_call_log), names PLAYER_COUNT players, two media types with stand-in icon bytes, and reports VERSION. */
#include "sdk/karvo_plugin.h"

#include <stdio.h>
#include <string.h>

static char call_log[1024];

static void record(const char* name) {
    if (strlen(call_log) + strlen(name) + 2 < sizeof call_log) {
        strcat(call_log, name);
        strcat(call_log, ",");
    }
}

#define LIST(name, ...)                                                                                                \
    static const char* const name##_items[] = {__VA_ARGS__};                                                           \
    static const struct karvo_string_list name = {(int32_t)(sizeof name##_items / sizeof name##_items[0]), name##_items}

LIST(players, "Slot 0", "Slot 1", "Slot 2", "Slot 3", "Slot 4", "Slot 5", "Extra 6", "Extra 7");
LIST(programs, "slot0.exe", "slot1.exe", "slot2", "slot3", "slot4", "slot5.exe", "extra6", "extra7");
LIST(locations, "", "", "/usr/bin/slot2", "/usr/bin/slot3", "/usr/bin/slot4", "", "/usr/bin/extra6", "/usr/bin/extra7");
LIST(urls, "http://slot0", "http://slot1", "http://slot2", "http://slot3", "http://slot4", "http://slot5",
     "http://extra6", "http://extra7");
LIST(extensions, "MP3", "WAV");
LIST(descriptions, "MPEG Layer 3", "Wave Audio");
LIST(info, "Fake resource plug-in", "for the loader tests");

static const unsigned char icon_one[] = {'i', 'c', 'o', 'n', '1'};
static const unsigned char icon_two[] = {'i', 'c', 'o', 'n', '2', '!'};

KARVO_EXPORT const char* _test_call_log(void) {
    return call_log;
}

KARVO_EXPORT const struct karvo_string_list* _get_player_names(void) {
    static struct karvo_string_list first;
    record("players");
    first.count = PLAYER_COUNT;
    first.items = players.items;
    return &first;
}

KARVO_EXPORT const struct karvo_string_list* _get_filename(void) {
    record("filename");
    return &programs;
}
KARVO_EXPORT const struct karvo_string_list* _get_default_player_locations(void) {
    record("locations");
    return &locations;
}
KARVO_EXPORT const struct karvo_string_list* _get_URL(void) {
    record("url");
    return &urls;
}
KARVO_EXPORT const struct karvo_string_list* _get_new_extensions(void) {
    record("extensions");
    return &extensions;
}
KARVO_EXPORT const struct karvo_string_list* _get_new_descriptions(void) {
    record("descriptions");
    return &descriptions;
}
KARVO_EXPORT const struct karvo_string_list* _get_plugin_info(void) {
    record("info");
    return &info;
}
KARVO_EXPORT const char* _get_author_name(void) {
    record("author");
    return "Test Author";
}
KARVO_EXPORT double _get_version(void) {
    record("version");
    return VERSION;
}

KARVO_EXPORT const unsigned char* _get_icon_resource(int32_t id, int32_t* size) {
    char name[16];
    snprintf(name, sizeof name, "icon%d", (int)id);
    record(name);
    *size = id == 1 ? (int32_t)sizeof icon_one : id == 2 ? (int32_t)sizeof icon_two : 0;
    return id == 1 ? icon_one : id == 2 ? icon_two : NULL;
}

/* Items: the path, "|", the call number; the path "null" gives NULL, "negative" a list with a negative count. */
KARVO_EXPORT const struct karvo_string_list* _get_media_info_string(const char* path) {
    static char number[16];
    static const char* items[3];
    static struct karvo_string_list list;
    static int calls;
    snprintf(number, sizeof number, "%d", ++calls);
    if (strcmp(path, "null") == 0)
        return NULL;
    items[0] = path;
    items[1] = "|";
    items[2] = number;
    list.count = strcmp(path, "negative") == 0 ? -3 : 3;
    list.items = items;
    return &list;
}

KARVO_EXPORT void _show_media_info(const char* path) {
    record("show");
    record(path);
}

KARVO_EXPORT int32_t _get_media_duration(const char* path) {
    return (int32_t)strlen(path);
}

/* The message is "path|name=value;..." so the tests see what crossed; no fields is refused. */
KARVO_EXPORT int32_t _write_media_tags(const char* path, const struct karvo_tag_field* fields, int32_t count,
                                       const char** message) {
    static char text[512];
    int32_t i;
    snprintf(text, sizeof text, "%s|", path);
    for (i = 0; i < count; ++i)
        snprintf(text + strlen(text), sizeof text - strlen(text), "%s=%s;", fields[i].name, fields[i].value);
    *message = text;
    return count > 0 ? KARVO_TAG_WRITTEN : KARVO_TAG_BAD_FIELD;
}
