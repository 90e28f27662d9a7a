// SPDX-License-Identifier: GPL-3.0-or-later
// The master volume of this desktop: the ALSA simple mixer element "Master" of the "default" card. Each call opens
// the mixer afresh, so a sound server or card that comes and goes is seen as it is now.
#include "platform/mixer.h"

#include <algorithm>
#include <cmath>
#include <mutex>

#ifdef KARVO_HAVE_ALSA
#include <alsa/asoundlib.h>
#endif

namespace karvo::platform {

namespace {

#ifdef KARVO_HAVE_ALSA

void silent_alsa_errors(const char*, int, const char*, int, const char*, ...) {}

class master_element {
public:
    master_element() {
        static std::once_flag quiet;
        std::call_once(quiet, [] { snd_lib_error_set_handler(&silent_alsa_errors); });
        if (snd_mixer_open(&mixer_, 0) < 0) {
            mixer_ = nullptr;
            return;
        }
        if (snd_mixer_attach(mixer_, "default") < 0 || snd_mixer_selem_register(mixer_, nullptr, nullptr) < 0 ||
            snd_mixer_load(mixer_) < 0)
            return;
        snd_mixer_selem_id_t* id = nullptr;
        if (snd_mixer_selem_id_malloc(&id) < 0)
            return;
        snd_mixer_selem_id_set_index(id, 0);
        snd_mixer_selem_id_set_name(id, "Master");
        element_ = snd_mixer_find_selem(mixer_, id);
        snd_mixer_selem_id_free(id);
        if (element_ != nullptr &&
            (!snd_mixer_selem_has_playback_volume(element_) ||
             snd_mixer_selem_get_playback_volume_range(element_, &min_, &max_) < 0 || max_ <= min_))
            element_ = nullptr;
    }
    ~master_element() {
        if (mixer_ != nullptr)
            snd_mixer_close(mixer_);
    }
    master_element(const master_element&) = delete;
    master_element& operator=(const master_element&) = delete;

    bool valid() const { return element_ != nullptr; }

    int percent() const {
        long value = 0;
        if (snd_mixer_selem_get_playback_volume(element_, SND_MIXER_SCHN_FRONT_LEFT, &value) < 0)
            return 0;
        return static_cast<int>(
            std::lround(100.0 * static_cast<double>(value - min_) / static_cast<double>(max_ - min_)));
    }

    void set_percent(int percent) {
        const long value = min_ + std::lround(static_cast<double>(max_ - min_) * std::clamp(percent, 0, 100) / 100.0);
        snd_mixer_selem_set_playback_volume_all(element_, value);
    }

private:
    snd_mixer_t* mixer_ = nullptr;
    snd_mixer_elem_t* element_ = nullptr;
    long min_ = 0;
    long max_ = 0;
};

class alsa_mixer final : public mixer {
public:
    bool has_volume() override {
        std::lock_guard lock(mutex_);
        return master_element().valid();
    }
    int volume_percent() override {
        std::lock_guard lock(mutex_);
        master_element element;
        return element.valid() ? element.percent() : 0;
    }
    void set_volume_percent(int percent) override {
        std::lock_guard lock(mutex_);
        master_element element;
        if (element.valid())
            element.set_percent(percent);
    }

private:
    std::mutex mutex_;
};

using system_mixer_type = alsa_mixer;

#else

class no_mixer final : public mixer {
public:
    bool has_volume() override { return false; }
    int volume_percent() override { return 0; }
    void set_volume_percent(int) override {}
};

using system_mixer_type = no_mixer;

#endif

} // namespace

mixer& system_mixer() {
    static system_mixer_type instance;
    return instance;
}

} // namespace karvo::platform
