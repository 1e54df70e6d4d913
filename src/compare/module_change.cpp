#include "compare/module_change.h"

#include "compare/difference_summary.h"
#include "compare/image_diff.h"
#include "module/parameter_codec.h"

#include <QStringList>

namespace tunara::compare {

namespace {

ModuleData decoded(const ImageBytes &bytes)
{
    ModuleData data;
    data.image.EEPROMBuffer = bytes;
    UpdateParams(data);
    return data;
}

int differingTransferBytes(const ImageBytes &a, const ImageBytes &b)
{
    int count = 0;
    for (int k = ModuleImage::FirstTransferAddress; k < ModuleImage::LastTransferAddress + 1; ++k)
        count += a[std::size_t(k)] != b[std::size_t(k)] ? 1 : 0;
    return count;
}

QString counted(int count, const char *one, const char *many)
{
    return QStringLiteral("%1 %2").arg(count).arg(QLatin1String(count == 1 ? one : many));
}

// "3 parameters and 168 cells differ, up to 6.2°".
QString contentsText(const ImageBytes &expected, const ImageBytes &present, int bytes)
{
    const ModuleData from = decoded(expected);
    const ModuleData to = decoded(present);
    const DifferenceSummary s = summarise(diffImages(from, to), from, to);
    QStringList parts;
    if (s.parameters > 0)
        parts << counted(s.parameters, "parameter", "parameters");
    if (s.cells > 0)
        parts << counted(s.cells, "cell", "cells");
    if (s.otherBytes > 0)
        parts << counted(s.otherBytes, "other byte", "other bytes");
    // Bytes that read alike (reserved, clamped) still make another module.
    if (parts.isEmpty())
        parts << counted(bytes, "byte the program does not decode", "bytes the program does not decode");
    const bool one = parts.size() == 1 && parts.first().startsWith(QStringLiteral("1 "));
    QString text = parts.size() == 1 ? parts.first()
                                     : parts.mid(0, parts.size() - 1).join(QStringLiteral(", ")) +
                                           QStringLiteral(" and ") + parts.last();
    text += one ? QStringLiteral(" differs") : QStringLiteral(" differ");
    if (s.cells > 0)
        text += QStringLiteral(", up to %1°").arg(s.largest, 0, 'f', 1);
    return text;
}

}  // namespace

ModuleChange moduleChange(const ImageBytes &expected, const ImageBytes &present, const QString &expectedFirmware,
                          const QString &presentFirmware)
{
    const bool firmware =
        !expectedFirmware.isEmpty() && !presentFirmware.isEmpty() && expectedFirmware != presentFirmware;
    const int bytes = differingTransferBytes(expected, present);
    if (!firmware && bytes == 0)
        return {};
    QStringList lines;
    if (firmware)
        lines << QStringLiteral("firmware %1, downloaded from %2").arg(presentFirmware, expectedFirmware);
    lines << (bytes == 0 ? QStringLiteral("the contents are the same") : contentsText(expected, present, bytes));
    return {true, lines.join(QStringLiteral("; "))};
}

}  // namespace tunara::compare
