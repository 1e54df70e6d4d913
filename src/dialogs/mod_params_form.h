#pragma once

#include "module/module_document.h"

#include <QString>

namespace tunara::dialogs {

enum class TableModeOption { Table2D, Table3D, Disabled };

// What the module parameters dialog shows, control by control (named after
// the controls). The form's handlers change it; the dialog only displays it.
struct ModParamsState {
    bool chkRPMLimitDisable = false;
    bool chkMultiSparkDisable = false;
    bool chkTimingDisable = false;
    bool chkFixedMaxRPMLimit = false;
    bool chkHighSpeedDataLog = false;
    bool chkStartRtd = false;

    TableModeOption tableMode = TableModeOption::Disabled;
    // MAPSensor 0, 1, 2 as "1 bar", "2 bar", "3 bar". Any other value
    // shows "1 bar", as the module reads it, and stays in the parameter
    // until an option is clicked.
    int mapSensorOption = 0;

    bool fraTrigTimingVisible = true;
    bool fraMAPSensorVisible = true;
    bool fraMaxRPMLimitVisible = true;
    bool fraStartRtdVisible = true;

    int sldTrigTiming = 0;
    int sldMaxRPMLimit = 30;
    int sldCrankPulses = 0;
    int sldRetardComp = 0;
    int sldStartRetard = 0;

    QString lblTrigTimingVal = QStringLiteral("0");
    QString lblMaxRPMLimitVal = QStringLiteral("0");
    QString lblCrankPulsesVal = QStringLiteral("0");
    QString lblRetardCompVal = QStringLiteral("0");
    QString lblStartRtdVal = QStringLiteral("0");

    // The dialog's own trigger timing: it becomes TrigTiming only at OK,
    // because a new trigger timing moves the whole timing table.
    int DialogTrigTiming = 0;
};

// The behaviour of the module parameters dialog: every check box, option
// button and slider writes its module parameter at once; the trigger timing
// waits for OK.
class ModParamsForm {
public:
    // The document announces each parameter as it is written, the table
    // mode among them, so the window's table menus follow the choice.
    explicit ModParamsForm(ModuleDocument &document);

    ModParamsState state;

    // Fills the controls from the parameters. Changes no parameter except the
    // RPM limit, which is 3000 whenever no fixed limit is chosen. A loaded
    // value outside its slider is kept: the slider sits at its nearest end
    // and the label shows the value itself.
    void Form_Load();

    void chkRPMLimitDisable_Click(bool checked);
    void chkMultiSparkDisable_Click(bool checked);
    void chkTimingDisable_Click(bool checked);
    void chkHighSpeedDataLog_Click(bool checked);
    void chkFixedMaxRPMLimit_Click(bool checked);
    void chkStartRtd_Click(bool checked);

    void opt2DTimingTable_Click();
    void opt3DTimingTable_Click();
    void optDisableTimingTable_Click();
    // sensor 0, 1, 2: optMAP1Bar, optMAP2Bar, optMAP3Bar
    void optMAP_Click(int sensor);

    void sldTrigTiming_Change(int position);
    void sldMaxRPMLimit_Change(int position);
    void sldCrankPulses_Change(int position);
    void sldRetardComp_Change(int position);
    void sldStartRetard_Change(int position);

    // Cells of each table that OK would limit into the dialog's trigger
    // timing's window.
    struct LimitedCells {
        int map3D = 0;
        int curve2D = 0;
    };
    LimitedCells cellsLimitedByOK() const;

    // OK would give the module another trigger timing.
    bool trigTimingChanged() const;

    // Of those, the cells of the table the chosen mode uses; none while
    // the table is disabled.
    int limitedCellsInUse() const;

    // The question OK asks before it limits cells of the table in use,
    // with their count and the window: with a new trigger timing whether
    // to apply it, with the trigger timing unchanged whether to limit the
    // cells that lie outside its window. Empty when no such cell would move
    // or the image holds no tables yet.
    QString trigTimingQuestion() const;

    // Marks the image as holding data and applies the trigger timing. A new
    // trigger timing (or an empty image) clamps both tables into its window;
    // an unchanged one limits only the table in use, and only with
    // `limitCells`, so cells nobody was asked about keep their bytes.
    void cmdOK_Click(bool limitCells = true);

private:
    // The three table mode options: the flags, the frames each shows.
    void applyTableMode(TableModeOption mode);
    void selectTableMode();
    void placeMaxRPMLimitSlider();
    void placeStartRetardSlider();

    ModuleDocument &m_document;
};

}  // namespace tunara::dialogs
