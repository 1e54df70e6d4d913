#pragma once

#include "files/restore_points.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>

#include <optional>

namespace tunara {
class ModuleDocument;
namespace editor {
class TableSession;
}
}  // namespace tunara

namespace tunara::ui {

class CompareCommands;
class FileCommands;
class ImageKeeper;
struct MainActions;
class TransferCommands;
class TuneHistoryWindow;
class UserInterface;
class WindowShell;

// File > "Tune History...": the restore points in a tool window that
// follows every point as it is made (by this window, another one or the
// command-line tool) and compares each with the image open now. Its buttons
// run the window's own commands: Open as "&Open File" does, Compare With
// Open Table as "Compare With File..." does on that point, Upload opens the
// point and then uploads as "&Upload To EEPROM" does; Keep and Note change
// what the folder's index records.
class HistoryCommands : public QObject {
    Q_OBJECT
public:
    HistoryCommands(ModuleDocument &document, editor::TableSession &session, ImageKeeper &keeper, FileCommands &files,
                    CompareCommands &compare, TransferCommands &transfers, const MainActions &actions,
                    UserInterface &ui, WindowShell &shell, QObject *parent);

    void mnuTuneHistory_Click();
    TuneHistoryWindow &window() { return *m_window; }
    // The newest point compared with the open table, as its button compares it.
    void compareNewest();

    // The image as the window holds it now, a table being edited included:
    // what a save would write. Nothing while the buffer is empty.
    std::optional<ModuleData> openImage() const;

private:
    void refresh();
    void refreshOpenImage();
    void updateCompare();
    void openPoint(const QString &path);
    QString pointTitle(const QString &path) const;
    void comparePoint(const QString &path, const QString &name);
    void uploadPoint(const QString &path);
    void keepPoint(const QString &path, bool keep);
    void editNote(const QString &path);
    void refused(const QString &text);

    ModuleDocument &m_document;
    editor::TableSession &m_session;
    FileCommands &m_files;
    CompareCommands &m_compare;
    TransferCommands &m_transfers;
    const MainActions &m_actions;
    UserInterface &m_ui;
    WindowShell &m_shell;
    restore::RestorePoints m_points;
    TuneHistoryWindow *m_window;  // a child of the main window
    // Points another program makes show up too; changes come in bursts
    // (a point and its index), shown once.
    QFileSystemWatcher m_watcher;
    QTimer m_settle;
};

}  // namespace tunara::ui
