#pragma once

#include "app/commands/window_context.h"
#include "report/changes_page.h"
#include "report/report_printer.h"

#include <QObject>

#include <functional>
#include <memory>
#include <optional>

class QPrinter;

namespace tunara::ui {

// File > Print Set-up, Print Parameters And Timing Table, Print Preview and
// Export Report as PDF. Holds the printer chosen for the run.
class ReportCommands : public QObject {
    Q_OBJECT
public:
    // companyName heads the report; the chart templates are in the program folder.
    ReportCommands(const WindowContext &window, QString companyName, QObject *parent);
    ~ReportCommands() override;

    void mnuPrintSetup_Click();
    void mnuPrintTable_Click();
    void mnuPrintPreview_Click();
    void mnuExportPdf_Click();
    // The print preview with this serial number or comment, without asking.
    void printPreview(const QString &comment);
    // While `compared` gives a tune, the report ends with a page of changes
    // from it to the printed one, which `printedName` names.
    void setComparedTune(std::function<std::optional<report::TuneVersion>()> compared,
                         std::function<QString()> printedName);

private:
    // False when there is nowhere to print; the user was offered the PDF
    // export instead.
    bool printerReady(const QString &title);
    QString askComment();
    struct PreparedReport {
        report::ReportDocument document;
        report::ChartPicture chart;
    };
    // Lays the report out with the comment.
    PreparedReport prepareReport(const QString &comment);
    // What the report prints now: the open table as its grid and chart show
    // it, otherwise the working array of the active table.
    report::ReportInputs inputs(const QString &comment) const;
    report::ChartPicture chartPicture() const;
    QString programFile(const QString &name) const;
    QPrinter &printer();

    const WindowContext m_window;
    QString m_companyName;
    std::unique_ptr<QPrinter> m_printer;
    QString m_lastComment;  // the last answer to the comment prompt for the image in hand
    std::function<std::optional<report::TuneVersion>()> m_comparedTune;
    std::function<QString()> m_printedName;
};

}  // namespace tunara::ui
