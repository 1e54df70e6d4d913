// The link trace: a download through the tracing port shows every read
// exchange with its pauses, in time order, and a summary that adds up; a
// trace file that cannot be made is refused before anything is sent.
#include "link/tracing_serial_port.h"

#include "link_test_support.h"

#include <QFile>
#include <QRegularExpression>

#include <unistd.h>

using namespace tunara;
using namespace tunara::link;
using linktest::LinkTest;

namespace {

struct Entry {
    long long us;
    QString event;
    QString value;
    QString step;
};

// Lines are "time  event  value  step", columns two or more spaces apart.
std::vector<Entry> readEntries(const QString &path, QStringList *comments = nullptr)
{
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly | QIODevice::Text));
    std::vector<Entry> entries;
    for (const QString &line : QString::fromUtf8(f.readAll()).split(u'\n', Qt::SkipEmptyParts)) {
        if (line.startsWith(u'#')) {
            if (comments)
                *comments << line;
            continue;
        }
        const QStringList cols = line.trimmed().split(QRegularExpression(QStringLiteral("\\s{2,}")));
        const bool hasValue = cols.size() == 4;
        entries.push_back({cols[0].toLongLong(), cols.value(1), hasValue ? cols[2] : QString(), cols.value(hasValue ? 3 : 2)});
    }
    return entries;
}

// The bytes sent during the steps whose name starts with `procedure`.
std::vector<Entry> sendsOf(const std::vector<Entry> &entries, const QString &procedure)
{
    std::vector<Entry> out;
    for (const Entry &e : entries)
        if (e.event == QLatin1String("send") && e.step.startsWith(procedure))
            out.push_back(e);
    return out;
}

QStringList eventsOf(const std::vector<Entry> &entries, const QString &step)
{
    QStringList out;
    for (const Entry &e : entries) {
        if (e.step == step && e.event != QLatin1String("open") && e.event != QLatin1String("close"))
            out << e.event + u' ' + e.value.section(u',', 0, 0);
    }
    return out;
}

// On the machine's clock: the trace shows the real pacing.
class Trace : public LinkTest {
protected:
    Trace() : LinkTest(Time::Real) {}
    // Runs a download through a tracing port into trace.txt.
    TransferOutcome tracedDownload()
    {
        LinkTrace trace(tracePath());
        TracingSerialPort tracing(port, trace);
        ModuleProtocol tracedProtocol(tracing, data.image, errors);
        ModuleTransfers tracedTransfers(tracedProtocol, document, prompter, errors);
        return tracedTransfers.Download();
    }
    QString tracePath() const { return dir.filePath(QStringLiteral("trace.txt")); }
};

TEST_F(Trace, DownloadShowsEveryReadExchangeWithItsPausesAndAddsUp)
{
    const auto memory = memoryWith([](int a) { return std::uint8_t(a * 7 + 3); });
    sim.setMemory(memory);
    ASSERT_EQ(tracedDownload(), TransferOutcome::Completed);
    QStringList comments;
    const std::vector<Entry> entries = readEntries(tracePath(), &comments);

    EXPECT_EQ(eventsOf(entries, "ReSync"), (QStringList{"send 33", "recv 33", "recv 06", "pause 2 ms"}));
    EXPECT_EQ(eventsOf(entries, "SetEEPROMAddress"),
              (QStringList{"send 14", "drop 14", "pause 5 ms", "send 10", "drop 10", "pause 5 ms", "send 00",
                           "recv 00", "recv 06", "pause 5 ms"}));
    for (int a = 16; a <= 279; ++a) {
        const QString value = QStringLiteral("%1").arg(memory[std::size_t(a)], 2, 16, QLatin1Char('0')).toUpper();
        EXPECT_EQ(eventsOf(entries, QStringLiteral("ReadEEPROMData %1").arg(a)),
                  (QStringList{"send 15", "recv 15", "recv " + value, "pause 5 ms", "pause 5 ms"}))
            << a;
    }
    // On the line: one read command every 10 ms at the most (its two pauses).
    const std::vector<Entry> readCommands = sendsOf(entries, "ReadEEPROMData");
    ASSERT_EQ(readCommands.size(), 264u);
    for (std::size_t k = 1; k < readCommands.size(); ++k)
        ASSERT_GE(readCommands[k].us - readCommands[k - 1].us, 10000) << readCommands[k].step.toStdString();

    long long sent = 0, received = 0, pauses = 0, last = 0;
    for (const Entry &e : entries) {
        EXPECT_GE(e.us, last) << "time stamps go forward";
        last = e.us;
        sent += e.event == "send";
        received += e.event == "recv" || e.event == "drop";
        if (e.event == "pause") {
            ++pauses;
            // "5 ms, 5043 us": never shorter than asked.
            const QStringList parts = e.value.split(QRegularExpression("[ ,]+"));
            EXPECT_GE(parts[2].toLongLong(), parts[0].toLongLong() * 1000) << e.value.toStdString();
        }
    }
    EXPECT_EQ(pauses, 1 + 1 + 3 + 2 * 264);
    EXPECT_TRUE(comments.contains(QStringLiteral("# summary: %1 bytes sent, %2 received (2 of them dropped unread)")
                                      .arg(sent)
                                      .arg(received)))
        << comments.join('\n').toStdString();
    EXPECT_TRUE(comments.filter(QStringLiteral("# pauses: %1, asked 2662.000 ms").arg(pauses)).size() == 1);
    EXPECT_TRUE(comments.contains("# time-outs: 0, line errors: 0"));
}

// Writing paces every byte as the module needs it, on the real line: the
// data byte leaves at least 5 ms after its write command, and the next
// command at least 5 ms after that.
TEST_F(Trace, WritingPacesTheDataByteAfterItsCommand)
{
    for (int a = 100; a < 110; ++a)
        document.edit()->image.EEPROMBuffer[std::size_t(a)] = std::uint8_t(a ^ 0x5A);
    {
        LinkTrace trace(tracePath());
        TracingSerialPort tracing(port, trace);
        ModuleProtocol tracedProtocol(tracing, data.image, errors);
        ASSERT_TRUE(tracedProtocol.WriteEEPROMData({{100, 10}}));
    }
    const std::vector<Entry> sent = sendsOf(readEntries(tracePath()), "WriteEEPROMData");
    ASSERT_EQ(sent.size(), 2u * 10u);
    for (std::size_t k = 0; k < sent.size(); ++k) {
        const int data = int(100 + k / 2) ^ 0x5A;
        EXPECT_EQ(sent[k].value, k % 2 == 0 ? QStringLiteral("16") : QStringLiteral("%1").arg(data, 2, 16, QLatin1Char('0')).toUpper())
            << k;
        if (k > 0) {
            EXPECT_GE(sent[k].us - sent[k - 1].us, 5000) << sent[k].step.toStdString();
        }
    }
    const auto memory = sim.memory();
    for (int a = 100; a < 110; ++a)
        EXPECT_EQ(memory[std::size_t(a)], data.image.EEPROMBuffer[std::size_t(a)]) << a;
}

TEST_F(Trace, SilentModuleShowsTheTimeout)
{
    sim::Faults f;
    f.silenceAfterBytes = 5 + 10;  // ten reads into the block
    sim.setFaults(f);
    EXPECT_EQ(tracedDownload(), TransferOutcome::Failed);
    QStringList comments;
    const std::vector<Entry> entries = readEntries(tracePath(), &comments);
    const auto timeout = std::find_if(entries.begin(), entries.end(), [](const Entry &e) { return e.event == "timeout"; });
    ASSERT_NE(timeout, entries.end());
    EXPECT_EQ(timeout->value, "0 of 2 bytes");
    EXPECT_EQ(timeout->step, "ReadEEPROMData 26");
    EXPECT_TRUE(comments.contains("# time-outs: 1, line errors: 0")) << comments.join('\n').toStdString();
}

TEST_F(Trace, FileThatCannotBeMadeIsRefusedWithItsReason)
{
    QStringList bad{dir.filePath("missing/trace.txt"), dir.path()};
    QDir(dir.path()).mkdir("locked");
    QFile::setPermissions(dir.filePath("locked"), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    if (::geteuid() != 0)  // root writes into read-only folders anyway
        bad << dir.filePath("locked/trace.txt");
    for (const QString &path : bad) {
        try {
            LinkTrace trace(path);
            ADD_FAILURE() << "made " << path.toStdString();
        } catch (const RuntimeError &e) {
            EXPECT_TRUE(e.description().startsWith("Cannot create the trace file " + path + ": "))
                << e.description().toStdString();
        }
    }
}

}  // namespace
