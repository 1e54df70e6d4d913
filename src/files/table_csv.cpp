#include "files/table_csv.h"

#include "core/runtime_error.h"
#include "files/csv_dialect.h"
#include "files/data_file.h"
#include "files/file_safety.h"
#include "files/other_file.h"
#include "tables/advance_window.h"
#include "tables/table_axes.h"
#include "tables/table_codec.h"

#include <QLocale>

#include <algorithm>
#include <functional>
#include <optional>

namespace tunara::tablecsv {

namespace {

constexpr int Columns = SpeedPoints + 1;  // the label column and 21 speed points

QString corner(bool is3D)
{
    return is3D ? QStringLiteral("MAP/RPM") : QStringLiteral("RPM");
}

QStringList headingRow(bool is3D)
{
    QStringList fields{corner(is3D)};
    for (int p = 1; p <= SpeedPoints; ++p)
        fields << axes::speedHeading(p);
    return fields;
}

// Shape of the table being read and the rule for its cells.
struct Layout {
    bool is3D;
    int rows;
    AdvanceWindow window;
    std::function<QString(int gridRow)> label;  // expected column-1 text of a data row
    char16_t separator = u',';                  // as row 1 shows it
};

RuntimeError csvFileError(const QString &path, const QString &reason)
{
    return RuntimeError(FileErrorNumber, QStringLiteral("CSV File"), path + QStringLiteral(": ") + reason);
}

csv::Problem problem(int row, int column, const QString &reason)
{
    return csv::Problem{row, column, reason};
}

// Why the bytes are not a text file, if they are not. Checked over the
// whole file before any record is read, without a decoded copy of it.
std::optional<csv::Problem> checkText(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return problem(0, 0, QStringLiteral("the file is empty"));
    if (bytes.contains('\0'))
        return problem(0, 0, QStringLiteral("not a text file: it holds binary data"));
    if (!csv::isUtf8(bytes))
        return problem(0, 0, QStringLiteral("not a UTF-8 text file"));
    return std::nullopt;
}

bool isBlank(const QStringList &fields)
{
    return std::all_of(fields.begin(), fields.end(), [](const QString &f) { return f.trimmed().isEmpty(); });
}

// A row short of cells that another separator would split into the whole
// row: the file switched separators there.
std::optional<csv::Problem> checkSwitchedSeparator(const QStringList &fields, int row, char16_t separator)
{
    for (const char16_t other : {u',', u';', u'\t'}) {
        if (other == separator || fields.join(QChar(separator)).count(QChar(other)) + 1 < Columns)
            continue;
        const auto at = std::find_if(fields.begin(), fields.end(), [&](const QString &f) { return f.contains(QChar(other)); });
        return problem(row, int(at - fields.begin()) + 1,
                       QStringLiteral("%1 between cells where row 1 separates them by %2")
                           .arg(csv::separatorName(other), csv::separatorName(separator)));
    }
    return std::nullopt;
}

// The records that decide whether the file holds the table: its rows, and
// at most one more. Blank rows and cells beyond the table are a
// spreadsheet's leftovers, not data, and are passed over; the reading stops
// at the first row or cell beyond the table that holds something, since the
// table cannot fit then and no later record changes the first problem. A
// file of any size costs a table's worth of memory.
std::variant<std::vector<QStringList>, csv::Problem> readRecords(const QByteArray &bytes, const Layout &layout)
{
    csv::RecordReader reader(bytes, layout.separator, {Columns, MaxCellChars});
    std::vector<QStringList> records;
    int blanks = 0;  // blank records since the last one that held something
    QStringList fields;
    while (!reader.atEnd()) {
        const QString reason = reader.next(fields);
        if (!reason.isEmpty())
            return problem(int(records.size()) + blanks + 1, int(fields.size()), reason);
        if (isBlank(fields)) {
            ++blanks;
            continue;
        }
        // Blank records followed by one that holds something are empty rows.
        for (; blanks > 0 && int(records.size()) <= layout.rows; --blanks)
            records.push_back(QStringList{QString()});
        blanks = 0;
        if (int(records.size()) <= layout.rows)
            records.push_back(fields);
        if (int(records.size()) > layout.rows || fields.size() > Columns)
            break;
    }
    return records;
}

// The corner names the kind of table; checked before the shape, so a 3D
// table offered to a 2D file is called that rather than "extra row".
std::optional<csv::Problem> checkCorner(const QStringList &firstRow, const Layout &layout)
{
    const QString got = firstRow[0].trimmed();
    if (got.compare(corner(layout.is3D), Qt::CaseInsensitive) == 0)
        return std::nullopt;
    QString reason = QStringLiteral("\"%1\" where the heading is \"%2\"").arg(csv::shown(got), corner(layout.is3D));
    if (got.compare(corner(!layout.is3D), Qt::CaseInsensitive) == 0)
        reason += layout.is3D ? QStringLiteral(": this CSV holds a 2D table, not a 3D one")
                              : QStringLiteral(": this CSV holds a 3D table, not a 2D one");
    return problem(1, 1, reason);
}

std::optional<csv::Problem> checkShape(const std::vector<QStringList> &records, const Layout &layout)
{
    const QString table = layout.is3D ? QStringLiteral("a 3D table") : QStringLiteral("a 2D table");
    for (size_t k = 0; k < records.size() && int(k) < layout.rows; ++k) {
        const int row = int(k) + 1;
        const QStringList &fields = records[k];
        if (isBlank(fields))
            return problem(row, 0, QStringLiteral("empty row"));
        if (fields.size() < Columns) {
            if (auto p = checkSwitchedSeparator(fields, row, layout.separator))
                return p;
            return problem(row, int(fields.size()) + 1,
                           QStringLiteral("missing column: every row of %1 has %2 columns").arg(table).arg(Columns));
        }
        if (fields.size() > Columns)
            return problem(row, Columns + 1,
                           QStringLiteral("extra column: every row of %1 has %2 columns").arg(table).arg(Columns));
    }
    if (int(records.size()) < layout.rows)
        return problem(int(records.size()) + 1, 0,
                       QStringLiteral("missing row: %1 has %2 rows").arg(table).arg(layout.rows));
    if (int(records.size()) > layout.rows)
        return problem(layout.rows + 1, 0, QStringLiteral("extra row: %1 has %2 rows").arg(table).arg(layout.rows));
    return std::nullopt;
}

std::optional<double> numberOrNothing(csv::NumberReader &numbers, const QString &text, int row, int column)
{
    const auto n = numbers.read(text, row, column);
    return std::holds_alternative<double>(n) ? std::optional<double>(std::get<double>(n)) : std::nullopt;
}

std::optional<csv::Problem> checkHeadings(const std::vector<QStringList> &records, const Layout &layout,
                                          csv::NumberReader &numbers)
{
    const QStringList heading = headingRow(layout.is3D);
    for (int c = 2; c <= Columns; ++c) {
        const std::optional<double> rpm = numberOrNothing(numbers, records[0][c - 1], 1, c);
        if (!rpm || *rpm != axes::rpmAtPoint(c - 1))
            return problem(1, c, QStringLiteral("\"%1\" where the heading is %2 RPM")
                                     .arg(csv::shown(records[0][c - 1]), heading[c - 1]));
    }
    for (int row = 2; row <= layout.rows; ++row) {
        const QString want = layout.label(row - 1);
        const QString &got = records[size_t(row - 1)][0];
        const std::optional<double> n = numberOrNothing(numbers, got, row, 1);
        const bool same = got.trimmed().compare(want, Qt::CaseInsensitive) == 0 || (n && *n == want.toDouble());
        if (!same)
            return problem(row, 1, QStringLiteral("\"%1\" where this table's row label is %2").arg(csv::shown(got), want));
    }
    return std::nullopt;
}

// Every data cell through the number and window rules; the values go to
// store(gridRow, point, advance).
std::optional<csv::Problem> readCells(const std::vector<QStringList> &records, const Layout &layout,
                                      csv::NumberReader &numbers, const std::function<void(int, int, double)> &store)
{
    for (int row = 2; row <= layout.rows; ++row) {
        for (int c = 2; c <= Columns; ++c) {
            const QString &text = records[size_t(row - 1)][c - 1];
            if (text.trimmed().isEmpty())
                return problem(row, c, QStringLiteral("empty cell"));
            const auto read = numbers.read(text, row, c);
            if (const auto *reason = std::get_if<QString>(&read))
                return problem(row, c, *reason);
            const double v = std::get<double>(read);
            if (!layout.window.contains(v))
                return problem(row, c, QStringLiteral("%1 is outside the advance window %2 to %3 degrees "
                                                      "(trigger timing %3)")
                                           .arg(text.trimmed())
                                           .arg(layout.window.low)
                                           .arg(layout.window.high));
            store(row - 1, c - 1, v);
        }
    }
    return std::nullopt;
}

std::optional<csv::Problem> readTable(const QByteArray &bytes, Layout layout,
                                      const std::function<void(int, int, double)> &store)
{
    if (auto p = checkText(bytes))
        return p;
    layout.separator = csv::detectSeparator(bytes);
    const auto read = readRecords(bytes, layout);
    if (const auto *p = std::get_if<csv::Problem>(&read))
        return *p;
    const auto &records = std::get<std::vector<QStringList>>(read);
    if (records.empty())
        return problem(0, 0, QStringLiteral("the file holds no table"));
    if (auto p = checkCorner(records[0], layout))
        return p;
    if (auto p = checkShape(records, layout))
        return p;
    csv::NumberReader numbers(layout.separator);
    if (auto p = checkHeadings(records, layout, numbers))
        return p;
    return readCells(records, layout, numbers, store);
}

}  // namespace

std::optional<QString> notCsvText(const QString &path, const QByteArray &bytes, const ImportAdvice &advice)
{
    using files::OtherFileKind;
    const std::optional<OtherFileKind> kind = files::recogniseOtherFile(bytes, bytes.size());
    if (kind == OtherFileKind::Spreadsheet)
        return QStringLiteral("%1 is a spreadsheet: save its table as CSV, then %2").arg(path, advice.importCsv);
    if (kind == OtherFileKind::Csv || kind == OtherFileKind::Text)
        return std::nullopt;
    if (kind)
        return QStringLiteral("%1 is %2, not a CSV file").arg(path, files::otherFileKindName(*kind));
    // Binary of a data file's size: what the open command reads (a saved
    // file holds zero bytes in its reserved ones).
    if (bytes.size() == datafile::Size && (bytes.contains('\0') || !csv::isUtf8(bytes)))
        return QStringLiteral("%1 is a data file: %2").arg(path, advice.openDataFile);
    return std::nullopt;
}

QString advanceText(double advance, int trigTiming)
{
    QString text = QString::number(advance, 'f', 4);
    while (text.endsWith(u'0'))
        text.chop(1);
    if (text.endsWith(u'.'))
        text.chop(1);
    if (text == QStringLiteral("-0"))
        text = QStringLiteral("0");
    if (encodeAdvance(trigTiming, text.toDouble()) == encodeAdvance(trigTiming, advance))
        return text;
    return QString::number(advance, 'g', QLocale::FloatingPointShortest);
}

QByteArray write2D(const Table2D &table, int trigTiming, csv::Dialect dialect)
{
    QStringList advances{QStringLiteral("ADV")};
    for (int p = 1; p <= SpeedPoints; ++p)
        advances << csv::withDecimal(advanceText(table(p, 1), trigTiming), dialect);
    return (csv::record(headingRow(false), dialect.separator) + csv::record(advances, dialect.separator)).toUtf8();
}

QByteArray write3D(const Table3D &table, int trigTiming, std::uint8_t mapSensor, csv::Dialect dialect)
{
    QString text = csv::record(headingRow(true), dialect.separator);
    for (int row = 1; row <= PressureRows; ++row) {
        const int m = axes::pressureIndexOfGridRow(row);
        QStringList fields{axes::pressureHeading(mapSensor, row)};
        for (int p = 1; p <= SpeedPoints; ++p)
            fields << csv::withDecimal(advanceText(table(p, m), trigTiming), dialect);
        text += csv::record(fields, dialect.separator);
    }
    return text.toUtf8();
}

Result<Table2D> read2D(const QByteArray &bytes, int trigTiming)
{
    const Layout layout{false, 2, AdvanceWindow::for2D(trigTiming), [](int) { return QStringLiteral("ADV"); }};
    Table2D table;
    const auto store = [&](int, int point, double v) {
        table(point, 1) = v;
        table(point, 2) = trigTiming;
    };
    if (auto p = readTable(bytes, layout, store))
        return *p;
    return table;
}

Result<Table3D> read3D(const QByteArray &bytes, int trigTiming, std::uint8_t mapSensor)
{
    const Layout layout{true, PressureRows + 1, AdvanceWindow::for3D(trigTiming),
                        [mapSensor](int gridRow) { return QString::number(axes::pressureLabel(mapSensor, gridRow)); }};
    Table3D table;
    const auto store = [&](int gridRow, int point, double v) {
        table(point, axes::pressureIndexOfGridRow(gridRow)) = v;
    };
    if (auto p = readTable(bytes, layout, store))
        return *p;
    return table;
}

QByteArray readFile(const QString &path)
{
    try {
        return files::readInput(path, MaxFileBytes, QStringLiteral("timing table"));
    } catch (const files::FileRefused &e) {
        using Cause = files::FileRefused::Cause;
        throw csvFileError(path, e.cause() == Cause::Folder ? QStringLiteral("is a folder, not a CSV file") : e.reason());
    }
}

void writeFile(const QString &path, const QByteArray &bytes, const QStringList &inputs)
{
    try {
        files::writeWhole(path, bytes, inputs);
    } catch (const files::FileRefused &e) {
        throw csvFileError(path, e.reason());
    }
}

}  // namespace tunara::tablecsv
