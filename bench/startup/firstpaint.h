// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#ifdef Q_OS_LINUX
#include <ctime>
#include <unistd.h>
#endif

// Shared by the start-up benchmark's executables: when the watched widget is painted for
// the first time, prints how long the process took to get there and quits.
namespace firstpaint {

// Wall-clock time, the clock of bash's $EPOCHREALTIME.
inline double nowMicroseconds()
{
    using namespace std::chrono;
    return double(duration_cast<nanoseconds>(system_clock::now().time_since_epoch()).count()) / 1e3;
}

// The runner's clock reading just before it started the process (STARTUP_BENCH_T0, in
// seconds since the epoch as bash's $EPOCHREALTIME gives them), so that loading the
// libraries counts too. Read before the application sets the locale: "." is the point.
// Without it, the kernel's start time of the process, which is only good to a tick.
inline double startMicroseconds()
{
    if (const char *t0 = std::getenv("STARTUP_BENCH_T0"))
        return std::atof(t0) * 1e6;
#ifdef Q_OS_LINUX
    // Field 22 of /proc/self/stat, in ticks since boot; the command name may hold spaces,
    // so count from its closing parenthesis.
    if (FILE *stat = std::fopen("/proc/self/stat", "r")) {
        char line[1024] = {};
        const size_t length = std::fread(line, 1, sizeof line - 1, stat);
        std::fclose(stat);
        line[length] = 0;
        const char *field = std::strrchr(line, ')');
        unsigned long long startTicks = 0;
        if (field
            && std::sscanf(field + 2,
                   "%*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %*u %*u %*d %*d %*d %*d %*d %*d "
                   "%llu",
                   &startTicks)
                == 1) {
            timespec sinceBoot {};
            clock_gettime(CLOCK_BOOTTIME, &sinceBoot);
            const double ageMicroseconds = double(sinceBoot.tv_sec) * 1e6
                + double(sinceBoot.tv_nsec) / 1e3
                - double(startTicks) * 1e6 / double(sysconf(_SC_CLK_TCK));
            return nowMicroseconds() - ageMicroseconds;
        }
    }
#endif
    return nowMicroseconds();
}

// Watches for the first Paint event and takes the time once that paint has run to its
// end: the reading is queued behind it, ahead of anything the paint itself queues.
class Watcher : public QObject
{
public:
    explicit Watcher(double startMicroseconds)
        : m_start(startMicroseconds)
    { }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            QTimer::singleShot(0, this, [this] {
                std::printf("first-paint-ms %.3f\n", (nowMicroseconds() - m_start) / 1e3);
                std::fflush(stdout);
                QCoreApplication::quit();
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    double m_start;
    bool m_seen = false;
};

} // namespace firstpaint
