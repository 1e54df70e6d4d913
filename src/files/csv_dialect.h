#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <variant>

// The two CSV forms spreadsheets write: commas between cells with a decimal
// point, or (in locales whose decimal mark is a comma) semicolons between
// cells with a decimal comma. Tab-separated text takes either mark.
namespace tunara::csv {

struct Dialect {
    char16_t separator = u',';
    char16_t decimal = u'.';
};

inline constexpr Dialect CommaPoint{u',', u'.'};
inline constexpr Dialect SemicolonComma{u';', u','};

// The separator of a text: the first comma, semicolon or tab outside quotes
// on its first line; a comma when the line has none.
char16_t detectSeparator(QStringView text);
// The same over the bytes of UTF-8 text (every character it looks for is
// ASCII, and no byte of a longer character is).
char16_t detectSeparator(QByteArrayView utf8);

// "commas", "semicolons" or "tabs".
QString separatorName(char16_t separator);

// A number written with a decimal point, as the dialect writes it.
QString withDecimal(QString pointText, Dialect dialect);

// Reads the plain decimal numbers of one file under one decimal mark: the
// comma after semicolons; after commas or tabs the mark of the first cell
// that has one. (A spreadsheet in a decimal-comma locale writes commas
// between cells and quotes the numbers, "29,2089"; a comma inside a cell
// of such a file can only have come from quotes.) Thousands separators,
// exponents and a second mark are not numbers.
class NumberReader {
public:
    explicit NumberReader(char16_t separator);

    // The number, or why the text is not one. row and column name the cell
    // that sets the mark of a tab-separated file.
    std::variant<double, QString> read(const QString &text, int row, int column);

private:
    char16_t m_separator;
    char16_t m_mark = 0;  // 0 while a tab-separated file has shown no mark
    QString m_markSetBy;  // "row 2, column 3" for a mark taken from a cell
};

}  // namespace tunara::csv
