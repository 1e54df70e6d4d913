#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The optional branding file "Tunara_Kelm.cfg" in the program folder:
// marker lines start with "!"; block 1 holds the splash settings, block 2
// the company lines.
namespace tunara::config {

QString fileName();  // "Tunara_Kelm.cfg"

struct CompanyConfig {
    QStringList SplashSettings;  // item k is SplashSettings[k - 1]
    QStringList CompanyInfo;
    // Set when the file is malformed: what could be read is kept above.
    std::optional<QString> error;
};

CompanyConfig defaults();

// Parses the lines of a configuration file.
CompanyConfig parse(const QStringList &lines);

// Reads the file at path; a missing file gives the defaults without error.
// A file that exists but cannot be read, or is not a regular file of at
// most files::TextCap bytes, gives an error and empty lists.
CompanyConfig read(const QString &path);

// Item k (from 1) of a settings list; throws RuntimeError naming the item
// when the list is too short.
QString splashItem(const QStringList &settings, int k);

// What the splash makes of block 1.
struct SplashStyle {
    QString companyName;
    QString fontName;
    double fontSize = 0;
    bool bold = false;
    bool italic = false;
};
double fontSizeOf(const QString &item);  // leading number, none gives 0
bool isBold(const QString &styleItem);
bool isItalic(const QString &styleItem);
// The logo file name, or nothing when the item says NULL in any case.
std::optional<QString> logoFileOf(const QString &logoItem);

}  // namespace tunara::config
