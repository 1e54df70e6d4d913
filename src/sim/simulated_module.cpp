#include "sim/simulated_module.h"

#include "core/runtime_error.h"
#include "files/data_file.h"
#include "module/module_data.h"
#include "module/parameter_codec.h"

#include <cerrno>
#include <cstring>
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

    int master = -1;
    int slave = -1;  // held open so the line settings stay and no hang-up is seen
    int wake[2] = {-1, -1};
    QString devicePath;
    std::thread thread;
    bool running = false;

    void run();
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
        if (m->wake[1] >= 0) {
            const char c = 'q';
            [[maybe_unused]] auto n = ::write(m->wake[1], &c, 1);
        }
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

// ---- the module's side -------------------------------------------------------

void SimulatedModule::State::closeFds()
{
    if (master >= 0)
        ::close(master);
    if (slave >= 0)
        ::close(slave);
    master = slave = -1;
}

void SimulatedModule::State::run()
{
    int fdMaster, fdWake;
    {
        std::lock_guard lock(mutex);
        fdMaster = master;
        fdWake = wake[0];
    }
    for (;;) {
        pollfd fds[2] = {{fdMaster, POLLIN, 0}, {fdWake, POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        if (fds[1].revents)
            return;
        if (!(fds[0].revents & POLLIN)) {
            if (fds[0].revents & (POLLERR | POLLNVAL))
                return;
            continue;
        }
        std::uint8_t buffer[256];
        const ssize_t n = ::read(fdMaster, buffer, sizeof buffer);
        if (n <= 0) {
            if (n < 0 && (errno == EINTR || errno == EAGAIN))
                continue;
            return;
        }
        const auto now = Clock::now();
        for (ssize_t k = 0; k < n; ++k) {
            QByteArray reply;
            bool vanish = false;
            int delayMs = 0;
            {
                std::lock_guard lock(mutex);
                received.push_back({buffer[k], now});
                if (pending != Pending::None && now - lastByte > CommandTimeout)
                    pending = Pending::None;
                lastByte = now;
                reply = answer(buffer[k], vanish);
                delayMs = faults.replyDelayMs;
                if (vanish) {
                    // The port goes away: the link sees its device vanish.
                    closeFds();
                    devicePath.clear();
                    return;
                }
            }
            if (reply.isEmpty())
                continue;
            if (delayMs > 0)
                std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
            const char *data = reply.constData();
            qsizetype left = reply.size();
            while (left > 0) {
                const ssize_t w = ::write(fdMaster, data, size_t(left));
                if (w < 0) {
                    if (errno == EINTR || errno == EAGAIN)
                        continue;
                    return;
                }
                data += w;
                left -= w;
            }
        }
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
