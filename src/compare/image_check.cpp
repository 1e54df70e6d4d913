#include "compare/image_check.h"

#include "compare/image_regions.h"
#include "core/shown_numbers.h"
#include "image/image_layout.h"
#include "module/parameter_codec.h"
#include "tables/advance_window.h"
#include "tables/table_axes.h"

#include <QStringList>

namespace tunara::compare {

namespace {

QString hexByte(int value)
{
    return QStringLiteral("0x") + QString::number(value, 16).toUpper().rightJustified(2, u'0');
}

// Degrees as exact as they are stored: at most four decimals, no trailing zeros.
QString degrees(double value, const QLocale &locale)
{
    QString text = numbers::shownFixed(value, 4, locale);
    while (text.endsWith(u'0'))
        text.chop(1);
    if (text.endsWith(locale.decimalPoint()))
        text.chop(locale.decimalPoint().size());
    return text == QStringLiteral("-0") ? QStringLiteral("0") : text;
}

void checkLimitedParameters(const ModuleImage &image, const ModuleParameters &p, std::vector<CheckItem> &items)
{
    namespace at = layout::address;
    const auto &b = image.EEPROMBuffer;
    const struct {
        const char *name;
        int address;
        int stored;
        int after;
        const char *unit;
    } limited[] = {
        {"TrigTiming", at::TrigTiming, b[at::TrigTiming], p.TrigTiming, " deg"},
        {"CrankPulses", at::CrankPulses, b[at::CrankPulses], p.CrankPulses, ""},
        {"MaxRPMLimit", at::MaxRPMLimit, b[at::MaxRPMLimit] * 100, p.MaxRPMLimit, " RPM"},
    };
    for (const auto &l : limited) {
        if (l.stored == l.after)
            continue;
        const QString text = QStringLiteral("%1 is stored as %2%4 (byte %3); it is read and saved as %5%4")
                                 .arg(QLatin1String(l.name))
                                 .arg(l.stored)
                                 .arg(l.address)
                                 .arg(QLatin1String(l.unit))
                                 .arg(l.after);
        items.push_back({CheckKind::LimitedParameter, true, text, l.address, double(l.stored), double(l.after)});
    }
}

void checkFlagByte(const char *name, int address, std::uint8_t stored, std::uint8_t saved, std::uint8_t kept,
                   std::vector<CheckItem> &items)
{
    const int dropped = stored & ~kept;
    if (dropped == 0)
        return;
    const QString text = QStringLiteral("%1 (byte %2) has bits %3 set that are dropped on save: %4 is saved as %5")
                             .arg(QLatin1String(name))
                             .arg(address)
                             .arg(hexByte(dropped), hexByte(stored), hexByte(saved));
    items.push_back({CheckKind::DroppedFlagBits, true, text, address, double(stored), double(saved)});
}

void checkFlags(const ModuleImage &image, const ModuleImage &saved, std::vector<CheckItem> &items)
{
    namespace at = layout::address;
    const auto &b = image.EEPROMBuffer;
    const auto &s = saved.EEPROMBuffer;
    const int options = at::OptionFlags;
    checkFlagByte("OptionFlags", options, b[options], s[options], 0xFC, items);
    constexpr std::uint8_t bothTables = OptionBits::Table2D | OptionBits::Table3D;
    if ((b[options] & bothTables) == bothTables) {
        const QString text = QStringLiteral("OptionFlags (byte %1) selects both the 2D and the 3D table: the 3D table "
                                            "is used and the 2D flag is dropped on save (%2 is saved as %3)")
                                 .arg(options)
                                 .arg(hexByte(b[options]), hexByte(s[options]));
        items.push_back({CheckKind::BothTableFlags, true, text, options, double(b[options]), double(s[options])});
    }
    checkFlagByte("DataLogFlags", at::DataLogFlags, b[at::DataLogFlags], s[at::DataLogFlags], 0x01, items);
    checkFlagByte("IdleStabFlags", at::IdleStabFlags, b[at::IdleStabFlags], s[at::IdleStabFlags], 0x01, items);
}

void checkReserved(const ModuleImage &image, std::vector<CheckItem> &items)
{
    for (int a = ModuleImage::FirstTransferAddress; a <= ModuleImage::LastTransferAddress; ++a) {
        const int v = image.EEPROMBuffer[a];
        if (roleOf(a) != ByteRole::Reserved || v == 0)
            continue;
        items.push_back({CheckKind::ReservedNotZero, true,
                         QStringLiteral("reserved byte %1 holds %2; it is saved as 0x00").arg(a).arg(hexByte(v)), a,
                         double(v), 0.0});
    }
}

// One cell of the active table: its stored advance (before the 2D floor at
// 0), what the editor reads, and the window the editor keeps it in.
void checkCell(const QString &where, int address, double storedAdvance, double readAs, const AdvanceWindow &window,
               std::vector<CheckItem> &items, const QLocale &locale)
{
    QString text = where + QStringLiteral(": stored advance %1 deg").arg(degrees(storedAdvance, locale));
    if (readAs != storedAdvance)
        text += QStringLiteral(" is read as %1 deg").arg(degrees(readAs, locale));
    const bool outside = !window.contains(readAs);
    if (!outside && readAs == storedAdvance)
        return;
    if (outside)
        text += QStringLiteral("%1 outside the advance window %2 to %3 deg")
                    .arg(readAs != storedAdvance ? QStringLiteral(", which is") : QStringLiteral(" is"))
                    .arg(degrees(window.low, locale), degrees(window.high, locale));
    items.push_back({CheckKind::CellOutsideWindow, false, text, address, storedAdvance, readAs});
}

void checkActiveTable(const ModuleData &data, std::vector<CheckItem> &items, const QLocale &locale)
{
    const ModuleParameters &p = data.params;
    const auto &b = data.image.EEPROMBuffer;
    const int trig = p.TrigTiming;
    bool allZero = true;
    if (p.TimingTable3D) {
        const AdvanceWindow window = AdvanceWindow::for3D(trig);
        for (int row = 1; row <= PressureRows; ++row) {
            const int m = axes::pressureIndexOfGridRow(row);
            for (int point = 1; point <= SpeedPoints; ++point) {
                const int a = axes::image3DIndex(point, m);
                allZero = allZero && b[a] == 0;
                const QString where = QStringLiteral("3D table, MAP %1, %2 RPM")
                                          .arg(axes::pressureLabel(p.MAPSensor, row))
                                          .arg(axes::rpmAtPoint(point));
                checkCell(where, a, trig - b[a] * DegreesPerStep, data.tables.table3D(point, m), window, items, locale);
            }
        }
    } else if (p.TimingTable2D) {
        const AdvanceWindow window = AdvanceWindow::for2D(trig);
        for (int point = 1; point <= SpeedPoints; ++point) {
            const int a = axes::image2DIndex(point);
            allZero = allZero && b[a] == 0;
            const QString where = QStringLiteral("2D table, %1 RPM").arg(axes::rpmAtPoint(point));
            checkCell(where, a, trig - b[a] * DegreesPerStep, data.tables.table2D(point, 1), window, items, locale);
        }
    } else {
        return;
    }
    if (allZero) {
        const QString table = p.TimingTable3D ? QStringLiteral("3D") : QStringLiteral("2D");
        const int first = (p.TimingTable3D ? layout::Table3D : layout::Table2D).first;
        items.push_back({CheckKind::ZeroTableRegion, false,
                         QStringLiteral("the %1 table region is all zeros: every advance equals the trigger timing (%2 deg)")
                             .arg(table)
                             .arg(trig),
                         first, 0.0, double(trig)});
    }
}

}  // namespace

CheckReport checkImage(const ModuleImage &image, const QLocale &locale)
{
    ModuleData data;
    data.image = image;
    UpdateParams(data);
    ModuleData saved = data;
    UpdateEEPROM(saved);

    CheckReport report;
    report.resaveChangesFile = !isAsSaved(image);
    checkLimitedParameters(image, data.params, report.items);
    checkFlags(image, saved.image, report.items);
    checkReserved(image, report.items);
    checkActiveTable(data, report.items, locale);
    return report;
}

QString itemListText(const std::vector<CheckItem> &items, int maxItems)
{
    QStringList lines;
    for (size_t k = 0; k < items.size() && int(k) < maxItems; ++k)
        lines << items[k].text;
    if (int(items.size()) > maxItems)
        lines << QStringLiteral("... and %1 more").arg(items.size() - size_t(maxItems));
    return lines.join(u'\n');
}

QString kindName(CheckKind kind)
{
    switch (kind) {
    case CheckKind::LimitedParameter: return QStringLiteral("limitedParameter");
    case CheckKind::DroppedFlagBits: return QStringLiteral("droppedFlagBits");
    case CheckKind::BothTableFlags: return QStringLiteral("bothTableFlags");
    case CheckKind::ReservedNotZero: return QStringLiteral("reservedNotZero");
    case CheckKind::CellOutsideWindow: return QStringLiteral("cellOutsideWindow");
    case CheckKind::ZeroTableRegion: return QStringLiteral("zeroTableRegion");
    }
    return QString();
}

}  // namespace tunara::compare
