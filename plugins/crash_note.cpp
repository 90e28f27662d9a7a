// SPDX-License-Identifier: GPL-3.0-or-later
#include "plugins/crash_note.h"

#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#include "platform/file_system.h"

namespace karvo {
namespace {

thread_local const char* reading = nullptr;
char note[4096];

void write_all(int fd, const char* text, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, text, size);
        if (written <= 0)
            return;
        text += written;
        size -= static_cast<std::size_t>(written);
    }
}

// Only async-signal-safe calls: the note is written, the default action is restored and the signal raised again.
void on_fatal_signal(int signal_number) {
    if (const char* path = reading) {
        static const char head[] = "karvo-media: the resource plug-in crashed while reading ";
        write_all(STDERR_FILENO, head, sizeof head - 1);
        write_all(STDERR_FILENO, path, std::strlen(path));
        write_all(STDERR_FILENO, "\n", 1);
        if (note[0] != '\0') {
            const int fd = ::open(note, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
            if (fd >= 0) {
                write_all(fd, path, std::strlen(path));
                ::close(fd);
            }
        }
    }
    std::signal(signal_number, SIG_DFL);
    std::raise(signal_number);
}

} // namespace

void install_plugin_crash_note(const std::string& note_path) {
    if (note_path.size() < sizeof note)
        std::memcpy(note, note_path.c_str(), note_path.size() + 1);
    struct sigaction action {};
    action.sa_handler = on_fatal_signal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND;
    for (const int signal_number : {SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT})
        ::sigaction(signal_number, &action, nullptr);
}

plugin_read_mark::plugin_read_mark(const std::string& path) {
    reading = path.c_str();
}

plugin_read_mark::~plugin_read_mark() {
    reading = nullptr;
}

std::optional<std::string> take_plugin_crash_note(const std::string& note_path) {
    std::optional<std::string> path = platform::read_file(note_path);
    if (path)
        platform::delete_file(note_path);
    return path;
}

std::string plugin_crash_message(const std::string& path) {
    return "Karvo Media ended last time because the resource plug-in crashed while reading:\n" + path;
}

} // namespace karvo
