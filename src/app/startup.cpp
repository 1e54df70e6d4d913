#include "app/startup.h"

#include "app/main_window.h"
#include "app/port_setup_panel.h"
#include "app/qt_user_interface.h"
#include "app/splash_window.h"
#include "files/stored_settings.h"
#include "link/port_map.h"
#include "link/qt_serial_port.h"
#include "sim/simulated_module.h"

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
    if (!parser.positionalArguments().isEmpty()) {
        result.message = QStringLiteral("Unexpected argument: %1\n").arg(parser.positionalArguments().first()) +
                         parser.helpText();
        result.exitCode = 2;
        return result;
    }
    StartOptions o;
    o.simulate = parser.isSet(simulate);
    o.screenshot = parser.value(screenshot);
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

    std::unique_ptr<sim::SimulatedModule> simulated;
    int simulatedNumber = 0;

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
    MainWindowContext context{ui, data, settings, port, programFolder, splash.company(), {}};
    context.describePort = [&map, &simulated, &simulatedNumber](int n) {
        if (simulated && n == simulatedNumber)
            return QStringLiteral("Com%1 is the simulated module at %2 (started by --simulate).")
                .arg(n)
                .arg(simulated->devicePath());
        const QString path = map.devicePath(n);
        if (path.isEmpty())
            return QStringLiteral("Com%1 stands for no serial device on this system.").arg(n);
        const bool chosen = !map.overridePath(n).isEmpty();
        return QStringLiteral("Com%1 is %2 on this system%3.")
            .arg(n)
            .arg(QDir::toNativeSeparators(path), chosen ? QStringLiteral(" (set for this user)") : QString());
    };
    frmTunara_Main window(context);
    window.Form_Load();

    if (options.simulate) {
        simulated = std::make_unique<sim::SimulatedModule>();
        try {
            simulated->start();
            // The number chosen at start-up reaches the simulated module; a
            // user who picks another number reaches that number's device.
            simulatedNumber = port.portNumber() >= 1 ? port.portNumber() : 1;
            const auto follow = [&port, &simulated, &simulatedNumber] {
                port.setDevicePath(port.portNumber() == simulatedNumber ? simulated->devicePath() : QString());
            };
            follow();
            QObject::connect(window.portPanel(), &PortSetupPanel::portPicked, &window, follow);
            window.portPanel()->refreshDevice();
            std::fprintf(stderr, "Simulated module on %s as Com%d.\n", qPrintable(simulated->devicePath()),
                         simulatedNumber);
        } catch (const RuntimeError &e) {
            simulated.reset();
            ui.messageBox(&window, QStringLiteral("The simulated module could not be started: %1").arg(e.description()),
                          QStringLiteral("Simulated Module"), Buttons::OK, Icon::Exclamation);
        }
    }

    window.show();
    if (!options.screenshot.isEmpty()) {
        QTimer::singleShot(800, &window, [&] {
            if (options.simulate)
                window.mnuPortSetup_Click();
            window.grab().save(options.screenshot);
            window.close();
        });
    }
    const int rc = app.exec();
    if (simulated)
        simulated->stop();
    return rc;
}

}  // namespace tunara::ui
