#include "app/main_menus.h"

#include "app/menu_commands.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace tunara::ui {

namespace {

struct Item {
    const char *name;
    const char *caption;  // nullptr: separator
};

QMenu *addMenu(QMenuBar &bar, MenuCommands &commands, const char *name, const char *caption,
               std::initializer_list<Item> items)
{
    QMenu *menu = bar.addMenu(QString::fromUtf8(caption));
    menu->setObjectName(QString::fromLatin1(name));
    menu->menuAction()->setObjectName(QString::fromLatin1(name));
    int separators = 0;
    for (const Item &item : items) {
        if (!item.caption) {
            QAction *sep = menu->addSeparator();
            sep->setObjectName(QStringLiteral("%1Sep%2").arg(QLatin1String(name)).arg(++separators));
            continue;
        }
        QAction *action = menu->addAction(QString::fromUtf8(item.caption));
        action->setObjectName(QString::fromLatin1(item.name));
        commands.add(action);
    }
    return menu;
}

QMenu *addPopup(QWidget &owner, MenuCommands &commands, const char *name, const char *caption,
                std::initializer_list<Item> items)
{
    auto *menu = new QMenu(QString::fromUtf8(caption), &owner);
    menu->setObjectName(QString::fromLatin1(name));
    for (const Item &item : items) {
        QAction *action = menu->addAction(QString::fromUtf8(item.caption));
        action->setObjectName(QString::fromLatin1(item.name));
        commands.add(action);
    }
    return menu;
}

}  // namespace

PopupMenus BuildMainMenus(QMenuBar &bar, MenuCommands &commands, QWidget &owner)
{
    addMenu(bar, commands, "mnuFile", "&File",
            {{"mnuNewTable", "&New Timing Table"},
             {"mnuOpenFile", "&Open File"},
             {"mnuSaveFile", "&Save File"},
             {nullptr, nullptr},
             {"mnuPrintTable", "&Print Parameters And Timing Table"},
             {"mnuPrintSetup", "Print Set&up..."},
             {"mnuPrintPreview", "Print Pre&view..."},
             {"mnuExportPdf", "&Export Report as PDF..."},
             {nullptr, nullptr},
             {"mnuExit", "E&xit"}});
    addMenu(bar, commands, "mnuEdit", "&Edit",
            {{"mnuEditModParams", "Edit &Module Parameters"},
             {"mnuEditGPIOParams", "Edit &Idle Stabilization And GPIO Parameters"},
             {"mnuEditTimingTable", "Edit &Timing Table"},
             {"mnuSaveTbl", "Save Timing Table Edits To Buffer"},
             {"mnuCloseTbl", "Close Timing Table"}});
    addMenu(bar, commands, "mnuCommunications", "&Communications",
            {{"mnuDownload", "&Download From EEPROM"},
             {"mnuUpload", "&Upload To EEPROM"},
             {"mnuPortSetup", "&Port Setup"}});
    addMenu(bar, commands, "mnuHelp", "&Help",
            {{"mnuHelpContents", "&Contents"}, {"mnuAbout", "&About..."}});

    PopupMenus popups;
    popups.edit2D = addPopup(owner, commands, "mnuPopUpEdit2D", "PopUp Edit 2D",
                             {{"mnuPopUpCopy2D", "Copy"}, {"mnuPopUpPaste2D", "Paste"}, {"mnuPopUpModify2D", "Modify"}});
    popups.edit3D = addPopup(owner, commands, "mnuPopUpEdit3D", "PopUp Edit 3D",
                             {{"mnuPopUpCopy3D", "Copy"}, {"mnuPopUpPaste3D", "Paste"}, {"mnuPopUpModify3D", "Modify"}});
    // Paste starts disabled: there is nothing copied yet.
    commands.setAllowed(QStringLiteral("mnuPopUpPaste2D"), false);
    commands.setAllowed(QStringLiteral("mnuPopUpPaste3D"), false);
    return popups;
}

}  // namespace tunara::ui
