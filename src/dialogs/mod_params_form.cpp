#include "dialogs/mod_params_form.h"

#include "dialogs/mod_param_sliders.h"
#include "tables/table_codec.h"
#include "tables/timing_tables.h"

#include <QStringList>

#include <algorithm>

namespace tunara::dialogs {

using namespace sliders;

ModParamsForm::ModParamsForm(ModuleDocument &document) : m_document(document) {}

void ModParamsForm::Form_Load()
{
    // Setting a check box or option button runs its click handler, as a
    // user's click would; each handler writes back the value it was set from.
    state.chkRPMLimitDisable = !m_document.params().RPMLimitEnable;
    chkRPMLimitDisable_Click(state.chkRPMLimitDisable);
    state.chkMultiSparkDisable = !m_document.params().MultiSparkEnable;
    chkMultiSparkDisable_Click(state.chkMultiSparkDisable);
    state.chkTimingDisable = !m_document.params().TimingEnable;
    chkTimingDisable_Click(state.chkTimingDisable);

    selectTableMode();

    // Showing "1 bar" for a value beyond the three writes nothing.
    state.mapSensorOption = m_document.params().MAPSensor <= 2 ? m_document.params().MAPSensor : 0;

    state.chkFixedMaxRPMLimit = m_document.params().FixedMaxRPMLimit;
    chkFixedMaxRPMLimit_Click(state.chkFixedMaxRPMLimit);
    if (state.chkFixedMaxRPMLimit)
        placeMaxRPMLimitSlider();

    state.sldCrankPulses = CrankPulses.place(positionForCrankPulses(m_document.params().CrankPulses));
    state.lblCrankPulsesVal = wholeNumberLabel(m_document.params().CrankPulses);

    state.sldRetardComp = RetardComp.place(positionForRetardComp(m_document.params().RetardComp));
    placeStartRetardSlider();
    state.lblRetardCompVal = retardCompLabel(m_document.params().RetardComp);

    if (m_document.params().StartRetard < 1) {
        state.chkStartRtd = false;
        state.fraStartRtdVisible = false;
    } else {
        state.chkStartRtd = true;
        chkStartRtd_Click(true);
    }

    state.chkHighSpeedDataLog = m_document.params().HighSpeedDataLog;
    chkHighSpeedDataLog_Click(state.chkHighSpeedDataLog);

    state.DialogTrigTiming = m_document.params().TrigTiming;
    state.sldTrigTiming = TrigTiming.place(positionForTrigTiming(m_document.params().TrigTiming));
    state.lblTrigTimingVal = wholeNumberLabel(state.DialogTrigTiming);
}

void ModParamsForm::selectTableMode()
{
    if (m_document.params().TimingTable3D)
        opt3DTimingTable_Click();
    else if (m_document.params().TimingTable2D)
        opt2DTimingTable_Click();
    else
        optDisableTimingTable_Click();
}

void ModParamsForm::placeMaxRPMLimitSlider()
{
    state.sldMaxRPMLimit = MaxRPMLimit.place(positionForMaxRPMLimit(m_document.params().MaxRPMLimit));
    state.lblMaxRPMLimitVal = wholeNumberLabel(m_document.params().MaxRPMLimit);
}

void ModParamsForm::placeStartRetardSlider()
{
    state.sldStartRetard = StartRetard.place(positionForStartRetard(m_document.params().StartRetard));
    state.lblStartRtdVal = startRetardLabel(m_document.params().StartRetard);
}

void ModParamsForm::chkRPMLimitDisable_Click(bool checked)
{
    state.chkRPMLimitDisable = checked;
    m_document.edit()->params.RPMLimitEnable = !checked;
}

void ModParamsForm::chkMultiSparkDisable_Click(bool checked)
{
    state.chkMultiSparkDisable = checked;
    m_document.edit()->params.MultiSparkEnable = !checked;
}

void ModParamsForm::chkTimingDisable_Click(bool checked)
{
    state.chkTimingDisable = checked;
    m_document.edit()->params.TimingEnable = !checked;
}

void ModParamsForm::chkHighSpeedDataLog_Click(bool checked)
{
    state.chkHighSpeedDataLog = checked;
    m_document.edit()->params.HighSpeedDataLog = checked;
}

void ModParamsForm::chkFixedMaxRPMLimit_Click(bool checked)
{
    state.chkFixedMaxRPMLimit = checked;
    m_document.edit()->params.FixedMaxRPMLimit = checked;
    state.fraMaxRPMLimitVisible = checked;
    if (checked)
        return;
    // Without a fixed limit the module works from 3000 RPM.
    state.sldMaxRPMLimit = UnfixedRPMLimitPosition;
    m_document.edit()->params.MaxRPMLimit = maxRPMLimitFromPosition(UnfixedRPMLimitPosition);
    state.lblMaxRPMLimitVal = wholeNumberLabel(m_document.params().MaxRPMLimit);
}

void ModParamsForm::chkStartRtd_Click(bool checked)
{
    state.chkStartRtd = checked;
    state.fraStartRtdVisible = checked;
    if (!checked)
        m_document.edit()->params.StartRetard = 0;
    placeStartRetardSlider();
}

void ModParamsForm::opt2DTimingTable_Click()
{
    applyTableMode(TableModeOption::Table2D);
}

void ModParamsForm::opt3DTimingTable_Click()
{
    applyTableMode(TableModeOption::Table3D);
}

void ModParamsForm::optDisableTimingTable_Click()
{
    applyTableMode(TableModeOption::Disabled);
}

void ModParamsForm::applyTableMode(TableModeOption mode)
{
    state.tableMode = mode;
    {
        auto edit = m_document.edit();
        edit->params.TimingTable2D = mode == TableModeOption::Table2D;
        edit->params.TimingTable3D = mode == TableModeOption::Table3D;
    }
    state.fraTrigTimingVisible = mode != TableModeOption::Disabled;
    state.fraMAPSensorVisible = mode == TableModeOption::Table3D;
}

void ModParamsForm::optMAP_Click(int sensor)
{
    if (sensor < 0 || sensor > 2)
        return;
    state.mapSensorOption = sensor;
    m_document.edit()->params.MAPSensor = static_cast<std::uint8_t>(sensor);
}

void ModParamsForm::sldTrigTiming_Change(int position)
{
    state.sldTrigTiming = TrigTiming.place(position);
    state.DialogTrigTiming = trigTimingFromPosition(state.sldTrigTiming);
    state.lblTrigTimingVal = wholeNumberLabel(state.DialogTrigTiming);
}

void ModParamsForm::sldMaxRPMLimit_Change(int position)
{
    state.sldMaxRPMLimit = MaxRPMLimit.place(position);
    m_document.edit()->params.MaxRPMLimit = maxRPMLimitFromPosition(state.sldMaxRPMLimit);
    state.lblMaxRPMLimitVal = wholeNumberLabel(m_document.params().MaxRPMLimit);
}

void ModParamsForm::sldCrankPulses_Change(int position)
{
    state.sldCrankPulses = CrankPulses.place(position);
    m_document.edit()->params.CrankPulses = crankPulsesFromPosition(state.sldCrankPulses);
    state.lblCrankPulsesVal = wholeNumberLabel(m_document.params().CrankPulses);
}

void ModParamsForm::sldRetardComp_Change(int position)
{
    state.sldRetardComp = RetardComp.place(position);
    m_document.edit()->params.RetardComp = retardCompFromPosition(state.sldRetardComp);
    state.lblRetardCompVal = retardCompLabel(m_document.params().RetardComp);
}

void ModParamsForm::sldStartRetard_Change(int position)
{
    state.sldStartRetard = StartRetard.place(position);
    m_document.edit()->params.StartRetard = startRetardFromPosition(state.sldStartRetard);
    state.lblStartRtdVal = startRetardLabel(m_document.params().StartRetard);
}

ModParamsForm::LimitedCells ModParamsForm::cellsLimitedByOK() const
{
    const int trig = state.DialogTrigTiming;
    const auto moves = [trig](double v) { return clampToTrigger(v, trig) != v ? 1 : 0; };
    LimitedCells limited;
    for (int p = 1; p <= SpeedPoints; ++p) {
        for (int m = 1; m <= PressureRows; ++m)
            limited.map3D += moves(m_document.tables().table3D(p, m));
        limited.curve2D += moves(m_document.tables().table2D(p, 1));
    }
    return limited;
}

bool ModParamsForm::trigTimingChanged() const
{
    return state.DialogTrigTiming != m_document.params().TrigTiming;
}

QString ModParamsForm::trigTimingQuestion() const
{
    // An empty image holds no table yet: nothing of the user's is limited.
    if (m_document.isEmpty())
        return {};
    const LimitedCells limited = cellsLimitedByOK();
    const auto cells = [](int count, const char *table) {
        return QStringLiteral("%1 %2 of the %3").arg(count).arg(count == 1 ? "cell" : "cells", table);
    };
    QStringList parts;
    if (limited.map3D > 0)
        parts << cells(limited.map3D, "3D map");
    if (limited.curve2D > 0)
        parts << cells(limited.curve2D, "2D curve");
    if (parts.isEmpty())
        return {};
    const int trig = state.DialogTrigTiming;
    if (!trigTimingChanged()) {
        const bool one = limited.map3D + limited.curve2D == 1;
        return QStringLiteral("%1 %2 outside %3..%4 degrees. %5")
            .arg(parts.join(QStringLiteral(" and ")), one ? QStringLiteral("lies") : QStringLiteral("lie"))
            .arg(std::max(0, trig - MaxRetard))
            .arg(trig)
            .arg(one ? QStringLiteral("Limit it to them?") : QStringLiteral("Limit them to it?"));
    }
    return QStringLiteral("%1 will be limited to %2..%3 degrees. Apply the new trigger timing?")
        .arg(parts.join(QStringLiteral(" and ")))
        .arg(std::max(0, trig - MaxRetard))
        .arg(trig);
}

void ModParamsForm::cmdOK_Click(bool limitCells)
{
    // A new trigger timing (or an empty image) always brings the tables
    // into its window: the stored bytes are moved to it below.
    const bool limit = limitCells || trigTimingChanged() || m_document.isEmpty();
    const LimitedCells outside = cellsLimitedByOK();
    auto edit = m_document.edit();
    ModuleData &data = *edit;
    if (limit)
        ClampTablesToTrigger(data.tables, state.DialogTrigTiming);
    // The stored tables follow the working arrays, so that what the editor,
    // a save and an upload show of them stays the same advance. An empty
    // image gets the arrays as the editor will show them: all-zero regions
    // would mean no retard at all, the most advanced table there is.
    if (data.image.DataBufferEmpty) {
        encodeTable2D(data.tables.table2D, state.DialogTrigTiming, data.image);
        encodeTable3D(data.tables.table3D, state.DialogTrigTiming, data.image);
    } else if (state.DialogTrigTiming != data.params.TrigTiming || (limit && outside.map3D + outside.curve2D > 0)) {
        // Cells limited under an unchanged trigger timing are limited in the
        // stored bytes too: an upload sends what the editor shows.
        rebaseTableRegions(data.image, data.params.TrigTiming, state.DialogTrigTiming);
    }
    data.image.DataBufferEmpty = false;
    data.params.TrigTiming = state.DialogTrigTiming;
}

}  // namespace tunara::dialogs
