#pragma once

#include "app/commands/table_views.h"
#include "report/changes_page.h"
#include "views/compare_overlay.h"

#include <QObject>
#include <QString>

#include <optional>

namespace tunara::ui {

class FileDialogs;

struct MainActions;
class UserInterface;
class WindowShell;

// "Compare With File..." and "Stop Comparing" of the Edit menu: another data
// file's active table beside the open one (see views::CompareOverlay). A file
// whose table is of the other kind, or that selects none, is named and
// nothing is compared.
class CompareCommands : public QObject {
    Q_OBJECT
public:
    CompareCommands(editor::TableEditModel &model, TableViews views, const MainActions &actions, UserInterface &ui,
                    WindowShell &shell, FileDialogs &dialogs, QObject *parent);

    void mnuCompareWithFile_Click();
    void mnuStopComparing_Click();
    // Compares the open table with a data file's active table, without the
    // file dialog; false when nothing is compared. The legend and the
    // messages name it `name`, or the file's name when that is empty.
    bool compareWithFile(const QString &path, const QString &name = QString());

    views::CompareOverlay &overlay() { return *m_overlay; }
    // The tune compared now, as the report's page of changes names it;
    // nothing while no compare runs.
    std::optional<report::TuneVersion> comparedTune() const;

private:
    void updateMenuItems();

    editor::TableEditModel &m_model;
    const MainActions &m_actions;
    UserInterface &m_ui;
    WindowShell &m_shell;
    FileDialogs &m_dialogs;
    views::CompareOverlay *m_overlay;
};

}  // namespace tunara::ui
