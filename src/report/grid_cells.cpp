#include "report/grid_cells.h"

#include "core/shown_numbers.h"
#include "tables/table_axes.h"

namespace tunara::report {

namespace {

QStringList speedRow(const QString &caption)
{
    QStringList row{caption};
    for (int p = 1; p <= SpeedPoints; ++p)
        row << axes::speedHeading(p);
    return row;
}

QString advanceText(double value, const QLocale &locale)
{
    return numbers::shown(value, QStringLiteral("#0.0"), locale);
}

}  // namespace

QList<QStringList> gridCells2D(const Table2D &table, const QLocale &locale)
{
    QStringList advances{QStringLiteral("ADV")};
    for (int p = 1; p <= SpeedPoints; ++p)
        advances << advanceText(table(p, 1), locale);
    return {speedRow(QStringLiteral("RPM")), advances};
}

QList<QStringList> gridCells3D(const Table3D &table, std::uint8_t mapSensor, const QLocale &locale)
{
    QList<QStringList> rows{speedRow(QStringLiteral("MAP/RPM"))};
    for (int r = 1; r <= PressureRows; ++r) {
        QStringList row{axes::pressureHeading(mapSensor, r)};
        const int m = axes::pressureIndexOfGridRow(r);
        for (int p = 1; p <= SpeedPoints; ++p)
            row << advanceText(table(p, m), locale);
        rows << row;
    }
    return rows;
}

}  // namespace tunara::report
