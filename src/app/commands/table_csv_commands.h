#pragma once

#include "app/commands/open_file_dialog.h"
#include "app/commands/table_views.h"

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
                     const MainActions &actions, UserInterface &ui, WindowShell &shell, OpenFileDialog openFile,
                     QObject *parent);

    void mnuExportCsv_Click();
    void mnuImportCsv_Click();
    // The same without the file dialogs; false when nothing was written or
    // changed (the user has been told why).
    bool exportTo(const QString &path);
    bool importFrom(const QString &path);

private:
    QByteArray tableCsv() const;
    void message(const QString &text, const QString &title, bool critical = false);

    const ModuleData &m_data;
    editor::TableSession &m_session;
    editor::TableEditModel &m_model;
    TableViews m_views;
    UserInterface &m_ui;
    WindowShell &m_shell;
    OpenFileDialog m_openFile;
};

}  // namespace tunara::ui
