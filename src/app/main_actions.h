#pragma once

#include <array>

class QAction;
class QMenu;

namespace tunara::ui {

// The pop-up menu over one table grid (mnuPopUpEdit2D / mnuPopUpEdit3D).
struct GridPopupActions {
    QMenu *menu = nullptr;
    QAction *copy = nullptr;
    QAction *paste = nullptr;
    QAction *modify = nullptr;
    QAction *interpolate = nullptr;
    QAction *smooth = nullptr;
    QAction *takeCompared = nullptr;  // while a compare runs
};

// Every menu and item of the main window, made by buildMainMenus. Each field
// is its item's objectName without "mnu" (newTable: mnuNewTable). The command
// classes connect to the items they run and keep their enabled state.
struct MainActions {
    QMenu *file = nullptr;
    QAction *newTable = nullptr;
    QAction *openFile = nullptr;
    QAction *saveFile = nullptr;
    QAction *tuneHistory = nullptr;
    QAction *exportCsv = nullptr;
    QAction *importCsv = nullptr;
    QAction *printTable = nullptr;
    QAction *printSetup = nullptr;
    QAction *printPreview = nullptr;
    QAction *exportPdf = nullptr;
    // mnuRecentFile1..8 and mnuRecentSep, above Exit, hidden while unused.
    std::array<QAction *, 8> recentFiles{};
    QAction *recentSeparator = nullptr;
    QAction *exit = nullptr;

    QMenu *edit = nullptr;
    QAction *editModParams = nullptr;
    QAction *editGPIOParams = nullptr;
    QAction *editTimingTable = nullptr;
    QAction *saveTbl = nullptr;
    QAction *closeTbl = nullptr;
    QAction *undo = nullptr;
    QAction *redo = nullptr;
    QAction *interpolate = nullptr;
    QAction *smooth = nullptr;
    QAction *compareWithFile = nullptr;
    QAction *stopComparing = nullptr;
    QAction *takeCompared = nullptr;  // Ctrl+T while a compare runs

    QMenu *communications = nullptr;
    QAction *download = nullptr;
    QAction *upload = nullptr;
    QAction *writeEveryByte = nullptr;  // checkable: uploads write all 264 bytes
    QAction *portSetup = nullptr;

    QMenu *help = nullptr;
    QAction *helpContents = nullptr;
    QAction *about = nullptr;

    // Never in the menu bar.
    GridPopupActions popUp2D;
    GridPopupActions popUp3D;
};

}  // namespace tunara::ui
