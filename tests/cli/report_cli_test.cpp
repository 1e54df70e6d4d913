// tunara-cli report: the printed report of a data file as a PDF, read back
// as a person would check it; bad paths and arguments end cleanly.
#include "report/pdf_reader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>

#include <unistd.h>

using namespace tunara::test;

namespace {

struct CliResult {
    int code;
    QString err;
};

CliResult runReport(const QStringList &args)
{
    QProcess p;
    p.start(QStringLiteral(TUNARA_CLI_PATH), QStringList{QStringLiteral("report")} + args);
    EXPECT_TRUE(p.waitForFinished(60000));
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardError())};
}

// A data file: image bytes 16..279 with the given option flags and the
// report's edge cases in the parameter block.
QString writeDataFile(const QString &path, quint8 optionFlags, quint8 mapSensor, quint8 gpio2Mode)
{
    QByteArray image(280, '\0');
    for (int i = 0; i < 21; ++i)
        image[16 + i] = char(250 - i * 12);
    image[48] = 30;
    image[49] = 4;
    image[50] = char(optionFlags);
    image[51] = 65;
    image[52] = 17;  // retard compensation 1.5 degrees
    image[53] = 57;  // start retard 5 degrees
    image[55] = char(mapSensor);
    image[72] = char(gpio2Mode);
    image[76] = 60;
    image[77] = char(200);
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(image.mid(16));
    return path;
}

// x of a line's first word and of its last word (the value), for the line
// whose words begin with those of `label`.
std::pair<double, double> labelAndValueX(const std::vector<PdfWord> &words, int page, const QString &label)
{
    const QStringList parts = label.split(u' ');
    for (const PdfWord &first : words) {
        if (first.page != page || first.text != parts[0])
            continue;
        std::vector<PdfWord> line;
        for (const PdfWord &w : words)
            if (w.page == page && w.y == first.y)
                line.push_back(w);
        std::sort(line.begin(), line.end(), [](const PdfWord &a, const PdfWord &b) { return a.x < b.x; });
        QStringList texts;
        for (const PdfWord &w : line)
            texts << w.text;
        if (texts.mid(0, parts.size()) == parts && texts.size() > parts.size())
            return {line.front().x, line.back().x};
    }
    ADD_FAILURE() << "no line " << label.toStdString();
    return {0, 0};
}

// Writes a data file with these flags and reports it into `name`.pdf.
QString reportOf(const QTemporaryDir &dir, const QString &name, quint8 optionFlags, quint8 mapSensor, quint8 gpio2Mode,
                 const QStringList &options = {})
{
    const QString pdf = dir.filePath(name + QStringLiteral(".pdf"));
    const QString data = writeDataFile(dir.filePath(name + QStringLiteral(".dat")), optionFlags, mapSensor, gpio2Mode);
    EXPECT_EQ(runReport(QStringList{data, QStringLiteral("-o"), pdf} + options).code, 0) << name.toStdString();
    return pdf;
}

}  // namespace

TEST(ReportCli, TwoAndThreeDimensionalFilesGiveTheThreePages)
{
    QTemporaryDir dir;
    const QString pdf2 = reportOf(dir, QStringLiteral("2d"), 0x5C, 0, 0x13,
                                  {QStringLiteral("--comment"), QStringLiteral("SN 4711"), QStringLiteral("--company"),
                                   QStringLiteral("Kelm Motors")});
    ASSERT_EQ(pdfPageCount(pdf2), 3);
    const QStringList chartPage = pdfPageLines(pdf2, 1);
    ASSERT_GE(chartPage.size(), 2);
    EXPECT_TRUE(chartPage[0].startsWith(QStringLiteral("Kelm Motors Torvik-1 Zoruro Ignition Module Data Printed: ")));
    EXPECT_EQ(chartPage[1], QStringLiteral("Serial/Comment: SN 4711"));
    EXPECT_GT(inkShare(pdf2, 1, QRectF(0.1, 0.3, 0.8, 0.5)), 0.02) << "the chart page holds no drawing";

    const QStringList table = pdfPageLines(pdf2, 2);
    const int caption = table.indexOf(QStringLiteral("Timing Table"));
    ASSERT_GT(caption, 0);
    EXPECT_EQ(table.mid(caption + 1),
              (QStringList{QStringLiteral("RPM 0 500 1000 1500 2000 2500 3000 3500 4000 4500 5000"),
                           QStringLiteral("ADV 8.0 9.1 10.1 11.2 12.2 13.3 14.4 15.4 16.5 17.5 18.6"),
                           QStringLiteral("RPM 5500 6000 6500 7000 7500 8000 8500 9000 9500 10000"),
                           QStringLiteral("ADV 19.6 20.7 21.7 22.8 23.8 24.9 26.0 27.0 28.1 29.1")}));

    const QString parameters = pdfPageLines(pdf2, 3).join(u'\n');
    for (const char *line : {"Start Retard (Deg): 5", "Retard Compensation (Deg): 1.5", "Maximum RPM: 10000"})
        EXPECT_TRUE(parameters.contains(QString::fromLatin1(line))) << line;
    // Values line up at one column; the blank of the plain count shows.
    const std::vector<PdfWord> words = pdfWords(pdf2);
    const auto [labelX, valueX] = labelAndValueX(words, 3, QStringLiteral("RPM Limit Disabled:"));
    const auto [startX, startValueX] = labelAndValueX(words, 3, QStringLiteral("Start Retard (Deg):"));
    const auto [crankX, crankValueX] = labelAndValueX(words, 3, QStringLiteral("Cranking Pulses:"));
    EXPECT_DOUBLE_EQ(labelX, startX);
    EXPECT_NEAR(valueX, startValueX, 0.01);
    const double column = (valueX - labelX) / 40;
    EXPECT_NEAR(crankValueX - crankX, 41 * column, 0.05);

    const QString pdf3 = reportOf(dir, QStringLiteral("3d"), 0x9C, 7, 0x01);
    EXPECT_FALSE(pdfPageLines(pdf3, 1).join(u'\n').contains(QStringLiteral("Serial/Comment")));
    // The surface is drawn as lines and text, by the screen's paint routine:
    // its axis titles and the pressure labels of the file's sensor (the
    // 1 bar labels 16 .. 30) are text on the page, not a picture.
    const QString surfacePage = pdfPageLines(pdf3, 1).join(u' ');
    EXPECT_TRUE(surfacePage.contains(QStringLiteral("Engine Speed (RPM)")));
    const QStringList surfaceWords = surfacePage.split(u' ', Qt::SkipEmptyParts);
    for (const char *label : {"10000", "16", "22"})
        EXPECT_TRUE(surfaceWords.contains(QString::fromLatin1(label))) << label;
    const QStringList map = pdfPageLines(pdf3, 2);
    const int mapCaption = map.indexOf(QStringLiteral("Timing Table"));
    ASSERT_EQ(map.size(), mapCaption + 1 + 18);
    EXPECT_TRUE(map[mapCaption + 1].startsWith(QStringLiteral("MAP/RPM 0 500")));
    EXPECT_TRUE(map[mapCaption + 2].startsWith(QStringLiteral("16 ")));
    const QString mapParameters = pdfPageLines(pdf3, 3).join(u'\n');
    EXPECT_TRUE(mapParameters.contains(QStringLiteral("3D Timing Table Enabled\n1 bar MAP Sensor")));
    EXPECT_TRUE(mapParameters.contains(QStringLiteral("GPIO2 Data Log Only (Default)")));

    const QString pdf0 = reportOf(dir, QStringLiteral("none"), 0x1C, 0, 0);
    EXPECT_EQ(pdfPageCount(pdf0), 1);
    EXPECT_TRUE(pdfPageLines(pdf0, 1).join(u'\n').contains(QStringLiteral("Timing Table Disabled")));
}

TEST(ReportCli, BadPathsAndArgumentsEndWithAClearErrorAndNoFile)
{
    QTemporaryDir dir;
    const QString data = writeDataFile(dir.filePath(QStringLiteral("2d.dat")), 0x5C, 0, 0);
    const QString missing = dir.filePath(QStringLiteral("no/such/folder/r.pdf"));
    const CliResult r = runReport({data, QStringLiteral("-o"), missing});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("does not exist"))) << r.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(missing));

    if (geteuid() != 0) {  // the superuser writes into read-only folders
        const QString locked = dir.filePath(QStringLiteral("locked"));
        QDir().mkpath(locked);
        QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner);
        EXPECT_EQ(runReport({data, QStringLiteral("-o"), locked + QStringLiteral("/r.pdf")}).code, 1);
        EXPECT_TRUE(QDir(locked).isEmpty());
        QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    const QString shortFile = writeDataFile(dir.filePath(QStringLiteral("short.dat")), 0x5C, 0, 0);
    ASSERT_TRUE(QFile::resize(shortFile, 100));
    EXPECT_EQ(runReport({shortFile, QStringLiteral("-o"), dir.filePath(QStringLiteral("s.pdf"))}).code, 1);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("s.pdf"))));

    EXPECT_EQ(runReport({data}).code, 2);
    EXPECT_EQ(runReport({data, QStringLiteral("-o"), dir.filePath(QStringLiteral("x.pdf")), QStringLiteral("--bogus")}).code,
              2);
}

// --compare adds a page of what changed from the other tune: the parameters
// with both values, the table as signed differences with unchanged cells
// blank; tables of another kind are said to differ.
TEST(ReportCli, CompareAddsAPageOfChangesFromTheOtherTune)
{
    QTemporaryDir dir;
    const QString before = writeDataFile(dir.filePath(QStringLiteral("before.dat")), 0x5C, 0, 0x13);
    QFile in(before);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    QByteArray bytes = in.readAll();
    bytes[49 - 16] = 6;              // cranking pulses 4 -> 6
    bytes[3] = char(bytes[3] + 10);  // one cell of the curve by 10 steps
    const QString after = dir.filePath(QStringLiteral("after.dat"));
    QFile out(after);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(bytes);
    out.close();

    const QString pdf = dir.filePath(QStringLiteral("changes.pdf"));
    ASSERT_EQ(runReport({after, QStringLiteral("-o"), pdf, QStringLiteral("--compare"), before}).code, 0);
    ASSERT_EQ(pdfPageCount(pdf), 4);
    const QStringList page = pdfPageLines(pdf, 4);
    const QString text = page.join(u'\n');
    EXPECT_TRUE(text.contains(QStringLiteral("Changes from before.dat ("))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("\nto after.dat ("))) << text.toStdString();
    EXPECT_TRUE(page.contains(QStringLiteral("Cranking Pulses: 4 → 6"))) << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("Retard Compensation")));
    const int caption = page.indexOf(QStringLiteral("Timing Table Changes (Deg)"));
    ASSERT_GT(caption, 0) << text.toStdString();
    EXPECT_EQ(page.mid(caption + 1, 2),
              (QStringList{QStringLiteral("RPM 0 500 1000 1500 2000 2500 3000 3500 4000 4500 5000"),
                           QStringLiteral("ADV -0.9")}));
    EXPECT_EQ(page.value(caption + 4), QStringLiteral("ADV"));

    const QString mapFile = writeDataFile(dir.filePath(QStringLiteral("map.dat")), 0x9C, 0, 0x13);
    const QString kinds = dir.filePath(QStringLiteral("kinds.pdf"));
    ASSERT_EQ(runReport({mapFile, QStringLiteral("-o"), kinds, QStringLiteral("--compare"), before}).code, 0);
    const QString kindPage = pdfPageLines(kinds, 4).join(u'\n');
    EXPECT_TRUE(kindPage.contains(QStringLiteral(
        "The tables differ in kind: before.dat holds a 2D timing table, map.dat holds a 3D timing table.")))
        << kindPage.toStdString();
    EXPECT_TRUE(kindPage.contains(QStringLiteral(
        "Timing Table Options: 2D Timing Table Enabled → 3D Timing Table Enabled, 1 bar MAP Sensor")));

    // A --compare file that is no data file writes no report.
    EXPECT_EQ(runReport({after, QStringLiteral("-o"), dir.filePath(QStringLiteral("no.pdf")), QStringLiteral("--compare"),
                         dir.filePath(QStringLiteral("missing.dat"))})
                  .code,
              1);
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("no.pdf"))));
}
