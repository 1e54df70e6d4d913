#include "files/table_csv.h"

#include "core/runtime_error.h"
#include "files/file_safety.h"
#include "tables/advance_window.h"
#include "tables/table_axes.h"
#include "tables/table_codec.h"

#include <QLocale>
#include <QRegularExpression>
#include <QStringDecoder>

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
};

RuntimeError csvFileError(const QString &path, const QString &reason)
{
    return RuntimeError(FileErrorNumber, QStringLiteral("CSV File"), path + QStringLiteral(": ") + reason);
}

std::optional<double> plainNumber(const QString &text)
{
    static const QRegularExpression number(QStringLiteral("^[+-]?([0-9]+(\\.[0-9]*)?|\\.[0-9]+)$"));
    const QString t = text.trimmed();
    if (!number.match(t).hasMatch())
        return std::nullopt;
    return t.toDouble();
}

csv::Problem problem(int row, int column, const QString &reason)
{
    return csv::Problem{row, column, reason};
}

// The text as Unicode, or why it is not a text file.
std::variant<QString, csv::Problem> decodeText(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return problem(0, 0, QStringLiteral("the file is empty"));
    if (bytes.contains('\0'))
        return problem(0, 0, QStringLiteral("not a text file (it holds zero bytes)"));
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        return problem(0, 0, QStringLiteral("not a UTF-8 text file"));
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return text;
}

bool isBlank(const QStringList &fields)
{
    return std::all_of(fields.begin(), fields.end(), [](const QString &f) { return f.trimmed().isEmpty(); });
}

// A spreadsheet set to a decimal comma writes semicolons between cells.
bool hasSemicolons(const QStringList &fields)
{
    return std::any_of(fields.begin(), fields.end(), [](const QString &f) { return f.contains(u';'); });
}

// Rows and columns beyond the table that hold nothing are a spreadsheet's
// leftovers, not data.
void dropTrailingBlanks(std::vector<QStringList> &records)
{
    while (!records.empty() && isBlank(records.back()))
        records.pop_back();
    for (QStringList &fields : records) {
        while (fields.size() > Columns && fields.back().trimmed().isEmpty())
            fields.removeLast();
    }
}

// The corner names the kind of table; checked before the shape, so a 3D
// table offered to a 2D file is called that rather than "extra row".
std::optional<csv::Problem> checkCorner(const QStringList &firstRow, const Layout &layout)
{
    const QString got = firstRow[0].trimmed();
    if (hasSemicolons(firstRow))
        return std::nullopt;  // the shape check explains the separator
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
        if (hasSemicolons(fields))
            return problem(row, 0, QStringLiteral("semicolons between cells: the separator must be a comma, "
                                                  "not a semicolon, and the decimal mark a point"));
        if (fields.size() < Columns)
            return problem(row, int(fields.size()) + 1,
                           QStringLiteral("missing column: every row of %1 has %2 columns").arg(table).arg(Columns));
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

std::optional<csv::Problem> checkHeadings(const std::vector<QStringList> &records, const Layout &layout)
{
    const QStringList heading = headingRow(layout.is3D);
    for (int c = 2; c <= Columns; ++c) {
        const std::optional<double> rpm = plainNumber(records[0][c - 1]);
        if (!rpm || *rpm != axes::rpmAtPoint(c - 1))
            return problem(1, c, QStringLiteral("\"%1\" where the heading is %2 RPM")
                                     .arg(csv::shown(records[0][c - 1]), heading[c - 1]));
    }
    for (int row = 2; row <= layout.rows; ++row) {
        const QString want = layout.label(row - 1);
        const QString &got = records[size_t(row - 1)][0];
        const std::optional<double> n = plainNumber(got);
        const bool same = got.trimmed().compare(want, Qt::CaseInsensitive) == 0 || (n && *n == want.toDouble());
        if (!same)
            return problem(row, 1, QStringLiteral("\"%1\" where this table's row label is %2").arg(csv::shown(got), want));
    }
    return std::nullopt;
}

// Every data cell through the number and window rules; the values go to
// store(gridRow, point, advance).
std::optional<csv::Problem> readCells(const std::vector<QStringList> &records, const Layout &layout,
                                      const std::function<void(int, int, double)> &store)
{
    for (int row = 2; row <= layout.rows; ++row) {
        for (int c = 2; c <= Columns; ++c) {
            const QString &text = records[size_t(row - 1)][c - 1];
            if (text.trimmed().isEmpty())
                return problem(row, c, QStringLiteral("empty cell"));
            const std::optional<double> v = plainNumber(text);
            if (!v)
                return problem(row, c, QStringLiteral("\"%1\" is not a number").arg(csv::shown(text)));
            if (!layout.window.contains(*v))
                return problem(row, c, QStringLiteral("%1 is outside the advance window %2 to %3 degrees "
                                                      "(trigger timing %3)")
                                           .arg(text.trimmed())
                                           .arg(layout.window.low)
                                           .arg(layout.window.high));
            store(row - 1, c - 1, *v);
        }
    }
    return std::nullopt;
}

std::optional<csv::Problem> readTable(const QByteArray &bytes, const Layout &layout,
                                      const std::function<void(int, int, double)> &store)
{
    const auto text = decodeText(bytes);
    if (const auto *p = std::get_if<csv::Problem>(&text))
        return *p;
    auto parsed = csv::parse(std::get<QString>(text));
    if (const auto *p = std::get_if<csv::Problem>(&parsed))
        return *p;
    auto &records = std::get<std::vector<QStringList>>(parsed);
    dropTrailingBlanks(records);
    if (records.empty())
        return problem(0, 0, QStringLiteral("the file holds no table"));
    if (auto p = checkCorner(records[0], layout))
        return p;
    if (auto p = checkShape(records, layout))
        return p;
    if (auto p = checkHeadings(records, layout))
        return p;
    return readCells(records, layout, store);
}

}  // namespace

QString advanceText(double advance, int trigTiming)
{
    QString text = QString::number(advance, 'f', 4);
    while (text.endsWith(u'0'))
        text.chop(1);
    if (text.endsWith(u'.'))
        text.chop(1);
    if (text == QStringLiteral("-0"))
        text = QStringLiteral("0");
    if (EncodeAdvance(trigTiming, text.toDouble()) == EncodeAdvance(trigTiming, advance))
        return text;
    return QString::number(advance, 'g', QLocale::FloatingPointShortest);
}

QByteArray write2D(const Table2D &table, int trigTiming)
{
    QStringList advances{QStringLiteral("ADV")};
    for (int p = 1; p <= SpeedPoints; ++p)
        advances << advanceText(table(p, 1), trigTiming);
    return (csv::record(headingRow(false)) + csv::record(advances)).toUtf8();
}

QByteArray write3D(const Table3D &table, int trigTiming, std::uint8_t mapSensor)
{
    QString text = csv::record(headingRow(true));
    for (int row = 1; row <= PressureRows; ++row) {
        const int m = axes::pressureIndexOfGridRow(row);
        QStringList fields{axes::pressureHeading(mapSensor, row)};
        for (int p = 1; p <= SpeedPoints; ++p)
            fields << advanceText(table(p, m), trigTiming);
        text += csv::record(fields);
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
