// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/testing/recording_program_starter.h"

namespace karvo::platform {

void recording_program_starter::set_result(bool result) {
    std::lock_guard lock(mutex_);
    result_ = result;
}

std::vector<started_program> recording_program_starter::started() const {
    std::lock_guard lock(mutex_);
    return started_;
}

void recording_program_starter::clear() {
    std::lock_guard lock(mutex_);
    started_.clear();
}

bool recording_program_starter::open(const std::string& file, const std::string& parameters,
                                     const std::string& directory, show_mode mode) {
    std::lock_guard lock(mutex_);
    started_.push_back(started_program{file, parameters, directory, mode});
    return result_;
}

} // namespace karvo::platform
