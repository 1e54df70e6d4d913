#include "link/link_trace.h"

#include "core/runtime_error.h"
#include "core/system_error_text.h"
#include "core/version.h"
#include "files/file_safety.h"

#include <QDateTime>

#include <algorithm>
#include <cerrno>
#include <unistd.h>

namespace tunara::link {

namespace {

long long micros(Clock::duration d)
{
    return std::chrono::duration_cast<std::chrono::microseconds>(d).count();
}

QString millis(Clock::duration d)
{
    return QString::number(std::chrono::duration<double, std::milli>(d).count(), 'f', 3) + QStringLiteral(" ms");
}

QString hex(std::uint8_t byte)
{
    return QStringLiteral("%1").arg(byte, 2, 16, QLatin1Char('0')).toUpper();
}

}  // namespace

QString LinkTrace::createErrorText(const QString &path, const QString &reason)
{
    return QStringLiteral("Cannot create the trace file %1: %2.").arg(path, reason);
}

LinkTrace::LinkTrace(const QString &path, const QStringList &inputs) : m_path(path), m_start(Clock::now())
{
    try {
        files::createStream(m_file, path, inputs);
    } catch (const files::FileRefused &e) {
        throw RuntimeError(FileErrorNumber, QStringLiteral("Link Trace"), createErrorText(path, e.reason()));
    }
    const QString header =
        QStringLiteral("# Tunara link trace, tunara %1, started %2\n"
                       "# time_us: microseconds since the trace started (monotonic clock).\n"
                       "# send/recv: a byte (hex) written to / read from the port; drop: received and thrown away "
                       "unread.\n"
                       "# pause: the pacing pause asked for and its real length.\n"
                       "#   time_us  event    value               step\n")
            .arg(programVersion(), QDateTime::currentDateTime().toString(Qt::ISODate));
    write(header.toUtf8());
    flush();
    // A trace that cannot even take its header is refused like one that
    // cannot be created: nothing has gone on the line yet.
    if (!m_failure.isEmpty())
        throw RuntimeError(FileErrorNumber, QStringLiteral("Link Trace"), m_failure);
}

LinkTrace::~LinkTrace()
{
    finish();
}

void LinkTrace::line(Clock::time_point at, const char *event, const QString &value)
{
    const QString text = QStringLiteral("%1  %2  %3  %4\n")
                             .arg(micros(at - m_start), 11)
                             .arg(QLatin1String(event), -7)
                             .arg(value, -18)
                             .arg(m_step);
    write(text.toUtf8());
}

void LinkTrace::write(const QByteArray &bytes)
{
    if (!m_failure.isEmpty())
        return;
    m_pending += bytes;
    // Lines are kept together and written in blocks; the block never waits
    // for a flush point when a long transfer fills it.
    if (m_pending.size() >= BlockSize)
        flush();
}

void LinkTrace::flush()
{
    // Written straight to the descriptor, so a failure comes back with the
    // system's own reason (a full disk, a file size limit).
    qsizetype done = 0;
    while (m_failure.isEmpty() && done < m_pending.size()) {
        const ssize_t n = ::write(m_file.handle(), m_pending.constData() + done, size_t(m_pending.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            failed(n < 0 ? errno : ENOSPC);
            break;
        }
        done += n;
    }
    m_pending.clear();
}

void LinkTrace::failed(int error)
{
    m_failure = QStringLiteral("Cannot write the trace file %1: %2.").arg(m_path, systemErrorText(error));
}

void LinkTrace::setUnreportedFailureHandler(std::function<void(const QString &)> handler)
{
    m_onUnreportedFailure = std::move(handler);
}

void LinkTrace::step(const char *procedure, int address)
{
    m_step = QLatin1String(procedure);
    if (address >= 0)
        m_step += u' ' + QString::number(address);
}

void LinkTrace::sent(std::uint8_t byte, Clock::time_point begin, Clock::time_point end)
{
    if (m_anySent && begin - m_lastSendEnd < m_summary.shortestSendGap) {
        m_summary.shortestSendGap = begin - m_lastSendEnd;
        m_summary.shortestSendGapStep = m_step;
    }
    m_anySent = true;
    m_lastSendEnd = end;
    ++m_summary.sent;
    line(begin, "send", hex(byte));
}

void LinkTrace::received(std::uint8_t byte)
{
    ++m_summary.received;
    line(Clock::now(), "recv", hex(byte));
}

void LinkTrace::dropped(std::uint8_t byte)
{
    ++m_summary.received;
    ++m_summary.dropped;
    line(Clock::now(), "drop", hex(byte));
}

void LinkTrace::paused(int requestedMs, Clock::time_point start, Clock::duration actual)
{
    ++m_summary.pauses;
    m_summary.pausesAsked += std::chrono::milliseconds(requestedMs);
    m_summary.pausesTaken += actual;
    line(start, "pause", QStringLiteral("%1 ms, %2 us").arg(requestedMs).arg(micros(actual)));
}

void LinkTrace::timedOut(int needed, int arrived)
{
    ++m_summary.timeouts;
    line(Clock::now(), "timeout", QStringLiteral("%1 of %2 bytes").arg(arrived).arg(needed));
}

void LinkTrace::portOpened(const QString &device)
{
    line(Clock::now(), "open", device);
}

void LinkTrace::portOpenFailed(const QString &reason)
{
    line(Clock::now(), "error", reason);
    flush();
}

void LinkTrace::portClosed()
{
    line(Clock::now(), "close", QString());
    flush();
}

void LinkTrace::lineError(int commEvent)
{
    ++m_summary.lineErrors;
    line(Clock::now(), "lineerr", QString::number(commEvent));
    flush();
}

void LinkTrace::finish()
{
    if (m_finished)
        return;
    m_finished = true;
    const TraceSummary &s = m_summary;
    QString text = QStringLiteral("# summary: %1 bytes sent, %2 received (%3 of them dropped unread)\n")
                       .arg(s.sent)
                       .arg(s.received)
                       .arg(s.dropped);
    text += QStringLiteral("# pauses: %1, asked %2, taken %3\n")
                .arg(s.pauses)
                .arg(millis(s.pausesAsked), millis(s.pausesTaken));
    text += s.sent > 1 ? QStringLiteral("# shortest gap between two bytes sent: %1 (%2)\n")
                             .arg(millis(s.shortestSendGap), s.shortestSendGapStep)
                       : QStringLiteral("# shortest gap between two bytes sent: none (fewer than two bytes sent)\n");
    text += QStringLiteral("# time-outs: %1, line errors: %2\n").arg(s.timeouts).arg(s.lineErrors);
    write(text.toUtf8());
    flush();
    if (!m_failure.isEmpty() && !m_failureReported && m_onUnreportedFailure) {
        m_failureReported = true;
        m_onUnreportedFailure(m_failure);
    }
}

}  // namespace tunara::link
