// SPDX-License-Identifier: GPL-3.0-or-later
// A recursive scan of 10,000 files in 500 folders by the file iterator and by the ScanDir scanner, against a bare
// opendir/readdir walk of the same tree in the same run. All runs see a warm directory cache.
#include <benchmark/benchmark.h>
#include <dirent.h>
#include <stdlib.h>
#include <time.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "components/Fileiterator/TFileIterator.h"
#include "library/folder_scanner.h"
#include "library/media_entry.h"
#include "library/media_list.h"

namespace {

std::string tree_root;
constexpr int top_folders = 25, sub_folders = 19, files_per_folder = 20; // 500 folders, 10,000 files

void make_tree() {
    char name[] = "/tmp/karvo-scan-bench-XXXXXX";
    if (mkdtemp(name) == nullptr)
        throw std::runtime_error("cannot create the bench folder");
    tree_root = name;
    static const char* extensions[] = {".mp3", ".ogg", ".flac", ".txt", ".jpg"};
    const auto fill = [](const std::string& folder) {
        std::filesystem::create_directories(folder);
        for (int f = 0; f < files_per_folder; ++f)
            std::ofstream(folder + "/track number " + std::to_string(f) + extensions[f % 5]);
    };
    for (int t = 0; t < top_folders; ++t) {
        const std::string top = tree_root + "/artist " + std::to_string(t);
        fill(top);
        for (int s = 0; s < sub_folders; ++s)
            fill(top + "/album " + std::to_string(s));
    }
}

long readdir_walk(const std::string& folder) {
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr)
        return 0;
    long files = 0;
    while (const dirent* entry = readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue;
        if (entry->d_type == DT_DIR)
            files += readdir_walk(folder + "/" + entry->d_name);
        else
            ++files;
    }
    closedir(dir);
    return files;
}

void BM_ReaddirWalk(benchmark::State& state) {
    for (auto _ : state) {
        const long files = readdir_walk(tree_root);
        if (files != 10000)
            state.SkipWithError("wrong file count");
        benchmark::DoNotOptimize(files);
    }
}

// The iterator set to walk the whole tree, counting the files it hands over in `files`.
void walk_counting_files(karvo::TFileIterator& it, long& files) {
    it.SetRootFolder(tree_root);
    it.SetOptions(karvo::fiPath | karvo::fiRecurseFolders);
    it.OnAddFile = [&files](karvo::TFileIterator&, const std::string& path, const karvo::TFileInfo&) {
        benchmark::DoNotOptimize(path.data());
        ++files;
    };
}

void BM_FileIterator(benchmark::State& state) {
    karvo::TFileIterator it;
    long files = 0;
    walk_counting_files(it, files);
    for (auto _ : state) {
        files = 0;
        it.Iterate();
        if (files != 10000)
            state.SkipWithError("wrong file count");
    }
}

// ScanDir as "Add Directory" runs it: the media-file test on every file, a playlist entry for each of the 6,000
// media files. The media information is a fixed string, so the plug-in's own cost is left out.
void BM_ScanDir(benchmark::State& state) {
    karvo::media_files media;
    media.load({"MP3", "OGG", "FLAC", "WAV"}, {});
    karvo::folder_scanner scanner(media);
    karvo::media_fields fields;
    fields[1] = "Song";
    const std::string info = karvo::make_media_info(fields);
    for (auto _ : state) {
        karvo::media_list playlist;
        const int added = scanner.scan_dir(tree_root, playlist, [&info](const std::string&) { return info; }, {});
        if (added != 6000)
            state.SkipWithError("wrong media count");
    }
}

double thread_seconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// The two walks alternate inside one iteration, timed by this thread's CPU clock, so that other load on the
// machine slows both alike; the counter is the iterator's time over the readdir walk's.
void BM_IteratorOverReaddir(benchmark::State& state) {
    karvo::TFileIterator it;
    long files = 0;
    walk_counting_files(it, files);
    double readdir_time = 0, iterator_time = 0;
    for (auto _ : state) {
        double start = thread_seconds();
        benchmark::DoNotOptimize(readdir_walk(tree_root));
        readdir_time += thread_seconds() - start;
        start = thread_seconds();
        it.Iterate();
        iterator_time += thread_seconds() - start;
    }
    state.counters["ratio"] = iterator_time / readdir_time;
}

BENCHMARK(BM_ReaddirWalk)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FileIterator)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScanDir)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IteratorOverReaddir)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

int main(int argc, char** argv) {
    make_tree();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(tree_root);
    return 0;
}
