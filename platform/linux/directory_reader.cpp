#include "platform/directory_reader.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include "platform/file_system.h"

namespace karvo::platform {
namespace {

DIR* as_dir(void* dir) { return static_cast<DIR*>(dir); }

bool stat_entry(void* dir, std::string_view name, struct stat& st) {
    // The name comes from the dirent of this reader, so it is NUL-terminated in place.
    return ::fstatat(::dirfd(as_dir(dir)), name.data(), &st, 0) == 0;
}

entry_kind kind_of_mode(mode_t mode) {
    if (S_ISDIR(mode)) return entry_kind::directory;
    if (S_ISREG(mode)) return entry_kind::file;
    return entry_kind::other;
}

} // namespace

directory_reader::directory_reader(const std::string& folder) {
    if (!folder.empty()) dir_ = ::opendir(folder.c_str());
}

directory_reader::directory_reader(const directory_reader& parent, std::string_view name) {
    if (!parent.is_open()) return;
    const int fd = ::openat(::dirfd(as_dir(parent.dir_)), std::string(name).c_str(),
                            O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    dir_ = ::fdopendir(fd);
    if (dir_ == nullptr) ::close(fd);
}

directory_reader::~directory_reader() {
    if (dir_ != nullptr) ::closedir(as_dir(dir_));
}

bool directory_reader::identity(folder_identity& id) const {
    struct stat st;
    if (dir_ == nullptr || ::fstat(::dirfd(as_dir(dir_)), &st) != 0) return false;
    id = {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
    return true;
}

bool directory_reader::next() {
    if (dir_ == nullptr) return false;
    while (const dirent* entry = ::readdir(as_dir(dir_))) {
        const char* n = entry->d_name;
        if (n[0] == '.' && (n[1] == '\0' || (n[1] == '.' && n[2] == '\0'))) continue;
        name_ = std::string_view(n, std::strlen(n));
        type_ = entry->d_type;
        return true;
    }
    name_ = {};
    return false;
}

entry_kind directory_reader::kind() {
    switch (type_) {
    case DT_DIR: return entry_kind::directory;
    case DT_REG: return entry_kind::file;
    case DT_LNK:
    case DT_UNKNOWN: {
        struct stat st;
        return stat_entry(dir_, name_, st) ? kind_of_mode(st.st_mode) : entry_kind::other;
    }
    default: return entry_kind::other;
    }
}

bool directory_reader::details(std::uint64_t& size, std::int64_t& modified, std::uint32_t& attributes) const {
    struct stat st;
    if (dir_ == nullptr || name_.empty() || !stat_entry(dir_, name_, st)) return false;
    size = static_cast<std::uint64_t>(st.st_size);
    modified = static_cast<std::int64_t>(st.st_mtime);
    attributes = attributes_for(name_, st.st_mode);
    return true;
}

} // namespace karvo::platform
