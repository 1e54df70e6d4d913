#pragma once

#include "app/commands/table_views.h"

#include <QString>

namespace tunara {
class ModuleDocument;
namespace editor {
class TableSession;
}
}  // namespace tunara

namespace tunara::ui {

class CommonErrorDialog;
class FileDialogs;
struct MainActions;
class UserInterface;
class WindowShell;

// What the window's commands share, handed to each as one piece rather than
// a dozen arguments: the document and its open table, the menu tree and the
// table views, the user-interface port and the common error dialog, the
// window itself, its file dialogs and the program folder. All of it
// outlives the commands.
struct WindowContext {
    ModuleDocument &document;
    editor::TableSession &session;
    const MainActions &actions;
    TableViews views;
    UserInterface &ui;
    CommonErrorDialog &errors;
    WindowShell &shell;
    FileDialogs &dialogs;   // where the file dialogs start, remembered for the run
    QString programFolder;  // configuration, templates and help live here
};

}  // namespace tunara::ui
