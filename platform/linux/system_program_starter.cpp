// SPDX-License-Identifier: GPL-3.0-or-later
// Starting programs and documents on this desktop: the program runs detached in its own session and is never
// waited for; a document (any file that is not executable) goes to xdg-open.
#include "platform/program_starter.h"

#include "platform/file_system.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace karvo::platform {

namespace {

bool is_executable_file(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

std::vector<char*> pointers(std::vector<std::string>& arguments) {
    std::vector<char*> result;
    for (std::string& argument : arguments)
        result.push_back(argument.data());
    result.push_back(nullptr);
    return result;
}

void close_other_descriptors(int keep) {
    if (keep > 3)
        ::close_range(3, static_cast<unsigned>(keep - 1), 0);
    if (::close_range(static_cast<unsigned>(keep + 1), ~0u, 0) != 0) {
        for (int fd = keep + 1; fd < 4096; ++fd)
            ::close(fd);
    }
}

// Runs in the grandchild: only async-signal-safe calls from here on.
[[noreturn]] void exec_detached(const std::vector<char*>& argv, const std::vector<char*>& shell_argv,
                                const char* directory, int report_fd) {
    if (directory != nullptr)
        (void)::chdir(directory); // a folder that does not exist leaves the program where it is
    const int null_fd = ::open("/dev/null", O_RDWR);
    if (null_fd >= 0) {
        ::dup2(null_fd, 0);
        ::dup2(null_fd, 1);
        ::dup2(null_fd, 2);
        if (null_fd > 2)
            ::close(null_fd);
    }
    close_other_descriptors(report_fd);
    sigset_t all;
    ::sigemptyset(&all);
    ::sigprocmask(SIG_SETMASK, &all, nullptr);
    for (int sig : {SIGPIPE, SIGINT, SIGQUIT, SIGTERM, SIGCHLD, SIGHUP})
        ::signal(sig, SIG_DFL);
    ::execv(argv[0], argv.data());
    if (errno == ENOEXEC) // an executable script without "#!" runs in the shell, as execvp would do
        ::execv(shell_argv[0], shell_argv.data());
    const int error = errno;
    (void)!::write(report_fd, &error, sizeof error);
    ::_exit(127);
}

// Double fork so that the program is adopted by init and never becomes our zombie; a close-on-exec pipe tells
// whether exec succeeded without waiting for the program itself.
bool spawn_detached(std::vector<std::string> arguments, const std::string& directory) {
    std::vector<std::string> shell_arguments = arguments;
    shell_arguments.insert(shell_arguments.begin(), "/bin/sh");
    const std::vector<char*> argv = pointers(arguments);
    const std::vector<char*> shell_argv = pointers(shell_arguments);
    const char* folder = directory.empty() ? nullptr : directory.c_str();

    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0)
        return false;
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(report[0]);
        ::close(report[1]);
        return false;
    }
    if (child == 0) {
        ::close(report[0]);
        ::setsid();
        const pid_t grandchild = ::fork();
        if (grandchild == 0)
            exec_detached(argv, shell_argv, folder, report[1]);
        if (grandchild < 0) {
            const int error = errno;
            (void)!::write(report[1], &error, sizeof error);
        }
        ::_exit(0);
    }
    ::close(report[1]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    int error = 0;
    ssize_t got;
    do {
        got = ::read(report[0], &error, sizeof error);
    } while (got < 0 && errno == EINTR);
    ::close(report[0]);
    return got == 0;
}

class linux_program_starter final : public program_starter {
public:
    bool open(const std::string& file, const std::string& parameters, const std::string& directory,
              show_mode /*mode*/) override {
        if (file.empty())
            return false;
        const std::string path = file.find('/') != std::string::npos ? file : find_in_path(file);
        if (path.empty() || !path_exists(path))
            return false;
        if (is_executable_file(path)) {
            std::vector<std::string> arguments = split_command_line(parameters);
            arguments.insert(arguments.begin(), path);
            return spawn_detached(std::move(arguments), directory);
        }
        const std::string opener = find_in_path("xdg-open");
        if (opener.empty())
            return false;
        return spawn_detached({opener, path}, directory);
    }
};

} // namespace

std::string find_in_path(const std::string& name) {
    const char* path = std::getenv("PATH");
    const std::string folders = path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= folders.size()) {
        const std::size_t end = std::min(folders.find(':', start), folders.size());
        const std::string folder = folders.substr(start, end - start);
        if (!folder.empty() && folder[0] == '/') {
            const std::string candidate = folder + "/" + name;
            if (is_executable_file(candidate))
                return candidate;
        }
        start = end + 1;
    }
    return {};
}

program_starter& system_program_starter() {
    static linux_program_starter starter;
    return starter;
}

} // namespace karvo::platform
