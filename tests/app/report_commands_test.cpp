// The report commands of the window: printer set-up, printing on the chosen
// printer, the offer of a PDF when no printer is installed, the preview and
// the export. Printed pages are read back from PDF files.
#include "app/app_fixture.h"
#include "views/chart_2d_view.h"
#include "views/chart_3d_view.h"
#include "views/timing_grid.h"
#include "link/module_protocol.h"
#include "report/grid_cells.h"
#include "report/pdf_reader.h"

#include <QFile>
#include <QFileInfo>
#include "charts/report_charts.h"
#include <QImage>
#include <QPainter>

namespace tunara::test {
namespace {

using ui::Answer;
using ui::Buttons;
using ui::Icon;

const QString NoPrinterText =
    QStringLiteral("No printer is installed on this computer.\n\nExport the report as a PDF file instead?");

class ReportCommandsTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        installAll();
        loadWindow();
    }
    QString file(const QString &name) const { return m_dir.path() + u'/' + name; }
    void select2DTable()
    {
        data.params.TimingTable2D = true;
        for (int p = 1; p <= SpeedPoints; ++p) {
            data.tables.table2D(p, 1) = 20;
            data.tables.table2D(p, 2) = 30;
        }
    }
};

TEST_F(ReportCommandsTest, PrintsOnTheChosenPrinterWithTheOpenTablesUnsavedEdits)
{
    select2DTable();
    // The image came from a module: the report names its firmware.
    window->document().setSource(
        DataSource::module(1, QStringLiteral("/dev/ttyUSB0"), QStringLiteral("Torvik-1 Zoruro V2.1")));
    // An open table holds an edit that is not in the working array.
    data.params.TrigTiming = 30;
    ASSERT_TRUE(window->session().openActive());
    ASSERT_TRUE(window->session().model().setValue(0, 2, 27.5, QStringLiteral("Edit")));
    window->chart2D()->showValueLabel(QStringLiteral("27.5"), 3);

    const QString pdf = file(QStringLiteral("printer.pdf"));
    ui.printers = {QStringLiteral("Workshop Laser")};
    ui.printerChoices = {pdf};  // the set-up picks printing into a file
    choose(actions().printSetup);
    ASSERT_EQ(ui.calls.size(), 1u);
    EXPECT_EQ(ui.calls[0].kind, UiCall::Kind::PrinterSetup);

    ui.inputs = {{QStringLiteral("SN 9"), true}};
    choose(actions().printTable);
    ASSERT_EQ(ui.calls.size(), 2u);
    EXPECT_EQ(ui.calls[1].text, QStringLiteral("Serial number or comment?"));
    EXPECT_EQ(ui.calls[1].title, QStringLiteral("Optional Information Entry"));
    EXPECT_FALSE(window->chart2D()->isValueLabelVisible());
    ASSERT_EQ(pdfPageCount(pdf), 3);
    const QStringList chartPage = pdfPageLines(pdf, 1);
    ASSERT_EQ(chartPage.size() >= 2, true);
    EXPECT_TRUE(chartPage[0].startsWith(config::defaults().CompanyInfo.first() +
                                        QStringLiteral(" Torvik-1 Zoruro Ignition Module Data Printed: ")));
    EXPECT_EQ(chartPage[1], QStringLiteral("Serial/Comment: SN 9"));
    EXPECT_TRUE(pdfPageLines(pdf, 2).contains(QStringLiteral("ADV 20.0 20.0 27.5 20.0 20.0 20.0 20.0 20.0 20.0 20.0 20.0")));
    EXPECT_TRUE(pdfPageLines(pdf, 3).contains(QStringLiteral("Firmware ID: Torvik-1 Zoruro V2.1")));

    // Cancelling the comment prints without serial lines.
    ui.inputs = {{QString(), false}};
    choose(actions().printTable);
    ASSERT_EQ(pdfPageCount(pdf), 3);
    for (int page = 1; page <= 3; ++page)
        EXPECT_FALSE(pdfPageLines(pdf, page).join(u'\n').contains(QStringLiteral("Serial/Comment"))) << page;
}

TEST_F(ReportCommandsTest, WithoutAPrinterBothCommandsOfferThePdfExport)
{
    ui.answers = {Answer::No, Answer::No};
    choose(actions().printSetup);
    choose(actions().printTable);
    ui.answers = {Answer::Yes};
    ui.fileNames = {file(QStringLiteral("customer"))};
    ui.inputs = {{QStringLiteral("SN 1"), true}};
    choose(actions().printTable);

    const std::vector<UiCall> boxes = ui.messages();
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0].title, QStringLiteral("Printer Setup"));
    EXPECT_EQ(boxes[1].title, QStringLiteral("Print Parameters And Timing Table"));
    for (const UiCall &box : boxes) {
        EXPECT_EQ(box.text, NoPrinterText);
        EXPECT_EQ(box.buttons, Buttons::YesNo);
        EXPECT_EQ(box.icon, Icon::Exclamation);
    }
    // Only the accepted offer went on: save dialog, comment, a one-page PDF.
    ASSERT_EQ(ui.calls.size(), 5u);
    EXPECT_EQ(ui.calls[3].title, QStringLiteral("Export Report as PDF"));
    EXPECT_EQ(pdfPageCount(file(QStringLiteral("customer.pdf"))), 1);
}

TEST_F(ReportCommandsTest, AnOpen3DMapPrintsItsSurfaceAsLinesAndTextWithTheSensorsLabels)
{
    data.params.TimingTable3D = true;
    data.params.MAPSensor = 2;  // 3 bar: rows 20 .. 90 (1 bar: 16 .. 30)
    data.image.DataBufferEmpty = false;
    for (int p = 1; p <= SpeedPoints; ++p)
        for (int m = 1; m <= PressureRows; ++m)
            data.tables.table3D(p, m) = 10 + m + p / 2.0;
    window->applyTableMenuRule();
    window->show();
    choose(actions().editTimingTable);
    ASSERT_FALSE(window->chart3D()->isHidden());

    const QString pdf = file(QStringLiteral("map.pdf"));
    ui.fileNames = {pdf};
    ui.inputs = {{QString(), true}};
    choose(actions().exportPdf);
    ASSERT_EQ(pdfPageCount(pdf), 3);
    const QStringList words = pdfPageLines(pdf, 1).join(u' ').split(u' ', Qt::SkipEmptyParts);
    for (const char *word : {"Speed", "10000", "50", "80"})
        EXPECT_TRUE(words.contains(QString::fromLatin1(word))) << word;
}

TEST_F(ReportCommandsTest, PreviewShowsTheReportAndExportFailuresAreReported)
{
    select2DTable();
    ui.previewFile = file(QStringLiteral("preview.pdf"));
    ui.inputs = {{QString(), true}};
    choose(actions().printPreview);
    ASSERT_EQ(ui.calls.back().kind, UiCall::Kind::PrintPreview);
    EXPECT_EQ(ui.calls.back().title, QStringLiteral("Print Preview"));
    EXPECT_EQ(pdfPageCount(ui.previewFile), 3);

    // An existing file is replaced only after a Yes.
    const QString kept = file(QStringLiteral("kept.pdf"));
    {
        QFile f(kept);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("customer's copy");
    }
    ui.fileNames = {file(QStringLiteral("kept"))};
    ui.answers = {Answer::No};
    choose(actions().exportPdf);
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].text, kept + QStringLiteral("\r\nThis file already exists.\r\n\r\nReplace existing file?"));
    QFile f(kept);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("customer's copy"));
    ui.calls.clear();

    const QString missing = file(QStringLiteral("gone/report.pdf"));
    ui.fileNames = {missing};
    ui.inputs = {{QString(), true}};
    ui.answers = {Answer::Abort};
    choose(actions().exportPdf);
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].title, QStringLiteral("Error"));
    EXPECT_TRUE(ui.messages()[0].text.contains(QStringLiteral("does not exist"))) << ui.messages()[0].text.toStdString();
    EXPECT_FALSE(QFileInfo::exists(missing));
}


// The printed map names the pressures of the module's sensor, as the editor's
// grid and chart do; it used to print the 1 bar labels for every sensor.
TEST(ReportMap, ThePrintedPressureAxisFollowsTheMapSensor)
{
    Table3D flat;
    for (int p = 1; p <= SpeedPoints; ++p)
        for (int m = 1; m <= PressureRows; ++m)
            flat(p, m) = 20;
    const QString templatePath = QStringLiteral(TUNARA_RESOURCES_DIR "/Torvik_3D_2Bar_Timing_Chart.oc3");
    auto draw = [&](std::uint8_t mapSensor) {
        QImage image(800, 560, QImage::Format_ARGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        ModuleParameters params;
        params.TrigTiming = 30;
        params.MAPSensor = mapSensor;
        charts::chart3DPicture(templatePath, flat, params)(painter, QRectF(image.rect()));
        return image;
    };
    const QImage oneBar = draw(0);
    const QImage twoBar = draw(1);
    EXPECT_NE(oneBar, twoBar);
    EXPECT_EQ(twoBar, draw(1));
}

}  // namespace
}  // namespace tunara::test
