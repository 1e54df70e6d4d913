#include "sim/simulated_module.h"

#include "sim/module_state.h"

namespace tunara::sim {

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
    m->unsteadyReads = 0;
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
    // Refused whole, like any other open: the module would save its memory
    // back over a CSV file or a picture given by mistake.
    const datafile::Loaded loaded = datafile::load(path);
    if (loaded.error)
        throw *loaded.error;
    if (!loaded.ok())
        throw RuntimeError(FileErrorNumber, QStringLiteral("Data File"),
                           loaded.otherKind ? loaded.refusal : path + QStringLiteral(": ") + loaded.refusal);
    const auto &bytes = loaded.data.image.EEPROMBuffer;
    std::lock_guard lock(m->mutex);
    std::copy(bytes.begin() + ModuleImage::FirstTransferAddress, bytes.end(),
              m->memory.begin() + ModuleImage::FirstTransferAddress);
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

}  // namespace tunara::sim
