#include "app/startup.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const tunara::ui::ParsedOptions parsed = tunara::ui::parseStartOptions(QApplication::arguments());
    if (!parsed.options) {
        std::fputs(qPrintable(parsed.message), parsed.exitCode == 0 ? stdout : stderr);
        return parsed.exitCode;
    }
    return tunara::ui::RunTunara(app, *parsed.options);
}
