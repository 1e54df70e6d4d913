#include "link/pacing.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <thread>

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
    if (ms > 1 && QCoreApplication::instance()) {
        QEventLoop loop;
        QTimer::singleShot(ms - 1, Qt::PreciseTimer, &loop, &QEventLoop::quit);
        loop.exec();
    }
    // Also covers a nested loop that returned early or late: never shorter.
    std::this_thread::sleep_until(end);
    return Clock::now() - start;
}

void pumpEvents()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

}  // namespace tunara::link
