#include "core/shown_numbers.h"

#include "core/numbers.h"

#include <QRegularExpression>

namespace tunara::numbers {

namespace {

// format() writes the minus and the point only; both are put in the
// locale's own forms here, before the text leaves.
QString inLocale(QString plain, const QLocale &locale)
{
    const qsizetype point = plain.indexOf(u'.');
    if (point >= 0)
        plain.replace(point, 1, locale.decimalPoint());
    if (plain.startsWith(u'-'))
        plain.replace(0, 1, locale.negativeSign());
    return plain;
}

}  // namespace

QString shown(double value, const QString &pattern, const QLocale &locale)
{
    return inLocale(format(value, pattern), locale);
}

QString shownFixed(double value, int decimals, const QLocale &locale)
{
    const QString pattern = decimals > 0 ? QStringLiteral("0.") + QString(decimals, u'0') : QStringLiteral("0");
    return shown(value, pattern, locale);
}

QString shownWhole(long long value, const QLocale &locale)
{
    return inLocale(QString::number(value), locale);
}

QString shortDateTime(const QDateTime &when, const QLocale &locale)
{
    return locale.toString(when.date(), QLocale::ShortFormat) + u' ' + timeOfDay(when.time(), locale);
}

QString longDate(const QDate &day, const QLocale &locale)
{
    return locale.toString(day, QLocale::LongFormat);
}

QString timeOfDay(const QTime &time, const QLocale &locale)
{
    // The long time form carries the seconds two points of one day need;
    // the zone name it may add says nothing in a workshop log.
    static const QRegularExpression zone(QStringLiteral("^t+\\s*|\\s*t+$"));
    return locale.toString(time, locale.timeFormat(QLocale::LongFormat).remove(zone));
}

}  // namespace tunara::numbers
