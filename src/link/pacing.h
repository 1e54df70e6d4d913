#pragma once

#include <chrono>

namespace tunara::link {

using Clock = std::chrono::steady_clock;

class SerialPort;

// The time the link runs on: its pacing pauses, its reply deadlines and its
// waits for reply bytes all go through one clock. The programs run on the
// machine's monotonic clock (LinkClock::machine()); a test may run the link
// on a clock it drives itself, so that a pause or a reply that never comes
// costs no real time.
class LinkClock {
public:
    // How a wait for reply bytes treats the thread's events: Pumping keeps
    // handling them (repaint, the Esc key), Busy holds them until it ends.
    enum class Wait { Pumping, Busy };

    virtual ~LinkClock() = default;

    virtual Clock::time_point now() const = 0;
    // The pacing pause: at least `ms` milliseconds of this clock, while the
    // thread's events keep being handled. Returns how long it lasted.
    virtual Clock::duration pause(int ms) = 0;
    // Returns once at least `count` received bytes wait at the port, or once
    // this clock has reached `deadline`, whichever comes first.
    virtual void waitForBytes(SerialPort &port, int count, Clock::time_point deadline, Wait wait) = 0;

    // The machine's monotonic clock, with real pauses and real waits (a
    // wall-clock deadline would never pass across midnight, or jump with a
    // change of the clock).
    static LinkClock &machine();
};

// A reply deadline on a link clock: one second from its making unless told
// otherwise.
class Deadline {
public:
    explicit Deadline(const LinkClock &clock = LinkClock::machine(),
                      std::chrono::milliseconds span = std::chrono::seconds(1))
        : m_clock(&clock), m_at(clock.now() + span)
    {
    }
    bool passed() const { return m_clock->now() >= m_at; }
    // Whole milliseconds left, rounded up so a wait never ends early; 0 once passed.
    int remainingMs() const;
    Clock::time_point at() const { return m_at; }

private:
    const LinkClock *m_clock;
    Clock::time_point m_at;
};

// Pauses for at least `ms` milliseconds of real time while the main thread's
// event loop keeps running (repaints, the Esc key), without spinning a core
// (on any other thread it simply sleeps to the exact end):
// the event loop waits on a precise timer for most of the pause and an
// absolute sleep on the monotonic clock ends it exactly, since event-loop
// timers round to whole milliseconds. Returns the length actually paused.
Clock::duration pumpingPause(int ms);

// Runs the main thread's events already waiting, once (nothing on another
// thread or without an application).
void pumpEvents();

}  // namespace tunara::link
