#pragma once

#include "app/commands/table_views.h"
#include "files/csv_dialect.h"

#include <QByteArray>
#include <QObject>
#include <QString>

namespace tunara {
struct ModuleData;
namespace editor {
class TableEditModel;
class TableSession;
}  // namespace editor
}  // namespace tunara

namespace tunara::ui {

class FileDialogs;

struct MainActions;
class UserInterface;
class WindowShell;

// "Export Table as CSV..." and "Import Table into Grid..." of the File menu:
// the table on screen (or, with none open, the image's active table as it
// would open) to a CSV file in the grid's layout, and a CSV file into the
// open table as one step of its history. An import that the file's shape or
// any cell does not allow is refused with the row and column named, and
// nothing changes.
class TableCsvCommands : public QObject {
    Q_OBJECT
public:
    TableCsvCommands(const ModuleData &data, editor::TableSession &session, TableViews views,
                     const MainActions &actions, UserInterface &ui, WindowShell &shell, FileDialogs &dialogs,
                     QObject *parent);

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

    const ModuleData &m_data;
    editor::TableSession &m_session;
    editor::TableEditModel &m_model;
    TableViews m_views;
    UserInterface &m_ui;
    WindowShell &m_shell;
    FileDialogs &m_dialogs;
};

}  // namespace tunara::ui
