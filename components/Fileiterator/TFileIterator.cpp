// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/Fileiterator/TFileIterator.h"

#include <ctime>
#include <algorithm>
#include <unordered_set>
#include <vector>

#include "platform/case_fold.h"
#include "platform/directory_reader.h"

namespace karvo {

std::uint32_t dos_date_time(std::int64_t seconds) {
    const std::time_t t = static_cast<std::time_t>(seconds);
    std::tm local{};
    if (localtime_r(&t, &local) == nullptr)
        return 0;
    const int year = local.tm_year + 1900;
    if (year < 1980 || year > 2107)
        return 0;
    return static_cast<std::uint32_t>(year - 1980) << 25 | static_cast<std::uint32_t>(local.tm_mon + 1) << 21 |
           static_cast<std::uint32_t>(local.tm_mday) << 16 | static_cast<std::uint32_t>(local.tm_hour) << 11 |
           static_cast<std::uint32_t>(local.tm_min) << 5 | static_cast<std::uint32_t>(local.tm_sec / 2);
}

// One walk: the path of the folder being read is kept in one buffer that grows and shrinks with the recursion, so
// that a file costs no allocation beyond what its handlers do.
class TFileIterator::walk {
public:
    walk(TFileIterator& owner, const std::atomic<bool>* stop) : owner_(owner), stop_(stop) {}

    void run() {
        path_ = owner_.root_folder_;
        if (path_.empty())
            return; // never the file-system root by accident
        if (path_.back() == '/')
            path_.pop_back();
        platform::directory_reader root(path_.empty() ? std::string("/") : path_);
        folder(root);
    }

private:
    bool stopping() const {
        return owner_.state_.load(std::memory_order_relaxed) == state::cancelling ||
               (stop_ != nullptr && stop_->load(std::memory_order_relaxed));
    }

    void folder(platform::directory_reader& reader) {
        platform::folder_identity id;
        if (!reader.identity(id) || !visited_.insert(id).second)
            return;
        const TFileIteratorOptions options = owner_.options_;
        const std::size_t base = path_.size();
        // Entries in name order (the directory's own order is arbitrary), files and folders as they fall.
        struct entry {
            std::string name;
            platform::entry_kind kind;
        };
        std::vector<entry> entries;
        while (!stopping() && reader.next()) {
            const platform::entry_kind kind = reader.kind();
            if (kind == platform::entry_kind::file ||
                (kind == platform::entry_kind::directory && (options & fiRecurseFolders) != 0 &&
                 reader.name().front() != '.'))
                entries.push_back({std::string(reader.name()), kind});
        }
        std::sort(entries.begin(), entries.end(),
                  [](const entry& a, const entry& b) { return platform::name_less(a.name, b.name); });
        for (const entry& e : entries) {
            if (stopping())
                break;
            const std::string_view name = e.name;
            if (e.kind == platform::entry_kind::directory) {
                platform::directory_reader sub(reader, name);
                append_name(base, name);
                folder(sub);
                continue;
            }
            TFileInfo info;
            if ((options & fiDetails) != 0 && !fill_details(reader, name, info))
                continue; // gone since it was listed
            const std::string* file_name = &path_;
            if ((options & fiPath) != 0) {
                append_name(base, name);
            } else {
                name_.assign(name);
                file_name = &name_;
            }
            bool accept = true;
            if (owner_.OnAddFileQuery)
                owner_.OnAddFileQuery(owner_, *file_name, info, accept);
            if (accept && owner_.OnAddFile)
                owner_.OnAddFile(owner_, *file_name, info);
        }
        path_.resize(base);
    }

    void append_name(std::size_t base, std::string_view name) {
        path_.resize(base);
        path_ += '/';
        path_ += name;
    }

    static bool fill_details(const platform::directory_reader& reader, std::string_view name, TFileInfo& info) {
        std::uint64_t size = 0;
        std::int64_t modified = 0;
        std::uint32_t attributes = 0;
        if (!reader.details_of(name, size, modified, attributes))
            return false;
        info.Size = static_cast<std::uint32_t>(size);
        info.Time = dos_date_time(modified);
        info.Attr = attributes;
        return true;
    }

    TFileIterator& owner_;
    const std::atomic<bool>* stop_;
    std::string path_;
    std::string name_;
    std::unordered_set<platform::folder_identity, platform::folder_identity_hash> visited_;
};

void TFileIterator::require_idle_for_change() const {
    if (!IsIdle())
        throw file_iterator_error(options_on_fly_text);
}

void TFileIterator::SetRootFolder(const std::string& folder) {
    require_idle_for_change();
    root_folder_ = folder;
}

void TFileIterator::SetOptions(TFileIteratorOptions options) {
    require_idle_for_change();
    options_ = options & all_file_iterator_options;
}

void TFileIterator::Iterate() {
    run(nullptr);
}

void TFileIterator::run(const std::atomic<bool>* stop) {
    state expected = state::idle;
    if (!state_.compare_exchange_strong(expected, state::running))
        throw file_iterator_error(iterator_busy_text);
    if (!OnAddFile && !OnAddFileQuery) {
        state_.store(state::idle);
        return;
    }
    std::exception_ptr error;
    try {
        if (OnActivate)
            OnActivate(*this);
        walk(*this, stop).run();
    } catch (...) {
        error = std::current_exception();
    }
    // The iterator must come back to idle even when OnTerminate itself throws.
    try {
        if (OnTerminate)
            OnTerminate(*this);
    } catch (...) {
        if (!error)
            error = std::current_exception();
    }
    state_.store(state::idle);
    if (error)
        std::rethrow_exception(error);
}

void TFileIterator::Cancel() {
    state expected = state::running;
    state_.compare_exchange_strong(expected, state::cancelling);
}

TFileIteratorThread::~TFileIteratorThread() {
    Terminate();
    if (!thread_.joinable())
        return;
    // Destroyed from the completion callback: the worker touches nothing of this object after the callback.
    if (thread_.get_id() == std::this_thread::get_id())
        thread_.detach();
    else
        thread_.join();
}

bool TFileIteratorThread::Start(completion on_done) {
    if (started_)
        return false;
    started_ = true;
    // The worker waits at the gate until thread_ is assigned: a walk that ends at once and whose callback destroys
    // this object must not race the assignment.
    std::unique_lock gate(start_gate_);
    thread_ = std::thread([this, done = std::move(on_done)] {
        { std::lock_guard pass(start_gate_); }
        std::exception_ptr error;
        try {
            if (!terminated_.load())
                Iterator.run(&terminated_);
        } catch (...) {
            error = std::current_exception();
        }
        finished_.store(true);
        if (done)
            done(error);
    });
    return true;
}

void TFileIteratorThread::Terminate() {
    terminated_.store(true);
    Iterator.Cancel();
}

void TFileIteratorThread::WaitFor() {
    if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id())
        thread_.join();
}

} // namespace karvo
