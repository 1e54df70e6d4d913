// tunara-sim: a simulated ignition module on a pseudo-terminal.
//
// Prints the device path to open (and makes the optional --link symlink to
// it), answers the module's command protocol until interrupted, then saves
// the EEPROM back to the data file given with --file.

#include "sim/simulated_module.h"

#include "core/runtime_error.h"
#include "core/version.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>

#include <csignal>
#include <cstdio>
#include <pthread.h>
#include <unistd.h>

using tunara::sim::Faults;
using tunara::sim::SimulatedModule;

namespace {

int toInt(const QCommandLineParser &parser, const QString &name, int fallback)
{
    if (!parser.isSet(name))
        return fallback;
    bool ok = false;
    const int value = parser.value(name).toInt(&ok, 0);
    if (!ok) {
        std::fprintf(stderr, "tunara-sim: --%s needs a whole number\n", qPrintable(name));
        std::exit(2);
    }
    return value;
}

}  // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tunara-sim"));
    QCoreApplication::setApplicationVersion(tunara::programVersion());

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Simulated Torvik-1 Zoruro module on a pseudo-terminal."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOptions({
        {QStringLiteral("file"), QStringLiteral("EEPROM data file (264 bytes): loaded at start if it exists, saved at exit."), QStringLiteral("path")},
        {QStringLiteral("id"), QStringLiteral("Identification text the module sends."), QStringLiteral("text")},
        {QStringLiteral("link"), QStringLiteral("Also make a symlink at this path to the device."), QStringLiteral("path")},
        {QStringLiteral("silence-after"), QStringLiteral("Stop answering after N received bytes."), QStringLiteral("N")},
        {QStringLiteral("no-resync-ack"), QStringLiteral("Answer resynchronisation without 0x06.")},
        {QStringLiteral("id-first-byte"), QStringLiteral("Send this byte in place of the identification echo (e.g. 0x0D, 0x41, 0x07)."), QStringLiteral("byte")},
        {QStringLiteral("no-terminator"), QStringLiteral("Leave the identification text without 0x0D.")},
        {QStringLiteral("refuse-address"), QStringLiteral("Answer the address command without 0x06.")},
        {QStringLiteral("refuse-write-at"), QStringLiteral("Refuse the write at this address."), QStringLiteral("address")},
        {QStringLiteral("read-back-differs-at"), QStringLiteral("Return a wrong byte when this address is read."), QStringLiteral("address")},
        {QStringLiteral("glitch-first-read-at"), QStringLiteral("Flip one bit of this address on its first read only."), QStringLiteral("address")},
        {QStringLiteral("unsteady-read-at"), QStringLiteral("Return another byte at each read of this address."), QStringLiteral("address")},
        {QStringLiteral("change-at"), QStringLiteral("Change the byte at this address behind the program's back (with --change-after-reads)."), QStringLiteral("address")},
        {QStringLiteral("change-to"), QStringLiteral("The byte --change-at becomes (default 0)."), QStringLiteral("byte")},
        {QStringLiteral("change-after-reads"), QStringLiteral("When the module has answered N reads."), QStringLiteral("N")},
        {QStringLiteral("delay"), QStringLiteral("Delay every reply by D milliseconds."), QStringLiteral("D")},
        {QStringLiteral("noise"), QStringLiteral("Chance (0..1) of a random byte after a reply."), QStringLiteral("p")},
        {QStringLiteral("vanish-after"), QStringLiteral("Close the port after N received bytes."), QStringLiteral("N")},
        {QStringLiteral("seed"), QStringLiteral("Seed of the random faults."), QStringLiteral("S")},
    });
    parser.process(app);

    Faults faults;
    faults.silenceAfterBytes = toInt(parser, QStringLiteral("silence-after"), -1);
    faults.noResyncAck = parser.isSet(QStringLiteral("no-resync-ack"));
    if (parser.isSet(QStringLiteral("id-first-byte")))
        faults.idFirstByte = std::uint8_t(toInt(parser, QStringLiteral("id-first-byte"), 0x10) & 0xFF);
    faults.idNoTerminator = parser.isSet(QStringLiteral("no-terminator"));
    faults.refuseAddress = parser.isSet(QStringLiteral("refuse-address"));
    faults.refuseWriteAt = toInt(parser, QStringLiteral("refuse-write-at"), -1);
    faults.readBackDiffersAt = toInt(parser, QStringLiteral("read-back-differs-at"), -1);
    faults.glitchFirstReadAt = toInt(parser, QStringLiteral("glitch-first-read-at"), -1);
    faults.unsteadyReadAt = toInt(parser, QStringLiteral("unsteady-read-at"), -1);
    faults.changeAt = toInt(parser, QStringLiteral("change-at"), -1);
    faults.changeTo = std::uint8_t(toInt(parser, QStringLiteral("change-to"), 0) & 0xFF);
    faults.changeAfterReads = toInt(parser, QStringLiteral("change-after-reads"), -1);
    faults.replyDelayMs = toInt(parser, QStringLiteral("delay"), 0);
    faults.noiseProbability = parser.value(QStringLiteral("noise")).toDouble();
    faults.vanishAfterBytes = toInt(parser, QStringLiteral("vanish-after"), -1);
    faults.seed = std::uint32_t(toInt(parser, QStringLiteral("seed"), 1));

    // Wait for the end endSignals synchronously; the module's thread must not
    // take them.
    sigset_t endSignals;
    sigemptyset(&endSignals);
    sigaddset(&endSignals, SIGINT);
    sigaddset(&endSignals, SIGTERM);
    sigaddset(&endSignals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &endSignals, nullptr);

    SimulatedModule module;
    const QString file = parser.value(QStringLiteral("file"));
    const QString link = parser.value(QStringLiteral("link"));
    try {
        if (!file.isEmpty() && QFile::exists(file))
            module.loadDataFile(file);
        if (parser.isSet(QStringLiteral("id")))
            module.setFirmwareID(parser.value(QStringLiteral("id")).toLatin1());
        module.setFaults(faults);
        module.start();
    } catch (const tunara::RuntimeError &error) {
        std::fprintf(stderr, "tunara-sim: %s\n", qPrintable(error.description()));
        return 1;
    }
    if (!link.isEmpty()) {
        QFile::remove(link);
        if (!QFile::link(module.devicePath(), link))
            std::fprintf(stderr, "tunara-sim: cannot make the link %s\n", qPrintable(link));
    }
    std::printf("%s\n", qPrintable(module.devicePath()));
    std::fflush(stdout);

    int received = 0;
    sigwait(&endSignals, &received);
    module.stop();
    if (!link.isEmpty())
        QFile::remove(link);
    if (!file.isEmpty()) {
        try {
            module.saveDataFile(file);
        } catch (const tunara::RuntimeError &error) {
            std::fprintf(stderr, "tunara-sim: %s\n", qPrintable(error.description()));
            return 1;
        }
    }
    return 0;
}
