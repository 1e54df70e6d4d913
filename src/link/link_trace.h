#pragma once

#include "link/link_observer.h"
#include "link/pacing.h"

#include <QFile>
#include <QString>
#include <QStringList>

#include <cstdint>
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
    QString path() const { return m_file.fileName(); }
    // Writes the summary lines now (the destructor does it otherwise).
    void finish();

private:
    void line(Clock::time_point at, const char *event, const QString &value);
    void flush();

    QFile m_file;
    Clock::time_point m_start;
    QString m_step;
    TraceSummary m_summary;
    Clock::time_point m_lastSendEnd{};
    bool m_anySent = false;
    bool m_finished = false;
};

}  // namespace tunara::link
