#pragma once

#include <QLocale>
#include <QRegularExpression>
#include <QString>

namespace tunara::ui {

// A status-bar text with every decimal number written with the user's
// decimal mark: "8.0 .. 30.0" becomes "8,0 .. 30,0" in a decimal-comma
// locale. Only for texts of numbers and words: a file name's dots between
// digits would change too.
inline QString withLocaleDecimals(const QString &text)
{
    static const QRegularExpression decimal(QStringLiteral("(\\d)\\.(\\d)"));
    QString out = text;
    return out.replace(decimal, QStringLiteral("\\1") + QLocale().decimalPoint() + QStringLiteral("\\2"));
}

}  // namespace tunara::ui
