#include "core/numbers.h"

#include <cmath>
#include <algorithm>
#include <charconv>

#include <QRegularExpression>

namespace tunara::numbers {

double roundHalfEven(double value)
{
    if (!std::isfinite(value))
        return value;
    const double lower = std::floor(value);
    const double fraction = value - lower;
    if (fraction > 0.5)
        return lower + 1.0;
    if (fraction < 0.5)
        return lower;
    return std::fmod(lower, 2.0) == 0.0 ? lower : lower + 1.0;
}

double intFloor(double value)
{
    return std::floor(value);
}

double leadingNumber(const QString &text)
{
    int i = 0;
    const int n = text.size();
    while (i < n && (text[i] == u' ' || text[i] == u'\t'))
        ++i;
    QString number;
    if (i < n && (text[i] == u'+' || text[i] == u'-'))
        number += text[i++];
    bool anyDigit = false;
    while (i < n && text[i].isDigit() && text[i].unicode() < 128) {
        number += text[i++];
        anyDigit = true;
    }
    if (i < n && text[i] == u'.') {
        number += text[i++];
        while (i < n && text[i].isDigit() && text[i].unicode() < 128) {
            number += text[i++];
            anyDigit = true;
        }
    }
    if (!anyDigit)
        return 0.0;
    bool ok = false;
    const double value = number.toDouble(&ok);
    if (ok)
        return value;
    // Too many digits for a double: the entry is beyond every bound (an
    // infinity), not 0, which would pass for a small entry.
    return std::isinf(value) ? value : 0.0;
}

namespace {

bool isAsciiDigit(QChar ch)
{
    return ch >= u'0' && ch <= u'9';
}

// Index past a run of ASCII digits from `i`.
qsizetype skipDigits(QStringView text, qsizetype i)
{
    while (i < text.size() && isAsciiDigit(text[i]))
        ++i;
    return i;
}

}  // namespace

std::optional<double> readNumber(QStringView text)
{
    // Never more digits to the converter than a double can tell apart: a
    // pasted cell may be millions of characters long.
    constexpr qsizetype MaxIntegerDigits = 309;  // 1e309 and above overflow
    constexpr qsizetype MaxFractionDigits = 30;  // far below any display's step
    text = text.trimmed();
    qsizetype i = 0;
    QString number;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        number += text[i++];
    const qsizetype integerStart = i;
    while (i < text.size() && text[i] == u'0')
        ++i;
    const qsizetype significantStart = i;
    i = skipDigits(text, i);
    if (i - significantStart > MaxIntegerDigits)
        return std::nullopt;
    bool anyDigit = i > integerStart;
    number += i > significantStart ? text.mid(significantStart, i - significantStart).toString() : QStringLiteral("0");
    if (i < text.size() && (text[i] == u'.' || text[i] == u',')) {
        const qsizetype fractionStart = ++i;
        i = skipDigits(text, i);
        anyDigit = anyDigit || i > fractionStart;
        number += u'.';
        number += text.mid(fractionStart, std::min(i - fractionStart, MaxFractionDigits));
    }
    if (!anyDigit || i != text.size())
        return std::nullopt;
    bool ok = false;
    const double value = number.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value + 0.0;  // -0 reads as 0
}

namespace {

struct Pattern {
    int minIntegerDigits = 1;
    int decimals = 0;
};

Pattern parsePattern(const QString &pattern)
{
    Pattern p;
    const int point = pattern.indexOf(u'.');
    const QString integerPart = point < 0 ? pattern : pattern.left(point);
    p.minIntegerDigits = int(integerPart.count(u'0'));
    p.decimals = point < 0 ? 0 : int(pattern.mid(point + 1).count(u'0'));
    return p;
}

}  // namespace

QString format(double value, const QString &pattern)
{
    const Pattern p = parsePattern(pattern);
    if (!std::isfinite(value))
        return QString::number(value);
    // to_chars rounds the exact binary value as printf does, sending exact
    // ties to the even neighbour (the rule of the whole-number conversions),
    // and, unlike printf, never takes the C library's decimal mark.
    char buffer[400];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::fixed,
                                       p.decimals);
    QString digits = QString::fromLatin1(buffer, written.ptr - buffer);
    const bool showsZero = !digits.contains(QRegularExpression(QStringLiteral("[1-9]")));
    const int point = digits.indexOf(u'.');
    int integerDigits = point < 0 ? int(digits.size()) : point;
    if (integerDigits == 1 && digits.startsWith(u'0') && p.minIntegerDigits == 0) {
        digits.remove(0, 1);
        integerDigits = 0;
    }
    while (integerDigits < p.minIntegerDigits) {
        digits.prepend(u'0');
        ++integerDigits;
    }
    // A value that rounds to zero shows without a minus sign.
    return (value < 0 && !showsZero) ? u'-' + digits : digits;
}

QString plainWholeNumber(long long value)
{
    return value < 0 ? QString::number(value) : u' ' + QString::number(value);
}

}  // namespace tunara::numbers
