// SPDX-License-Identifier: GPL-3.0-or-later
// karvo-media-reader <plug-in> [<parent pid>]: reads media information for the program through the resource
// plug-in, so that a plug-in crash ends this process only. Its standard input is the socket to the program.
#include "plugins/media_reader.h"

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <sys/prctl.h>
#include <unistd.h>

int main(int argc, char** argv) {
    if (argc < 2)
        return 2;
    // A helper whose program is gone (even by kill -9) must not stay behind, hung in a plug-in.
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (argc > 2 && ::getppid() != static_cast<pid_t>(std::atol(argv[2])))
        return 3;
    // The socket moves off the standard streams, so a plug-in that prints cannot corrupt the answers.
    const int channel = ::fcntl(STDIN_FILENO, F_DUPFD_CLOEXEC, 3);
    if (channel < 0)
        return 2;
    const int nothing = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    if (nothing >= 0)
        ::dup2(nothing, STDIN_FILENO);
    ::dup2(STDERR_FILENO, STDOUT_FILENO);
    return karvo::serve_media_reads(argv[1], channel);
}
