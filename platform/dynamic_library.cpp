// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/dynamic_library.h"

#include "platform/readable_memory.h"
#include "sdk/karvo_plugin.h"

#include <dlfcn.h>
#include <utility>

namespace karvo::platform {

dynamic_library::~dynamic_library() {
    unload();
}

dynamic_library::dynamic_library(dynamic_library&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)), error_(std::move(other.error_)) {}

dynamic_library& dynamic_library::operator=(dynamic_library&& other) noexcept {
    if (this != &other) {
        unload();
        handle_ = std::exchange(other.handle_, nullptr);
        error_ = std::move(other.error_);
    }
    return *this;
}

bool dynamic_library::load(const std::string& path) {
    unload();
    error_.clear();
    if (path.empty()) {
        error_ = "no library named";
        return false;
    }
    handle_ = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle_ == nullptr) {
        const char* text = ::dlerror();
        error_ = text != nullptr ? text : "cannot load " + path;
        return false;
    }
    return true;
}

void dynamic_library::unload() {
    if (handle_ != nullptr) {
        ::dlclose(handle_);
        handle_ = nullptr;
    }
}

void* dynamic_library::symbol(const char* name) const {
    if (handle_ == nullptr || name == nullptr)
        return nullptr;
    return ::dlsym(handle_, name);
}

std::vector<unsigned char> dynamic_library::icon_resource(std::int32_t id) const {
    const auto get_icon = function<karvo_get_icon_resource_fn>("_get_icon_resource");
    if (get_icon == nullptr)
        return {};
    std::int32_t size = 0;
    const unsigned char* bytes = get_icon(id, &size);
    if (bytes == nullptr || size <= 0 || size > max_icon_bytes)
        return {};
    std::vector<unsigned char> copy(static_cast<std::size_t>(size));
    if (!copy_readable(bytes, copy.data(), copy.size()))
        return {};
    return copy;
}

} // namespace karvo::platform
