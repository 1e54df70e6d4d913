#include "app/startup.h"

#include "app/commands/file_commands.h"
#include "app/main_window.h"
#include "app/port_devices.h"
#include "app/port_setup_panel.h"
#include "app/program_folder.h"
#include "app/window_place.h"
#include "dialogs/qt_user_interface.h"
#include "dialogs/splash_window.h"
#include "core/version.h"
#include "files/stored_settings.h"
#include "link/port_map.h"
#include "link/qt_serial_port.h"
#include "link/tracing_serial_port.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QTimer>

#include <cstdio>
#include <memory>

namespace tunara::ui {

namespace {

QString splashShotPath(const QString &screenshot)
{
    const QFileInfo info(screenshot);
    return info.dir().filePath(info.completeBaseName() + QStringLiteral("-splash.") +
                               (info.suffix().isEmpty() ? QStringLiteral("png") : info.suffix()));
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
    parser.addOptions({version, trace});
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
    o.screenshot = parser.value(screenshot);
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
    o.trace = parser.value(trace);
    if (!parser.positionalArguments().isEmpty())
        o.dataFile = QFileInfo(parser.positionalArguments().first()).absoluteFilePath();
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

int RunTunara(QApplication &app, const StartOptions &options)
{
    const QString programFolder = ResolveProgramFolder(QCoreApplication::applicationDirPath());
    const QString icon = QDir(programFolder).filePath(QStringLiteral("Halvern_Sensors_Logo.gif"));
    if (QFileInfo::exists(icon))
        QApplication::setWindowIcon(QIcon(icon));
    QtUserInterface ui;
    // A picture that cannot be written fails the run: nobody is watching a
    // screenshot run to notice a missing file.
    bool shotFailed = false;
    const auto saveShot = [&shotFailed](QWidget &widget, const QString &path) {
        if (widget.grab().save(path))
            return;
        std::fprintf(stderr, "The screenshot %s could not be written.\n", qPrintable(QDir::toNativeSeparators(path)));
        shotFailed = true;
    };
    ModuleData data;
    StoredSettings settings;
    link::PortMap map(&settings);
    link::QtSerialPort port(map);
    // With --trace the window talks through the tracing port, so every
    // transfer it runs is traced; the file is made before anything else.
    std::unique_ptr<link::LinkTrace> trace;
    std::unique_ptr<link::TracingSerialPort> tracing;
    if (!options.trace.isEmpty()) {
        try {
            // Never over the data file the window opens.
            trace = std::make_unique<link::LinkTrace>(
                options.trace, options.dataFile.isEmpty() ? QStringList() : QStringList{options.dataFile});
        } catch (const RuntimeError &e) {
            std::fprintf(stderr, "%s\n", qPrintable(e.description()));
            return 1;
        }
        tracing = std::make_unique<link::TracingSerialPort>(port, *trace, [&port] { return port.devicePath(); });
    }
    link::SerialPort &windowPort = tracing ? static_cast<link::SerialPort &>(*tracing) : port;

    SimulatedPortLink simulated(port);

    // 1-2. The splash, modal until its timer closes it.
    frmTunara_Splash splash(ui, programFolder, options.splashMs);
    splash.Form_Load();
    if (!options.screenshot.isEmpty()) {
        QTimer::singleShot(300, &splash, [&] {
            saveShot(splash, splashShotPath(options.screenshot));
            splash.tmrSplashUnload_Timer();
        });
    }
    splash.exec();

    // 3. The main window.
    MainWindowContext context{ui, data, settings, windowPort, programFolder, splash.company(), {}, {}};
    context.describePort = [&map, &simulated](int n) { return simulated.describe(map, n); };
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
    if (!options.dataFile.isEmpty())
        QTimer::singleShot(0, &window, [&] { window.fileCommands().openDataFile(options.dataFile); });
    if (!options.screenshot.isEmpty()) {
        QTimer::singleShot(800, &window, [&] {
            if (options.simulate)
                window.mnuPortSetup_Click();
            saveShot(window, options.screenshot);
            // A message still up (the file's load message) would hold the
            // run: leaving ends its loop too.
            if (QApplication::activeModalWidget())
                QCoreApplication::exit(shotFailed ? 1 : 0);
            else
                window.close();
        });
    }
    const int rc = app.exec();
    saveWindowPlace(window, settings);
    simulated.stop();
    return shotFailed ? 1 : rc;
}

}  // namespace tunara::ui
