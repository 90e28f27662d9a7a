// SPDX-License-Identifier: GPL-3.0-or-later
// A drive table for tests: the drives a test sets up, returned as they are, in the order given.
#pragma once

#include "platform/drives.h"

#include <utility>

namespace karvo::platform {

class fake_drive_table final : public drive_table {
public:
    fake_drive_table() = default;
    explicit fake_drive_table(std::vector<drive_info> drives) : drives_(std::move(drives)) {}

    void set_drives(std::vector<drive_info> drives) { drives_ = std::move(drives); }
    void add_drive(drive_info drive) { drives_.push_back(std::move(drive)); }
    // Changes the serial of the drive mounted at `root`, as when another disc is inserted.
    void set_serial(const std::string& root, std::uint32_t serial) {
        for (drive_info& drive : drives_) {
            if (drive.root == root)
                drive.serial = serial;
        }
    }

    std::vector<drive_info> drives() override { return drives_; }

private:
    std::vector<drive_info> drives_;
};

} // namespace karvo::platform
