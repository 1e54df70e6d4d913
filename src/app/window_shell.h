#pragma once

#include <QString>

class QWidget;

namespace tunara::ui {

// What only the main window itself can do for its commands: be the parent
// of their dialogs, keep the caption, show a status-bar message, lay its
// views out and say whether a transfer holds it busy.
class WindowShell {
public:
    // The parent of every dialog and message box a command shows.
    virtual QWidget *dialogParent() = 0;

    // The caption's base title (company and design caption, set by the load).
    virtual QString mainTitle() const = 0;
    // The caption: the base title alone, or with " - " and where the data came from.
    virtual void showMainTitle() = 0;
    virtual void showDataSource(const QString &source) = 0;

    virtual void showStatusMessage(const QString &text) = 0;
    virtual void clearStatusMessage() = 0;

    // Lays the table views out again, as a resize does.
    virtual void layOutViews() = 0;

    // True while a download or upload runs: nothing else may touch the
    // image, the port or the open table meanwhile.
    virtual bool transferRunning() const = 0;
    // A running transfer puts the menus and the port choice out of reach.
    virtual void setBusy(bool busy) = 0;

protected:
    ~WindowShell() = default;
};

}  // namespace tunara::ui
