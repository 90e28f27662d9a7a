// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <numeric>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "library/media_list.h"
#include "library/my_computer_list.h"
#include "library/sort_keys.h"
#include "library/text.h"
#include "platform/random.h"

namespace karvo {
namespace {

// An info string whose every field is distinct (derived from `id`), with the given path, artist and seconds.
std::string info_of(const std::string& path, const std::string& artist = "Artist", const std::string& seconds = "61",
                    const std::string& quality = "128", const std::string& id = "") {
    media_fields fields;
    for (int k = 0; k < info_field_count; ++k)
        fields[k] = "v" + std::to_string(k) + id;
    fields[0] = path;
    fields[2] = artist;
    fields[7] = seconds;
    fields[11] = "44100";
    fields[12] = quality;
    return make_media_info(fields);
}

std::vector<std::string> column_of(const media_list& list, int column) {
    std::vector<std::string> cells;
    for (int row = 0; row < list.count(); ++row)
        cells.emplace_back(list.cell(column, row));
    return cells;
}

std::vector<std::string> row_of(const media_list& list, int row) {
    std::vector<std::string> cells;
    for (int column = 0; column < column_count; ++column)
        cells.emplace_back(list.cell(column, row));
    return cells;
}

media_list list_of_paths(const std::vector<std::string>& paths) {
    media_list list;
    for (const auto& path : paths)
        list.append(info_of(path), "L");
    return list;
}

TEST(MediaList, AppendInsertReplaceDerive) {
    media_list list;
    EXPECT_TRUE(list.append(info_of("/m/my_song%20(live).mp3", "Band", "3725", "192"), "Rock list"));
    ASSERT_EQ(list.count(), 1);
    EXPECT_EQ(list.cell(Media, 0), "my song live");
    EXPECT_EQ(list.full_path(0), "/m/my_song%20(live).mp3");
    EXPECT_EQ(list.cell(ListName, 0), "Rock list");
    EXPECT_EQ(list.song(0), "v1");
    EXPECT_EQ(list.cell(Artist, 0), "Band");
    EXPECT_EQ(list.cell(Album, 0), "v3");
    EXPECT_EQ(list.cell(Seconds, 0), "3725");
    EXPECT_EQ(list.cell(Length, 0), "01:02:05");
    EXPECT_EQ(list.cell(Quality, 0), "192kbits");
    EXPECT_EQ(list.cell(SampleRate, 0), "44100");
    EXPECT_EQ(list.cell(Info14, 0), "v14");

    EXPECT_TRUE(list.insert(0, info_of("/m/first.wav", "A", ""), "X"));
    EXPECT_TRUE(list.insert(2, info_of("/m/last.ogg", "A", "0"), "Y"));
    EXPECT_FALSE(list.insert(4, info_of("/m/x.mp3"), "Z"));
    EXPECT_FALSE(list.insert(-1, info_of("/m/x.mp3"), "Z"));
    EXPECT_EQ(column_of(list, Media), (std::vector<std::string>{"first", "my song live", "last"}));
    EXPECT_EQ(column_of(list, Length), (std::vector<std::string>{"", "01:02:05", ""}));
    EXPECT_EQ(column_of(list, Quality), (std::vector<std::string>{"44100Hz", "192kbits", "128"}));

    // Replace re-derives with the current switches and keeps the list name.
    list.switches.strip_extension = false;
    EXPECT_TRUE(list.replace(2, info_of("/m/other_one.mp3", "B", "5")));
    EXPECT_FALSE(list.replace(3, info_of("/m/x.mp3")));
    EXPECT_EQ(row_of(list, 2)[Media], "other one.mp3");
    EXPECT_EQ(list.cell(ListName, 2), "Y");
    EXPECT_EQ(list.cell(Length, 2), "00:05");
    EXPECT_EQ(list.count(), 3);
}

TEST(MediaList, SerialiseAndAppendReproducesRows) {
    media_list list;
    list.append(info_of("/m/a.mp3", "Ä", "200", "128", "a"), "L");
    list.append(info_of("/m/b.wav", "B", "", "1411", "b"), "L");
    list.append(info_of("/m/c.flac", "", "0", "", "c"), "L");

    const string_list lines = list.serialise_all();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1], list.serialise_row(1));
    EXPECT_EQ(list.serialise_row(3), "");

    // Quality already carries its suffix, so deriving again must not add another.
    media_list copy;
    for (const auto& line : lines)
        copy.append(line, "L");
    for (int row = 0; row < list.count(); ++row)
        EXPECT_EQ(row_of(copy, row), row_of(list, row)) << row;
    for (int row = 0; row < list.count(); ++row)
        copy.replace(row, copy.serialise_row(row));
    for (int row = 0; row < list.count(); ++row)
        EXPECT_EQ(row_of(copy, row), row_of(list, row)) << row;
}

// However a CR or LF gets into a cell (a tag read, an edit, a replaced row), the saved file keeps one line per row, the break a space.
TEST(MediaList, SavedLinesNeverBreakInsideACell) {
    const std::string long_artist = "An artist with a name long enough to span the block\r";
    const std::vector<std::function<void(media_list&)>> routes = {
        [&](media_list& list) { list.append(info_of("/m/b.mp3", long_artist), "L"); },
        [](media_list& list) { list.append(info_of("/m/b.mp3", "A\nB"), "L"); },
        [](media_list& list) {
            list.append(info_of("/m/b.mp3"), "L");
            list.set_cell(Comment, 1, "two\r\nlines");
        },
        [](media_list& list) {
            list.append(info_of("/m/b.mp3"), "L");
            list.replace(1, info_of("/m/b.mp3", "x\ny"));
        },
    };
    for (std::size_t route = 0; route < routes.size(); ++route) {
        media_list list;
        list.append(info_of("/m/a.mp3"), "L");
        routes[route](list);
        ASSERT_EQ(list.count(), 2) << route;
        const big_text text = list.serialise_for_file();
        const std::string_view file = text.view();
        std::string second = list.serialise_row(1);
        std::replace_if(second.begin(), second.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
        EXPECT_NE(second, list.serialise_row(1)) << route;
        EXPECT_EQ(file, list.serialise_row(0) + "\r\n" + second + "\r\n") << route;
    }
}

// A save places each line by the field bytes noted when its cells were written; after every kind of change the
// file is still the rows' info strings, line by line.
TEST(MediaList, SavedFileFollowsEveryChange) {
    media_list list;
    for (int k = 0; k < 6000; ++k)
        list.append(info_of("/m/" + std::to_string(k) + ".mp3", "A" + std::to_string(k % 7)), "L");
    const std::vector<std::function<void()>> changes = {
        [&] { list.set_cell(Artist, 3, "a much longer artist name than before"); },
        [&] { list.set_cell(Comment, 4, ""); },
        [&] { list.set_cell(Quality, 5, "1"); },
        [&] { list.replace(6, info_of("/m/replaced/with/a/longer/path.wav", "B", "9", "")); },
        [&] { list.clone_rows(std::vector<int>{0, 3, 6}); },
        [&] { list.remove_rows(std::vector<int>(4500, 10)); },
        [&] {
            std::vector<int> many(5000);
            std::iota(many.begin(), many.end(), 0);
            list.remove_rows(many); // most slots free: the store is gathered again
        },
        [&] {
            list.move_to_backup();
            list.append_rows_from_backup(std::vector<int>{2, 0, 0, 1});
        },
        [&] { list.set_cell(Song, 0, "edited after the narrowing"); },
    };
    for (std::size_t change = 0; change < changes.size(); ++change) {
        changes[change]();
        std::string expected;
        for (int row = 0; row < list.count(); ++row)
            expected += list.serialise_row(row) + "\r\n";
        ASSERT_EQ(list.serialise_for_file().view(), expected) << change;
    }
}

TEST(MediaList, MoveRangeRules) {
    enum op { up, down, top, bottom, remove, clone };
    struct row {
        op operation;
        int index;
        bool result;
        std::vector<std::string> order;
    };
    const row table[] = {
        {up, 0, false, {"0", "1", "2", "3"}},        {up, 3, true, {"0", "1", "3", "2"}},
        {up, 4, false, {"0", "1", "2", "3"}},        {up, -1, false, {"0", "1", "2", "3"}},
        {down, 3, false, {"0", "1", "2", "3"}},      {down, 0, true, {"1", "0", "2", "3"}},
        {down, -1, false, {"0", "1", "2", "3"}},     {top, 0, false, {"0", "1", "2", "3"}},
        {top, 2, true, {"2", "0", "1", "3"}},        {top, 4, false, {"0", "1", "2", "3"}},
        {bottom, 3, true, {"0", "1", "2", "3"}},     {bottom, 0, true, {"1", "2", "3", "0"}},
        {bottom, 4, false, {"0", "1", "2", "3"}},    {bottom, -1, false, {"0", "1", "2", "3"}},
        {remove, 1, true, {"0", "2", "3"}},          {remove, 4, false, {"0", "1", "2", "3"}},
        {clone, 1, true, {"0", "1", "1", "2", "3"}}, {clone, 3, true, {"0", "1", "2", "3", "3"}},
        {clone, -1, false, {"0", "1", "2", "3"}},
    };
    for (const auto& [operation, index, result, order] : table) {
        media_list list;
        for (int k = 0; k < 4; ++k)
            list.append(info_of(std::to_string(k), "A" + std::to_string(k), "1", "1", std::to_string(k)), "L");
        bool done = false;
        switch (operation) {
            case up: done = list.move_up(index); break;
            case down: done = list.move_down(index); break;
            case top: done = list.move_to_top(index); break;
            case bottom: done = list.move_to_bottom(index); break;
            case remove: done = list.remove(index); break;
            case clone: done = list.clone(index); break;
        }
        EXPECT_EQ(done, result) << operation << " " << index;
        EXPECT_EQ(column_of(list, FullPath), order) << operation << " " << index;
        // Every column moved with its row.
        for (int r = 0; r < list.count(); ++r)
            EXPECT_EQ(list.cell(Artist, r), "A" + std::string(list.full_path(r))) << operation << " " << index;
    }
}

TEST(MediaList, SwapListNameClearBackupRestore) {
    media_list list = list_of_paths({"a", "b", "c"});
    EXPECT_TRUE(list.swap(0, 2));
    EXPECT_FALSE(list.swap(0, 3));
    EXPECT_EQ(column_of(list, FullPath), (std::vector<std::string>{"c", "b", "a"}));
    list.set_list_name_of_all("New");
    EXPECT_EQ(column_of(list, ListName), (std::vector<std::string>{"New", "New", "New"}));

    EXPECT_EQ(list.backup_count(), -1);
    list.backup();
    EXPECT_EQ(list.backup_count(), 3);
    list.clear();
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(list.backup_cell(FullPath, 2), "a");
    EXPECT_TRUE(list.append_from_backup(1));
    EXPECT_FALSE(list.append_from_backup(3));
    EXPECT_EQ(column_of(list, FullPath), (std::vector<std::string>{"b"}));
    list.restore();
    EXPECT_EQ(column_of(list, FullPath), (std::vector<std::string>{"c", "b", "a"}));
    EXPECT_EQ(column_of(list, ListName), (std::vector<std::string>{"New", "New", "New"}));

    // Out of range reads are empty; writes are refused.
    EXPECT_EQ(list.cell(FullPath, 3), "");
    EXPECT_EQ(list.cell(column_count, 0), "");
    EXPECT_EQ(list.backup_cell(FullPath, -1), "");
    EXPECT_FALSE(list.set_cell(Artist, 3, "x"));
    EXPECT_TRUE(list.set_cell(Artist, 0, "x"));
    EXPECT_EQ(list.cell(Artist, 0), "x");
}

// The sort rule written out row by row, as the list is meant to behave, on (key, id) pairs.
void reference_quicksort(std::vector<std::pair<std::string, int>>& rows, int first, int last) {
    const std::string pivot = upper_case(rows[(first + last) / 2].first);
    int i = first;
    int j = last;
    while (i <= j) {
        while (compare_upper(rows[i].first, pivot) < 0)
            ++i;
        while (compare_upper(rows[j].first, pivot) > 0)
            --j;
        if (i <= j) {
            std::swap(rows[i], rows[j]);
            ++i;
            --j;
        }
    }
    if (first < j)
        reference_quicksort(rows, first, j);
    if (i < last)
        reference_quicksort(rows, i, last);
}

std::string random_key(std::mt19937& random) {
    static const std::vector<std::string> pieces = {"a", "B", "é", "É", "z", "ü", "Ü", "ñ", "_", "1", "ß", "\xE9"};
    std::string key;
    const int length = static_cast<int>(random() % 4);
    for (int k = 0; k < length; ++k)
        key += pieces[random() % pieces.size()];
    return key;
}

struct sort_case {
    media_list list;
    std::vector<std::pair<std::string, int>> rows; // artist key and row id, in list order
};

// The key is the Artist (interned) and the Comment (arena text). With `shared_prefix` the keys begin with one
// folder in mixed case, and some are only that folder: the arena sort skips what all keys share.
sort_case random_list(unsigned seed, int count, bool shared_prefix = false) {
    std::mt19937 random(seed);
    static const std::vector<std::string> prefixes = {"Music/", "MUSIC/", "music/", "music"};
    sort_case made;
    for (int id = 0; id < count; ++id) {
        std::string key = random_key(random);
        if (shared_prefix)
            key = prefixes[random() % prefixes.size()] + (key.empty() ? "" : key);
        std::string info =
            info_of("/m/" + std::to_string(id) + ".mp3", key, std::to_string(id + 1), "1", std::to_string(id));
        media_fields fields;
        const media_field_views views = split_media_info(info);
        std::copy(views.begin(), views.end(), fields.begin());
        fields[5] = key;
        made.list.append(make_media_info(fields), "L" + std::to_string(id));
        made.rows.emplace_back(key, id);
    }
    return made;
}

void expect_rows(const media_list& list, const std::vector<std::pair<std::string, int>>& expected) {
    ASSERT_EQ(list.count(), static_cast<int>(expected.size()));
    for (int row = 0; row < list.count(); ++row) {
        const std::string id = std::to_string(expected[row].second);
        ASSERT_EQ(list.full_path(row), "/m/" + id + ".mp3") << row;
        // The other columns of that row came along.
        EXPECT_EQ(list.cell(Artist, row), expected[row].first);
        EXPECT_EQ(list.cell(ListName, row), "L" + id);
        EXPECT_EQ(list.cell(Media, row), id);
        EXPECT_EQ(list.cell(Seconds, row), std::to_string(expected[row].second + 1));
        EXPECT_EQ(list.cell(Info14, row), "v14" + id);
    }
}

TEST(MediaListSort, AscendingFollowsTheQuicksortAndOrdersKeys) {
    for (const auto& [column, shared_prefix] : {std::pair{Artist, false}, {Comment, false}, {Comment, true}})
        for (const unsigned seed : {1u, 2u, 3u}) {
            for (const int count : {1, 2, 3, 17, 300}) {
                sort_case made = random_list(seed, count, shared_prefix);
                made.list.sort_ascending(0, count - 1, column);
                reference_quicksort(made.rows, 0, count - 1);
                expect_rows(made.list, made.rows);

                std::vector<std::string> keys = column_of(made.list, Artist);
                std::vector<std::string> expected = keys;
                std::sort(expected.begin(), expected.end(),
                          [](const std::string& a, const std::string& b) { return compare_upper(a, b) < 0; });
                for (std::size_t k = 0; k < keys.size(); ++k)
                    EXPECT_EQ(compare_upper(keys[k], expected[k]), 0)
                        << column << " " << seed << " " << count << " " << k;
            }
        }
    // Large enough for the keys to be made and sorted on two threads: every row still there once, the keys in
    // order, and the lines serialised together those of each row.
    sort_case made = random_list(4, 140000, true);
    made.list.sort_ascending(0, 139999, Comment);
    std::vector<char> seen(140000, 0);
    for (int row = 0; row < made.list.count(); ++row) {
        const int id = std::stoi(std::string(made.list.cell(Media, row)));
        ASSERT_FALSE(seen[id]++) << row;
        if (row > 0) {
            ASSERT_LE(compare_upper(made.list.cell(Comment, row - 1), made.list.cell(Comment, row)), 0) << row;
        }
    }
    const string_list lines = made.list.serialise_all();
    for (const int row : {0, 1, 70000, 139999})
        EXPECT_EQ(lines[row], made.list.serialise_row(row));
}

TEST(MediaListSort, SubRangeAndBadArguments) {
    sort_case made = random_list(9, 40);
    made.list.sort_ascending(10, 29, Artist);
    reference_quicksort(made.rows, 10, 29);
    expect_rows(made.list, made.rows);

    // Ranges that are empty, reversed or outside the list change nothing.
    const std::vector<std::pair<std::string, int>> before = made.rows;
    struct range {
        int first, last, column;
    };
    const range ranges[] = {{5, 5, Artist},  {20, 10, Artist},      {-1, 10, Artist},
                            {0, 40, Artist}, {0, 39, column_count}, {0, 39, -1}};
    for (const auto& [first, last, column] : ranges)
        made.list.sort_ascending(first, last, column);
    expect_rows(made.list, before);
}

TEST(MediaListSort, DescendingIsTheReverseOfAscending) {
    sort_case made = random_list(5, 101);
    sort_case other = random_list(5, 101);
    made.list.sort_ascending(0, 100, Artist);
    other.list.sort_descending(Artist);
    std::vector<std::string> ascending = column_of(made.list, FullPath);
    std::reverse(ascending.begin(), ascending.end());
    EXPECT_EQ(column_of(other.list, FullPath), ascending);

    media_list one = list_of_paths({"only"});
    one.sort_descending(FullPath);
    one.sort_ascending(0, 0, FullPath);
    EXPECT_EQ(column_of(one, FullPath), (std::vector<std::string>{"only"}));
}

TEST(MediaList, RandomizeIsAPermutationFixedByTheSeed) {
    const int count = 50;
    std::vector<std::string> paths;
    for (int k = 0; k < count; ++k)
        paths.push_back(std::to_string(k));
    auto shuffled = [&](unsigned seed) {
        media_list list = list_of_paths(paths);
        platform::random_source random(seed);
        list.randomize(random);
        for (int row = 0; row < count; ++row)
            EXPECT_EQ(list.cell(Media, row), list.full_path(row)); // rows move whole
        return column_of(list, FullPath);
    };
    const std::vector<std::string> first = shuffled(4242);
    EXPECT_EQ(shuffled(4242), first); // tests can inject the seed
    EXPECT_NE(shuffled(7), first);
    EXPECT_NE(first, paths);
    std::vector<std::string> sorted = first;
    std::sort(sorted.begin(), sorted.end());
    std::sort(paths.begin(), paths.end());
    EXPECT_EQ(sorted, paths);

    media_list empty;
    platform::random_source random(1);
    empty.randomize(random);
    EXPECT_EQ(empty.count(), 0);
}

// The rows live in slots of a column store behind a row map: a long mix of edits, with enough deletions to make
// the store gather its rows again, must keep every row whole and in the order a plain vector of rows has.
TEST(MediaList, LongEditSequencesMatchAPlainRowVector) {
    media_list list;
    std::vector<std::vector<std::string>> expected;
    std::mt19937 random(99);
    int next_id = 0;
    const auto add = [&](int position) {
        const std::string id = std::to_string(next_id++);
        ASSERT_TRUE(list.insert(position, info_of("/m/" + id + ".ogg", "a" + id, "7", "9", id), "L" + id));
        expected.insert(expected.begin() + position, row_of(list, position));
    };
    for (int k = 0; k < 6000; ++k)
        add(static_cast<int>(random() % (expected.size() + 1)));
    for (int step = 0; step < 9000; ++step) {
        const int rows = static_cast<int>(expected.size());
        const int row = rows ? static_cast<int>(random() % rows) : 0;
        switch (step < 5500 ? 0 : random() % 6) {
            case 0:
                ASSERT_TRUE(list.remove(row));
                expected.erase(expected.begin() + row);
                break;
            case 1: add(row); break;
            case 2:
                ASSERT_TRUE(list.clone(row));
                expected.insert(expected.begin() + row + 1, expected[row]);
                break;
            case 3: {
                const int other = static_cast<int>(random() % rows);
                ASSERT_TRUE(list.swap(row, other));
                std::swap(expected[row], expected[other]);
                break;
            }
            case 4:
                if (list.move_to_top(row))
                    std::rotate(expected.begin(), expected.begin() + row, expected.begin() + row + 1);
                break;
            default:
                ASSERT_TRUE(list.move_to_bottom(row));
                std::rotate(expected.begin() + row, expected.begin() + row + 1, expected.end());
                break;
        }
    }
    ASSERT_EQ(list.count(), static_cast<int>(expected.size()));
    for (int row = 0; row < list.count(); ++row)
        ASSERT_EQ(row_of(list, row), expected[row]) << row;
}

// The store shares its pages and arena with the backup and copies on write: a random mix of every operation,
// checked cell by cell (live and backup) against a plain model of rows after each batch.
struct reference_model {
    using row = std::vector<std::string>;
    std::vector<row> live, backup;
    int backup_count = -1;

    static row derived(const std::string& info, const std::string& list_name) {
        const media_fields fields = parse_media_info(info);
        row cells(column_count);
        for (int field = 0; field < info_field_count; ++field)
            cells[info_field_column[field]] = fields[field];
        cells[ListName] = list_name;
        cells[Media] = derive_media_name(cells[FullPath], name_switches{});
        cells[Length] = format_length(cells[Seconds]);
        cells[Quality] = derive_quality(cells[FullPath], cells[Quality], cells[SampleRate]);
        return cells;
    }
    void sort(int first, int last, int column) {
        std::vector<std::pair<std::string, int>> keys;
        for (int k = first; k <= last; ++k)
            keys.emplace_back(live[k][column], k);
        reference_quicksort(keys, 0, last - first);
        std::vector<row> sorted;
        for (const auto& key : keys)
            sorted.push_back(live[key.second]);
        std::copy(sorted.begin(), sorted.end(), live.begin() + first);
    }
};

void expect_same(const media_list& list, const reference_model& model, const std::string& where) {
    ASSERT_EQ(list.count(), static_cast<int>(model.live.size())) << where;
    ASSERT_EQ(list.backup_count(), model.backup_count) << where;
    for (int row = 0; row < list.count(); ++row)
        for (int column = 0; column < column_count; ++column)
            ASSERT_EQ(list.cell(column, row), model.live[row][column]) << where << " row " << row << " col " << column;
    for (int row = 0; row < static_cast<int>(model.backup.size()); ++row)
        for (int column = 0; column < column_count; ++column)
            ASSERT_EQ(list.backup_cell(column, row), model.backup[row][column])
                << where << " backup row " << row << " col " << column;
    ASSERT_EQ(list.backup_cell(FullPath, static_cast<int>(model.backup.size())), "") << where;
}

TEST(MediaList, RandomOperationsMatchAPlainModelWithBackup) {
    for (const unsigned seed : {11u, 12u, 13u}) {
        std::mt19937 random(seed);
        const auto pick = [&](int bound) { return bound > 0 ? static_cast<int>(random() % bound) : 0; };
        int next_id = 0;
        // Repeated artists, lengths and qualities (interned), distinct paths and songs, MP3, WAV and other files.
        const auto new_info = [&] {
            const int id = next_id++;
            const char* const extensions[] = {".mp3", ".wav", ".ogg", ".MP3"};
            return info_of("/m/" + std::to_string(id % 97) + "/f_" + std::to_string(id) + extensions[id % 4],
                           "Artist " + std::to_string(pick(30)), std::to_string(pick(40) * 37),
                           pick(5) ? std::to_string(64 * pick(5)) : "192kbits", std::to_string(id));
        };
        const auto some_rows = [&](int rows) {
            std::vector<int> picked;
            const int wanted = pick(rows + 2);
            for (int k = 0; k < wanted; ++k)
                picked.push_back(pick(rows + 4) - 2); // a few out of range
            return picked;
        };
        media_list list;
        reference_model model;
        for (int k = 0; k < 3000; ++k) {
            const std::string info = new_info();
            list.append(info, "L");
            model.live.push_back(reference_model::derived(info, "L"));
        }
        for (int batch = 0; batch < 60; ++batch) {
            for (int step = 0; step < 25; ++step) {
                const int rows = static_cast<int>(model.live.size());
                const int row = pick(rows);
                const int operation = pick(26);
                switch (operation) {
                    case 0:
                    case 1: {
                        const int many = rows < 9000 ? 1 + pick(800) : 1;
                        for (int k = 0; k < many; ++k) {
                            const std::string info = new_info();
                            list.append(info, "A");
                            model.live.push_back(reference_model::derived(info, "A"));
                        }
                        break;
                    }
                    case 2: {
                        const std::string info = new_info();
                        const int at = pick(rows + 1);
                        ASSERT_TRUE(list.insert(at, info, "I"));
                        model.live.insert(model.live.begin() + at, reference_model::derived(info, "I"));
                        break;
                    }
                    case 3:
                        if (rows > 0) {
                            const std::string info = new_info();
                            const std::string name = model.live[row][ListName];
                            ASSERT_TRUE(list.replace(row, info));
                            model.live[row] = reference_model::derived(info, name);
                        }
                        break;
                    case 4:
                        if (rows > 0) {
                            const int column = pick(column_count);
                            const std::string value = pick(2) ? "set " + std::to_string(pick(5)) : "";
                            ASSERT_TRUE(list.set_cell(column, row, value));
                            model.live[row][column] = value;
                        }
                        break;
                    case 5:
                        EXPECT_EQ(list.remove(row), rows > 0);
                        if (rows > 0)
                            model.live.erase(model.live.begin() + row);
                        break;
                    case 6: {
                        // Sometimes most of the list, so that the store gathers its rows again.
                        std::vector<int> picked = some_rows(rows);
                        if (pick(4) == 0)
                            for (int k = 0; k < rows; ++k)
                                if (pick(10))
                                    picked.push_back(k);
                        std::vector<char> gone(model.live.size(), 0);
                        for (const int k : picked)
                            if (k >= 0 && k < rows)
                                gone[k] = 1;
                        const int expected = static_cast<int>(std::count(gone.begin(), gone.end(), 1));
                        EXPECT_EQ(list.remove_rows(picked), expected);
                        std::vector<reference_model::row> kept;
                        for (int k = 0; k < rows; ++k)
                            if (!gone[k])
                                kept.push_back(model.live[k]);
                        model.live.swap(kept);
                        break;
                    }
                    case 7:
                        EXPECT_EQ(list.clone(row), rows > 0);
                        if (rows > 0)
                            model.live.insert(model.live.begin() + row + 1, model.live[row]);
                        break;
                    case 8: {
                        const std::vector<int> picked = some_rows(std::min(rows, 50));
                        std::vector<char> cloned(model.live.size(), 0);
                        for (const int k : picked)
                            if (k >= 0 && k < rows)
                                cloned[k] = 1;
                        list.clone_rows(picked);
                        std::vector<reference_model::row> grown;
                        for (int k = 0; k < rows; ++k) {
                            grown.push_back(model.live[k]);
                            if (cloned[k])
                                grown.push_back(model.live[k]);
                        }
                        model.live.swap(grown);
                        break;
                    }
                    case 9:
                        if (list.move_up(row))
                            std::swap(model.live[row - 1], model.live[row]);
                        break;
                    case 10:
                        if (list.move_down(row))
                            std::swap(model.live[row + 1], model.live[row]);
                        break;
                    case 11:
                        if (list.move_to_top(row))
                            std::rotate(model.live.begin(), model.live.begin() + row, model.live.begin() + row + 1);
                        break;
                    case 12:
                        if (list.move_to_bottom(row))
                            std::rotate(model.live.begin() + row, model.live.begin() + row + 1, model.live.end());
                        break;
                    case 13: {
                        const int other = pick(rows);
                        EXPECT_EQ(list.swap(row, other), rows > 0);
                        if (rows > 0)
                            std::swap(model.live[row], model.live[other]);
                        break;
                    }
                    case 14: {
                        std::vector<int> order(static_cast<std::size_t>(rows));
                        std::iota(order.begin(), order.end(), 0);
                        std::shuffle(order.begin(), order.end(), random);
                        ASSERT_TRUE(list.reorder_rows(order));
                        std::vector<reference_model::row> moved;
                        for (const int k : order)
                            moved.push_back(model.live[k]);
                        model.live.swap(moved);
                        break;
                    }
                    case 15: {
                        const int column = pick(column_count);
                        const int first = pick(rows);
                        const int last = first + pick(rows - first);
                        list.sort_ascending(first, last, column);
                        if (first < last)
                            model.sort(first, last, column);
                        break;
                    }
                    case 16: {
                        const int column = pick(column_count);
                        list.sort_descending(column);
                        if (rows > 1) {
                            model.sort(0, rows - 1, column);
                            std::reverse(model.live.begin(), model.live.end());
                        }
                        break;
                    }
                    case 17: {
                        const auto seed_of_shuffle = static_cast<std::uint32_t>(random());
                        platform::random_source shuffle(seed_of_shuffle);
                        list.randomize(shuffle);
                        platform::random_source same(seed_of_shuffle);
                        for (int pass = 0; pass < rows; ++pass) {
                            const int a = same.next() % rows;
                            const int b = same.next() % rows;
                            std::swap(model.live[a], model.live[b]);
                        }
                        break;
                    }
                    case 18:
                        list.backup();
                        model.backup = model.live;
                        model.backup_count = rows;
                        break;
                    case 19:
                        list.move_to_backup();
                        model.backup.swap(model.live);
                        model.live.clear();
                        model.backup_count = rows;
                        break;
                    case 20:
                        list.restore();
                        model.live = model.backup;
                        break;
                    case 21:
                        list.restore_and_discard_backup();
                        model.live.swap(model.backup);
                        model.backup.clear();
                        model.backup_count = -1;
                        break;
                    case 22: {
                        const std::vector<int> picked = some_rows(static_cast<int>(model.backup.size()));
                        list.append_rows_from_backup(picked);
                        for (const int k : picked)
                            if (k >= 0 && k < static_cast<int>(model.backup.size()))
                                model.live.push_back(model.backup[k]);
                        const int one = pick(static_cast<int>(model.backup.size()) + 1);
                        EXPECT_EQ(list.append_from_backup(one), one < static_cast<int>(model.backup.size()));
                        if (one < static_cast<int>(model.backup.size()))
                            model.live.push_back(model.backup[one]);
                        break;
                    }
                    case 23:
                        if (pick(3) == 0) {
                            list.discard_backup();
                            model.backup.clear();
                            model.backup_count = -1;
                        }
                        break;
                    case 24:
                        if (pick(4) == 0) {
                            list.clear();
                            model.live.clear();
                        }
                        break;
                    default: {
                        // Long texts rewritten many times leave the arena mostly garbage.
                        const std::string name = "N" + std::to_string(pick(3));
                        list.set_list_name_of_all(name);
                        for (auto& cells : model.live)
                            cells[ListName] = name;
                        if (pick(3) == 0)
                            for (int k = 0; k < rows; ++k) {
                                const std::string comment(3000, static_cast<char>('a' + pick(26)));
                                ASSERT_TRUE(list.set_cell(Comment, k, comment));
                                model.live[k][Comment] = comment;
                            }
                        break;
                    }
                }
            }
            expect_same(list, model, "seed " + std::to_string(seed) + " batch " + std::to_string(batch));
            if (testing::Test::HasFatalFailure())
                return;
        }
    }
}

// More distinct values of a column than two bytes number: the cells widen page by page, also in a page a snapshot
// still shares, and each side keeps its own cells.
TEST(MediaList, ManyDistinctValuesKeepTheirCells) {
    const auto artist = [](int k) { return std::string("A").append(std::to_string(k)); };
    media_list list;
    for (int k = 0; k < 60000; ++k)
        list.append(info_of(std::string("/m/").append(std::to_string(k)), artist(k)), "L");
    const media_list::snapshot before = list.take_snapshot();
    for (int k = 60000; k < 70000; ++k)
        list.append(info_of(std::string("/m/").append(std::to_string(k)), artist(k)), "L");
    ASSERT_TRUE(list.set_cell(Artist, 5, "late name"));
    ASSERT_TRUE(list.set_cell(Song, 6, "late song"));
    for (int k = 0; k < list.count(); ++k) {
        ASSERT_EQ(list.cell(Artist, k), k == 5 ? "late name" : artist(k)) << k;
        ASSERT_EQ(list.song(k), k == 6 ? "late song" : "v1") << k;
        ASSERT_EQ(list.full_path(k), std::string("/m/").append(std::to_string(k))) << k;
    }
    list.restore_snapshot(before);
    ASSERT_EQ(list.count(), 60000);
    for (int k = 0; k < list.count(); ++k)
        ASSERT_EQ(list.cell(Artist, k), artist(k)) << k;
    EXPECT_EQ(list.song(6), "v1");
}

// The ranked sort (interned columns) against the list's quicksort on the same keys: the same rows in the same
// places, ties included, for few and many distinct keys, small parts and parts split over two threads.
TEST(MediaListSort, RankedSortEndsAsTheQuicksort) {
    std::mt19937 random(21);
    for (const std::uint32_t distinct : {1u, 2u, 7u, 360u, 1000000u})
        for (const int size : {2, 3, 127, 128, 129, 1000, 300000}) {
            std::vector<sort_entry> entries;
            std::vector<std::uint64_t> ranked;
            std::vector<std::uint32_t> ranks(static_cast<std::size_t>(size));
            for (int row = 0; row < size; ++row) {
                ranks[static_cast<std::size_t>(row)] = static_cast<std::uint32_t>(random() % distinct);
                // Runs of one key, as an album's rows repeat a year.
                if (row > 0 && random() % 4 == 0)
                    ranks[static_cast<std::size_t>(row)] = ranks[static_cast<std::size_t>(row) - 1];
                entries.push_back({ranks[static_cast<std::size_t>(row)], nullptr, 0, row});
                ranked.push_back(static_cast<std::uint64_t>(ranks[static_cast<std::size_t>(row)]) << 32 |
                                 static_cast<std::uint32_t>(row));
            }
            sort_entries(entries);
            sort_ranked(ranked);
            for (std::size_t k = 0; k < entries.size(); ++k)
                ASSERT_EQ(static_cast<int>(ranked[k] & 0xFFFFFFFFu), entries[k].row)
                    << distinct << " " << size << " " << k;
        }
}

// The byte sort against the quicksort on keys long enough to be read eight bytes at a time many times over: long
// shared starts (deeper than the byte sort goes before comparing), zero bytes, prefixes of one another, parts
// large enough to be split by bytes and on two threads. Distinct keys end in the one order; equal ones are marked.
TEST(MediaListSort, ByteSortOrdersKeysAsTheQuicksort) {
    std::mt19937 random(5);
    const std::vector<std::string> pieces = {"a", "b", std::string(1, '\0'), "Folder name/", std::string(150, 'x')};
    for (const int size : {5, 600, 200000})
        for (const bool with_ties : {false, true}) {
            std::vector<std::string> keys;
            for (int row = 0; row < size; ++row) {
                std::string key;
                for (int k = static_cast<int>(random() % 6); k >= 0; --k)
                    key += pieces[random() % pieces.size()];
                keys.push_back(key + (with_ties ? "" : std::to_string(row)));
            }
            std::vector<sort_entry> by_bytes;
            for (int row = 0; row < size; ++row)
                by_bytes.push_back(make_sort_entry(keys[static_cast<std::size_t>(row)], row));
            std::vector<sort_entry> by_quicksort = by_bytes;
            const bool distinct = sort_distinct_keys(by_bytes);
            sort_entries(by_quicksort);
            EXPECT_EQ(distinct, std::set<std::string>(keys.begin(), keys.end()).size() == keys.size()) << size;
            for (std::size_t k = 0; k < by_bytes.size(); ++k) {
                ASSERT_EQ(keys[static_cast<std::size_t>(by_bytes[k].row)],
                          keys[static_cast<std::size_t>(by_quicksort[k].row)])
                    << size << " " << k;
                if (!with_ties) {
                    ASSERT_EQ(by_bytes[k].row, by_quicksort[k].row);
                }
                const bool same = k > 0 && keys[static_cast<std::size_t>(by_bytes[k].row)] ==
                                               keys[static_cast<std::size_t>(by_bytes[k - 1].row)];
                ASSERT_EQ((by_bytes[k].size & same_as_previous) != 0, same) << size << " " << k;
            }
        }
}

TEST(MyComputerList, BareNameAndFolderQuality) {
    my_computer_list list;
    EXPECT_TRUE(list.append(info_of("/m/my_song (1).mp3", "A", "200", "128kbits")));
    EXPECT_TRUE(list.append(info_of("/m/b.wav", "B", "0", "1411")));
    EXPECT_TRUE(list.append(info_of("/m/c.flac", "C", "36000", "900")));
    ASSERT_EQ(list.count(), 3);
    EXPECT_EQ(list.cell(Media, 0), "my_song (1).mp3");
    EXPECT_EQ(list.cell(Quality, 0), "128kbitskbits");
    EXPECT_EQ(list.cell(Length, 0), "03:20");
    EXPECT_EQ(list.cell(Artist, 0), "A");
    EXPECT_EQ(list.cell(Info13, 0), "v13");
    EXPECT_EQ(list.cell(Quality, 1), "44100hz");
    EXPECT_EQ(list.cell(Length, 1), "");
    EXPECT_EQ(list.cell(Quality, 2), "900");
    EXPECT_EQ(list.cell(Length, 2), "10:00:00");
    EXPECT_EQ(list.full_path(2), "/m/c.flac");
    EXPECT_EQ(list.cell(ListName, 0), "");
    EXPECT_EQ(list.cell(Media, 3), "");
    list.clear();
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(list.full_path(0), "");
}

} // namespace
} // namespace karvo
