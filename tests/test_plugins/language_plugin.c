// SPDX-License-Identifier: GPL-3.0-or-later
/* A language plug-in for the tests, written in C against sdk/karvo_plugin.h. Entry i of each list reads
 * "<list> <i>" (for example "main 20"). The list lengths and which exports exist are set when it is compiled:
 * MAIN_COUNT, OPTIONS_COUNT, ID3_COUNT, ABOUT_COUNT; WITHOUT_MAIN leaves _get_main_language out. */
#include "sdk/karvo_plugin.h"

#include <stdio.h>

#define TEXT_SIZE 24

struct numbered_list {
    int ready;
    struct karvo_string_list list;
};

static const struct karvo_string_list* fill(struct numbered_list* target, const char* prefix, char (*texts)[TEXT_SIZE],
                                            const char** items, int count) {
    int i;
    if (!target->ready) {
        for (i = 0; i < count; ++i) {
            snprintf(texts[i], TEXT_SIZE, "%s %d", prefix, i);
            items[i] = texts[i];
        }
        target->list.count = count;
        target->list.items = items;
        target->ready = 1;
    }
    return &target->list;
}

#define NUMBERED_EXPORT(function_name, prefix, count)                                                                  \
    static char function_name##_texts[count][TEXT_SIZE];                                                               \
    static const char* function_name##_items[count];                                                                   \
    static struct numbered_list function_name##_list;                                                                  \
    KARVO_EXPORT const struct karvo_string_list* function_name(void) {                                                 \
        return fill(&function_name##_list, prefix, function_name##_texts, function_name##_items, count);               \
    }

#ifndef WITHOUT_MAIN
NUMBERED_EXPORT(_get_main_language, "main", MAIN_COUNT)
#endif
NUMBERED_EXPORT(_get_options_language, "options", OPTIONS_COUNT)
NUMBERED_EXPORT(_get_id3_language, "id3", ID3_COUNT)
NUMBERED_EXPORT(_get_about_language, "about", ABOUT_COUNT)
