#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

// Numbers and dates as the user reads them. Every text a window, box or
// printed report shows is made here, once, with the locale Qt reports; the
// command line and stored files pass QLocale::c() and keep the point.
// Nothing the C library's locale says takes part.
namespace tunara::numbers {

// A display pattern ("#0.0", "0.0", "##00", ...) with the digits and
// rounding of format(); only the decimal mark follows the locale, and
// digits are never grouped.
QString shown(double value, const QString &pattern, const QLocale &locale = QLocale());

// A value with a fixed count of decimals, rounded as the patterns round.
QString shownFixed(double value, int decimals, const QLocale &locale = QLocale());

// A whole number, never grouped: "1500", "-12".
QString shownWhole(long long value, const QLocale &locale = QLocale());

// The short form names the day and time in a list ("08/12/2026 14:05:09");
// the long form heads a day or a detail line ("Tuesday 8 December 2026").
QString shortDateTime(const QDateTime &when, const QLocale &locale = QLocale());
QString longDate(const QDate &day, const QLocale &locale = QLocale());
QString timeOfDay(const QTime &time, const QLocale &locale = QLocale());

}  // namespace tunara::numbers
