// SPDX-License-Identifier: GPL-3.0-or-later
#include "players/mpd_player.h"

#include <mpd/client.h>

#include <algorithm>
#include <utility>
#include <cerrno>
#include <chrono>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include "platform/paths.h"
#include "platform/profile_document.h"

namespace karvo {
namespace {

constexpr std::size_t adds_per_list = 500;
constexpr auto retry_interval = std::chrono::seconds(5);
constexpr auto followed = static_cast<mpd_idle>(MPD_IDLE_PLAYER | MPD_IDLE_QUEUE | MPD_IDLE_MIXER | MPD_IDLE_OPTIONS);

std::string without_slashes(std::string text) {
    while (!text.empty() && text.back() == '/')
        text.pop_back();
    while (!text.empty() && text.front() == '/')
        text.erase(0, 1);
    return text;
}

std::string tag(const mpd_song* song, mpd_tag_type type) {
    const char* value = mpd_song_get_tag(song, type, 0);
    return value != nullptr ? value : "";
}

std::string state_name(mpd_state state) {
    switch (state) {
        case MPD_STATE_PLAY: return "play";
        case MPD_STATE_PAUSE: return "pause";
        case MPD_STATE_STOP: return "stop";
        case MPD_STATE_UNKNOWN: break;
    }
    return "";
}

} // namespace

bool is_mpd_location(const std::string& location) {
    return location == mpd_player_location;
}

namespace {
constexpr const char* section = "MPD";
}

mpd_settings read_mpd_settings(const platform::profile_document& ini) {
    mpd_settings settings;
    settings.host = ini.get_string(section, "Host", settings.host);
    const int port = ini.get_int(section, "Port", settings.port);
    if (port > 0 && port < 65536)
        settings.port = port;
    settings.password = ini.get_string(section, "Password", "");
    settings.local_music_dir = ini.get_string(section, "LocalMusicDir", "");
    settings.server_music_dir = ini.get_string(section, "MusicDir", "");
    return settings;
}

bool write_mpd_settings(platform::profile_document& ini, const mpd_settings& settings) {
    return ini.set_strings(section, {{"Host", settings.host},
                                     {"Port", std::to_string(settings.port)},
                                     {"Password", settings.password},
                                     {"LocalMusicDir", settings.local_music_dir},
                                     {"MusicDir", settings.server_music_dir}});
}

bool is_unix_socket(const std::string& host) {
    return !host.empty() && (host.front() == '/' || host.front() == '@');
}

std::string mpd_address(const mpd_settings& settings) {
    return is_unix_socket(settings.host) ? settings.host : settings.host + ":" + std::to_string(settings.port);
}

mpd_uris map_to_mpd(const mpd_settings& settings, const string_list& paths) {
    const std::string local =
        settings.local_music_dir.empty() ? std::string() : platform::with_trailing_slash(settings.local_music_dir);
    const std::string server = without_slashes(settings.server_music_dir);
    const bool same_machine = is_unix_socket(settings.host);
    mpd_uris mapped;
    for (const std::string& path : paths) {
        if (!local.empty() && path.starts_with(local) && path.size() > local.size())
            mapped.uris.push_back(server.empty() ? path.substr(local.size())
                                                 : server + "/" + path.substr(local.size()));
        else if (path.find("://") != std::string::npos)
            mapped.uris.push_back(path); // a stream the daemon fetches itself
        else if (same_machine && path.starts_with('/'))
            mapped.uris.push_back("file://" + path);
        else
            mapped.left_out.push_back(path);
    }
    return mapped;
}

std::string local_path_of(const mpd_settings& settings, const std::string& uri) {
    if (uri.starts_with("file://"))
        return uri.substr(7);
    if (settings.local_music_dir.empty() || uri.empty() || uri.find("://") != std::string::npos)
        return "";
    const std::string local = platform::with_trailing_slash(settings.local_music_dir);
    const std::string server = without_slashes(settings.server_music_dir);
    if (server.empty())
        return local + uri;
    if (uri.starts_with(server + "/"))
        return local + uri.substr(server.size() + 1);
    return "";
}

mpd_player::mpd_player(std::function<void()> notify) : notify_(std::move(notify)) {
    wake_fd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    worker_ = std::thread([this] { run(); });
}

mpd_player::~mpd_player() {
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
    }
    wake();
    worker_.join();
    if (wake_fd_ >= 0)
        ::close(wake_fd_);
}

void mpd_player::configure(const mpd_settings& settings) {
    {
        std::lock_guard lock(mutex_);
        if (settings == settings_)
            return;
        settings_ = settings;
        settings_changed_ = true;
    }
    wake();
}

mpd_settings mpd_player::settings() const {
    std::lock_guard lock(mutex_);
    return settings_;
}

void mpd_player::watch(bool on) {
    {
        std::lock_guard lock(mutex_);
        if (watching_ == on)
            return;
        watching_ = on;
    }
    wake();
}

void mpd_player::queue(command c) {
    {
        std::lock_guard lock(mutex_);
        pending_.push_back(std::move(c));
    }
    wake();
}

void mpd_player::play(const string_list& uris) {
    queue({op::play, uris});
}
void mpd_player::enqueue(const string_list& uris) {
    queue({op::enqueue, uris});
}
void mpd_player::stop() {
    queue({op::stop, {}});
}
void mpd_player::pause() {
    queue({op::pause, {}});
}
void mpd_player::resume() {
    queue({op::resume, {}});
}
void mpd_player::next_track() {
    queue({op::next, {}});
}
void mpd_player::previous_track() {
    queue({op::previous, {}});
}
void mpd_player::set_volume(int percent) {
    queue({op::volume, {}, std::clamp(percent, 0, 100)});
}

std::vector<mpd_event> mpd_player::take_events() {
    std::lock_guard lock(mutex_);
    return std::exchange(events_, {});
}

mpd_player_status mpd_player::last_status() const {
    std::lock_guard lock(mutex_);
    return status_;
}

void mpd_player::wake() {
    if (wake_fd_ >= 0) {
        const std::uint64_t one = 1;
        [[maybe_unused]] const auto written = ::write(wake_fd_, &one, sizeof one);
    }
    changed_.notify_all();
}

void mpd_player::post(mpd_event event) {
    {
        std::lock_guard lock(mutex_);
        if (event.what == mpd_event::kind::status)
            status_ = event.status;
        events_.push_back(std::move(event));
    }
    if (notify_)
        notify_();
}

bool mpd_player::connect(std::string& error) {
    const mpd_settings settings = this->settings();
    const std::string host = settings.host.empty() ? "localhost" : settings.host;
    connection_ = mpd_connection_new(host.c_str(), is_unix_socket(host) ? 0 : static_cast<unsigned>(settings.port),
                                     static_cast<unsigned>(std::max(settings.timeout_ms, 1)));
    if (connection_ == nullptr) {
        error = "out of memory";
        return false;
    }
    if (mpd_connection_get_error(connection_) != MPD_ERROR_SUCCESS ||
        (!settings.password.empty() && !mpd_run_password(connection_, settings.password.c_str()))) {
        error = mpd_connection_get_error_message(connection_);
        disconnect();
        return false;
    }
    connected_with_ = settings;
    return true;
}

void mpd_player::disconnect(bool tell) {
    if (connection_ == nullptr)
        return;
    mpd_connection_free(connection_);
    connection_ = nullptr;
    if (!tell)
        return;
    bool was_connected = false;
    {
        std::lock_guard lock(mutex_);
        was_connected = status_.connected;
    }
    if (was_connected)
        post({mpd_event::kind::status, {}, {}, {}});
}

bool mpd_player::add(const string_list& uris, string_list& rejected) {
    // In lists, for speed; a name the daemon refuses ends its list, so the rest is sent again after it.
    std::size_t next = 0;
    while (next < uris.size()) {
        const std::size_t end = std::min(next + adds_per_list, uris.size());
        mpd_command_list_begin(connection_, false);
        for (std::size_t i = next; i < end; ++i)
            mpd_send_add(connection_, uris[i].c_str());
        mpd_command_list_end(connection_);
        if (mpd_response_finish(connection_)) {
            next = end;
            continue;
        }
        if (mpd_connection_get_error(connection_) != MPD_ERROR_SERVER)
            return false;
        const std::size_t failed = next + mpd_connection_get_server_error_location(connection_);
        if (!mpd_connection_clear_error(connection_))
            return false;
        if (failed < end)
            rejected.push_back(uris[failed]);
        next = std::max(failed + 1, next + 1);
    }
    return true;
}

bool mpd_player::execute(const std::vector<command>& batch, std::string& error) {
    string_list rejected;
    for (const command& c : batch) {
        // A connection kept from before may have been closed by the daemon meanwhile: one fresh try.
        for (int attempt = 0; attempt < 2; ++attempt) {
            const bool fresh = connection_ == nullptr;
            if (fresh && !connect(error))
                return false;
            bool done = false;
            switch (c.what) {
                case op::play: {
                    const std::size_t refused_before = rejected.size();
                    done = mpd_run_clear(connection_) && add(c.uris, rejected) &&
                           (rejected.size() - refused_before == c.uris.size() || mpd_run_play(connection_));
                    break;
                }
                case op::enqueue: done = add(c.uris, rejected); break;
                case op::stop: done = mpd_run_stop(connection_); break;
                case op::pause: done = mpd_run_toggle_pause(connection_); break;
                case op::resume: done = mpd_run_play(connection_); break;
                case op::next: done = mpd_run_next(connection_); break;
                case op::previous: done = mpd_run_previous(connection_); break;
                case op::volume: done = mpd_run_set_volume(connection_, static_cast<unsigned>(c.value)); break;
            }
            if (done)
                break;
            error = mpd_connection_get_error_message(connection_);
            if (mpd_connection_get_error(connection_) == MPD_ERROR_SERVER) {
                // The daemon refused this one command ("no mixer", "not playing"); the connection is still good.
                post({mpd_event::kind::failed, {}, error, {}});
                if (!mpd_connection_clear_error(connection_))
                    disconnect();
                break;
            }
            disconnect();
            if (fresh)
                return false;
        }
    }
    if (!rejected.empty())
        post({mpd_event::kind::rejected, {}, {}, rejected});
    if (connection_ != nullptr && !read_status()) {
        error = mpd_connection_get_error_message(connection_);
        disconnect();
        return false;
    }
    return true;
}

bool mpd_player::read_status() {
    mpd_event event;
    ::mpd_status* status = mpd_run_status(connection_);
    if (status == nullptr)
        return false;
    event.status.connected = true;
    event.status.state = state_name(mpd_status_get_state(status));
    event.status.volume = mpd_status_get_volume(status);
    event.status.queue_length = static_cast<int>(mpd_status_get_queue_length(status));
    mpd_status_free(status);
    if (mpd_song* song = mpd_run_current_song(connection_)) {
        event.status.song_uri = mpd_song_get_uri(song);
        event.status.title = tag(song, MPD_TAG_TITLE);
        event.status.artist = tag(song, MPD_TAG_ARTIST);
        event.status.album = tag(song, MPD_TAG_ALBUM);
        mpd_song_free(song);
    } else if (mpd_connection_get_error(connection_) != MPD_ERROR_SUCCESS) {
        return false;
    }
    post(std::move(event));
    return true;
}

bool mpd_player::idle() {
    if (!mpd_send_idle_mask(connection_, followed))
        return false;
    pollfd fds[2] = {{mpd_connection_get_fd(connection_), POLLIN, 0}, {wake_fd_, POLLIN, 0}};
    while (::poll(fds, 2, -1) < 0)
        if (errno != EINTR)
            return false;
    if ((fds[1].revents & POLLIN) != 0) {
        std::uint64_t count = 0;
        [[maybe_unused]] const auto read = ::read(wake_fd_, &count, sizeof count);
        if (!mpd_send_noidle(connection_))
            return false;
    }
    const mpd_idle events = mpd_recv_idle(connection_, false);
    if (events == 0 && mpd_connection_get_error(connection_) != MPD_ERROR_SUCCESS)
        return false;
    return events == 0 || read_status();
}

void mpd_player::run() {
    std::unique_lock lock(mutex_);
    bool lost_reported = false;
    while (!quit_) {
        if (settings_changed_) {
            settings_changed_ = false;
            lock.unlock();
            disconnect();
            lock.lock();
            lost_reported = false;
            continue;
        }
        if (!pending_.empty()) {
            const std::vector<command> batch = std::exchange(pending_, {});
            lock.unlock();
            std::string error;
            if (execute(batch, error))
                lost_reported = false;
            else
                post({mpd_event::kind::failed, {}, error, {}});
            lock.lock();
            continue;
        }
        if (!watching_) {
            if (connection_ != nullptr) {
                lock.unlock();
                disconnect();
                lock.lock();
                continue;
            }
            changed_.wait(lock, [this] { return quit_ || settings_changed_ || watching_ || !pending_.empty(); });
            continue;
        }
        lock.unlock();
        std::string error;
        const bool was_connected = connection_ != nullptr;
        bool alive = was_connected || connect(error);
        if (alive) {
            lost_reported = false;
            alive = was_connected ? idle() : read_status();
            if (!alive)
                error = mpd_connection_get_error_message(connection_);
        }
        if (!alive) {
            disconnect();
            // A daemon that goes away is told once; one never reached only shows on the status line. Either is
            // looked for again now and then, quietly.
            if (!lost_reported)
                post({mpd_event::kind::failed, {}, error, {}, !was_connected});
            lost_reported = true;
        }
        lock.lock();
        if (!alive)
            changed_.wait_for(lock, retry_interval,
                              [this] { return quit_ || settings_changed_ || !watching_ || !pending_.empty(); });
    }
    lock.unlock();
    disconnect(false);
}

} // namespace karvo
