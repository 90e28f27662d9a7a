// SPDX-License-Identifier: GPL-3.0-or-later
// karvo-media-reader <plug-in> [<parent pid>]: reads media information for the program through the resource
// plug-in, so that a plug-in crash ends this process only. Its standard input is the socket to the program.
#include "plugins/media_reader.h"
#include "platform/readable_memory.h"

#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <thread>
#include <unistd.h>

int main(int argc, char** argv) {
    if (argc < 2)
        return 2;
    // A helper whose program is gone (even by kill -9) must not stay behind, hung in a plug-in. The parent's death
    // signal cannot serve: it follows the thread that started the helper, and reader threads come and go.
    if (argc > 2) {
        const auto parent = static_cast<pid_t>(std::atol(argv[2]));
        if (::getppid() != parent)
            return 3;
        std::thread([parent] {
            while (::getppid() == parent)
                std::this_thread::sleep_for(std::chrono::milliseconds(500));
            ::_exit(3);
        }).detach();
    }
    // The socket moves off the standard streams, so a plug-in that prints cannot corrupt the answers.
    const int channel = ::fcntl(STDIN_FILENO, F_DUPFD_CLOEXEC, 3);
    if (channel < 0)
        return 2;
    const int nothing = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    if (nothing >= 0)
        ::dup2(nothing, STDIN_FILENO);
    ::dup2(STDERR_FILENO, STDOUT_FILENO);
    karvo::platform::read_memory_directly(); // a plug-in's bad pointer ends this helper, which the program replaces
    return karvo::serve_media_reads(argv[1], channel);
}
