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

// A reply deadline on a link clock: one second from its making.
class Deadline {
public:
    explicit Deadline(const LinkClock &clock) : m_clock(&clock), m_at(clock.now() + std::chrono::seconds(1)) {}
    bool passed() const { return m_clock->now() >= m_at; }
    Clock::time_point at() const { return m_at; }

private:
    const LinkClock *m_clock;
    Clock::time_point m_at;
};

// Runs the main thread's events already waiting, once (nothing on another
// thread or without an application).
void pumpEvents();

}  // namespace tunara::link
