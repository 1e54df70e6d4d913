#include "app/startup.h"

#include "app/main_window.h"
#include "app/port_devices.h"
#include "app/port_setup_panel.h"
#include "app/program_folder.h"
#include "app/start_tooling.h"
#include "app/window_place.h"
#include "dialogs/qt_user_interface.h"
#include "dialogs/splash_window.h"
#include "core/version.h"
#include "files/stored_settings.h"
#include "link/port_map.h"
#include "link/link_thread.h"
#include "link/qt_serial_port.h"
#include "link/tracing_serial_port.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QIcon>

#include <cstdio>
#include <memory>

namespace tunara::ui {

namespace {

// What --open-in and --compare need; an empty text when they make sense.
QString openInMistake(const StartOptions &o)
{
    const QStringList views{QStringLiteral("table"), QStringLiteral("parameters"), QStringLiteral("preview"),
                            QStringLiteral("history")};
    if (!o.openIn.isEmpty() && !views.contains(o.openIn))
        return QStringLiteral("--open-in takes table, parameters, preview or history.\n");
    if (!o.openIn.isEmpty() && o.dataFile.isEmpty())
        return QStringLiteral("--open-in needs a data file to open.\n");
    if (!o.compareWith.isEmpty() && o.openIn != QStringLiteral("table"))
        return QStringLiteral("--compare needs --open-in table.\n");
    if (!o.comment.isEmpty() && o.openIn != QStringLiteral("preview"))
        return QStringLiteral("--comment needs --open-in preview.\n");
    return QString();
}

}  // namespace

// The help names the program as it is installed, not by the path it was
// started from (nor "<executable_name>" before the application exists).
static QString helpTextOf(const QCommandLineParser &parser)
{
    const QString started = QCoreApplication::instance() ? QCoreApplication::arguments().value(0)
                                                         : QStringLiteral("<executable_name>");
    QString text = parser.helpText();
    const QString usage = QStringLiteral("Usage: ");
    if (text.startsWith(usage + started))
        text.replace(usage.size(), started.size(), QStringLiteral("tunara"));
    return text;
}

ParsedOptions parseStartOptions(const QStringList &arguments)
{
    QCommandLineParser parser;
    // "-x.dat" is one unknown option, as tunara-cli reads it; "--" ends them.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(QStringLiteral("Tunara Torvik Zoruro: link and editing tool for the "
                                                    "Torvik-1 Zoruro ignition module."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this help."));
    const QCommandLineOption simulate(QStringLiteral("simulate"),
                                      QStringLiteral("Start a simulated module and point the selected port at it."));
    const QCommandLineOption screenshot(
        QStringLiteral("screenshot"),
        QStringLiteral("Save pictures of the splash (FILE with -splash added) and of the main window (FILE), "
                       "then leave."),
        QStringLiteral("FILE"));
    const QCommandLineOption splashMs(QStringLiteral("splash-ms"),
                                      QStringLiteral("How long the splash stays up (default 4000)."),
                                      QStringLiteral("MS"));
    const QCommandLineOption version(QStringLiteral("version"), QStringLiteral("Print the version and leave."));
    const QCommandLineOption trace(
        QStringLiteral("trace"),
        QStringLiteral("Write every byte and pause on the serial line, with its time and protocol step, to FILE."),
        QStringLiteral("FILE"));
    parser.addOptions({help, simulate, screenshot, splashMs});
    const QCommandLineOption openIn(
        QStringLiteral("open-in"),
        QStringLiteral("Open FILE.dat straight into VIEW: table (the timing table editor), parameters (the module "
                       "parameters dialog), preview (the print preview, with the --comment text and without asking for one) "
                       "or history (the table with File > Tune History beside it, its newest point compared with the "
                       "table), without the \"Loaded\" message."),
        QStringLiteral("VIEW"));
    const QCommandLineOption compare(QStringLiteral("compare"),
                                     QStringLiteral("With --open-in table: compare the table with OTHER.dat's."),
                                     QStringLiteral("OTHER.dat"));
    const QCommandLineOption comment(
        QStringLiteral("comment"),
        QStringLiteral("With --open-in preview: the report's serial number or comment (not asked for)."),
        QStringLiteral("TEXT"));
    parser.addOptions({version, trace, openIn, compare, comment});
    parser.addPositionalArgument(QStringLiteral("FILE.dat"), QStringLiteral("A data file to open at start-up."),
                                 QStringLiteral("[FILE.dat]"));

    ParsedOptions result;
    if (!parser.parse(arguments)) {
        result.message = parser.errorText() + u'\n' + helpTextOf(parser);
        result.exitCode = 2;
        return result;
    }
    if (parser.isSet(help)) {
        result.message = helpTextOf(parser);
        return result;
    }
    if (parser.isSet(version)) {
        result.message = QStringLiteral("tunara %1\n").arg(programVersion());
        return result;
    }
    if (parser.positionalArguments().size() > 1) {
        result.message = QStringLiteral("Unexpected argument: %1\n").arg(parser.positionalArguments().at(1)) +
                         helpTextOf(parser);
        result.exitCode = 2;
        return result;
    }
    StartOptions o;
    o.simulate = parser.isSet(simulate);
    // Every name is taken in the folder the user started in, and kept as a
    // full path from here on.
    const auto absolute = [](const QString &name) {
        return name.isEmpty() ? name : QFileInfo(name).absoluteFilePath();
    };
    o.screenshot = absolute(parser.value(screenshot));
    if (parser.isSet(screenshot)) {
        const QFileInfo target(o.screenshot);
        if (o.screenshot.isEmpty() || !target.dir().exists()) {
            result.message = o.screenshot.isEmpty()
                                 ? QStringLiteral("--screenshot needs a file name.\n")
                                 : QStringLiteral("--screenshot: the folder %1 does not exist.\n")
                                       .arg(QDir::toNativeSeparators(target.absolutePath()));
            result.exitCode = 2;
            return result;
        }
    }
    for (const QCommandLineOption *named : {&trace, &compare}) {
        if (parser.isSet(*named) && parser.value(*named).isEmpty()) {
            result.message = QStringLiteral("--%1 needs a file name.\n").arg(named->names().constFirst());
            result.exitCode = 2;
            return result;
        }
    }
    o.trace = absolute(parser.value(trace));
    if (!parser.positionalArguments().isEmpty()) {
        if (parser.positionalArguments().first().isEmpty()) {
            result.message = QStringLiteral("The data file name is empty.\n");
            result.exitCode = 2;
            return result;
        }
        o.dataFile = absolute(parser.positionalArguments().first());
    }
    o.openIn = parser.value(openIn);
    o.compareWith = absolute(parser.value(compare));
    o.comment = parser.value(comment);
    if (const QString mistake = openInMistake(o); !mistake.isEmpty()) {
        result.message = mistake;
        result.exitCode = 2;
        return result;
    }
    if (parser.isSet(splashMs)) {
        bool ok = false;
        o.splashMs = parser.value(splashMs).toInt(&ok);
        if (!ok || o.splashMs < 0) {
            result.message = QStringLiteral("--splash-ms needs a number of milliseconds, 0 or more.\n");
            result.exitCode = 2;
            return result;
        }
    }
    result.options = o;
    return result;
}

int runTunara(QApplication &app, const StartOptions &options)
{
    const QString programFolder = resolveProgramFolder(QCoreApplication::applicationDirPath());
    const QString icon = QDir(programFolder).filePath(QStringLiteral("Halvern_Sensors_Logo.gif"));
    if (QFileInfo::exists(icon))
        QApplication::setWindowIcon(QIcon(icon));
    QtUserInterface ui;
    StartTooling tooling(options);
    if (!tooling.picturesWritable())
        return 1;
    ModuleDocument document;
    StoredSettings settings;
    link::PortMap map(&settings);
    link::QtSerialPort port(map);
    // With --trace the window talks through the tracing port, so every
    // transfer it runs is traced; the file is made before anything else.
    std::unique_ptr<link::LinkTrace> trace;
    std::unique_ptr<link::TracingSerialPort> tracing;
    bool traceFailed = false;
    if (!options.trace.isEmpty()) {
        try {
            // Never over a file the window opens.
            trace = std::make_unique<link::LinkTrace>(options.trace, startInputs(options));
        } catch (const RuntimeError &e) {
            std::fprintf(stderr, "%s\n", qPrintable(e.description()));
            return 1;
        }
        // A write that fails during a transfer stops it with the common
        // error dialog; one that fails after the last transfer (the final
        // flush, the summary) ends the run with the reason and status 1.
        trace->setUnreportedFailureHandler([&traceFailed](const QString &failure) {
            std::fprintf(stderr, "%s\n", qPrintable(failure));
            traceFailed = true;
        });
        tracing = std::make_unique<link::TracingSerialPort>(port, *trace, [&port] { return port.devicePath(); });
    }
    link::SerialPort &windowPort = tracing ? static_cast<link::SerialPort &>(*tracing) : port;

    SimulatedPortLink simulated(port);

    // 1-2. The splash, modal until its timer closes it.
    frmTunara_Splash splash(ui, programFolder, options.splashMs);
    splash.Form_Load();
    tooling.beforeSplash(splash);
    splash.exec();

    // 3. The main window.
    // The link's pacing keeps its time on a thread of its own, whatever the
    // window paints meanwhile.
    link::LinkThread linkThread;
    MainWindowContext context{ui, document, settings, windowPort, programFolder, splash.company(), {}, {}};
    context.describePort = [&map, &simulated](int n) { return simulated.describe(map, n); };
    context.linkThread = &linkThread;
    frmTunara_Main window(context);
    window.Form_Load();

    if (options.simulate) {
        try {
            simulated.start(port.portNumber());
            // The number chosen at start-up reaches the simulated module; a
            // user who picks another number reaches that number's device.
            QObject::connect(window.portPanel(), &PortSetupPanel::portPicked, &window, [&simulated] { simulated.follow(); });
            window.portPanel()->refreshDevice();
            std::fprintf(stderr, "Simulated module on %s as Com%d.\n", qPrintable(simulated.devicePath()),
                         simulated.portNumber());
        } catch (const RuntimeError &e) {
            ui.messageBox(&window, QStringLiteral("The simulated module could not be started: %1").arg(e.description()),
                          QStringLiteral("Simulated Module"), Buttons::OK, Icon::Exclamation);
        }
    }

    restoreWindowPlace(window, settings);
    window.show();
    tooling.windowShown(window);
    const int rc = app.exec();
    saveWindowPlace(window, settings);
    simulated.stop();
    windowPort.close();
    if (trace)
        trace->finish();
    return tooling.failed() || traceFailed ? 1 : rc;
}

}  // namespace tunara::ui
