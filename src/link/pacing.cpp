#include "link/pacing.h"

#include "link/serial_port.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <thread>

#ifdef Q_OS_LINUX
#include <sys/prctl.h>
#endif

namespace tunara::link {

namespace {

int millisecondsUntil(Clock::time_point at, Clock::time_point now)
{
    const auto left = at - now;
    if (left <= Clock::duration::zero())
        return 0;
    return int(std::chrono::ceil<std::chrono::milliseconds>(left).count());
}

// Only the application's main thread has a window to keep alive; a link
// thread of its own pauses and waits without handling events, so its pacing
// does not depend on them.
bool keepsEventsRunning()
{
    const QCoreApplication *app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

// Pauses for at least `ms` milliseconds of real time while the main thread's
// event loop keeps running (repaints, the Esc key), without spinning a core
// (on any other thread it simply sleeps to the exact end):
// the event loop waits on a precise timer for most of the pause and an
// absolute sleep on the monotonic clock ends it exactly, since event-loop
// timers round to whole milliseconds. Returns the length actually paused.
Clock::duration pumpingPause(int ms)
{
    const auto start = Clock::now();
    const auto end = start + std::chrono::milliseconds(ms);
    // The event loop's share stops short of the end by a margin that covers
    // its whole-millisecond rounding and a late wake-up.
    constexpr int exactTailMs = 2;
    if (ms > exactTailMs && keepsEventsRunning()) {
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

// The machine's own time: the pauses really pause and the waits really wait.
class MachineClock final : public LinkClock {
public:
    Clock::time_point now() const override { return Clock::now(); }
    Clock::duration pause(int ms) override { return pumpingPause(ms); }
    void waitForBytes(SerialPort &port, int count, Clock::time_point deadline, Wait wait) override
    {
        if (wait == Wait::Pumping && keepsEventsRunning())
            waitPumping(port, count, deadline);
        else
            waitBusy(port, count, deadline);
    }

private:
    static void waitPumping(SerialPort &port, int count, Clock::time_point deadline)
    {
        // Wakes the event loop at the deadline; serial input wakes it sooner.
        QTimer wake;
        wake.setSingleShot(true);
        wake.setTimerType(Qt::PreciseTimer);
        QEventLoop loop;
        while (port.bytesWaiting() < count && Clock::now() < deadline) {
            // Re-armed if it went off a hair before the deadline, so the loop
            // never sleeps with nothing left to wake it.
            if (!wake.isActive())
                wake.start(std::max(1, millisecondsUntil(deadline, Clock::now())));
            loop.processEvents(QEventLoop::WaitForMoreEvents);
        }
    }
    static void waitBusy(SerialPort &port, int count, Clock::time_point deadline)
    {
        // Blocks in the port itself; no events are handled meanwhile.
        while (port.bytesWaiting() < count && Clock::now() < deadline)
            port.waitForInput(std::max(1, millisecondsUntil(deadline, Clock::now())));
    }
};

}  // namespace

LinkClock &LinkClock::machine()
{
    static MachineClock clock;
    return clock;
}

void pumpEvents()
{
    if (keepsEventsRunning())
        QCoreApplication::processEvents(QEventLoop::AllEvents);
}

}  // namespace tunara::link
