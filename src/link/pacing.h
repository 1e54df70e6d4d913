#pragma once

#include <chrono>

namespace tunara::link {

using Clock = std::chrono::steady_clock;

// A one-second reply deadline on the monotonic clock (a wall-clock deadline
// would never pass across midnight or jump with clock changes).
class Deadline {
public:
    explicit Deadline(std::chrono::milliseconds span = std::chrono::seconds(1)) : m_at(Clock::now() + span) {}
    bool passed() const { return Clock::now() >= m_at; }
    // Whole milliseconds left, rounded up so a wait never ends early; 0 once passed.
    int remainingMs() const;
    Clock::time_point at() const { return m_at; }

private:
    Clock::time_point m_at;
};

// Pauses for at least `ms` milliseconds while the thread's event loop keeps
// running (repaints, the Esc key), without spinning a core: the event loop
// waits on a precise timer for most of the pause and an absolute sleep on the
// monotonic clock ends it exactly, since event-loop timers round to whole
// milliseconds. Returns the length actually paused.
Clock::duration pumpingPause(int ms);

// Runs the events already waiting, once.
void pumpEvents();

}  // namespace tunara::link
