#pragma once

#include "link/pacing.h"

#include <atomic>
#include <chrono>

namespace tunara::sim {
class SimulatedModule;
}

namespace tunara::test {

// Link time for tests: it passes only when the link pauses or waits, and
// then at once, so a transfer's thousand pacing pauses and a reply that
// never comes cost no real time.
//
// A pause moves the clock on, lets a simulated module on the line answer
// what it was answering (as it would during a real pause) and runs the
// thread's events once, so Esc pressed from a test's hook and progress
// updates behave as on real time. A wait for reply bytes waits for real
// only while the module is busy (a reply from its thread arrives in micro-
// to milliseconds); once the module is quiet, the clock moves on to its next
// delayed reply or to the deadline. Without a module every wait finds the
// line quiet: a deadline passes at once.
class VirtualClock : public link::LinkClock {
public:
    // A module that never falls quiet this long (real time) ends a wait
    // as if its deadline had passed; cappedWaits() counts those.
    static constexpr std::chrono::seconds RealTimeCap{5};

    VirtualClock();

    link::Clock::time_point now() const override;
    link::Clock::duration pause(int ms) override;
    void waitForBytes(link::SerialPort &port, int count, link::Clock::time_point deadline, Wait wait) override;

    // Puts the module on this clock: its reply delay and its forgetting of a
    // half-sent command follow it, and waits ask it whether it is quiet. The
    // clock must outlive the module's running.
    void drive(sim::SimulatedModule &module);
    // Moves the clock on (never back), telling the module.
    void advance(link::Clock::duration by);
    // How much time has passed on this clock.
    link::Clock::duration elapsed() const { return link::Clock::duration(m_elapsed.load()); }
    // Waits and pauses that gave up on a module that never fell quiet.
    int cappedWaits() const { return m_capped; }

private:
    void advanceTo(link::Clock::time_point at);
    // Waits (for real) until the module is quiet; false when it never was.
    bool settle();

    const link::Clock::time_point m_origin;
    std::atomic<link::Clock::rep> m_elapsed{0};
    sim::SimulatedModule *m_module = nullptr;
    int m_capped = 0;
};

}  // namespace tunara::test
