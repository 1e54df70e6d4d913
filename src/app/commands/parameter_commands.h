#pragma once

#include <QObject>

#include <functional>

namespace tunara {
class ModuleDocument;
}

namespace tunara::ui {

struct MainActions;
class UserInterface;
class WindowShell;

// Edit > "Edit &Module Parameters" (mnuEditModParams) and "Edit &Idle
// Stabilization And GPIO Parameters" (mnuEditGPIOParams). Each first closes
// an open timing table and then shows its dialog modally; a user who keeps
// the table open (Cancel at the close question) gets no dialog, because a
// mode or trigger timing change under an open table would save the wrong
// table later. Other commands (download, file open) call
// mnuEditModParams_Click the same way.
class ParameterCommands : public QObject {
    Q_OBJECT
public:
    // closeTable runs "Close Timing Table" and says whether no table is open
    // afterwards.
    ParameterCommands(ModuleDocument &document, UserInterface &ui, const MainActions &actions, WindowShell &shell,
                      std::function<bool()> closeTable, QObject *parent);

    void mnuEditModParams_Click();
    void mnuEditGPIOParams_Click();

private:
    ModuleDocument &m_document;
    UserInterface &m_ui;
    WindowShell &m_shell;
    std::function<bool()> m_closeTable;
};

}  // namespace tunara::ui
