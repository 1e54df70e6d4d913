#include "files/config_file.h"

#include "core/numbers.h"
#include "core/runtime_error.h"

#include <QFile>
#include <QTextStream>

namespace tunara::config {

namespace {

bool isMarker(const QString &line)
{
    return line.startsWith(u'!');
}

const char *const SplashItemNames[] = {"company name", "font name", "font size", "font style", "logo file"};

}  // namespace

QString fileName()
{
    return QStringLiteral("Tunara_Kelm.cfg");
}

CompanyConfig defaults()
{
    CompanyConfig c;
    c.SplashSettings = {QStringLiteral("Halvern Zazorer"), QStringLiteral("Arial"), QStringLiteral("28"),
                        QStringLiteral("bold italic"), QStringLiteral("Halvern_Sensors_Logo.gif")};
    c.CompanyInfo = {QStringLiteral("Halvern Zazorer"),
                     QStringLiteral("Halvern Zazorer LLC"),
                     QStringLiteral("1180 Foundry Road, Unit 4"),
                     QStringLiteral("Marlow Flats, OR 97399"),
                     QStringLiteral("Phone: (541) 555-0142"),
                     QStringLiteral("www.halvern-zazorer.example")};
    return c;
}

CompanyConfig parse(const QStringList &lines)
{
    CompanyConfig c;
    qsizetype i = 0;
    const qsizetype n = lines.size();
    while (i < n && isMarker(lines[i]))
        ++i;
    if (i == n) {
        c.error = QStringLiteral("The configuration file %1 holds no splash settings: it ends before its first "
                                 "line that is not a \"!\" marker.").arg(fileName());
        return c;
    }
    while (i < n && !isMarker(lines[i]))
        c.SplashSettings << lines[i++];
    if (i == n) {
        c.error = QStringLiteral("The configuration file %1 ends before a \"!\" marker line closes the "
                                 "splash settings.").arg(fileName());
        return c;
    }
    ++i;  // the marker that closes block 1 is consumed
    while (i < n && !isMarker(lines[i]))
        c.CompanyInfo << lines[i++];
    return c;
}

CompanyConfig read(const QString &path)
{
    QFile file(path);
    if (!file.exists())
        return defaults();
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        CompanyConfig c;
        c.error = QStringLiteral("Cannot read the configuration file %1: %2").arg(path, file.errorString());
        return c;
    }
    QTextStream stream(&file);
    QStringList lines;
    QString line;
    while (stream.readLineInto(&line))
        lines << line;
    return parse(lines);
}

QString splashItem(const QStringList &settings, int k)
{
    if (k < 1 || k > settings.size()) {
        const QString what = (k >= 1 && k <= 5) ? QString::fromLatin1(SplashItemNames[k - 1]) : QStringLiteral("item");
        throw RuntimeError(9, fileName(),
                           QStringLiteral("The configuration file %1 has no splash setting %2 (%3); "
                                          "block 1 needs five lines.").arg(fileName()).arg(k).arg(what));
    }
    return settings[k - 1];
}

double fontSizeOf(const QString &item)
{
    return numbers::leadingNumber(item);
}

bool isBold(const QString &styleItem)
{
    return styleItem.contains(QStringLiteral("bold"), Qt::CaseInsensitive);
}

bool isItalic(const QString &styleItem)
{
    return styleItem.contains(QStringLiteral("italic"), Qt::CaseInsensitive);
}

std::optional<QString> logoFileOf(const QString &logoItem)
{
    if (logoItem.toUpper() == QStringLiteral("NULL"))
        return std::nullopt;
    return logoItem;
}

}  // namespace tunara::config
