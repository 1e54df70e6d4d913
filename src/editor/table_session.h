#pragma once

#include "editor/table_edit_model.h"
#include "module/module_document.h"

#include <QObject>

#include <optional>

// The open timing table: which table the module parameters select, whether
// one is open for editing, its editing model and history, and the wizard
// transaction. It is the one answer to "is a table open" and "which table":
// the views show and hide because it says so, and every command asks it.
//
// A new-table wizard changes the working arrays and the trigger timing
// before its table is saved. The session keeps what they were: discarding
// the wizard's table puts both back, so they match the image again; saving
// it moves the other table region to the new trigger timing as the
// parameters dialog would, so neither changes the advance it stands for.
namespace tunara::editor {

// The table the module runs: the 3D map wins, as it does in the module.
TableKind activeTable(const ModuleParameters &params);

class TableSession : public QObject {
    Q_OBJECT
public:
    explicit TableSession(ModuleDocument &document, QObject *parent = nullptr);

    TableEditModel &model() { return m_model; }
    const TableEditModel &model() const { return m_model; }

    // Chosen by the module parameters; None when the table is disabled.
    TableKind active() const { return activeTable(m_document.params()); }
    bool isOpen() const { return m_model.isOpen(); }
    // The open table holds what its working array and the image do not:
    // edits, or a wizard's table not saved yet.
    bool hasUnsavedEdits() const { return isOpen() && (m_model.isModified() || wizardPending()); }
    // The kind of the open table (None when closed).
    TableKind openKind() const { return m_model.kind(); }

    // Opens the active table from its working array. Opening again drops
    // the edits on screen, not a wizard's table: that stays pending until
    // it is saved or discarded. False (nothing opened) when none is active.
    bool openActive();
    // Writes the open table into its working array and its image region
    // (the one it was opened from, whatever the mode says now), marks that
    // region filled in this run, and closes. False when none is open.
    bool save();
    // Closes without saving; a wizard's unsaved table is rolled back.
    void discard();
    // Closes for a command that opens a table again at once: a wizard's
    // table stays pending.
    void closeKeepingWizard();

    // The wizard transaction.
    void beginWizard();
    bool wizardPending() const { return m_beforeWizard.has_value(); }
    void setWizardTrigTiming(int trigTiming);
    // A wizard's new table becomes the working array and is opened; the 3D
    // wizard may show its map under a trigger timing it has not applied yet.
    void openNew2D(const Table2D &table, int trigTiming);
    void openNew3D(const Table3D &map, int windowTrigTiming);

    // The active table as the user sees it, each value as the module will
    // store it: the open table's values, or with none open its working
    // array as it would open. The report and the CSV export read these.
    Table2D shownTable2D() const;
    Table3D shownTable3D() const;
    // The trigger timing the shown values are stored under.
    int shownTrigTiming() const;

signals:
    void opened(tunara::editor::TableKind kind);
    void closed();

private:
    void open(TableKind kind, int trigTiming);
    void close();
    void rollBackWizard();
    void rebaseForWizardTrigger();

    ModuleDocument &m_document;
    TableEditModel m_model;
    struct BeforeWizard {
        TimingTables tables;
        int trigTiming = 0;
    };
    std::optional<BeforeWizard> m_beforeWizard;
};

}  // namespace tunara::editor
