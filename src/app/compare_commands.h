#pragma once

#include "files/csv_dialect.h"
#include "module/module_data.h"
#include "views/compare_overlay.h"

#include <QObject>
#include <QString>

#include <optional>

namespace tunara::ui {

class frmTunara_Main;
class TableCommands;

// "Compare With File..." and "Stop Comparing" of the Edit menu: another data
// file's active table beside the open one (see views::CompareOverlay). A file
// whose table is of the other kind, or that selects none, is named and
// nothing is compared.
class CompareCommands : public QObject {
    Q_OBJECT
public:
    CompareCommands(frmTunara_Main &window, TableCommands &tables);

    void mnuCompareWithFile_Click();
    void mnuStopComparing_Click();
    // Compares the open table with a data file's active table, without the
    // file dialog; false when nothing is compared.
    bool compareWithFile(const QString &path);

    views::CompareOverlay &overlay() { return *m_overlay; }

private:
    void updateMenuItems();

    frmTunara_Main &m_window;
    TableCommands &m_tables;
    views::CompareOverlay *m_overlay;
};

// "Export Table as CSV..." and "Import Table into Grid..." of the File menu:
// the table on screen (or, with none open, the image's active table as it
// would open) to a CSV file in the grid's layout, and a CSV file into the
// open table as one step of its history. An import that the file's shape or
// any cell does not allow is refused with the row and column named, and
// nothing changes.
class TableCsvCommands : public QObject {
    Q_OBJECT
public:
    TableCsvCommands(frmTunara_Main &window, TableCommands &tables);

    void mnuExportCsv_Click();
    void mnuImportCsv_Click();
    // The same without the file dialogs; false when nothing was written or
    // changed (the user has been told why). The export writes commas and
    // decimal points, or semicolons and decimal commas.
    bool exportTo(const QString &path, csv::Dialect dialect = csv::CommaPoint);
    bool importFrom(const QString &path);

private:
    QByteArray tableCsv(csv::Dialect dialect) const;
    void message(const QString &text, const QString &title, bool critical = false);

    frmTunara_Main &m_window;
    TableCommands &m_tables;
};

// Builds both; each runs its own menu items.
void InstallCompareCommands(frmTunara_Main &window);

// After a data file is opened: when the program reads some of what it
// stores differently (checkImage), one message says what, at most 20 items
// and the count of the rest.
void ShowOpenedFileCheck(frmTunara_Main &window, const QString &path);

// A data file read and decoded as "&Open File" reads it, for a comparison;
// nothing when it cannot be read or is short (the user has been told).
std::optional<ModuleData> ReadOtherDataFile(frmTunara_Main &window, const QString &path, const QString &title);

}  // namespace tunara::ui
