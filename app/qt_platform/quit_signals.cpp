// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt_platform/quit_signals.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace karvo {

namespace {

int signal_pipe[2] = {-1, -1};

extern "C" void on_signal(int number) {
    const char byte = static_cast<char>(number);
    [[maybe_unused]] const ssize_t written = ::write(signal_pipe[0], &byte, 1);
}

} // namespace

void end_on_signals(std::function<void()> on_end) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signal_pipe) != 0)
        return;
    auto* notifier = new QSocketNotifier(signal_pipe[1], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [notifier, on_end = std::move(on_end)] {
        char byte = 0;
        [[maybe_unused]] const ssize_t got = ::read(signal_pipe[1], &byte, 1);
        notifier->setEnabled(false); // one orderly end, however many signals follow
        on_end();
    });
    struct sigaction action {};
    action.sa_handler = on_signal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int number : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(number, &action, nullptr);
}

} // namespace karvo
