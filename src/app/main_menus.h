#pragma once

#include "app/main_actions.h"

class QMenuBar;
class QWidget;

namespace tunara::ui {

// Builds the main window's whole menu tree, every item in its place with its
// caption, access key, shortcut and objectName, and the two grid pop-up
// menus (children of `owner`). Items that need an open table, something to
// undo or something copied start disabled.
MainActions buildMainMenus(QMenuBar &bar, QWidget &owner);

}  // namespace tunara::ui
