// SPDX-License-Identifier: GPL-3.0-or-later
// A mixer for tests: a volume in memory, with or without volume support, recording every change asked for.
#pragma once

#include "platform/mixer.h"

#include <algorithm>
#include <vector>

namespace karvo::platform {

class fake_mixer final : public mixer {
public:
    explicit fake_mixer(bool has_volume = true, int percent = 50) : has_volume_(has_volume), percent_(percent) {}

    void set_has_volume(bool has_volume) { has_volume_ = has_volume; }
    // Every percentage passed to set_volume_percent, unclamped.
    const std::vector<int>& changes() const { return changes_; }

    bool has_volume() override { return has_volume_; }
    int volume_percent() override { return has_volume_ ? percent_ : 0; }
    void set_volume_percent(int percent) override {
        changes_.push_back(percent);
        if (has_volume_)
            percent_ = std::clamp(percent, 0, 100);
    }

private:
    bool has_volume_;
    int percent_;
    std::vector<int> changes_;
};

} // namespace karvo::platform
