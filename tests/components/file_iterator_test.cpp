// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/Fileiterator/TFileIterator.h"
#include "platform/case_fold.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <condition_variable>
#include <filesystem>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/file_system.h"
#include "tests/support/raw_file.h"
#include "tests/support/temp_folder.h"

namespace karvo {
namespace {

namespace fs = std::filesystem;
using testing::temp_folder;
using testing::write_raw;

struct recorder {
    std::vector<std::string> events; // "activate", "terminate" and one line per file
    std::vector<TFileInfo> infos;

    void attach(TFileIterator& it) {
        it.OnActivate = [this](TFileIterator&) { events.push_back("activate"); };
        it.OnTerminate = [this](TFileIterator&) { events.push_back("terminate"); };
        it.OnAddFile = [this](TFileIterator&, const std::string& name, const TFileInfo& info) {
            events.push_back(name);
            infos.push_back(info);
        };
    }
    std::vector<std::string> files() const {
        std::vector<std::string> out;
        for (const auto& e : events)
            if (e != "activate" && e != "terminate")
                out.push_back(e);
        return out;
    }
};

// The order a depth-first walk must produce: each entry in the order the file system lists it, a sub-folder
// walked in full before the next entry.
// Depth first, each folder's entries in name order.
void expected_walk(const fs::path& folder, const std::string& shown, std::vector<std::string>& out) {
    std::vector<fs::directory_entry> entries(fs::directory_iterator(folder), fs::directory_iterator{});
    std::sort(entries.begin(), entries.end(), [](const fs::directory_entry& a, const fs::directory_entry& b) {
        return platform::name_less(a.path().filename().string(), b.path().filename().string());
    });
    for (const auto& entry : entries) {
        const std::string name = entry.path().filename().string();
        if (entry.is_directory()) {
            if (name[0] != '.')
                expected_walk(entry.path(), shown + "/" + name, out);
        } else {
            out.push_back(shown + "/" + name);
        }
    }
}

void make_tree(const std::string& root) {
    for (const char* d : {"a", "a/b", "a/b/c", "d", ".hidden", "a/.git"})
        fs::create_directories(root + "/" + d);
    for (const char* f : {"1.mp3", "2.txt", "a/3.mp3", "a/4.wav", "a/b/5.ogg", "a/b/c/6.mp3", "d/7.flac",
                          ".dotfile.mp3", ".hidden/8.mp3", "a/.git/9.mp3", "noext"})
        write_raw(root + "/" + f, "x");
}

TEST(TFileIterator, WalksDepthFirstInNameOrderAndSkipsDotFolders) {
    temp_folder tmp;
    make_tree(tmp.path());
    std::vector<std::string> expected;
    expected_walk(tmp.path(), tmp.path(), expected);
    ASSERT_EQ(expected.size(), 9u); // the two files under dot-folders are not there

    for (const std::string& root : {tmp.path(), tmp.path() + "/"}) {
        TFileIterator it;
        recorder rec;
        rec.attach(it);
        it.SetRootFolder(root);
        it.Iterate();
        EXPECT_EQ(rec.events.front(), "activate");
        EXPECT_EQ(rec.events.back(), "terminate");
        EXPECT_EQ(rec.files(), expected) << "root " << root;
        EXPECT_TRUE(it.IsIdle());
    }
}

TEST(TFileIterator, OptionsDecideNamesRecursionAndDetails) {
    temp_folder tmp;
    make_tree(tmp.path());
    write_raw(tmp.file("sized.bin"), std::string(1234, 'z'));
    chmod(tmp.file("sized.bin").c_str(), 0444);

    struct row {
        TFileIteratorOptions options;
        bool recursive;
        bool full_path;
    };
    for (const row& r : {row{0, false, false}, row{fiPath, false, true}, row{fiRecurseFolders, true, false},
                         row{fiDetails | fiPath, false, true}}) {
        TFileIterator it;
        recorder rec;
        rec.attach(it);
        it.SetRootFolder(tmp.path());
        it.SetOptions(r.options);
        it.Iterate();
        const auto files = rec.files();
        EXPECT_EQ(files.size(), r.recursive ? 10u : 5u) << r.options;
        for (const auto& f : files)
            EXPECT_EQ(f.rfind(tmp.path() + "/", 0) == 0, r.full_path) << f;
        if ((r.options & fiDetails) == 0)
            continue;
        const auto at = std::find(files.begin(), files.end(), tmp.file("sized.bin")) - files.begin();
        ASSERT_LT(static_cast<size_t>(at), files.size());
        const TFileInfo& info = rec.infos[at];
        EXPECT_EQ(info.Size, 1234u);
        EXPECT_EQ(info.Attr, platform::attr_readonly | platform::attr_archive);
        struct stat st;
        ASSERT_EQ(stat(tmp.file("sized.bin").c_str(), &st), 0);
        EXPECT_EQ(info.Time, dos_date_time(st.st_mtime));
        EXPECT_GT(info.Time >> 25, 40u); // a year after 2020
        const auto dot = std::find(files.begin(), files.end(), tmp.file(".dotfile.mp3")) - files.begin();
        EXPECT_EQ(rec.infos[dot].Attr, platform::attr_hidden | platform::attr_archive);
    }
}

TEST(TFileIterator, DosDateTimePacksLocalTime) {
    std::tm t{};
    t.tm_year = 2004 - 1900;
    t.tm_mon = 6; // July
    t.tm_mday = 15;
    t.tm_hour = 13;
    t.tm_min = 45;
    t.tm_sec = 31;
    t.tm_isdst = -1;
    const std::int64_t seconds = mktime(&t);
    EXPECT_EQ(dos_date_time(seconds), (24u << 25) | (7u << 21) | (15u << 16) | (13u << 11) | (45u << 5) | 15u);
    EXPECT_EQ(dos_date_time(0), 0u); // 1970 cannot be written
}

TEST(TFileIterator, QueryCanRefuseAFileAndNoHandlerMeansNoWalk) {
    temp_folder tmp;
    make_tree(tmp.path());
    TFileIterator it;
    recorder rec;
    rec.attach(it);
    it.OnAddFileQuery = [](TFileIterator&, const std::string& name, const TFileInfo&, bool& accept) {
        accept = name.size() > 4 && name.compare(name.size() - 4, 4, ".mp3") == 0;
    };
    it.SetRootFolder(tmp.path());
    it.Iterate();
    auto files = rec.files();
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::string>{tmp.file(".dotfile.mp3"), tmp.file("1.mp3"), tmp.file("a/3.mp3"),
                                               tmp.file("a/b/c/6.mp3")}));

    TFileIterator bare;
    int activations = 0;
    bare.OnActivate = [&](TFileIterator&) { ++activations; };
    bare.OnTerminate = [&](TFileIterator&) { ++activations; };
    bare.SetRootFolder(tmp.path());
    bare.Iterate();
    EXPECT_EQ(activations, 0);
    EXPECT_TRUE(bare.IsIdle());
}

TEST(TFileIterator, ErrorsKeepTheirTextsAndTheIteratorReturnsToIdle) {
    temp_folder tmp;
    make_tree(tmp.path());
    struct row {
        const char* what;
        std::function<void(TFileIterator&)> inside;
        std::string text;
    };
    const std::vector<row> rows = {
        {"re-entered", [](TFileIterator& it) { it.Iterate(); }, iterator_busy_text},
        {"root changed", [&](TFileIterator& it) { it.SetRootFolder(tmp.path()); }, options_on_fly_text},
        {"options changed", [](TFileIterator& it) { it.SetOptions(fiPath); }, options_on_fly_text},
        {"handler failed", [](TFileIterator&) { throw std::runtime_error("boom"); }, "boom"},
    };
    for (const row& r : rows) {
        TFileIterator it;
        recorder rec;
        rec.attach(it);
        it.OnAddFile = [&](TFileIterator& sender, const std::string& name, const TFileInfo&) {
            rec.events.push_back(name);
            r.inside(sender);
        };
        it.SetRootFolder(tmp.path());
        try {
            it.Iterate();
            ADD_FAILURE() << r.what << ": no error";
        } catch (const std::exception& e) {
            EXPECT_EQ(e.what(), r.text) << r.what;
        }
        EXPECT_EQ(rec.files().size(), 1u) << r.what;
        EXPECT_EQ(rec.events.back(), "terminate") << r.what;
        EXPECT_TRUE(it.IsIdle()) << r.what;
        EXPECT_EQ(it.RootFolder(), tmp.path());
        it.SetOptions(fiPath); // allowed again once idle
    }
}

TEST(TFileIterator, CancelStopsBeforeTheNextEntryAtEveryLevel) {
    temp_folder tmp;
    make_tree(tmp.path());
    TFileIterator it;
    recorder rec;
    rec.attach(it);
    it.OnAddFile = [&](TFileIterator& sender, const std::string& name, const TFileInfo&) {
        rec.events.push_back(name);
        if (name.find("/b/c/") != std::string::npos)
            sender.Cancel(); // deepest level
        EXPECT_EQ(sender.IsIdle(), false);
    };
    it.SetRootFolder(tmp.path());
    it.Iterate();
    ASSERT_FALSE(rec.files().empty());
    EXPECT_NE(rec.files().back().find("/b/c/6.mp3"), std::string::npos);
    EXPECT_EQ(rec.events.back(), "terminate");
    EXPECT_TRUE(it.IsIdle());
    it.Cancel(); // idle: nothing to cancel, the next walk runs in full
    rec.events.clear();
    it.OnAddFile = [&](TFileIterator&, const std::string& name, const TFileInfo&) { rec.events.push_back(name); };
    it.Iterate();
    EXPECT_EQ(rec.files().size(), 9u);
}

TEST(TFileIterator, MissingVanishingAndLoopingFoldersEndQuietly) {
    temp_folder tmp;
    make_tree(tmp.path());
    for (int i = 0; i < 20; ++i) {
        fs::create_directories(tmp.file("gone" + std::to_string(i) + "/deeper"));
        write_raw(tmp.file("gone" + std::to_string(i) + "/deeper/x.mp3"), "x");
    }
    fs::create_directory_symlink("..", tmp.file("a/b/up")); // loop to a
    fs::create_directory_symlink(".", tmp.file("d/self"));  // loop to itself
    fs::create_directory_symlink(tmp.path(), tmp.file("d/root"));
    fs::create_symlink(tmp.file("1.mp3"), tmp.file("link.mp3")); // a link to a file is a file
    fs::create_symlink(tmp.file("nowhere"), tmp.file("dangling.mp3"));
    ASSERT_EQ(mkfifo(tmp.file("pipe.mp3").c_str(), 0644), 0);
    const std::string odd = "\xff\xfe-\xe9t\xe9.mp3"; // not UTF-8
    write_raw(tmp.file(odd), "x");

    TFileIterator it;
    recorder rec;
    rec.attach(it);
    bool removed = false;
    std::vector<std::string> after_removal;
    it.OnAddFile = [&](TFileIterator&, const std::string& name, const TFileInfo&) {
        rec.events.push_back(name);
        if (removed)
            after_removal.push_back(name);
        if (!removed) { // the folders still to come vanish while the walk runs
            removed = true;
            for (int i = 0; i < 20; ++i)
                fs::remove_all(tmp.file("gone" + std::to_string(i)));
        }
    };
    it.SetRootFolder(tmp.path());
    it.Iterate();
    auto files = rec.files();
    std::sort(files.begin(), files.end());
    EXPECT_EQ(std::adjacent_find(files.begin(), files.end()), files.end()) << "a file was reported twice";
    for (const auto& f : after_removal)
        EXPECT_EQ(f.find("/gone"), std::string::npos) << f;
    const auto has = [&](const std::string& f) { return std::binary_search(files.begin(), files.end(), f); };
    EXPECT_TRUE(has(tmp.file("link.mp3")));
    EXPECT_TRUE(has(tmp.file(odd)));
    EXPECT_FALSE(has(tmp.file("dangling.mp3")));
    EXPECT_FALSE(has(tmp.file("pipe.mp3")));
    const auto vanished = std::count_if(files.begin(), files.end(),
                                        [](const std::string& f) { return f.find("/gone") != std::string::npos; });
    EXPECT_LE(vanished, 1);                  // only a file seen before the removal
    EXPECT_EQ(files.size() - vanished, 11u); // 9 of the tree, the link and the odd name

    for (const std::string& root : {tmp.file("missing"), tmp.file("1.mp3"), std::string()}) {
        TFileIterator other;
        recorder none;
        none.attach(other);
        other.SetRootFolder(root);
        other.Iterate();
        EXPECT_EQ(none.events, (std::vector<std::string>{"activate", "terminate"})) << root;
    }
}

TEST(TFileIteratorThread, RunsOnAWorkerAndReportsTheEnd) {
    temp_folder tmp;
    make_tree(tmp.path());
    std::mutex m;
    std::condition_variable cv;
    bool done = false;
    std::vector<std::string> files;
    std::exception_ptr error = std::make_exception_ptr(1);
    {
        TFileIteratorThread worker;
        worker.Iterator.SetRootFolder(tmp.path());
        worker.Iterator.OnAddFile = [&](TFileIterator&, const std::string& name, const TFileInfo&) {
            files.push_back(name);
        };
        ASSERT_TRUE(worker.Start([&](std::exception_ptr e) {
            std::lock_guard lock(m);
            error = e;
            done = true;
            cv.notify_all();
        }));
        EXPECT_FALSE(worker.Start());
        std::unique_lock lock(m);
        cv.wait(lock, [&] { return done; });
    }
    EXPECT_EQ(files.size(), 9u);
    EXPECT_EQ(error, nullptr);
}

TEST(TFileIteratorThread, TerminateCancelsARunningWalk) {
    temp_folder tmp;
    make_tree(tmp.path());
    std::mutex m;
    std::condition_variable cv;
    bool first_seen = false, released = false;
    int files = 0;
    TFileIteratorThread worker;
    worker.Iterator.SetRootFolder(tmp.path());
    worker.Iterator.OnAddFile = [&](TFileIterator&, const std::string&, const TFileInfo&) {
        std::unique_lock lock(m);
        ++files;
        first_seen = true;
        cv.notify_all();
        cv.wait(lock, [&] { return released; });
    };
    worker.Start();
    {
        std::unique_lock lock(m);
        cv.wait(lock, [&] { return first_seen; });
        EXPECT_FALSE(worker.Iterator.IsIdle());
        worker.Terminate();
        released = true;
        cv.notify_all();
    }
    worker.WaitFor();
    EXPECT_TRUE(worker.Finished());
    EXPECT_EQ(files, 1);
    EXPECT_TRUE(worker.Iterator.IsIdle());
}

TEST(TFileIteratorThread, HandsOnErrorsAndMayBeDestroyedByItsOwnCallback) {
    temp_folder tmp;
    make_tree(tmp.path());
    // Shared with the detached worker, which may still be unwinding when the test ends.
    struct shared {
        std::mutex m;
        std::condition_variable cv;
        std::string message;
        bool done = false;
    };
    auto state = std::make_shared<shared>();
    auto* worker = new TFileIteratorThread;
    worker->Iterator.SetRootFolder(tmp.path());
    worker->Iterator.OnAddFile = [](TFileIterator&, const std::string&, const TFileInfo&) {
        throw std::runtime_error("handler failed");
    };
    worker->Start([state, worker](std::exception_ptr e) {
        delete worker; // the owner lets go from the callback: no join of itself, nothing leaked
        std::string text;
        try {
            std::rethrow_exception(e);
        } catch (const std::exception& ex) {
            text = ex.what();
        }
        std::lock_guard lock(state->m);
        state->message = text;
        state->done = true;
        state->cv.notify_all();
    });
    std::unique_lock lock(state->m);
    ASSERT_TRUE(state->cv.wait_for(lock, std::chrono::seconds(10), [&] { return state->done; }));
    EXPECT_EQ(state->message, "handler failed");
}

} // namespace
} // namespace karvo
