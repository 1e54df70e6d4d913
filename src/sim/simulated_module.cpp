#include "sim/simulated_module.h"

#include "core/runtime_error.h"
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

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::uint8_t Ack = 0x06;
constexpr std::uint8_t Nak = 0x15;
constexpr auto CommandTimeout = std::chrono::milliseconds(500);

RuntimeError simError(const QString &what)
{
    return RuntimeError(CommErrorNumber, QStringLiteral("Simulated Module"),
                        QStringLiteral("%1: %2").arg(what, QString::fromLocal8Bit(std::strerror(errno))));
}

enum class Pending { None, AddressLow, AddressHigh, WriteData };

// A reply held back by the reply delay, and when it goes out.
struct HeldReply {
    Clock::time_point due;
    QByteArray bytes;
};

// Writes all of `bytes`; false when the line is gone.
bool writeAll(int fd, const QByteArray &bytes)
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

}  // namespace

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

QByteArray SimulatedModule::defaultFirmwareID()
{
    return QByteArrayLiteral("Torvik-1 Zoruro V2.1");
}

SimulatedModule::Memory SimulatedModule::defaultMemory()
{
    ModuleData data;
    UpdateEEPROM(data);
    Memory memory{};
    std::copy(data.image.EEPROMBuffer.begin(), data.image.EEPROMBuffer.end(), memory.begin());
    return memory;
}

SimulatedModule::SimulatedModule() : m(std::make_unique<State>())
{
    m->memory = defaultMemory();
}

SimulatedModule::~SimulatedModule()
{
    stop();
}

void SimulatedModule::start()
{
    if (isRunning())
        return;
    stop();  // collects the thread of a module whose port vanished
    int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0)
        throw simError(QStringLiteral("Cannot open a pseudo-terminal"));
    if (::grantpt(master) != 0 || ::unlockpt(master) != 0) {
        ::close(master);
        throw simError(QStringLiteral("Cannot unlock the pseudo-terminal"));
    }
    const char *name = ::ptsname(master);
    const QString path = name ? QString::fromLocal8Bit(name) : QString();
    int slave = path.isEmpty() ? -1 : ::open(name, O_RDWR | O_NOCTTY);
    if (slave < 0) {
        ::close(master);
        throw simError(QStringLiteral("Cannot open the pseudo-terminal's device"));
    }
    // Raw mode: a terminal in line mode would swallow 0x15 and 0x16 (and
    // turn 0x0D into 0x0A), which are protocol bytes here.
    termios tio{};
    ::tcgetattr(slave, &tio);
    ::cfmakeraw(&tio);
    ::tcsetattr(slave, TCSANOW, &tio);

    std::lock_guard lock(m->mutex);
    if (::pipe(m->wake) != 0) {
        ::close(master);
        ::close(slave);
        throw simError(QStringLiteral("Cannot create a pipe"));
    }
    m->master = master;
    m->slave = slave;
    m->devicePath = path;
    m->pending = Pending::None;
    m->held.clear();
    m->answering = false;
    m->stopping = false;
    m->random.seed(m->faults.seed);
    m->receivedCount = 0;
    m->running = true;
    m->thread = std::thread([state = m.get()] { state->run(); });
}

void SimulatedModule::stop()
{
    std::thread thread;
    {
        std::lock_guard lock(m->mutex);
        if (!m->thread.joinable())
            return;
        m->stopping = true;
        m->poke();
        thread = std::move(m->thread);
    }
    thread.join();
    std::lock_guard lock(m->mutex);
    m->closeFds();
    for (int &fd : m->wake) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
    m->running = false;
}

bool SimulatedModule::isRunning() const
{
    std::lock_guard lock(m->mutex);
    return m->running && m->master >= 0;
}

QString SimulatedModule::devicePath() const
{
    std::lock_guard lock(m->mutex);
    return m->devicePath;
}

void SimulatedModule::setFirmwareID(const QByteArray &text)
{
    std::lock_guard lock(m->mutex);
    m->firmwareID = text;
}

QByteArray SimulatedModule::firmwareID() const
{
    std::lock_guard lock(m->mutex);
    return m->firmwareID;
}

void SimulatedModule::setFaults(const Faults &faults)
{
    std::lock_guard lock(m->mutex);
    m->faults = faults;
    m->random.seed(faults.seed);
    m->receivedCount = 0;
    m->readCount = 0;
    m->glitched = false;
}

Faults SimulatedModule::faults() const
{
    std::lock_guard lock(m->mutex);
    return m->faults;
}

SimulatedModule::Memory SimulatedModule::memory() const
{
    std::lock_guard lock(m->mutex);
    return m->memory;
}

void SimulatedModule::setMemory(const Memory &memory)
{
    std::lock_guard lock(m->mutex);
    m->memory = memory;
}

void SimulatedModule::loadDataFile(const QString &path)
{
    const QByteArray bytes = datafile::read(path);
    std::lock_guard lock(m->mutex);
    ModuleImage image;
    std::copy(m->memory.begin(), m->memory.end(), image.EEPROMBuffer.begin());
    datafile::fillImage(bytes, image);
    std::copy(image.EEPROMBuffer.begin(), image.EEPROMBuffer.end(), m->memory.begin());
}

void SimulatedModule::saveDataFile(const QString &path) const
{
    ModuleImage image;
    {
        std::lock_guard lock(m->mutex);
        std::copy(m->memory.begin(), m->memory.end(), image.EEPROMBuffer.begin());
    }
    datafile::write(path, image);
}

std::vector<ReceivedByte> SimulatedModule::received() const
{
    std::lock_guard lock(m->mutex);
    return m->received;
}

void SimulatedModule::clearReceived()
{
    std::lock_guard lock(m->mutex);
    m->received.clear();
}

int SimulatedModule::pointer() const
{
    std::lock_guard lock(m->mutex);
    return m->pointer;
}

void SimulatedModule::setTimeSource(TimeSource now)
{
    std::lock_guard lock(m->mutex);
    m->timeSource = std::move(now);
    m->poke();  // a steady clock again: sleep until the next reply's time
}

void SimulatedModule::timeMoved()
{
    std::lock_guard lock(m->mutex);
    if (!m->held.empty())
        m->poke();
}

std::optional<SimulatedModule::TimePoint> SimulatedModule::quietUntil() const
{
    std::lock_guard lock(m->mutex);
    if (!m->running || m->master < 0)
        return TimePoint::max();
    if (m->answering)
        return std::nullopt;
    // A byte on its way from the link: polling the pseudo-terminal also
    // brings in what the kernel still holds in its buffers.
    pollfd p{m->master, POLLIN, 0};
    if (::poll(&p, 1, 0) > 0 && (p.revents & POLLIN))
        return std::nullopt;
    if (m->held.empty())
        return TimePoint::max();
    if (m->held.front().due <= m->now())
        return std::nullopt;
    return m->held.front().due;
}

// ---- the module's side -------------------------------------------------------

void SimulatedModule::State::closeFds()
{
    if (master >= 0)
        ::close(master);
    if (slave >= 0)
        ::close(slave);
    master = slave = -1;
}

void SimulatedModule::State::poke()
{
    if (wake[1] >= 0) {
        const char c = 'w';
        [[maybe_unused]] auto n = ::write(wake[1], &c, 1);
    }
}

int SimulatedModule::State::sleepMs() const
{
    // On a time of its own the module waits to be told the time moved.
    if (held.empty() || timeSource)
        return -1;
    const auto left = held.front().due - Clock::now();
    if (left <= Clock::duration::zero())
        return 0;
    return int(std::chrono::ceil<std::chrono::milliseconds>(left).count());
}

void SimulatedModule::State::run()
{
    serve();
    // Whatever ended it, the module says nothing more.
    std::lock_guard lock(mutex);
    answering = false;
    running = false;
}

void SimulatedModule::State::serve()
{
    int fdMaster, fdWake;
    {
        std::lock_guard lock(mutex);
        fdMaster = master;
        fdWake = wake[0];
    }
    for (;;) {
        int timeout;
        {
            std::lock_guard lock(mutex);
            timeout = sleepMs();
        }
        pollfd fds[2] = {{fdMaster, POLLIN, 0}, {fdWake, POLLIN, 0}};
        if (::poll(fds, 2, timeout) < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        if (fds[1].revents) {
            char drained[64];
            [[maybe_unused]] auto n = ::read(fdWake, drained, sizeof drained);
            std::lock_guard lock(mutex);
            if (stopping)
                return;
        }
        if (fds[0].revents & POLLIN) {
            if (!takeIn(fdMaster))
                return;
        } else if (fds[0].revents & (POLLERR | POLLNVAL)) {
            return;
        }
        if (!sendDue(fdMaster))
            return;
    }
}

bool SimulatedModule::State::takeIn(int fd)
{
    {
        std::lock_guard lock(mutex);
        answering = true;
    }
    std::uint8_t buffer[256];
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n <= 0) {
        std::lock_guard lock(mutex);
        answering = false;
        return n < 0 && (errno == EINTR || errno == EAGAIN);
    }
    std::vector<QByteArray> replies;  // those that go out at once, in order
    {
        std::lock_guard lock(mutex);
        const auto at = now();
        for (ssize_t k = 0; k < n; ++k) {
            received.push_back({buffer[k], at});
            if (pending != Pending::None && at - lastByte > CommandTimeout)
                pending = Pending::None;
            lastByte = at;
            bool vanish = false;
            QByteArray reply = answer(buffer[k], vanish);
            if (vanish) {
                // What was answered before still goes out; then the port
                // goes away and the link sees its device vanish.
                for (const QByteArray &before : replies)
                    writeAll(fd, before);
                closeFds();
                devicePath.clear();
                answering = false;
                return false;
            }
            if (reply.isEmpty())
                continue;
            if (faults.replyDelayMs > 0 || !held.empty()) {
                // Each reply waits its delay from when the one before it went out.
                lastDue = std::max(at, lastDue) + std::chrono::milliseconds(faults.replyDelayMs);
                held.push_back({lastDue, reply});
            } else {
                replies.push_back(reply);
            }
        }
    }
    for (const QByteArray &reply : replies) {
        if (!writeAll(fd, reply))
            return false;
    }
    std::lock_guard lock(mutex);
    answering = false;
    return true;
}

bool SimulatedModule::State::sendDue(int fd)
{
    for (;;) {
        QByteArray reply;
        {
            std::lock_guard lock(mutex);
            if (held.empty() || held.front().due > now()) {
                answering = false;
                return true;
            }
            answering = true;  // taken off the list, not yet on the line
            reply = held.front().bytes;
            held.pop_front();
        }
        if (!writeAll(fd, reply))
            return false;
    }
}

void SimulatedModule::State::changeBehindTheBack()
{
    ++readCount;
    if (readCount == faults.changeAfterReads && faults.changeAt >= 0 && faults.changeAt < EEPROMSize)
        memory[std::size_t(faults.changeAt)] = faults.changeTo;
}

QByteArray SimulatedModule::State::answer(std::uint8_t byte, bool &vanish)
{
    ++receivedCount;
    if (faults.vanishAfterBytes >= 0 && receivedCount >= faults.vanishAfterBytes) {
        vanish = true;
        return {};
    }
    if (faults.silenceAfterBytes >= 0 && receivedCount > faults.silenceAfterBytes)
        return {};

    QByteArray reply;
    reply.append(char(byte));  // every byte is echoed first
    switch (pending) {
    case Pending::AddressLow:
        addressLow = byte;
        pending = Pending::AddressHigh;
        break;
    case Pending::AddressHigh:
        pending = Pending::None;
        if (faults.refuseAddress) {
            reply.append(char(Nak));
            break;
        }
        pointer = addressLow | (byte << 8);
        reply.append(char(Ack));
        break;
    case Pending::WriteData: {
        pending = Pending::None;
        const bool refused = pointer == faults.refuseWriteAt || pointer < 0 || pointer >= EEPROMSize;
        // A worn cell acknowledges the write and keeps its old byte.
        if (!refused && pointer != faults.stuckAt)
            memory[std::size_t(pointer)] = byte;
        reply.append(char(refused ? Nak : Ack));
        ++pointer;
        break;
    }
    case Pending::None:
        switch (byte) {
        case 0x33:
            reply.append(char(faults.noResyncAck ? Nak : Ack));
            break;
        case 0x10:
            if (faults.idFirstByte)
                reply[0] = char(*faults.idFirstByte);
            reply.append(firmwareID);
            if (!faults.idNoTerminator)
                reply.append(char(0x0D));
            break;
        case 0x14:
            pending = Pending::AddressLow;
            break;
        case 0x15: {
            std::uint8_t value = 0xFF;  // past the end reads as erased
            if (pointer >= 0 && pointer < EEPROMSize)
                value = memory[std::size_t(pointer)];
            if (pointer == faults.readBackDiffersAt)
                value ^= 0x5A;
            if (pointer == faults.glitchFirstReadAt && !glitched) {
                value ^= 0x01;
                glitched = true;
            }
            reply.append(char(value));
            ++pointer;
            changeBehindTheBack();
            break;
        }
        case 0x16:
            pending = Pending::WriteData;
            break;
        default:
            return {};  // not a command: no answer
        }
        break;
    }
    if (faults.noiseProbability > 0.0) {
        std::uniform_real_distribution<double> chance(0.0, 1.0);
        if (chance(random) < faults.noiseProbability)
            reply.append(char(std::uniform_int_distribution<int>(0, 255)(random)));
    }
    return reply;
}

}  // namespace tunara::sim
