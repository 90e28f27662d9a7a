// SPDX-License-Identifier: GPL-3.0-or-later
// Program start for tests: records every request (file, parameters, folder, show mode) and starts nothing.
#pragma once

#include "platform/program_starter.h"

#include <mutex>
#include <vector>

namespace karvo::platform {

struct started_program {
    std::string file;
    std::string parameters;
    std::string directory;
    show_mode mode = show_mode::normal;
};

class recording_program_starter final : public program_starter {
public:
    // What open() returns from now on (true unless set).
    void set_result(bool result);
    std::vector<started_program> started() const;
    void clear();

    bool open(const std::string& file, const std::string& parameters, const std::string& directory,
              show_mode mode) override;

private:
    mutable std::mutex mutex_;
    bool result_ = true;
    std::vector<started_program> started_;
};

} // namespace karvo::platform
