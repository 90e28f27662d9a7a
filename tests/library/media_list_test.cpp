// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "library/media_list.h"
#include "library/my_computer_list.h"
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

sort_case random_list(unsigned seed, int count) {
    std::mt19937 random(seed);
    sort_case made;
    for (int id = 0; id < count; ++id) {
        const std::string key = random_key(random);
        made.list.append(
            info_of("/m/" + std::to_string(id) + ".mp3", key, std::to_string(id + 1), "1", std::to_string(id)),
            "L" + std::to_string(id));
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
    for (const unsigned seed : {1u, 2u, 3u}) {
        for (const int count : {1, 2, 3, 17, 300}) {
            sort_case made = random_list(seed, count);
            made.list.sort_ascending(0, count - 1, Artist);
            reference_quicksort(made.rows, 0, count - 1);
            expect_rows(made.list, made.rows);

            std::vector<std::string> keys = column_of(made.list, Artist);
            std::vector<std::string> expected = keys;
            std::sort(expected.begin(), expected.end(),
                      [](const std::string& a, const std::string& b) { return compare_upper(a, b) < 0; });
            for (std::size_t k = 0; k < keys.size(); ++k)
                EXPECT_EQ(compare_upper(keys[k], expected[k]), 0) << seed << " " << count << " " << k;
        }
    }
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
