#include "link/pacing.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <thread>

#ifdef Q_OS_LINUX
#include <sys/prctl.h>
#endif

namespace tunara::link {

int Deadline::remainingMs() const
{
    const auto left = m_at - Clock::now();
    if (left <= Clock::duration::zero())
        return 0;
    return int(std::chrono::ceil<std::chrono::milliseconds>(left).count());
}

Clock::duration pumpingPause(int ms)
{
    const auto start = Clock::now();
    const auto end = start + std::chrono::milliseconds(ms);
    // The event loop's share stops short of the end by a margin that covers
    // its whole-millisecond rounding and a late wake-up.
    constexpr int exactTailMs = 2;
    if (ms > exactTailMs && QCoreApplication::instance()) {
        QEventLoop loop;
        QTimer::singleShot(ms - exactTailMs, Qt::PreciseTimer, &loop, &QEventLoop::quit);
        loop.exec();
    }
#ifdef Q_OS_LINUX
    // The kernel may let a sleep overrun by its timer slack (50 us by
    // default); hundreds of pauses per transfer add that up, so the tail
    // sleeps with a tight slack.
    const int oldSlack = ::prctl(PR_GET_TIMERSLACK, 0, 0, 0, 0);
    ::prctl(PR_SET_TIMERSLACK, 1000UL, 0, 0, 0);
#endif
    // Also covers a nested loop that returned early or late: never shorter.
    std::this_thread::sleep_until(end);
#ifdef Q_OS_LINUX
    if (oldSlack > 0)
        ::prctl(PR_SET_TIMERSLACK, (unsigned long)oldSlack, 0, 0, 0);
#endif
    return Clock::now() - start;
}

void pumpEvents()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

}  // namespace tunara::link
