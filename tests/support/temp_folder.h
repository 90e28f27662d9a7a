// SPDX-License-Identifier: GPL-3.0-or-later
// A temporary folder for one test, removed with everything in it when the test ends.
#pragma once

#include <string>

namespace karvo::testing {

class temp_folder {
public:
    temp_folder();
    ~temp_folder();
    temp_folder(const temp_folder&) = delete;
    temp_folder& operator=(const temp_folder&) = delete;

    const std::string& path() const { return path_; } // without a trailing "/"
    std::string file(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

} // namespace karvo::testing
