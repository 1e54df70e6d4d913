#pragma once

#include "dialogs/new_3d_table_form.h"

#include <QDialog>

#include <optional>

class QLabel;
class QSlider;

namespace tunara::ui {
class UserInterface;
}

namespace tunara::wizards {

// What the 3D wizard needs of the main window.
class New3DTableHost {
public:
    virtual ~New3DTableHost() = default;
    virtual ui::UserInterface &userInterface() = 0;
    virtual int trigTiming() const = 0;
    virtual void setTrigTiming(int trigTiming) = 0;
    // The 3D table is on view (its chart is shown).
    virtual bool isChart3DVisible() const = 0;
    // Save Timing Table Edits To Buffer.
    virtual void saveTable() = 0;
    // Takes the 3D chart and grid off the screen and resets the caption to
    // the window's base title.
    virtual void clearTableView() = 0;
    // Makes the map the working 3D table and shows it (ShowTable3D), with
    // the advance window and stored values of `windowTrigTiming`.
    virtual void showNewTable(const Table3D &map, int windowTrigTiming) = 0;
};

// The new 3D table wizard: a trigger timing and a base timing on two
// sliders; Update shows a flat map at the base timing behind the wizard, OK
// does the same, makes the trigger timing the module's and closes. There is
// no Cancel: the close box leaves the trigger timing as it was.
class frmNew3DTable : public QDialog {
    Q_OBJECT
public:
    explicit frmNew3DTable(New3DTableHost &host, QWidget *parent = nullptr);

    // Run before the wizard is shown: sets the sliders from the module's
    // trigger timing, centres the window, and offers to save a 3D table on
    // view before clearing it.
    void Form_Load();

    void sldBaseTmg_Change(int position);
    void sldTrigTiming_Change(int position);
    void cmdUpdate_Click();
    void cmdOK_Click();
    void CreateNewTable();

    const New3DTableForm &form() const { return m_form; }

    // The close box (and Esc). Update shows its map for the trigger timing
    // on the slider; kept under the module's own trigger timing it could
    // hold values a save would not store, so it is shown again for the
    // trigger timing in force, its base brought into that window.
    void reject() override;

private:
    QSlider *addSlider(const char *sliderName, const char *labelName, const QString &caption, QLabel *&label);
    void showValues();

    New3DTableHost &m_host;
    New3DTableForm m_form;
    QSlider *m_base = nullptr;
    QSlider *m_trig = nullptr;
    QLabel *m_baseLabel = nullptr;
    QLabel *m_trigLabel = nullptr;
    std::optional<int> m_shownBase;  // the flat map last shown, if any
};

}  // namespace tunara::wizards
