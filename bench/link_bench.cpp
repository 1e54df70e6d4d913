// link_bench: times a download and an upload with verification against the
// simulated module (or any device that speaks the protocol) and prints wall
// time, the protocol's pacing floor for the same work, their ratio, and CPU
// time over wall time. Beside the full upload (the module read first, every
// byte written, all read back) it times the upload of a 5-byte edit (read,
// write five, read all back) as a share of the write-everything floor: the
// pacing of writing every byte and reading it back, without the first read;
// and an upload to an empty (erased, all 0xFF) module against its own floor.
//
//   link_bench [--runs N] [--device PATH] [--trace FILE]
//
// With --trace the protocol talks through the tracing port, as with the
// programs' --trace option: run it with and without to see what tracing
// costs the pacing.
//
// Without --device the simulated module runs in this process on its own
// thread; the link's CPU figure is then the link thread's alone, and the
// process figure (link + module) is printed beside it.
//
// Last it downloads twice while the main thread is kept as busy as a window
// that paints heavily (8 ms of every 10): once with the protocol on the main
// thread, as the command line runs it, and once on the link thread, as the
// window runs it, and prints the pacing pauses' overshoot of each.

#include "module/module_document.h"
#include "module/parameter_codec.h"
#include "link/module_protocol.h"
#include "link/link_thread.h"
#include "link/module_transfers.h"
#include "link/qt_serial_port.h"
#include "link/tracing_serial_port.h"
#include "sim/simulated_module.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <ctime>
#include <sys/resource.h>

using namespace tunara;
using namespace tunara::link;

namespace {

double seconds(std::chrono::steady_clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

double threadCpu()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) * 1e-9;
}

double processCpu()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
}

// The real port, with the time each byte's write began and ended.
class TimedPort : public SerialPort {
public:
    struct Sent {
        std::uint8_t value;
        std::chrono::steady_clock::time_point begin, end;
    };
    explicit TimedPort(SerialPort &inner) : m_inner(inner)
    {
        connect(&inner, &SerialPort::lineError, this, &SerialPort::lineError);
    }
    std::vector<Sent> sent;
    void setPortNumber(int n) override { m_inner.setPortNumber(n); }
    int portNumber() const override { return m_inner.portNumber(); }
    bool isOpen() const override { return m_inner.isOpen(); }
    void open() override { m_inner.open(); }
    void close() override { m_inner.close(); }
    void applySettings() override { m_inner.applySettings(); }
    void writeByte(std::uint8_t byte) override
    {
        const auto begin = std::chrono::steady_clock::now();
        m_inner.writeByte(byte);
        sent.push_back({byte, begin, std::chrono::steady_clock::now()});
    }
    QString deviceName() const override { return m_inner.deviceName(); }
    int bytesWaiting() override { return m_inner.bytesWaiting(); }
    std::uint8_t readByte() override { return m_inner.readByte(); }
    void discardInput() override { m_inner.discardInput(); }
    void waitForInput(int msecs) override { m_inner.waitForInput(msecs); }

    // Least time from the end of each write command's send to the start of
    // its data byte's send.
    double shortestWriteGapMs() const
    {
        double shortest = 1e9;
        for (std::size_t k = 0; k + 1 < sent.size(); ++k) {
            if (sent[k].value == Cmd::Write) {
                shortest = std::min(shortest, seconds(sent[k + 1].begin - sent[k].end) * 1e3);
                ++k;
            }
        }
        return shortest;
    }

private:
    SerialPort &m_inner;
};

class Quiet : public TransferPrompter, public ErrorResponder {
public:
    QStringList messages;
    QStringList errors;
    void showMessage(const QString &text, const QString &, MessageIcon) override { messages << text; }
    bool askOkCancel(const QString &, const QString &) override { return true; }
    ErrorChoice ErrorDialog(const RuntimeError &error) override
    {
        errors << error.description();
        return ErrorChoice::Abort;
    }
};

struct Figures {
    double wall = 0, floor = 0, linkCpu = 0, processCpu = 0;
    long long pauses = 0;
    double meanOvershootUs = 0, shortestExcessUs = 0;
    bool ok = false;
};

template <typename Run>
Figures measure(ModuleProtocol &protocol, Run run)
{
    protocol.resetPacingStats();
    const double cpu0 = threadCpu(), proc0 = processCpu();
    const auto t0 = std::chrono::steady_clock::now();
    Figures f;
    f.ok = run();
    f.wall = seconds(std::chrono::steady_clock::now() - t0);
    f.linkCpu = threadCpu() - cpu0;
    f.processCpu = processCpu() - proc0;
    const PacingStats &s = protocol.pacingStats();
    f.floor = seconds(s.requested);
    f.pauses = s.pauses;
    f.meanOvershootUs = s.pauses ? seconds(s.actual - s.requested) * 1e6 / double(s.pauses) : 0;
    f.shortestExcessUs = s.pauses ? seconds(s.shortestExcess) * 1e6 : 0;
    return f;
}

void print(const char *what, const Figures &f, bool inProcess)
{
    std::printf("%-16s %s  wall %7.1f ms  floor %7.1f ms  ratio %.4f  link CPU %5.2f%%", what, f.ok ? "ok  " : "FAIL",
                f.wall * 1e3, f.floor * 1e3, f.wall / f.floor, 100.0 * f.linkCpu / f.wall);
    if (inProcess)
        std::printf("  process CPU %5.2f%%", 100.0 * f.processCpu / f.wall);
    std::printf("  pauses %lld  mean overshoot %.0f us  shortest excess %.0f us\n", f.pauses, f.meanOvershootUs,
                f.shortestExcessUs);
}

// Least time from each write command to its data byte, as the module saw it.
double shortestWriteGapMs(const std::vector<sim::ReceivedByte> &received)
{
    double shortest = 1e9;
    for (std::size_t k = 0; k + 1 < received.size(); ++k) {
        if (received[k].value == Cmd::Write) {
            shortest = std::min(shortest, seconds(received[k + 1].at - received[k].at) * 1e3);
            ++k;  // the next byte is data, even when it is 0x16
        }
    }
    return shortest;
}

// Changes five consecutive bytes of the 3D table (`at` + 0..4) so that the
// image still decodes to itself.
void editFiveBytes(ModuleDocument &document, int at)
{
    auto edit = document.edit();
    for (int a = at; a < at + 5; ++a)
        edit->image.EEPROMBuffer[std::size_t(a)] ^= 0x01;
    UpdateParams(*edit);
}

struct EditFigures {
    Figures edit, empty;
    int editWritten = 0, emptyWritten = 0;
};

// The partial uploads of one round; the module holds the image on entry.
EditFigures measureEdits(ModuleProtocol &protocol, ModuleDocument &data, ModuleTransfers &transfers,
                         sim::SimulatedModule *module)
{
    EditFigures e;
    editFiveBytes(data, 150);
    e.edit = measure(protocol, [&] { return transfers.Upload() == TransferOutcome::Completed; });
    e.editWritten = protocol.bytesWritten();
    if (module) {
        sim::SimulatedModule::Memory erased;
        erased.fill(0xFF);
        module->setMemory(erased);
        e.empty = measure(protocol, [&] { return transfers.Upload() == TransferOutcome::Completed; });
        e.emptyWritten = protocol.bytesWritten();
    }
    return e;
}

void printShare(const char *what, const Figures &f, int written, double writeEverythingFloor, double target)
{
    std::printf("%-28s %s  wall %7.1f ms  %3d bytes written  %.4f of the write-everything floor (target <= %.2f)\n",
                what, f.ok ? "ok  " : "FAIL", f.wall * 1e3, written, f.wall / writeEverythingFloor, target);
}

// The main thread kept busy 8 ms of every 10, as by a window's painting.
class BusyMainThread {
public:
    BusyMainThread()
    {
        QObject::connect(&m_timer, &QTimer::timeout, [] {
            const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(8);
            while (std::chrono::steady_clock::now() < until) {
            }
        });
        m_timer.start(10);
    }

private:
    QTimer m_timer;
};

void compareUnderBusyWindow(ModuleProtocol &protocol, ModuleDocument &data, ModuleTransfers &transfers)
{
    std::printf("\nwith the main thread busy 8 ms of every 10:\n");
    const BusyMainThread busy;
    data.clear();
    const Figures onMain = measure(protocol, [&] { return transfers.Download() == TransferOutcome::Completed; });
    LinkThread thread;
    protocol.runOn(&thread);
    data.clear();
    const Figures onLink = measure(protocol, [&] { return transfers.Download() == TransferOutcome::Completed; });
    protocol.runOn(nullptr);
    for (const auto &[where, f] : {std::pair{"on the main thread", onMain}, std::pair{"on the link thread", onLink}})
        std::printf("download %-19s %s  wall %7.1f ms  ratio %.4f  mean pause overshoot %6.0f us  shortest excess "
                    "%.0f us\n",
                    where, f.ok ? "ok  " : "FAIL", f.wall * 1e3, f.wall / f.floor, f.meanOvershootUs,
                    f.shortestExcessUs);
}

}  // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addOptions({{QStringLiteral("runs"), QStringLiteral("Rounds of download + upload."), QStringLiteral("N"), QStringLiteral("3")},
                       {QStringLiteral("device"), QStringLiteral("Use this device instead of the in-process simulated module."), QStringLiteral("path")},
                       {QStringLiteral("trace"), QStringLiteral("Trace the link into this file while measuring."), QStringLiteral("FILE")}});
    parser.process(app);
    const int runs = std::max(1, parser.value(QStringLiteral("runs")).toInt());

    sim::SimulatedModule module;
    const bool inProcess = !parser.isSet(QStringLiteral("device"));
    QString device = parser.value(QStringLiteral("device"));
    if (inProcess) {
        module.start();
        device = module.devicePath();
    }

    QtSerialPort realPort;
    realPort.setDevicePath(device);
    TimedPort port(realPort);
    std::unique_ptr<LinkTrace> trace;
    std::unique_ptr<TracingSerialPort> tracing;
    if (parser.isSet(QStringLiteral("trace"))) {
        try {
            trace = std::make_unique<LinkTrace>(parser.value(QStringLiteral("trace")));
        } catch (const RuntimeError &e) {
            std::fprintf(stderr, "%s\n", qPrintable(e.description()));
            return 2;
        }
        tracing = std::make_unique<TracingSerialPort>(port, *trace);
    }
    SerialPort &linkPort = tracing ? static_cast<SerialPort &>(*tracing) : port;
    ModuleDocument data;
    Quiet quiet;
    ModuleProtocol protocol(linkPort, data.image(), quiet);
    ModuleTransfers transfers(protocol, data, quiet, quiet);
    std::printf("device %s (%s), %d baud read back after a first open%s\n", qPrintable(device),
                inProcess ? "in-process simulated module" : "external", QtSerialPort::BaudRate,
                trace ? qPrintable(QStringLiteral(", traced into ") + trace->path()) : "");

    double worstEdit = 0, worstEmpty = 0;
    double worstDownload = 0, worstUpload = 0, worstCpu = 0, shortestGap = 1e9, moduleGap = 1e9, shortestExcess = 1e9;
    bool allOk = true;
    for (int r = 1; r <= runs; ++r) {
        data.clear();
        const Figures down = measure(protocol, [&] { return transfers.Download() == TransferOutcome::Completed; });
        print("download", down, inProcess);
        module.clearReceived();
        port.sent.clear();
        transfers.setWriteAll(true);  // as every upload was: write all, read all back
        const Figures up = measure(protocol, [&] { return transfers.Upload() == TransferOutcome::Completed; });
        transfers.setWriteAll(false);
        print("upload+verify", up, inProcess);
        shortestGap = std::min(shortestGap, port.shortestWriteGapMs());
        if (inProcess)
            moduleGap = std::min(moduleGap, shortestWriteGapMs(module.received()));
        allOk = allOk && down.ok && up.ok;
        worstDownload = std::max(worstDownload, down.wall / down.floor);
        worstUpload = std::max(worstUpload, up.wall / up.floor);
        worstCpu = std::max({worstCpu, down.linkCpu / down.wall, up.linkCpu / up.wall});
        shortestExcess = std::min({shortestExcess, down.shortestExcessUs, up.shortestExcessUs});
        // The write-everything floor: the full upload's without its first read.
        EEPROMBytes scratch{};
        const Figures readPass = measure(protocol, [&] {
            return protocol.ReadEEPROMData(scratch, ModuleProtocol::ReadPace::Verify) == ModuleProtocol::Pass::Complete;
        });
        const double writeEverythingFloor = up.floor - readPass.floor;
        const EditFigures e = measureEdits(protocol, data, transfers, inProcess ? &module : nullptr);
        printShare("5-byte edit", e.edit, e.editWritten, writeEverythingFloor, 0.70);
        if (inProcess)
            print("upload to empty", e.empty, inProcess);
        allOk = allOk && readPass.ok && e.edit.ok && (!inProcess || e.empty.ok);
        worstEdit = std::max(worstEdit, e.edit.wall / writeEverythingFloor);
        if (inProcess)
            worstEmpty = std::max(worstEmpty, e.empty.wall / e.empty.floor);
    }
    std::printf("\nworst of %d: download ratio %.4f (target <= 1.05), upload+verify ratio %.4f (target <= 1.05), "
                "link CPU %.2f%% of wall (target < 15%%)\n",
                runs, worstDownload, worstUpload, 100.0 * worstCpu);
    std::printf("worst of %d: 5-byte edit %.4f of the write-everything floor, every byte read back (target <= 0.70; "
                "two reads are 0.66)",
                runs, worstEdit);
    if (inProcess)
        std::printf("; upload to an empty module ratio %.4f (target <= 1.05)", worstEmpty);
    std::printf("\n");
    std::printf("shortest pause minus its length: %.0f us (never negative = no pause shorter than asked)\n",
                shortestExcess);
    std::printf("shortest time from sending 0x16 to sending its data byte: %.3f ms (must be >= 5)\n", shortestGap);
    if (inProcess)
        std::printf("  the same as the module's thread saw the bytes arrive: %.3f ms (includes that thread's own "
                    "scheduling delays)\n",
                    moduleGap);
    compareUnderBusyWindow(protocol, data, transfers);
    if (!quiet.errors.isEmpty())
        std::printf("errors: %s\n", qPrintable(quiet.errors.join(QStringLiteral(" | "))));
    if (!allOk)
        std::printf("a transfer FAILED: %s\n", qPrintable(quiet.messages.join(QStringLiteral(" | "))));
    module.stop();
    return allOk ? 0 : 1;
}
