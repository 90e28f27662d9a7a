// SPDX-License-Identifier: GPL-3.0-or-later
/* An export plug-in for the tests. MENU names its menu item, VERSION its version; WITHOUT_MENU leaves out a scan
 * export, NULL_TEXTS returns NULL texts and has no window exports, LONG_NAME names itself with a 1 MB text. Every
 * call is noted in a log that _test_call_log returns. */
#include "sdk/karvo_plugin.h"

#include <string.h>

#define TEXT2(x) #x
#define TEXT(x) TEXT2(x)

static char call_log[4096];

static void note(const char* text) {
    strncat(call_log, text, sizeof call_log - strlen(call_log) - 1);
}

KARVO_EXPORT const char* _test_call_log(void) {
    return call_log;
}

KARVO_EXPORT double _get_version_number(void) {
    note("version,");
    return VERSION;
}

KARVO_EXPORT const char* _get_author_name(void) {
    note("author,");
#ifdef NULL_TEXTS
    return NULL;
#else
    return "Author of " TEXT(MENU);
#endif
}

KARVO_EXPORT const char* _get_plugin_name(void) {
    note("name,");
#if defined(NULL_TEXTS)
    return NULL;
#elif defined(LONG_NAME)
    static char name[1024 * 1024 + 1];
    if (!name[0]) {
        /* 'e' with an accent (two bytes) straddles the point where the program cuts the text. */
        memset(name, 'x', 1024 * 1024);
        name[254] = '\xC3';
        name[255] = '\xA9';
        name[1024 * 1024] = '\0';
    }
    return name;
#else
    return "Plug-in " TEXT(MENU);
#endif
}

#ifndef WITHOUT_MENU
KARVO_EXPORT const char* _get_menu_name(void) {
    note("menu,");
#ifdef NULL_TEXTS
    return NULL;
#else
    return TEXT(MENU);
#endif
}
#endif

KARVO_EXPORT void _execute(const struct karvo_string_list* paths) {
    int32_t i;
    note("execute:");
    for (i = 0; i < paths->count; ++i) {
        note(paths->items[i]);
        note("|");
    }
    note(",");
}

#ifndef NULL_TEXTS
KARVO_EXPORT void _show_config_window(void) {
    note("config,");
}
KARVO_EXPORT void _show_about_window(void) {
    note("about,");
}
#endif
