#pragma once

#include "report/report_printer.h"

#include <QObject>

#include <memory>

class QPrinter;

namespace tunara::ui {

class frmTunara_Main;

// File > Print Set-up, Print Parameters And Timing Table, Print Preview and
// Export Report as PDF. Holds the printer chosen for the run.
class ReportCommands : public QObject {
    Q_OBJECT
public:
    explicit ReportCommands(frmTunara_Main &window);
    ~ReportCommands() override;

    void mnuPrintSetup_Click();
    void mnuPrintTable_Click();
    void mnuPrintPreview_Click();
    void mnuExportPdf_Click();

private:
    // False when there is nowhere to print; the user was offered the PDF
    // export instead.
    bool printerReady(const QString &title);
    QString askComment();
    struct PreparedReport {
        report::ReportDocument document;
        report::ChartPicture chart;
    };
    // Asks for the comment and lays the report out.
    PreparedReport prepareReport();
    // What the report prints now: the open table as its grid and chart show
    // it, otherwise the working array of the active table.
    report::ReportInputs inputs(const QString &comment) const;
    report::ChartPicture chartPicture() const;
    QString programFile(const QString &name) const;
    QPrinter &printer();

    frmTunara_Main &m_window;
    std::unique_ptr<QPrinter> m_printer;
    QString m_lastComment;  // this session's last answer to the comment prompt
};

// Gives the four report items of the File menu their commands.
void connectReportCommands(frmTunara_Main &window);

}  // namespace tunara::ui
