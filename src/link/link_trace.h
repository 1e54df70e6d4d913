#pragma once

#include "link/link_observer.h"
#include "link/pacing.h"

#include <QFile>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>

namespace tunara::link {

// Counts a trace keeps for its summary.
struct TraceSummary {
    long long sent = 0;
    long long received = 0;   // including the dropped ones
    long long dropped = 0;    // received and thrown away unread
    long long pauses = 0;
    Clock::duration pausesAsked{};
    Clock::duration pausesTaken{};
    Clock::duration shortestSendGap = Clock::duration::max();  // end of one send to the start of the next
    QString shortestSendGapStep;
    long long timeouts = 0;
    long long lineErrors = 0;
};

// A support trace of the serial line: one text line per byte sent or
// received, per pause and per port event, each with a monotonic time stamp
// in microseconds since the trace began and the protocol step it belongs to,
// and a summary when it ends.
//
// Writing a line costs a microsecond or so and never happens inside a pause,
// so tracing leaves the pacing as it is. The file is flushed whenever the
// port closes (the end of every protocol operation) and at the end.
//
// Every write and flush is checked. The first one that fails (a full disk)
// ends the writing and is kept as failure(); the tracing port then refuses
// to go on, so no transfer runs on untraced, and a failure nobody reported
// by the time the trace ends goes to the unreported-failure handler.
class LinkTrace {
public:
    // Creates the file new, or replaces a regular file that is none of
    // inputs; never writes through a link or into a device or pipe. Throws
    // RuntimeError naming the file and the reason when it cannot, so no byte
    // goes on the line untraced.
    explicit LinkTrace(const QString &path, const QStringList &inputs = {});
    ~LinkTrace();  // writes the summary
    LinkTrace(const LinkTrace &) = delete;
    LinkTrace &operator=(const LinkTrace &) = delete;

    static QString createErrorText(const QString &path, const QString &reason);

    void step(const char *procedure, int address);
    void sent(std::uint8_t byte, Clock::time_point begin, Clock::time_point end);
    void received(std::uint8_t byte);
    void dropped(std::uint8_t byte);
    void paused(int requestedMs, Clock::time_point start, Clock::duration actual);
    void timedOut(int needed, int arrived);
    void portOpened(const QString &device);
    void portOpenFailed(const QString &reason);
    void portClosed();
    void lineError(int commEvent);

    const TraceSummary &summary() const { return m_summary; }
    QString path() const { return m_path; }
    // Writes the summary lines now (the destructor does it otherwise).
    void finish();

    // "Cannot write the trace file PATH: REASON." for the first write that
    // failed; "" while every write went through.
    QString failure() const { return m_failure; }
    // Whoever stopped a transfer on the failure (and so showed it) says so.
    void setFailureReported() { m_failureReported = true; }
    // Called by finish() with a failure nobody reported, so a trace that
    // could not be completed never ends unnoticed.
    void setUnreportedFailureHandler(std::function<void(const QString &failure)> handler);

private:
    void line(Clock::time_point at, const char *event, const QString &value);
    void write(const QByteArray &bytes);
    void flush();
    void failed(int error);

    static constexpr qsizetype BlockSize = 16 * 1024;
    QString m_path;
    QFile m_file;
    QByteArray m_pending;  // lines not yet written
    Clock::time_point m_start;
    QString m_step;
    TraceSummary m_summary;
    Clock::time_point m_lastSendEnd{};
    bool m_anySent = false;
    bool m_finished = false;
    QString m_failure;
    bool m_failureReported = false;
    std::function<void(const QString &)> m_onUnreportedFailure;
};

}  // namespace tunara::link
