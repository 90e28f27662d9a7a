// SPDX-License-Identifier: GPL-3.0-or-later
#include "addons/export_copy/folder_copy.h"

#include "library/playlist_files.h"
#include "platform/file_system.h"
#include "platform/paths.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <set>

namespace karvo::copy_export {
namespace {

// Closes a descriptor on every way out.
struct descriptor {
    int fd = -1;
    ~descriptor() {
        if (fd >= 0)
            ::close(fd);
    }
};

bool same_bytes(const std::string& a, const std::string& b) {
    descriptor fa{::open(a.c_str(), O_RDONLY | O_CLOEXEC)};
    descriptor fb{::open(b.c_str(), O_RDONLY | O_CLOEXEC)};
    if (fa.fd < 0 || fb.fd < 0)
        return false;
    constexpr std::size_t chunk = 64 * 1024;
    auto ba = std::make_unique<char[]>(chunk);
    auto bb = std::make_unique<char[]>(chunk);
    for (;;) {
        const ssize_t na = ::read(fa.fd, ba.get(), chunk);
        if (na < 0)
            return false;
        ssize_t nb = 0;
        while (nb < na) { // read b up to the same length, so short reads do not misalign the comparison
            const ssize_t n = ::read(fb.fd, bb.get() + nb, static_cast<std::size_t>(na - nb));
            if (n <= 0)
                break;
            nb += n;
        }
        if (nb != na || std::char_traits<char>::compare(ba.get(), bb.get(), static_cast<std::size_t>(na)) != 0)
            return false;
        if (na == 0)
            return true;
    }
}

bool write_all(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

std::string folder_m3u_name(const std::string& folder) {
    std::string trimmed = folder;
    while (trimmed.size() > 1 && trimmed.back() == '/')
        trimmed.pop_back();
    const std::string name = portable_name(platform::file_name_of(trimmed));
    return (name.empty() ? std::string("Playlist") : name) + ".m3u";
}

} // namespace

std::string portable_name(const std::string& name) {
    std::string out = name;
    for (char& c : out)
        if (static_cast<unsigned char>(c) < 0x20 || std::string_view("\\:*?\"<>|").find(c) != std::string_view::npos)
            c = '_';
    return out;
}

std::string numbered_name(std::size_t position, std::size_t count, const std::string& name) {
    std::size_t width = 2;
    for (std::size_t c = count; c >= 100; c /= 10)
        ++width;
    std::string number = std::to_string(position);
    if (number.size() < width)
        number.insert(0, width - number.size(), '0');
    return number + " - " + name;
}

std::string variant_name(const std::string& name, int n) {
    if (n <= 1)
        return name;
    const auto dot = name.rfind('.');
    const bool has_extension = dot != std::string::npos && dot > 0;
    const std::string stem = has_extension ? name.substr(0, dot) : name;
    const std::string extension = has_extension ? name.substr(dot) : std::string();
    return stem + " (" + std::to_string(n) + ")" + extension;
}

copy_plan plan_copy(const string_list& sources, const std::string& folder, const copy_options& options) {
    copy_plan plan;
    plan.folder = platform::with_trailing_slash(folder);
    std::vector<std::pair<std::string, std::uint64_t>> present;
    for (const std::string& source : sources) {
        struct stat st {};
        if (::stat(source.c_str(), &st) == 0 && S_ISREG(st.st_mode))
            present.emplace_back(source, static_cast<std::uint64_t>(st.st_size));
        else
            plan.missing.push_back(source);
    }

    std::set<std::string> taken; // names this plan gives out
    for (std::size_t i = 0; i < present.size(); ++i) {
        const auto& [source, size] = present[i];
        std::string base = portable_name(platform::file_name_of(source));
        if (options.number_prefix)
            base = numbered_name(i + 1, present.size(), base);
        planned_file file{source, {}, size, false};
        // The first name that is free, or that already holds this very file from an earlier copy.
        for (int n = 1;; ++n) {
            std::string name = variant_name(base, n);
            if (taken.count(name))
                continue;
            const std::string target = plan.folder + name;
            struct stat st {};
            const bool exists = ::lstat(target.c_str(), &st) == 0;
            file.already_there = exists && S_ISREG(st.st_mode) && static_cast<std::uint64_t>(st.st_size) == size &&
                                 same_bytes(source, target);
            if (!exists || file.already_there) {
                file.target_name = std::move(name);
                break;
            }
        }
        taken.insert(file.target_name);
        if (!file.already_there)
            plan.bytes_to_copy += size;
        plan.files.push_back(std::move(file));
    }
    return plan;
}

std::optional<std::uint64_t> free_space(const std::string& folder) {
    struct statvfs st {};
    if (::statvfs(folder.c_str(), &st) != 0)
        return std::nullopt;
    return static_cast<std::uint64_t>(st.f_bavail) * st.f_frsize;
}

bool copy_file_safely(const std::string& source, const std::string& target,
                      const std::function<bool(std::uint64_t bytes)>& keep_going) {
    descriptor in{::open(source.c_str(), O_RDONLY | O_CLOEXEC)};
    if (in.fd < 0)
        return false;
    struct stat st {};
    if (::fstat(in.fd, &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    // A short temporary name in the target folder: the rename then stays on one file system.
    std::string temporary = platform::folder_of(target) + ".karvo-copy-XXXXXX";
    descriptor out{::mkstemp(temporary.data())};
    if (out.fd < 0)
        return false;
    bool ok = true;
    constexpr std::size_t chunk = 1024 * 1024;
    const auto buffer = std::make_unique<char[]>(chunk);
    std::uint64_t done = 0;
    for (;;) {
        const ssize_t n = ::read(in.fd, buffer.get(), chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 || !write_all(out.fd, buffer.get(), static_cast<std::size_t>(n))) {
            ok = false;
            break;
        }
        if (n == 0)
            break;
        done += static_cast<std::uint64_t>(n);
        if (keep_going && !keep_going(done)) {
            ok = false;
            break;
        }
    }
    if (ok)
        ok = ::fchmod(out.fd, st.st_mode & 0777) == 0 || errno == EPERM; // FAT has no modes to set
    ok = ok && ::fsync(out.fd) == 0;
    ok = ::close(out.fd) == 0 && ok;
    out.fd = -1;
    if (ok)
        ok = platform::rename_file(temporary, target); // never over a file that appeared meanwhile
    if (!ok)
        ::unlink(temporary.c_str());
    return ok;
}

copy_result run_copy(const copy_plan& plan, const copy_options& options, const copy_progress& progress) {
    copy_result result;
    const auto room = free_space(plan.folder);
    if (!room || *room < plan.bytes_to_copy) {
        result.status = copy_status::no_space;
        return result;
    }
    std::uint64_t before = 0; // bytes of the files already copied
    for (std::size_t i = 0; i < plan.files.size(); ++i) {
        const planned_file& file = plan.files[i];
        if (progress && !progress(i, before)) {
            result.status = copy_status::cancelled;
            return result;
        }
        if (file.already_there)
            continue;
        bool cancelled = false;
        const bool copied = copy_file_safely(file.source, plan.folder + file.target_name, [&](std::uint64_t bytes) {
            cancelled = progress && !progress(i, before + bytes);
            return !cancelled;
        });
        if (!copied) {
            result.status = cancelled ? copy_status::cancelled : copy_status::failed;
            result.failed_file = cancelled ? std::string() : file.source;
            return result;
        }
        before += file.size;
        ++result.copied;
    }
    if (options.write_m3u && !plan.files.empty()) {
        string_list names;
        for (const planned_file& file : plan.files)
            names.push_back(file.target_name);
        const std::string m3u = plan.folder + folder_m3u_name(plan.folder);
        if (!write_m3u(m3u, names)) {
            result.status = copy_status::failed;
            result.failed_file = m3u;
            return result;
        }
        result.m3u = m3u;
    }
    return result;
}

} // namespace karvo::copy_export
