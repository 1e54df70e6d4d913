#pragma once

class QMenu;
class QMenuBar;
class QWidget;

namespace tunara::ui {

class MenuCommands;

struct PopupMenus {
    QMenu *edit2D = nullptr;  // mnuPopUpEdit2D, over the 2D grid
    QMenu *edit3D = nullptr;  // mnuPopUpEdit3D, over the 3D grid
};

// Builds the main window's menu tree with its captions and access keys (no
// shortcut keys), registers every command item with `commands`, and creates
// the two pop-up menus that never appear in the menu bar.
PopupMenus BuildMainMenus(QMenuBar &bar, MenuCommands &commands, QWidget &owner);

}  // namespace tunara::ui
