#include "dialogs/mod_params_form.h"

#include "dialogs/mod_param_sliders.h"
#include "tables/table_codec.h"
#include "tables/timing_tables.h"

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

int ModParamsForm::limitedCellsInUse() const
{
    const LimitedCells limited = cellsLimitedByOK();
    if (m_document.params().TimingTable3D)
        return limited.map3D;
    if (m_document.params().TimingTable2D)
        return limited.curve2D;
    return 0;
}

QString ModParamsForm::trigTimingQuestion() const
{
    // An empty image holds no table yet: nothing of the user's is limited.
    if (m_document.isEmpty())
        return {};
    const int count = limitedCellsInUse();
    if (count == 0)
        return {};
    const bool one = count == 1;
    const QString cells =
        QStringLiteral("%1 %2 of the %3")
            .arg(count)
            .arg(one ? QStringLiteral("cell") : QStringLiteral("cells"),
                 m_document.params().TimingTable3D ? QStringLiteral("3D map") : QStringLiteral("2D curve"));
    const int trig = state.DialogTrigTiming;
    const int low = std::max(0, trig - MaxRetard);
    if (!trigTimingChanged()) {
        return QStringLiteral("%1 %2 outside %3..%4 degrees. %5")
            .arg(cells, one ? QStringLiteral("lies") : QStringLiteral("lie"))
            .arg(low)
            .arg(trig)
            .arg(one ? QStringLiteral("Limit it to the window?") : QStringLiteral("Limit them to the window?"));
    }
    return QStringLiteral("%1 will be limited to %2..%3 degrees. Apply the new trigger timing?")
        .arg(cells)
        .arg(low)
        .arg(trig);
}

namespace {

// Limits the table in use into the window of an unchanged trigger timing,
// in the working array and in its stored bytes alike, so an upload sends
// what the editor shows. The other table is left as stored: nothing asked
// about it, nothing of it changes.
void limitTableInUse(ModuleData &data, int trig)
{
    TimingTables stored;
    decodeTables(data.image, trig, stored);
    for (int p = 1; p <= SpeedPoints; ++p) {
        if (data.params.TimingTable3D) {
            for (int m = 1; m <= PressureRows; ++m) {
                data.tables.table3D(p, m) = clampToTrigger(data.tables.table3D(p, m), trig);
                stored.table3D(p, m) = clampToTrigger(stored.table3D(p, m), trig);
            }
        } else if (data.params.TimingTable2D) {
            data.tables.table2D(p, 1) = clampToTrigger(data.tables.table2D(p, 1), trig);
            stored.table2D(p, 1) = clampToTrigger(stored.table2D(p, 1), trig);
        }
    }
    if (data.params.TimingTable3D)
        encodeTable3D(stored.table3D, trig, data.image);
    else if (data.params.TimingTable2D)
        encodeTable2D(stored.table2D, trig, data.image);
}

}  // namespace

void ModParamsForm::cmdOK_Click(bool limitCells)
{
    const int trig = state.DialogTrigTiming;
    const bool limitInUse = limitCells && limitedCellsInUse() > 0;
    auto edit = m_document.edit();
    ModuleData &data = *edit;
    if (data.image.DataBufferEmpty) {
        // An empty image gets the arrays as the editor will show them:
        // all-zero regions would mean no retard at all, the most advanced
        // table there is.
        ClampTablesToTrigger(data.tables, trig);
        encodeTable2D(data.tables.table2D, trig, data.image);
        encodeTable3D(data.tables.table3D, trig, data.image);
    } else if (trig != data.params.TrigTiming) {
        // A new trigger timing moves the window of both tables: every
        // stored advance follows it, so what the editor, a save and an
        // upload show of them stays the same advance.
        ClampTablesToTrigger(data.tables, trig);
        rebaseTableRegions(data.image, data.params.TrigTiming, trig);
    } else if (limitInUse) {
        limitTableInUse(data, trig);
    }
    data.image.DataBufferEmpty = false;
    data.params.TrigTiming = trig;
}

}  // namespace tunara::dialogs
