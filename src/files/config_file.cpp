#include "files/config_file.h"

#include "core/numbers.h"
#include "core/runtime_error.h"
#include "files/file_safety.h"

#include <QRegularExpression>
#include <QStringDecoder>

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

namespace {

// Older configuration files were written with a Windows code page; read
// UTF-8 when the bytes are valid UTF-8, else take them as Latin-1 so a
// company name keeps its accented letters.
QString decodeText(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    if (utf8.hasError())
        text = QString::fromLatin1(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return text;
}

// Lines ended by CR LF, LF or a lone CR; a final line break ends the last
// line rather than starting an empty one.
QStringList splitLines(const QString &text)
{
    QStringList lines = text.split(QRegularExpression(QStringLiteral("\\r\\n|\\r|\\n")));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

}  // namespace

CompanyConfig read(const QString &path)
{
    try {
        return parse(splitLines(decodeText(files::readInput(path, files::TextCap, QStringLiteral("configuration file")))));
    } catch (const files::FileRefused &e) {
        if (e.cause() == files::FileRefused::Cause::Missing)
            return defaults();
        CompanyConfig c;
        c.error = QStringLiteral("Cannot read the configuration file %1: %2").arg(path, e.reason());
        return c;
    }
}

QString splashItem(const QStringList &settings, int k)
{
    if (k < 1 || k > settings.size()) {
        const QString what = (k >= 1 && k <= 5) ? QString::fromLatin1(SplashItemNames[k - 1]) : QStringLiteral("item");
        throw RuntimeError(SubscriptErrorNumber, fileName(),
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
