// SPDX-License-Identifier: GPL-3.0-or-later
#include "addons/resource/file_replacement.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

#include "platform/descriptor.h"

namespace karvo::resource {
namespace {

using platform::descriptor;

// copy_file_range shares blocks where the file system can (a near-instant copy); plain reads and writes elsewhere.
bool copy_contents(int from, int to, off_t size) {
    off_t done = 0;
    bool ranges = true;
    std::vector<char> buffer;
    while (done < size) {
        ssize_t n;
        if (ranges) {
            n = ::copy_file_range(from, nullptr, to, nullptr, static_cast<std::size_t>(size - done), 0);
            if (n < 0 && (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP)) {
                ranges = false;
                if (::lseek(from, done, SEEK_SET) < 0 || ::lseek(to, done, SEEK_SET) < 0)
                    return false;
                continue;
            }
        } else {
            buffer.resize(1 << 20);
            n = ::read(from, buffer.data(), buffer.size());
            for (ssize_t written = 0; n > 0 && written < n;) {
                const ssize_t w = ::write(to, buffer.data() + written, static_cast<std::size_t>(n - written));
                if (w < 0 && errno == EINTR)
                    continue;
                if (w <= 0)
                    return false;
                written += w;
            }
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return n == 0 && done == size; // a file that shrank while copied is not copied
        done += n;
    }
    return true;
}

std::string folder_of(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

constexpr const char* copy_prefix = ".karvo-";

// Copies of `name` whose writer was killed (its process is gone) are removed. A live writer's copy, and any file
// named so by chance, stays: the name must carry a process number that no longer runs.
void remove_abandoned_copies(const std::string& folder, const std::string& suffix) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return;
    const std::string prefix = copy_prefix;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name.size() <= prefix.size() + suffix.size() || name.substr(0, prefix.size()) != prefix ||
            name.substr(name.size() - suffix.size()) != suffix)
            continue;
        char* end = nullptr;
        const long pid = std::strtol(entry->d_name + prefix.size(), &end, 10);
        if (pid > 0 && end && *end == '-' && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH)
            ::unlinkat(::dirfd(dir), entry->d_name, 0);
    }
    ::closedir(dir);
}

} // namespace

file_replacement::file_replacement(const std::string& path, fault_hook hook) : hook_(std::move(hook)) {
    // The link's target is what changes; replacing the link itself would cut it loose.
    char resolved[PATH_MAX];
    if (!::realpath(path.c_str(), resolved)) {
        fail("the file cannot be found", errno);
        return;
    }
    target_ = resolved;
    const descriptor source(::open(target_.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    struct stat info {};
    if (source.get() < 0 || ::fstat(source.get(), &info) != 0) {
        fail("the file cannot be read", errno);
        return;
    }
    if (!S_ISREG(info.st_mode)) {
        fail("not a regular file", 0);
        return;
    }
    if (::access(target_.c_str(), W_OK) != 0) {
        fail("the file is read-only", errno);
        return;
    }
    // A hidden name beside the file, so the rename stays within one file system. It ends like the original, so
    // whoever picks a reader by the extension picks the same one; short enough for any name.
    const std::string name = target_.substr(target_.rfind('/') + 1);
    const std::string suffix = std::string("-").append(name, name.size() > 200 ? name.size() - 200 : 0);
    remove_abandoned_copies(folder_of(target_), suffix);
    std::string pattern = folder_of(target_) + "/" + copy_prefix + std::to_string(::getpid()) + "-XXXXXX" + suffix;
    descriptor copy(::mkostemps(pattern.data(), static_cast<int>(suffix.size()), O_CLOEXEC));
    if (copy.get() < 0) {
        fail("no copy can be made in the file's folder", errno);
        return;
    }
    copy_ = pattern;
    if (!step("copy")) {
        fail("the copy failed", EIO);
        return;
    }
    if (!copy_contents(source.get(), copy.get(), info.st_size)) {
        fail("the copy failed", errno);
        return;
    }
    // Owner first: changing it clears the set-id bits that the mode then restores.
    const int owner_changed = ::fchown(copy.get(), info.st_uid, info.st_gid);
    static_cast<void>(owner_changed); // only the owner or root may; the user's own copy is then theirs
    if (::fchmod(copy.get(), info.st_mode & 07777) != 0 || !copy.close())
        fail("the copy failed", errno);
}

file_replacement::~file_replacement() {
    if (!committed_ && !copy_.empty())
        ::unlink(copy_.c_str());
}

bool file_replacement::fail(const std::string& what, int error_number) {
    error_ = what;
    if (error_number != 0)
        error_ += std::string(" (") + std::strerror(error_number) + ")";
    return false;
}

bool file_replacement::commit() {
    if (!ok())
        return false;
    errno = 0;
    {
        descriptor copy(::open(copy_.c_str(), O_RDONLY | O_CLOEXEC));
        if (copy.get() < 0 || !step("sync") || ::fsync(copy.get()) != 0 || !copy.close())
            return fail("the changed file could not be written to disk", errno ? errno : EIO);
    }
    errno = 0;
    if (!step("rename") || ::rename(copy_.c_str(), target_.c_str()) != 0)
        return fail("the file could not be replaced", errno ? errno : EIO);
    committed_ = true;
    // The rename itself reaches the disk with the folder.
    const descriptor folder(::open(folder_of(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() >= 0)
        ::fsync(folder.get());
    return true;
}

} // namespace karvo::resource
