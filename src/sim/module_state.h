#pragma once

// What the simulated module's two halves share: its state and the helpers
// of its own thread. Private to src/sim.

#include "sim/simulated_module.h"

#include "core/runtime_error.h"
#include "core/system_error_text.h"
#include "files/data_file.h"
#include "module/module_data.h"
#include "module/parameter_codec.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <deque>
#include <fcntl.h>
#include <mutex>
#include <poll.h>
#include <random>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace tunara::sim {

namespace detail {

using Clock = std::chrono::steady_clock;

constexpr std::uint8_t Ack = 0x06;
constexpr std::uint8_t Nak = 0x15;
constexpr auto CommandTimeout = std::chrono::milliseconds(500);

inline RuntimeError simError(const QString &what)
{
    return RuntimeError(CommErrorNumber, QStringLiteral("Simulated Module"),
                        QStringLiteral("%1: %2").arg(what, systemErrorText(errno)));
}

enum class Pending { None, AddressLow, AddressHigh, WriteData };

// A reply held back by the reply delay, and when it goes out.
struct HeldReply {
    Clock::time_point due;
    QByteArray bytes;
};

// Writes all of `bytes`; false when the line is gone.
inline bool writeAll(int fd, const QByteArray &bytes)
{
    const char *data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t w = ::write(fd, data, size_t(left));
        if (w < 0) {
            if (errno == EINTR || errno == EAGAIN)
                continue;
            return false;
        }
        data += w;
        left -= w;
    }
    return true;
}

}  // namespace detail

using namespace detail;

struct SimulatedModule::State {
    mutable std::mutex mutex;
    Memory memory{};
    QByteArray firmwareID = defaultFirmwareID();
    Faults faults;
    std::mt19937 random{1};
    std::vector<ReceivedByte> received;
    long long receivedCount = 0;
    int readCount = 0;      // reads answered since the faults were set
    bool glitched = false;  // the one-shot read glitch has happened
    int unsteadyReads = 0;  // reads of the unsteady address so far
    int pointer = 0;
    Pending pending = Pending::None;
    int addressLow = 0;
    Clock::time_point lastByte{};
    TimeSource timeSource;             // empty: the steady clock
    std::deque<HeldReply> held;        // delayed replies, in the order they go out
    Clock::time_point lastDue{};       // when the last delayed reply was due
    bool answering = false;            // between taking bytes in and sending what they asked for

    int master = -1;
    int slave = -1;  // held open so the line settings stay and no hang-up is seen
    int wake[2] = {-1, -1};
    QString devicePath;
    std::thread thread;
    bool running = false;
    bool stopping = false;

    Clock::time_point now() const { return timeSource ? timeSource() : Clock::now(); }
    void run();
    void serve();
    // Takes what the link sent and answers it; false when the line is gone.
    bool takeIn(int fd);
    // Sends the delayed replies that have fallen due; false when the line is gone.
    bool sendDue(int fd);
    // How long the thread may sleep before a delayed reply falls due (-1:
    // until woken), with the mutex held.
    int sleepMs() const;
    void poke();
    // Reply to one received byte (called with the mutex held).
    QByteArray answer(std::uint8_t byte, bool &vanish);
    void changeBehindTheBack();
    void closeFds();
};

}  // namespace tunara::sim
