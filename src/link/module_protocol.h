#pragma once

#include "core/runtime_error.h"
#include "image/module_image.h"
#include "link/address_runs.h"
#include "link/link_observer.h"
#include "link/link_state.h"
#include "link/link_thread.h"
#include "link/pacing.h"
#include "link/progress_display.h"
#include "link/serial_port.h"

#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <type_traits>
#include <vector>

namespace tunara::link {

// Command and reply bytes of the module.
namespace Cmd {
inline constexpr std::uint8_t ReSync = 0x33;
inline constexpr std::uint8_t ReadID = 0x10;
inline constexpr std::uint8_t SetAddress = 0x14;
inline constexpr std::uint8_t Read = 0x15;
inline constexpr std::uint8_t Write = 0x16;
inline constexpr std::uint8_t Ack = 0x06;
inline constexpr std::uint8_t Terminator = 0x0D;
}  // namespace Cmd


// How long the pacing pauses really took, for the benchmark.
struct PacingStats {
    long long pauses = 0;
    Clock::duration requested{};  // sum of the lengths asked for
    Clock::duration actual{};     // sum of the lengths paused
    Clock::duration shortestExcess = Clock::duration::max();  // least (actual - requested)
};

// The module's one-byte command protocol and the EEPROM block transfers.
//
// Works on one image and one port; errors raised inside an operation
// (time-outs, a bad identification echo, a port that will not open) go to
// the common error dialog through the ErrorResponder. Retry closes the port
// and runs the failed operation again from its start (a whole pass for the
// block procedures), so a cable plugged back in or a device that came back
// carries on; Ignore and Abort both end the operation with CommOK false and
// the port closed (carrying on after a missing reply would read bytes that
// never came).
//
// Each operation runs on the link thread when one is given (the window's
// case): the caller's thread waits for it while handling its events, the
// error dialog opens on the caller's thread and progress is posted to it, so
// the pacing never waits for the window. Without one, everything runs on the
// caller's thread, whose event loop the waits and pauses keep running (the
// command line, the tests on virtual time). Pauses, deadlines and waits go
// through the link clock: the machine's unless another is given.
class ModuleProtocol {
public:
    // The image is only read: what a write sends, what a read-back is
    // compared with. The clock paces the pauses and the reply deadlines.
    ModuleProtocol(SerialPort &port, const ModuleImage &image, ErrorResponder &errors,
                   ProgressDisplay *progress = nullptr, LinkClock &clock = LinkClock::machine());

    // Runs every operation on this thread from now on; null: on the caller's.
    // The thread must outlive the protocol's operations.
    void runOn(LinkThread *thread) { m_thread = thread; }

    // What the link knows; read it through state(), set it only here.
    LinkState &state() { return m_state; }
    const LinkState &state() const { return m_state; }
    // Bytes that differed in the last verification, plus one when it stopped early.
    int VerifyErrorCount = 0;

    int CommPortNumber() const { return m_port.portNumber(); }

    void ReSync();
    void ReadFirmwareID();
    void SetEEPROMAddress(std::int32_t address);

    // How a pass over the EEPROM ended.
    enum class Pass { Complete, Stopped, Failed };  // Stopped: by Esc
    // How fast a read pass goes: the download's loop adds a pause of its own
    // after every byte; the upload's reads go at the verification's pace.
    enum class ReadPace { Download, Verify };

    // Reads addresses 16..279 into `into` ("Reading EEPROM"), nothing else:
    // the image is not touched, so a failed or stopped read loses nothing.
    Pass ReadEEPROMData(EEPROMBytes &into, ReadPace pace = ReadPace::Download);
    // Reads only these addresses into `into`, one address set per run, at
    // the verification's pace ("Reading EEPROM"); the rest of `into` stays.
    Pass ReadEEPROMAt(const AddressRuns &runs, EEPROMBytes &into);
    // Writes the image's bytes at these addresses, one address set per run,
    // with the full pacing for every byte ("Programming EEPROM"); false when
    // a byte was refused or unanswered. Esc cannot stop it: the caption says so.
    bool WriteEEPROMData(const AddressRuns &runs);
    // Reads every address 16..279 back ("Verifying EEPROM") and lists those
    // whose byte differs from the image; VerifyErrorCount is their number,
    // plus one when the pass did not complete.
    Pass VerifyEEPROM(std::vector<int> &differing);
    // Addresses written since the last resetBytesWritten(), each counted
    // once however often it was written.
    int bytesWritten() const;
    // Of those, the addresses written more than once: again after a Retry
    // or after a read-back that found them still differing.
    int bytesWrittenAgain() const;
    void resetBytesWritten() { m_writes = {}; }
    // Pacing pause of n milliseconds that keeps the event loop running.
    void DelayTimer(int n);

    // Closes the port if it is open (the commands' clean-up after a failure);
    // between operations the port is the caller's, so this runs in place.
    void closePort();

    // Progress for an address: a x 100 / 263, halves to even, within 0..100.
    static int progressPercent(int address);
    // Model judged from an identification text.
    static QString judgeModuleType(const QString &firmwareID);

    static QString timeoutMessage();  // "RS-232 timeout. Check cable and click Abort."
    // The programming caption once Esc was pressed during the write.
    static QString programmingCannotStopCaption();

    SerialPort &port() { return m_port; }
    const ModuleImage &image() const { return m_image; }
    const PacingStats &pacingStats() const { return m_stats; }
    void resetPacingStats() { m_stats = {}; }

private:
    // The error dialog opens on the caller's thread, whichever thread asks.
    class OwnerErrors final : public ErrorResponder {
    public:
        OwnerErrors(ErrorResponder &errors, LinkThread *const &thread) : m_errors(errors), m_thread(thread) {}
        ErrorChoice ErrorDialog(const RuntimeError &error) override;

    private:
        ErrorResponder &m_errors;
        LinkThread *const &m_thread;
    };

    // Runs a public operation on the link thread when there is one.
    template <class Operation>
    auto onLink(Operation operation) -> decltype(operation())
    {
        using Result = decltype(operation());
        if (!m_thread || m_thread->isCurrent())
            return operation();
        if constexpr (std::is_void_v<Result>) {
            m_thread->run(m_port, operation);
        } else {
            Result result{};
            m_thread->run(m_port, [&] { result = operation(); });
            return result;
        }
    }
    // Shows progress on the caller's thread, never waiting for it.
    void toProgress(std::function<void(ProgressDisplay &)> show);
    bool openPort();
    bool send(std::uint8_t byte);
    // Sends a byte and waits (pumping events) for the reply's bytes; a
    // missing reply is the time-out report.
    bool sendAndAwait(std::uint8_t byte, int replyBytes);
    bool waitPumping(int count, const Deadline &deadline);
    bool waitBusy(int count, const Deadline &deadline);
    Deadline replyDeadline() const { return Deadline(m_clock); }
    // Tells a tracing port what the next bytes belong to.
    void step(const char *procedure, int address = -1);
    // Are `count` bytes waiting? When not, the wait that asks has timed out.
    bool arrived(int count);
    void raise(const QString &description);
    void report(const RuntimeError &error);
    void timeoutReport();
    // True once after the user answered Retry to a link error: the port was
    // closed, and the operation that failed starts again from its beginning.
    bool takeRetry();
    // Runs a whole operation again for as long as the user asks to retry it.
    template <class Operation>
    auto retrying(Operation operation)
    {
        m_retry = false;
        for (;;) {
            auto result = operation();
            if (!takeRetry())
                return result;
        }
    }
    class Progress;
    void reSync();
    void readIdentification();
    std::uint8_t readByteAt();
    void setAddress(std::int32_t address);
    Pass readPass(EEPROMBytes &into, ReadPace pace, const char *procedure, const AddressRuns &runs);
    Pass readRun(const AddressRun &run, EEPROMBytes &into, ReadPace pace, const char *procedure, Progress &progress);
    bool writePass(const AddressRuns &runs);
    bool writeRun(const AddressRun &run, Progress &progress);
    // Esc during a read pass: true when it ended the pass.
    bool stopRequested();
    void ignoreEscWhileProgramming(const Progress &progress);
    void showProgress(const QString &caption);
    void setProgress(int percent);
    void hideProgress();

    SerialPort &m_port;
    const ModuleImage &m_image;
    LinkThread *m_thread = nullptr;
    OwnerErrors m_errors;
    ProgressDisplay *m_progress;
    LinkClock &m_clock;
    LinkObserver *m_observer;  // the port, when it wants to know; else null
    PacingStats m_stats;
    std::array<std::uint8_t, ModuleImage::Size> m_writes{};  // acknowledged writes per address, at most 2
    bool m_retry = false;  // the user answered Retry to the last link error
    LinkState m_state;
};

}  // namespace tunara::link
