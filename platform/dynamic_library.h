// SPDX-License-Identifier: GPL-3.0-or-later
// A loaded plug-in library: dlopen with RTLD_NOW | RTLD_LOCAL, exports looked up by exact name, unloaded on
// destruction.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace karvo::platform {

class dynamic_library {
public:
    dynamic_library() = default;
    explicit dynamic_library(const std::string& path) { load(path); }
    ~dynamic_library();
    dynamic_library(const dynamic_library&) = delete;
    dynamic_library& operator=(const dynamic_library&) = delete;
    dynamic_library(dynamic_library&& other) noexcept;
    dynamic_library& operator=(dynamic_library&& other) noexcept;

    bool load(const std::string& path); // unloads what was loaded before
    void unload();
    // Forgets the library without unloading it: a thread may still be inside it.
    void release() { handle_ = nullptr; }
    bool loaded() const { return handle_ != nullptr; }
    const std::string& error() const { return error_; }

    void* symbol(const char* name) const;
    template <typename Fn>
    Fn function(const char* name) const {
        return reinterpret_cast<Fn>(symbol(name));
    }

    // Icon resource `id` through the library's _get_icon_resource export; empty when there is none, or when the
    // size is beyond max_icon_bytes or the bytes cannot be read.
    static constexpr std::int32_t max_icon_bytes = 1 << 20;
    std::vector<unsigned char> icon_resource(std::int32_t id) const;

private:
    void* handle_ = nullptr;
    std::string error_;
};

} // namespace karvo::platform
