// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/file_system.h"

#include "platform/case_fold.h"
#include "platform/directory_reader.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sstream>
#include <unistd.h>
#include <unordered_map>
#include <unordered_set>
#include <system_error>
#include <thread>

namespace karvo::platform {

namespace {

// '*' any run (also empty), '?' exactly one character; backtracks to the last star only, which is enough for
// patterns without character classes.
bool glob_match(const std::u32string& pattern, const std::u32string& name) {
    std::size_t p = 0, n = 0;
    std::size_t star = std::u32string::npos, star_n = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == U'?' || pattern[p] == name[n])) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == U'*') {
            star = p++;
            star_n = n;
        } else if (star != std::u32string::npos) {
            p = star + 1;
            n = ++star_n;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == U'*')
        ++p;
    return p == pattern.size();
}

bool has_dot(const std::u32string& name) {
    return name.find(U'.') != std::u32string::npos;
}

std::uint32_t attributes_from(const std::string& name, const struct stat* followed) {
    // A dangling link counts as a plain file.
    return followed != nullptr ? attributes_for(name, followed->st_mode) : attributes_for(name, S_IFREG | S_IWUSR);
}

std::string without_trailing_slashes(std::string path) {
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

bool write_all(int fd, std::string_view content) {
    std::size_t done = 0;
    while (done < content.size()) {
        const ssize_t written = ::write(fd, content.data() + done, content.size() - done);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += static_cast<std::size_t>(written);
    }
    return true;
}

void sync_folder(const std::string& folder) {
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// A unique name beside the target, created exclusively so that two writers never share it. The mode is the old
// file's, or the usual 0666 less the umask for a new one.
int create_temporary(const std::string& target, std::string& temporary_path) {
    static std::atomic<unsigned> counter{0};
    struct stat old {};
    const bool has_old = ::stat(target.c_str(), &old) == 0;
    const mode_t mode = has_old ? (old.st_mode & 07777) : 0666;
    const std::string folder = folder_of(target);
    const std::string name = file_name_of(target);
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary_path =
            folder + "." + name + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(counter.fetch_add(1));
        const int fd = ::open(temporary_path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0) {
            if (has_old)
                ::fchmod(fd, mode); // the umask must not narrow an existing file's permissions
            return fd;
        }
        if (errno != EEXIST)
            return -1;
    }
    return -1;
}

} // namespace

std::uint32_t attributes_for(std::string_view name, std::uint32_t mode) {
    std::uint32_t attributes = 0;
    if (!name.empty() && name[0] == '.')
        attributes |= attr_hidden;
    if (S_ISDIR(mode))
        return attributes | attr_directory; // never read-only, as on Windows
    if (S_ISREG(mode))
        attributes |= attr_archive;
    if ((mode & S_IWUSR) == 0)
        attributes |= attr_readonly;
    return attributes;
}

bool wildcard_match(const std::string& pattern, const std::string& name) {
    const std::u32string p = fold_case(pattern);
    const std::u32string n = fold_case(name);
    if (p == U"*" || p == U"*.*")
        return true;
    if (glob_match(p, n))
        return true;
    // DOS rules: "name.*" also takes a name without extension, and a trailing dot stands for "no extension".
    if (p.size() >= 2 && p.compare(p.size() - 2, 2, U".*") == 0 && !has_dot(n))
        return glob_match(p.substr(0, p.size() - 2), n);
    if (p.size() >= 2 && p.back() == U'.' && p[p.size() - 2] != U'.' && !has_dot(n))
        return glob_match(p.substr(0, p.size() - 1), n);
    return false;
}

std::optional<std::uint32_t> file_attributes(const std::string& path) {
    const std::string clean = without_trailing_slashes(path);
    struct stat link {};
    if (clean.empty() || ::lstat(clean.c_str(), &link) != 0)
        return std::nullopt;
    struct stat followed {};
    const bool resolved = !S_ISLNK(link.st_mode) || ::stat(clean.c_str(), &followed) == 0;
    if (!S_ISLNK(link.st_mode))
        followed = link;
    return attributes_from(file_name_of(clean), resolved ? &followed : nullptr);
}

std::vector<find_entry> find_files(const std::string& folder, const std::string& pattern) {
    std::vector<find_entry> entries;
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr)
        return entries;
    const int dir_fd = ::dirfd(dir);
    while (const dirent* item = ::readdir(dir)) {
        const std::string name = item->d_name;
        if (name == "." || name == ".." || !wildcard_match(pattern, name))
            continue;
        struct stat st {};
        bool resolved = ::fstatat(dir_fd, name.c_str(), &st, 0) == 0;
        if (!resolved && ::fstatat(dir_fd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
            continue; // vanished since readdir
        find_entry entry;
        entry.name = name;
        entry.attributes = attributes_from(name, resolved ? &st : nullptr);
        entry.size = (resolved && S_ISREG(st.st_mode)) ? static_cast<std::uint64_t>(st.st_size) : 0;
        entry.modified = st.st_mtim.tv_sec;
        entries.push_back(std::move(entry));
    }
    ::closedir(dir);
    return entries;
}

bool file_exists(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

namespace {

// Marks which of `members` (indexes into `paths`, all in `folder`) name an existing file. A folder holding a few
// of them gets a look-up per name from one handle; one holding more is read once, which costs less.
void mark_files_of_folder(std::string_view folder, const std::vector<std::size_t>& members,
                          const std::vector<std::string_view>& paths, std::vector<char>& present) {
    constexpr std::size_t listing_threshold = 8;
    const std::string folder_path(folder);
    if (!folder.empty() && members.size() >= listing_threshold) {
        directory_reader reader(folder_path);
        if (reader.is_open()) {
            std::string arena;
            std::vector<std::pair<std::size_t, std::size_t>> spans;
            bool unsure = false; // devices, FIFOs, broken links: the plain test decides for the paths naming one
            while (reader.next()) {
                const entry_kind kind = reader.kind();
                if (kind == entry_kind::directory)
                    continue;
                unsure = unsure || kind == entry_kind::other;
                spans.emplace_back(arena.size(), reader.name().size());
                arena += reader.name();
            }
            std::unordered_set<std::string_view> files;
            files.reserve(spans.size());
            for (const auto& [at, size] : spans)
                files.emplace(arena.data() + at, size);
            for (const std::size_t k : members) {
                const bool listed = files.count(paths[k].substr(folder.size())) > 0;
                present[k] = listed && (!unsure || file_exists(std::string(paths[k])));
            }
            return;
        }
    }
    const int dir = folder.empty() ? -1 : ::open(folder_path.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    std::string name;
    for (const std::size_t k : members) {
        struct stat st {};
        if (dir < 0) {
            present[k] = file_exists(std::string(paths[k]));
            continue;
        }
        name.assign(paths[k].substr(folder.size()));
        present[k] = !name.empty() && ::fstatat(dir, name.c_str(), &st, 0) == 0 && !S_ISDIR(st.st_mode);
    }
    if (dir >= 0)
        ::close(dir);
}

} // namespace

std::vector<char> files_exist(const std::vector<std::string_view>& paths) {
    std::vector<char> present(paths.size(), 0);
    std::unordered_map<std::string_view, std::vector<std::size_t>> by_folder;
    std::string_view last_folder;
    std::vector<std::size_t>* last_members = nullptr;
    for (std::size_t k = 0; k < paths.size(); ++k) {
        const std::size_t slash = paths[k].find_last_of('/');
        const std::string_view folder =
            slash == std::string_view::npos ? std::string_view() : paths[k].substr(0, slash + 1);
        // Playlists mostly hold a folder's files one after another: the previous row's group saves a hash.
        if (!last_members || folder != last_folder) {
            last_members = &by_folder[folder];
            last_folder = folder;
        }
        last_members->push_back(k);
    }
    std::vector<const std::pair<const std::string_view, std::vector<std::size_t>>*> groups;
    groups.reserve(by_folder.size());
    for (const auto& group : by_folder)
        groups.push_back(&group);

    // The time goes to the kernel's directory reads: a second thread halves it on a large list. Each worker
    // writes only its own folders' elements of `present`.
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        for (std::size_t g = next++; g < groups.size(); g = next++)
            mark_files_of_folder(groups[g]->first, groups[g]->second, paths, present);
    };
    const unsigned helpers =
        paths.size() < 4096 ? 0u : std::min(3u, std::max(std::thread::hardware_concurrency(), 1u) - 1);
    std::vector<std::thread> threads;
    try {
        for (unsigned t = 0; t < helpers; ++t)
            threads.emplace_back(work);
    } catch (const std::system_error&) {
        // No thread to be had: this one does all of it.
    }
    work();
    for (std::thread& thread : threads)
        thread.join();
    return present;
}

bool directory_exists(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool path_exists(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0;
}

std::optional<file_version> file_version_of(const std::string& path) {
    struct stat st {};
    if (path.empty() || ::stat(path.c_str(), &st) != 0)
        return std::nullopt;
    return file_version{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino),
                        static_cast<std::uint64_t>(st.st_size),
                        static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec,
                        static_cast<std::int64_t>(st.st_ctim.tv_sec) * 1'000'000'000 + st.st_ctim.tv_nsec};
}

bool create_directory(const std::string& path) {
    if (path.empty())
        return false;
    if (::mkdir(path.c_str(), 0777) == 0)
        return true;
    return directory_exists(path);
}

bool create_directories(const std::string& path) {
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1))
        create_directory(path.substr(0, slash));
    return create_directory(path);
}

bool delete_file(const std::string& path) {
    struct stat st {};
    if (path.empty() || ::lstat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode))
        return false;
    return ::unlink(path.c_str()) == 0;
}

bool rename_file(const std::string& from, const std::string& to) {
    if (from.empty() || to.empty())
        return false;
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // File systems without RENAME_NOREPLACE: a hard link fails on an existing target just the same.
    struct stat st {};
    if (::lstat(from.c_str(), &st) == 0 && !S_ISDIR(st.st_mode)) {
        if (::link(from.c_str(), to.c_str()) != 0)
            return false;
        return ::unlink(from.c_str()) == 0;
    }
    if (path_exists(to))
        return false;
    return ::rename(from.c_str(), to.c_str()) == 0;
}

namespace {

std::atomic<read_observer> current_read_observer{nullptr};

} // namespace

void set_read_observer(read_observer observer) {
    current_read_observer.store(observer);
}

file_reader::file_reader(const std::string& path) {
    if (const read_observer observe = current_read_observer.load())
        observe(path);
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat st {};
    if (fd_ >= 0 && ::fstat(fd_, &st) == 0 && S_ISREG(st.st_mode)) {
        size_ = static_cast<std::uint64_t>(st.st_size);
        ::posix_fadvise(fd_, 0, 0, POSIX_FADV_SEQUENTIAL);
    }
}

file_reader::~file_reader() {
    if (fd_ >= 0)
        ::close(fd_);
}

long file_reader::read(char* into, std::size_t capacity) {
    if (fd_ < 0)
        return -1;
    for (;;) {
        const ssize_t got = ::read(fd_, into, capacity);
        if (got >= 0 || errno != EINTR)
            return static_cast<long>(got);
    }
}

std::optional<std::string> read_file(const std::string& path) {
    if (const read_observer observe = current_read_observer.load())
        observe(path);
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    std::string content;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode))
        content.reserve(static_cast<std::size_t>(st.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            ::close(fd);
            return std::nullopt;
        }
        if (got == 0)
            break;
        content.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(fd);
    return content;
}

bool write_file_atomic(const std::string& path, std::string_view content) {
    if (path.empty() || path.back() == '/')
        return false;
    // Replace what a link points at, not the link itself.
    std::string target = path;
    struct stat link {};
    if (::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
        if (char* real = ::realpath(path.c_str(), nullptr)) {
            target = real;
            std::free(real);
        }
    }
    std::string temporary;
    const int fd = create_temporary(target, temporary);
    if (fd < 0)
        return false;
    bool ok = write_all(fd, content) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok)
        ok = ::rename(temporary.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(temporary.c_str());
        return false;
    }
    sync_folder(folder_of(target));
    return true;
}

std::string file_name_of(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string folder_of(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

namespace {

// The writer's process id in a temporary's name, or 0 when the name is not one of ours.
pid_t temporary_writer(const std::string& name) {
    const std::size_t at = name.rfind(".tmp-");
    if (name.empty() || name[0] != '.' || at == std::string::npos)
        return 0;
    const std::string rest = name.substr(at + 5);
    const std::size_t dash = rest.find('-');
    if (dash == 0 || dash == std::string::npos || dash + 1 == rest.size() ||
        rest.find_first_not_of("0123456789-") != std::string::npos || rest.find('-', dash + 1) != std::string::npos)
        return 0;
    return static_cast<pid_t>(std::strtol(rest.substr(0, dash).c_str(), nullptr, 10));
}

} // namespace

int remove_stale_temporaries(const std::string& folder, std::chrono::system_clock::time_point older_than) {
    int removed = 0;
    const std::string base = folder.empty() || folder.back() == '/' ? folder : folder + "/";
    directory_reader reader(base);
    while (reader.next()) {
        const std::string name(reader.name());
        const pid_t writer = temporary_writer(name);
        struct stat info {};
        if (writer <= 0 || ::lstat((base + name).c_str(), &info) != 0 || !S_ISREG(info.st_mode))
            continue;
        const auto written = std::chrono::system_clock::from_time_t(info.st_mtim.tv_sec);
        if (written >= older_than)
            continue;
        const bool writer_gone = ::kill(writer, 0) != 0 && errno == ESRCH;
        if ((writer_gone || written < older_than - std::chrono::hours(24)) && ::unlink((base + name).c_str()) == 0)
            ++removed;
    }
    return removed;
}

std::chrono::system_clock::time_point process_start_time() {
    const auto now = std::chrono::system_clock::now();
    // Field 22 of /proc/self/stat counts clock ticks from boot; /proc/stat's btime is the boot in Unix time.
    const std::optional<std::string> stat = read_file("/proc/self/stat");
    const std::optional<std::string> system = read_file("/proc/stat");
    if (!stat || !system)
        return now;
    const std::size_t close = stat->rfind(')');
    const std::size_t btime = system->find("\nbtime ");
    if (close == std::string::npos || btime == std::string::npos)
        return now;
    std::istringstream fields(stat->substr(close + 2));
    std::string field;
    for (int index = 3; index <= 22 && fields >> field; ++index) {
    }
    const long ticks = ::sysconf(_SC_CLK_TCK);
    const long long boot = std::atoll(system->c_str() + btime + 7);
    if (ticks <= 0 || boot <= 0 || field.empty())
        return now;
    const long long start_ticks = std::atoll(field.c_str());
    return std::chrono::system_clock::from_time_t(static_cast<std::time_t>(boot + start_ticks / ticks));
}

} // namespace karvo::platform
