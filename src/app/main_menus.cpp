#include "app/main_menus.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

namespace tunara::ui {

namespace {

struct Item {
    QAction **slot;       // nullptr: a separator
    const char *name;     // the objectName
    const char *caption;
};

void addItems(QMenu &menu, std::initializer_list<Item> items)
{
    for (const Item &item : items) {
        QAction *action = item.slot ? menu.addAction(QString::fromUtf8(item.caption)) : menu.addSeparator();
        action->setObjectName(QString::fromLatin1(item.name));
        if (item.slot)
            *item.slot = action;
    }
}

QMenu *addMenu(QMenuBar &bar, const char *name, const char *caption, std::initializer_list<Item> items)
{
    QMenu *menu = bar.addMenu(QString::fromUtf8(caption));
    menu->setObjectName(QString::fromLatin1(name));
    menu->menuAction()->setObjectName(QString::fromLatin1(name));
    addItems(*menu, items);
    return menu;
}

// Copy, Paste, Modify, Interpolate and Smooth, named for their grid.
GridPopupActions addPopup(QWidget &owner, const QString &suffix)
{
    GridPopupActions p;
    p.menu = new QMenu(QStringLiteral("PopUp Edit ") + suffix, &owner);
    p.menu->setObjectName(QStringLiteral("mnuPopUpEdit") + suffix);
    const auto add = [&p, &suffix](const char *word) {
        QAction *action = p.menu->addAction(u'&' + QString::fromLatin1(word));
        action->setObjectName(QStringLiteral("mnuPopUp%1%2").arg(QLatin1String(word), suffix));
        return action;
    };
    p.copy = add("Copy");
    p.paste = add("Paste");
    p.modify = add("Modify");
    p.menu->addSeparator()->setObjectName(QStringLiteral("mnuPopUpSep") + suffix);
    p.interpolate = add("Interpolate");
    p.smooth = add("Smooth");
    p.menu->addSeparator()->setObjectName(QStringLiteral("mnuPopUpSepCompare") + suffix);
    p.takeCompared = p.menu->addAction(QStringLiteral("Ta&ke Compared Values"));
    p.takeCompared->setObjectName(QStringLiteral("mnuPopUpTakeCompared") + suffix);
    return p;
}

// The last data files, hidden until the list fills them in, between the
// report items and Exit.
void addRecentItems(QMenu &file, QAction &exit, MainActions &a)
{
    for (int k = 0; k < int(a.recentFiles.size()); ++k) {
        QAction *item = new QAction(&file);
        item->setObjectName(QStringLiteral("mnuRecentFile%1").arg(k + 1));
        item->setVisible(false);
        file.insertAction(&exit, item);
        a.recentFiles[std::size_t(k)] = item;
    }
    a.recentSeparator = file.insertSeparator(&exit);
    a.recentSeparator->setObjectName(QStringLiteral("mnuRecentSep"));
    a.recentSeparator->setVisible(false);
}

// The platform's standard keys for the everyday commands. Download and Upload
// have none: a stray key must never start a transfer.
void setStandardShortcuts(MainActions &a)
{
    a.openFile->setShortcuts(QKeySequence::Open);
    a.saveFile->setShortcuts(QKeySequence::Save);
    a.printTable->setShortcuts(QKeySequence::Print);
    // Some platforms name no quit key; Ctrl+Q is the one users know.
    const QList<QKeySequence> quit = QKeySequence::keyBindings(QKeySequence::Quit);
    a.exit->setShortcuts(quit.isEmpty() ? QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_Q)} : quit);
    a.helpContents->setShortcuts(QKeySequence::HelpContents);
}

// The platform's undo and redo keys; redo also on Ctrl+Y and Ctrl+Shift+Z.
void setHistoryShortcuts(QAction &undo, QAction &redo)
{
    undo.setShortcuts(QKeySequence::Undo);
    QList<QKeySequence> redoKeys = QKeySequence::keyBindings(QKeySequence::Redo);
    for (const QKeySequence &k : {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)})
        if (!redoKeys.contains(k))
            redoKeys.append(k);
    redo.setShortcuts(redoKeys);
}

}  // namespace

MainActions buildMainMenus(QMenuBar &bar, QWidget &owner)
{
    MainActions a;
    a.file = addMenu(bar, "mnuFile", "&File",
                     {{&a.newTable, "mnuNewTable", "&New Timing Table"},
                      {&a.openFile, "mnuOpenFile", "&Open File"},
                      {&a.saveFile, "mnuSaveFile", "&Save File"},
                      {&a.tuneHistory, "mnuTuneHistory", "Tune &History..."},
                      {&a.exportCsv, "mnuExportCsv", "Export &Table as CSV..."},
                      {&a.importCsv, "mnuImportCsv", "&Import Table into Grid..."},
                      {nullptr, "mnuFileSep1", nullptr},
                      {&a.printTable, "mnuPrintTable", "&Print Parameters And Timing Table"},
                      {&a.printSetup, "mnuPrintSetup", "Print Set&up..."},
                      {&a.printPreview, "mnuPrintPreview", "Print Pre&view..."},
                      {&a.exportPdf, "mnuExportPdf", "&Export Report as PDF..."},
                      {nullptr, "mnuFileSep2", nullptr},
                      {&a.exit, "mnuExit", "E&xit"}});
    a.edit = addMenu(bar, "mnuEdit", "&Edit",
                     {{&a.editModParams, "mnuEditModParams", "Edit &Module Parameters"},
                      {&a.editGPIOParams, "mnuEditGPIOParams", "Edit &Idle Stabilization And GPIO Parameters"},
                      {&a.editTimingTable, "mnuEditTimingTable", "Edit &Timing Table"},
                      {&a.saveTbl, "mnuSaveTbl", "Save Timing Table Edits To &Buffer"},
                      {&a.closeTbl, "mnuCloseTbl", "&Close Timing Table"},
                      {nullptr, "mnuEditSepUndo", nullptr},
                      {&a.undo, "mnuUndo", "&Undo"},
                      {&a.redo, "mnuRedo", "&Redo"},
                      {nullptr, "mnuEditSepSelection", nullptr},
                      {&a.interpolate, "mnuInterpolate", "I&nterpolate"},
                      {&a.smooth, "mnuSmooth", "&Smooth"},
                      {nullptr, "mnuEditSepCompare", nullptr},
                      {&a.compareWithFile, "mnuCompareWithFile", "Compare &With File..."},
                      {&a.stopComparing, "mnuStopComparing", "St&op Comparing"},
                      {&a.takeCompared, "mnuTakeCompared", "Ta&ke Compared Values"}});
    a.communications = addMenu(bar, "mnuCommunications", "&Communications",
                               {{&a.download, "mnuDownload", "&Download From EEPROM"},
                                {&a.upload, "mnuUpload", "&Upload To EEPROM"},
                                {&a.writeEveryByte, "mnuWriteEveryByte", "&Write Every Byte"},
                                {&a.portSetup, "mnuPortSetup", "&Port Setup"}});
    a.help = addMenu(bar, "mnuHelp", "&Help",
                     {{&a.helpContents, "mnuHelpContents", "&Contents"}, {&a.about, "mnuAbout", "&About..."}});
    addRecentItems(*a.file, *a.exit, a);
    setHistoryShortcuts(*a.undo, *a.redo);
    setStandardShortcuts(a);
    a.writeEveryByte->setCheckable(true);
    a.takeCompared->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));

    a.popUp2D = addPopup(owner, QStringLiteral("2D"));
    a.popUp3D = addPopup(owner, QStringLiteral("3D"));

    // No table is open, there is no history and nothing is copied yet.
    for (QAction *off : {a.importCsv, a.undo, a.redo, a.interpolate, a.smooth, a.compareWithFile, a.stopComparing,
                         a.takeCompared, a.popUp2D.paste, a.popUp3D.paste, a.popUp2D.takeCompared,
                         a.popUp3D.takeCompared})
        off->setEnabled(false);
    return a;
}

}  // namespace tunara::ui
