#include "support/virtual_clock.h"

#include "link/serial_port.h"
#include "sim/simulated_module.h"

#include <algorithm>
#include <thread>

namespace tunara::test {

using link::Clock;

VirtualClock::VirtualClock() : m_origin(Clock::now()) {}

Clock::time_point VirtualClock::now() const
{
    return m_origin + Clock::duration(m_elapsed.load());
}

void VirtualClock::drive(sim::SimulatedModule &module)
{
    m_module = &module;
    module.setTimeSource([this] { return now(); });
}

void VirtualClock::advance(Clock::duration by)
{
    advanceTo(now() + by);
}

void VirtualClock::advanceTo(Clock::time_point at)
{
    if (at <= now())
        return;
    m_elapsed.store((at - m_origin).count());
    if (m_module)
        m_module->timeMoved();
}

bool VirtualClock::settle()
{
    if (!m_module)
        return true;
    const auto started = std::chrono::steady_clock::now();
    while (!m_module->quietUntil()) {
        if (std::chrono::steady_clock::now() - started > RealTimeCap) {
            ++m_capped;
            return false;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(50));
    }
    return true;
}

Clock::duration VirtualClock::pause(int ms)
{
    advance(std::chrono::milliseconds(ms));
    settle();
    link::pumpEvents();
    return std::chrono::milliseconds(ms);
}

void VirtualClock::waitForBytes(link::SerialPort &port, int count, Clock::time_point deadline, Wait wait)
{
    const auto started = std::chrono::steady_clock::now();
    while (port.bytesWaiting() < count && now() < deadline) {
        const auto quiet = m_module ? m_module->quietUntil() : Clock::time_point::max();
        if (quiet) {
            // Everything the module sent is on the line: take it in before
            // the clock moves on. (A pseudo-terminal hands written bytes on
            // through a kernel work queue; a poll of the reading side waits
            // for that, so nothing written is missed.)
            port.waitForInput(0);
            if (port.bytesWaiting() >= count)
                break;
            advanceTo(std::min(*quiet, deadline));
        } else if (std::chrono::steady_clock::now() - started > RealTimeCap) {
            ++m_capped;
            advanceTo(deadline);
        } else {
            port.waitForInput(1);  // returns as soon as a byte comes
        }
        if (wait == Wait::Pumping)
            link::pumpEvents();
    }
}

}  // namespace tunara::test
