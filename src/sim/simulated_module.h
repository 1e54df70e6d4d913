#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace tunara::sim {

// Ways the simulated module can misbehave. Negative addresses and counts
// mean "off".
struct Faults {
    // Stops answering (reads and ignores everything) after this many bytes.
    int silenceAfterBytes = -1;
    // Answers a resynchronisation without the acknowledgement.
    bool noResyncAck = false;
    // Sends this byte instead of the echo of the identification command.
    std::optional<std::uint8_t> idFirstByte;
    // Leaves the identification text without its terminator.
    bool idNoTerminator = false;
    // Answers the high address byte without the acknowledgement.
    bool refuseAddress = false;
    // Refuses the write at this address (third reply byte 0x15, not stored).
    int refuseWriteAt = -1;
    // Acknowledges writes at this address without storing them.
    int stuckAt = -1;
    // Reads at this address return a byte other than the stored one.
    int readBackDiffersAt = -1;
    // The first read of this address returns the stored byte with its
    // lowest bit flipped; later reads are right (a line glitch once).
    int glitchFirstReadAt = -1;
    // Every read of this address returns another byte: the stored one plus
    // the number of earlier reads of it (a cell or line that never settles).
    int unsteadyReadAt = -1;
    // Once the module has answered this many reads, the byte at changeAt
    // becomes changeTo, as if something else had written it.
    int changeAfterReads = -1;
    int changeAt = -1;
    std::uint8_t changeTo = 0;
    // Every reply waits this long (on the module's time) before it goes out;
    // replies keep their order.
    int replyDelayMs = 0;
    // Chance (0..1) that a random byte follows a complete reply.
    double noiseProbability = 0.0;
    // Closes the pseudo-terminal (the port vanishes) after this many bytes.
    int vanishAfterBytes = -1;
    // Seed of the random faults: the same seed gives the same faults.
    std::uint32_t seed = 1;
};

// One byte the module received, with its arrival time on the module's time.
struct ReceivedByte {
    std::uint8_t value;
    std::chrono::steady_clock::time_point at;
};

// A simulated ignition module behind a pseudo-terminal.
//
// It answers the command protocol the way the module does: every byte it
// receives is echoed, a resynchronisation adds 0x06, the identification
// command the text and 0x0D, the address command takes the low and then the
// high byte and adds 0x06 after the high one, a read adds the EEPROM byte at
// the pointer, a write takes the data byte and adds 0x06; reads and writes
// advance the pointer. It answers as fast as bytes arrive, on a thread of its
// own, so it also answers while the link's thread blocks in a busy wait.
// A command left half-sent for half a second is forgotten.
//
// Its time is the steady clock unless it is given another (a test's virtual
// link clock): the reply delay and the forgetting then follow that time, and
// whoever drives it asks quietUntil() how far it may move on before the
// module has something to say.
class SimulatedModule {
public:
    static constexpr int EEPROMSize = 280;
    using Memory = std::array<std::uint8_t, EEPROMSize>;
    using TimePoint = std::chrono::steady_clock::time_point;
    using TimeSource = std::function<TimePoint()>;

    static QByteArray defaultFirmwareID();  // "Torvik-1 Zoruro V2.1"
    // The start-up parameters encoded into an otherwise empty image.
    static Memory defaultMemory();

    SimulatedModule();
    ~SimulatedModule();
    SimulatedModule(const SimulatedModule &) = delete;
    SimulatedModule &operator=(const SimulatedModule &) = delete;

    // Opens a raw-mode pseudo-terminal pair and starts answering. Throws
    // tunara::RuntimeError when the system has no pseudo-terminal to give.
    void start();
    // Stops answering and closes the pseudo-terminal.
    void stop();
    bool isRunning() const;
    // The device the link opens, e.g. "/dev/pts/3" ("" before start()).
    QString devicePath() const;

    void setFirmwareID(const QByteArray &text);
    QByteArray firmwareID() const;
    void setFaults(const Faults &faults);
    Faults faults() const;

    Memory memory() const;
    void setMemory(const Memory &memory);
    // Addresses 16..279 from / to a data file (264 bytes); a short file
    // fills what it has. Throw tunara::RuntimeError on file errors.
    void loadDataFile(const QString &path);
    void saveDataFile(const QString &path) const;

    // Everything received since start() or clearReceived().
    std::vector<ReceivedByte> received() const;
    void clearReceived();
    // Where the module's address pointer stands.
    int pointer() const;

    // The time the module lives by; an empty source is the steady clock. The
    // source is called from the module's thread. On a time of its own the
    // module sends a delayed reply once it is told the time moved.
    void setTimeSource(TimeSource now);
    // The module's time moved on: a delayed reply that fell due goes out.
    void timeMoved();
    // nullopt while the module is busy: a byte waits for it on the line, it
    // is answering one, or a delayed reply has fallen due and is not yet
    // sent. Otherwise everything it sent is on the line, and it stays quiet
    // until the time returned (its next delayed reply), or for good
    // (TimePoint::max()) unless it is sent something. A module that is not
    // running is quiet for good.
    std::optional<TimePoint> quietUntil() const;

private:
    struct State;
    std::unique_ptr<State> m;
};

}  // namespace tunara::sim
