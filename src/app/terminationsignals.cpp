// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/terminationsignals.h"

#include <QCoreApplication>
#include <QPointer>
#include <QSocketNotifier>
#include <QWidget>

#ifdef Q_OS_UNIX
#include <array>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace terminationsignals {

#ifdef Q_OS_UNIX

namespace {

constexpr std::array kSignals = {SIGTERM, SIGHUP, SIGINT};

// [0] is written by the handler, [1] read by the event loop.
int g_wakeUp[2] = {-1, -1};

extern "C" void onTerminationSignal(int)
{
    // Only async-signal-safe calls here; errno belongs to whatever was interrupted.
    const int savedErrno = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(g_wakeUp[0], &byte, 1);
    errno = savedErrno;
}

} // namespace

void closeOnTermination(QWidget *window)
{
    if (g_wakeUp[0] < 0 && ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_wakeUp) != 0)
        return; // the signals keep their default action
    auto *notifier = new QSocketNotifier(g_wakeUp[1], QSocketNotifier::Read, window);
    QObject::connect(
        notifier, &QSocketNotifier::activated, window, [target = QPointer<QWidget>(window)] {
            char bytes[16];
            [[maybe_unused]] const ssize_t read = ::read(g_wakeUp[1], bytes, sizeof bytes);
            if (target && target->isVisible())
                target->close();
            // A box left open (an error, the detail box) must not keep the program.
            QCoreApplication::quit();
        });
    struct sigaction action = {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signalNumber : kSignals)
        ::sigaction(signalNumber, &action, nullptr);
}

#else

void closeOnTermination(QWidget *) { }

#endif

} // namespace terminationsignals
