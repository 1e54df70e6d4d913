#include "app/startup.h"

#include <QApplication>

#include <cstdio>

namespace {

int printAndLeave(const tunara::ui::ParsedOptions &parsed)
{
    std::fputs(qPrintable(parsed.message), parsed.exitCode == 0 ? stdout : stderr);
    return parsed.exitCode;
}

}  // namespace

int main(int argc, char *argv[])
{
    // --help and --version answer without a display (a terminal over ssh);
    // anything else waits for the application, which takes Qt's own options out.
    QStringList raw;
    for (int k = 0; k < argc; ++k)
        raw << QString::fromLocal8Bit(argv[k]);
    if (const tunara::ui::ParsedOptions early = tunara::ui::parseStartOptions(raw); !early.options && early.exitCode == 0)
        return printAndLeave(early);

    QApplication app(argc, argv);
    // Ties the windows to the installed desktop entry (its icon and name in
    // a Wayland session's task switcher).
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.tunara.tunara"));
    const tunara::ui::ParsedOptions parsed = tunara::ui::parseStartOptions(QApplication::arguments());
    if (!parsed.options)
        return printAndLeave(parsed);
    return tunara::ui::runTunara(app, *parsed.options);
}
