#include "cli/transfer_commands.h"

#include "cli/cli_args.h"
#include "cli/expected_module.h"
#include "cli/transfer_args.h"
#include "cli/file_commands.h"
#include "cli/terminal_user.h"
#include "compare/image_check.h"
#include "core/runtime_error.h"
#include "files/file_safety.h"
#include "files/restore_points.h"
#include "files/data_file.h"
#include "files/stored_settings.h"
#include "link/line_error_handler.h"
#include "link/module_transfers.h"
#include "link/port_map.h"
#include "link/qt_serial_port.h"
#include "link/tracing_serial_port.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace tunara::cli {

namespace {

using namespace tunara::link;
using compare::checkImage;
using compare::itemListText;

// Keeps what the module held before an upload, where the window keeps its
// restore points (so `restore-points` lists it), and the image about to be
// written. When the image cannot be kept the reason goes to stderr and the
// upload stops, unless the user said --no-restore-point; the module's
// contents failing to be kept only warns, as in the window.
class RestorePointEvents : public TransferEvents {
public:
    RestorePointEvents(CliStreams &io, const ModuleDocument &document, ModuleProtocol &protocol, bool wanted)
        : m_io(io),
          m_document(document),
          m_protocol(protocol),
          m_wanted(wanted)
    {
    }
    void moduleContentsRead(const EEPROMBytes &before) override
    {
        if (!m_wanted)
            return;
        const QByteArray bytes = transferBytes(before);
        try {
            const restore::Origin module{restore::Source::module(m_portNumber, m_protocol.port().deviceName()),
                                         m_protocol.state().firmwareID()};
            const QString path = restore::RestorePoints().keep(bytes, restore::Event::ModuleBeforeUpload, module);
            m_io.out << "Module contents before upload kept in " << path << '\n';
            m_io.out.flush();
            m_keptIn = path;
        } catch (const RuntimeError &e) {
            m_io.err << "The module's contents could not be kept as a restore point: " << e.description() << '\n';
            m_io.err.flush();
        }
    }
    bool aboutToWrite() override
    {
        if (!m_wanted)
            return true;
        try {
            restore::RestorePoints().keep(transferBytes(m_document.image()), restore::Event::BeforeUpload,
                                          restore::originOf(m_document.source()));
            return true;
        } catch (const RuntimeError &e) {
            m_io.err << "tunara-cli: the image could not be kept as a restore point: " << e.description()
                     << "\ntunara-cli: nothing was written; give --no-restore-point to upload without one\n";
            m_io.err.flush();
            return false;
        }
    }
    // The number the user chose, 0 when a device was named instead: the
    // point then names that device alone, not the number it stands in for.
    void portChosen(int number) { m_portNumber = number; }
    QString olderImageHint() const override
    {
        return m_keptIn.isEmpty() ? QString()
                                  : QStringLiteral("What it held before this upload is kept in %1.").arg(m_keptIn);
    }

private:
    CliStreams &m_io;
    const ModuleDocument &m_document;
    ModuleProtocol &m_protocol;
    bool m_wanted;
    int m_portNumber = 0;
    QString m_keptIn;  // where the module's contents before the upload went
};

// Everything one transfer needs, wired as the window wires it; with a trace,
// the protocol talks through the tracing port.
class Session {
public:
    Session(CliStreams &io, ModuleDocument &document, LinkTrace *trace, bool restorePoint = false,
            const compare::ImageBytes *expected = nullptr)
        : user(io),
          progress(io),
          port(PortMap(&settings)),
          tracing(trace ? std::make_unique<TracingSerialPort>(port, *trace, [this] { return port.devicePath(); })
                        : nullptr),
          lineErrors(linkPort(), user),
          protocol(linkPort(), document.image(), user, &progress, io.clock ? *io.clock : LinkClock::machine()),
          events(io, document, protocol, restorePoint),
          expect(io, events, expected),
          transfers(protocol, document, user, user, &expect)
    {
    }

    // Number 1..255 (mapped) or a device path; empty (--port left out,
    // since parse() refuses an empty value): the stored port.
    // Returns ExitOk when the port is set; otherwise the failure has been
    // printed: a number that stands for no device, or a bad stored setting.
    int selectPort(const QString &text, CliStreams &io)
    {
        QString value = text;
        if (value.isEmpty()) {
            try {
                const int stored = parseCommPort(settings.commPortText());
                value = QString::number(stored < 1 ? 1 : stored);
            } catch (const RuntimeError &e) {
                return fail(io, e.description());
            }
        }
        if (isPortNumber(value)) {
            // 1..255: parse() refused any other --port number, and the
            // stored setting reads as no other.
            const int number = value.toInt();
            port.setPortNumber(number);
            events.portChosen(number);
            if (port.devicePath().isEmpty())
                return fail(io, PortMap::noDeviceText(number) +
                                    QStringLiteral(" Give a device path, or set one in the settings (section \"%1\", "
                                                   "key \"%2\").")
                                        .arg(PortMap::overrideSection(), PortMap::overrideKey(number)));
            return ExitOk;
        }
        port.setDevicePath(value);
        return ExitOk;
    }

    SerialPort &linkPort() { return tracing ? static_cast<SerialPort &>(*tracing) : port; }

    StoredSettings settings;
    TerminalUser user;
    TerminalProgress progress;
    QtSerialPort port;
    std::unique_ptr<TracingSerialPort> tracing;
    LineErrorHandler lineErrors;
    ModuleProtocol protocol;
    RestorePointEvents events;
    ExpectedModuleEvents expect;
    ModuleTransfers transfers;
};

// Creates the --trace file before anything goes on the line; false (with
// the reason printed) when it cannot be created. A write that fails later
// stops the transfer through the tracing port; one that fails after the
// last byte (the final flush, the summary) is printed when the trace ends
// and fails the command.
bool openTrace(const Arguments &a, CliStreams &io, std::unique_ptr<LinkTrace> &trace)
{
    if (a.trace.isEmpty())
        return true;
    try {
        // Never over the command's own files: its data files or its output.
        QStringList own = a.files;
        for (const QString &file : {a.output, a.expect})
            if (!file.isEmpty())
                own << file;
        trace = std::make_unique<LinkTrace>(a.trace, own);
    } catch (const RuntimeError &e) {
        fail(io, e.description());
        return false;
    }
    trace->setUnreportedFailureHandler([&io](const QString &failure) {
        fail(io, failure);
        io.lateFailure = true;
    });
    return true;
}

int exitFor(TransferOutcome outcome)
{
    return outcome == TransferOutcome::Completed ? ExitOk : ExitFailure;
}

int idCommand(const QStringList &args, CliStreams &io)
{
    const Arguments a = parse(args, false);
    if (!a.problem.isEmpty() || !a.files.isEmpty())
        return usageError(io, a.problem.isEmpty() ? QStringLiteral("id takes no file") : a.problem);
    std::unique_ptr<LinkTrace> trace;
    if (!openTrace(a, io, trace))
        return ExitFailure;
    ModuleDocument document;
    Session s(io, document, trace.get());
    if (const int code = s.selectPort(a.port, io); code != ExitOk)
        return code;
    const TransferOutcome outcome = s.transfers.Identify();
    if (outcome == TransferOutcome::Completed || outcome == TransferOutcome::Refused) {
        io.out << "Module type: " << s.protocol.state().moduleType() << '\n';
        if (outcome == TransferOutcome::Refused)
            io.out << "Not Torvik-1 Zoruro unit.\n";
    }
    io.out.flush();
    return exitFor(outcome);
}

int downloadCommand(const QStringList &args, CliStreams &io)
{
    const Arguments a = parse(args, true);
    if (!a.problem.isEmpty())
        return usageError(io, a.problem);
    if (a.output.isEmpty() || !a.files.isEmpty())
        return usageError(io, QStringLiteral("download needs -o FILE.dat and nothing else"));
    if (!a.trace.isEmpty() && QFileInfo(a.trace).absoluteFilePath() == QFileInfo(a.output).absoluteFilePath())
        return usageError(io, QStringLiteral("the trace file must not be the output file"));
    // Find out before a transfer of several seconds, not after it: the
    // output rules (a folder that exists; not a folder, link or device at
    // the name), and a trial of the file the save writes beside the target
    // and renames, which a folder this user may not write into or a
    // read-only disk refuses. The trial file is removed at once.
    try {
        files::AtomicFile trial(a.output, {a.trace});
    } catch (const files::FileRefused &e) {
        return fail(io, QStringLiteral("cannot save to %1: %2").arg(a.output, e.reason()));
    }
    std::unique_ptr<LinkTrace> trace;
    if (!openTrace(a, io, trace))
        return ExitFailure;
    ModuleDocument document;
    Session s(io, document, trace.get());
    if (const int code = s.selectPort(a.port, io); code != ExitOk)
        return code;
    const TransferOutcome outcome = s.transfers.Download();
    if (outcome != TransferOutcome::Completed)
        return ExitFailure;  // the messages said why; no file is written
    // A trace that could not be completed fails the command; no file is
    // written, as for any other failure.
    if (trace) {
        trace->finish();
        if (io.lateFailure)
            return ExitFailure;
    }
    try {
        datafile::write(a.output, document.image(), {a.trace});
    } catch (const RuntimeError &e) {
        return fail(io, e.description());
    }
    io.out << "Saved " << datafile::Size << " bytes to " << a.output << '\n';
    io.out.flush();
    return ExitOk;
}

int uploadCommand(const QStringList &args, CliStreams &io)
{
    const Arguments a = parse(args, false, true);
    if (!a.problem.isEmpty())
        return usageError(io, a.problem);
    if (a.files.size() != 1)
        return usageError(io, QStringLiteral("upload needs exactly one data file"));
    compare::ImageBytes expected{};
    if (const int code = a.expect.isEmpty() ? ExitOk : loadExpected(a.expect, io, expected); code != ExitOk)
        return code;
    ModuleData data;
    try {
        data = openDataFile(a.files[0]);
    } catch (const RuntimeError &e) {
        return fail(io, e.description());
    }
    // What `check` lists would reach the module changed: only on request.
    if (const auto changes = checkImage(data.image).changesToFile(); !changes.empty() && !a.acceptChanges)
        return fail(io, QStringLiteral("%1: the upload would write %2 item(s) other than the file stores them "
                                       "(give --accept-changes to upload anyway):\n%3")
                            .arg(a.files[0])
                            .arg(changes.size())
                            .arg(itemListText(changes, 20).replace(QStringLiteral("\r\n"), QStringLiteral("\n"))));
    std::unique_ptr<LinkTrace> trace;
    if (!openTrace(a, io, trace))
        return ExitFailure;
    ModuleDocument document;
    document.replaceImage(data.image, DataSource::file(a.files[0], QFileInfo(a.files[0]).fileName()));
    Session s(io, document, trace.get(), !a.noRestorePoint, a.expect.isEmpty() ? nullptr : &expected);
    if (const int code = s.selectPort(a.port, io); code != ExitOk)
        return code;
    s.transfers.setWriteAll(a.writeAll);
    return exitFor(s.transfers.Upload());
}

}  // namespace

std::vector<CliCommand> transferCommands()
{
    const QString portHelp = QStringLiteral("PORT is a number 1..255 (Com1..Com255, see the README) or a device path;\n"
                                            "without --port the stored port setting is used.\n"
                                            "--trace FILE (id, download, upload) writes every byte and pause on the\n"
                                            "line, with its time in microseconds and protocol step, to FILE.");
    return {
        {QStringLiteral("id"), QStringLiteral("id [--port PORT] [--trace FILE]"),
         QStringLiteral("Check the link, read the module's identification and judge its model.\n") + portHelp,
         idCommand},
        {QStringLiteral("download"), QStringLiteral("download [--port PORT] [--trace FILE] -o FILE.dat"),
         QStringLiteral("Read the module's EEPROM and save its 264 bytes to FILE.dat;\n"
                        "a refused model or a failed transfer writes no file."),
         downloadCommand},
        {QStringLiteral("upload"),
         QStringLiteral("upload [--port PORT] [--trace FILE] [--write-all] [--accept-changes] [--no-restore-point] "
                        "[--expect DOWNLOADED.dat] FILE.dat"),
         QStringLiteral("Open FILE.dat as the program does and encode its parameters; read the\n"
                        "module's EEPROM (kept as a restore point), write only the bytes that differ\n"
                        "(--write-all: every byte), then read all 264 back and write what still\n"
                        "differs once more. Exit 0 only when every byte was read back equal.\n"
                        "A file whose bytes `check` says a save would change is refused unless\n"
                        "--accept-changes is given.\n"
                        "The image is kept as a restore point first; when it cannot be, nothing\n"
                        "is written unless --no-restore-point is given.\n"
                        "--expect: write only if the module still holds DOWNLOADED.dat's 264 bytes."),
         uploadCommand},
    };
}

}  // namespace tunara::cli
