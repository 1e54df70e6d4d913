#include "app/startup.h"

#include "app/data_commands.h"
#include "app/main_window.h"
#include "app/port_devices.h"
#include "app/port_setup_panel.h"
#include "app/qt_user_interface.h"
#include "app/splash_window.h"
#include "files/stored_settings.h"
#include "link/port_map.h"
#include "link/qt_serial_port.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QTimer>

#include <cstdio>

namespace tunara::ui {

namespace {

QString splashShotPath(const QString &screenshot)
{
    const QFileInfo info(screenshot);
    return info.dir().filePath(info.completeBaseName() + QStringLiteral("-splash.") +
                               (info.suffix().isEmpty() ? QStringLiteral("png") : info.suffix()));
}

}  // namespace

ParsedOptions parseStartOptions(const QStringList &arguments)
{
    QCommandLineParser parser;
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
    parser.addOptions({help, simulate, screenshot, splashMs});
    parser.addPositionalArgument(QStringLiteral("FILE.dat"), QStringLiteral("A data file to open at start-up."),
                                 QStringLiteral("[FILE.dat]"));

    ParsedOptions result;
    if (!parser.parse(arguments)) {
        result.message = parser.errorText() + u'\n' + parser.helpText();
        result.exitCode = 2;
        return result;
    }
    if (parser.isSet(help)) {
        result.message = parser.helpText();
        return result;
    }
    if (parser.positionalArguments().size() > 1) {
        result.message = QStringLiteral("Unexpected argument: %1\n").arg(parser.positionalArguments().at(1)) +
                         parser.helpText();
        result.exitCode = 2;
        return result;
    }
    StartOptions o;
    o.simulate = parser.isSet(simulate);
    o.screenshot = parser.value(screenshot);
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
    const QString programFolder = QCoreApplication::applicationDirPath();
    const QString icon = QDir(programFolder).filePath(QStringLiteral("Halvern_Sensors_Logo.gif"));
    if (QFileInfo::exists(icon))
        QApplication::setWindowIcon(QIcon(icon));
    QtUserInterface ui;
    ModuleData data;
    StoredSettings settings;
    link::PortMap map(&settings);
    link::QtSerialPort port(map);

    SimulatedPortLink simulated(port);

    // 1-2. The splash, modal until its timer closes it.
    frmTunara_Splash splash(ui, programFolder, options.splashMs);
    splash.Form_Load();
    if (!options.screenshot.isEmpty()) {
        QTimer::singleShot(300, &splash, [&] {
            splash.grab().save(splashShotPath(options.screenshot));
            splash.tmrSplashUnload_Timer();
        });
    }
    splash.exec();

    // 3. The main window.
    MainWindowContext context{ui, data, settings, port, programFolder, splash.company(), {}, {}};
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

    window.show();
    if (!options.dataFile.isEmpty())
        QTimer::singleShot(0, &window, [&] { window.dataCommands().openDataFile(options.dataFile); });
    if (!options.screenshot.isEmpty()) {
        QTimer::singleShot(800, &window, [&] {
            if (options.simulate)
                window.mnuPortSetup_Click();
            window.grab().save(options.screenshot);
            window.close();
        });
    }
    const int rc = app.exec();
    simulated.stop();
    return rc;
}

}  // namespace tunara::ui
