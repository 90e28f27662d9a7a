// SPDX-License-Identifier: GPL-3.0-or-later
// The sound card's master volume (ALSA simple mixer element "Master" of the "default" card).
#pragma once

namespace karvo::platform {

class mixer {
public:
    virtual ~mixer() = default;
    virtual bool has_volume() = 0;
    // 0 .. 100; 0 without a mixer.
    virtual int volume_percent() = 0;
    virtual void set_volume_percent(int percent) = 0;
};

mixer& system_mixer();

} // namespace karvo::platform
