#include "editor/table_session.h"

#include "tables/table_codec.h"

namespace tunara::editor {

TableKind activeTable(const ModuleParameters &params)
{
    if (params.TimingTable3D)
        return TableKind::Map3D;
    return params.TimingTable2D ? TableKind::Curve2D : TableKind::None;
}

TableSession::TableSession(ModuleData &data, QObject *parent) : QObject(parent), m_data(data) {}

bool TableSession::openActive()
{
    const TableKind kind = active();
    if (kind == TableKind::None)
        return false;
    open(kind, m_data.params.TrigTiming);
    return true;
}

void TableSession::open(TableKind kind, int trigTiming)
{
    if (kind == TableKind::Curve2D)
        m_model.open2D(m_data.tables.table2D, trigTiming);
    else
        m_model.open3D(m_data.tables.table3D, trigTiming);
    emit opened(kind);
}

void TableSession::close()
{
    if (!m_model.isOpen())
        return;
    m_model.close();
    emit closed();
}

bool TableSession::save()
{
    if (!m_model.isOpen())
        return false;
    const int trig = m_data.params.TrigTiming;
    rebaseForWizardTrigger();
    if (m_model.copyTo(m_data.tables.table2D)) {
        EncodeTable2D(m_data.tables.table2D, trig, m_data.image);
        m_data.filledThisRun.table2D = true;
    } else if (m_model.copyTo(m_data.tables.table3D)) {
        EncodeTable3D(m_data.tables.table3D, trig, m_data.image);
        m_data.filledThisRun.table3D = true;
    }
    m_model.markSaved();
    close();
    return true;
}

void TableSession::discard()
{
    close();
    rollBackWizard();
}

void TableSession::closeKeepingWizard()
{
    close();
}

void TableSession::beginWizard()
{
    if (m_beforeWizard)
        return;  // an earlier wizard's table is still unsaved: keep what was before it
    m_beforeWizard = BeforeWizard{m_data.tables, m_data.params.TrigTiming};
}

void TableSession::setWizardTrigTiming(int trigTiming)
{
    beginWizard();
    m_data.params.TrigTiming = trigTiming;
}

void TableSession::openNew2D(const Table2D &table, int trigTiming)
{
    // The trigger timing is the module's before the table opens, so the
    // model opens with the window of the new curve.
    setWizardTrigTiming(trigTiming);
    m_data.tables.table2D = table;
    open(TableKind::Curve2D, trigTiming);
}

void TableSession::openNew3D(const Table3D &map, int windowTrigTiming)
{
    beginWizard();
    m_data.tables.table3D = map;
    open(TableKind::Map3D, windowTrigTiming);
}

void TableSession::rollBackWizard()
{
    if (!m_beforeWizard)
        return;
    m_data.tables = m_beforeWizard->tables;
    m_data.params.TrigTiming = m_beforeWizard->trigTiming;
    m_beforeWizard.reset();
}

// A wizard's trigger timing becomes the image's with its table: the other
// table region and working array move to it as the parameters dialog moves
// them, so neither changes the advance it stands for.
void TableSession::rebaseForWizardTrigger()
{
    if (!m_beforeWizard)
        return;
    const int oldTrig = m_beforeWizard->trigTiming;
    const int trig = m_data.params.TrigTiming;
    m_beforeWizard.reset();
    if (oldTrig == trig)
        return;
    // The table being saved is written over from the editor right after.
    ClampTablesToTrigger(m_data.tables, trig);
    if (!m_data.image.DataBufferEmpty)
        RebaseTableRegions(m_data.image, oldTrig, trig);
}

int TableSession::shownTrigTiming() const
{
    return m_model.isOpen() ? m_model.trigTiming() : m_data.params.TrigTiming;
}

Table2D TableSession::shownTable2D() const
{
    Table2D table = m_data.tables.table2D;
    if (m_model.copyTo(table))
        return table;
    const int trig = m_data.params.TrigTiming;
    for (int point = 1; point <= SpeedPoints; ++point)
        table(point, 1) = storedValue(TableKind::Curve2D, trig, table(point, 1));
    return table;
}

Table3D TableSession::shownTable3D() const
{
    Table3D map = m_data.tables.table3D;
    if (m_model.copyTo(map))
        return map;
    const int trig = m_data.params.TrigTiming;
    for (int point = 1; point <= SpeedPoints; ++point)
        for (int pressure = 1; pressure <= PressureRows; ++pressure)
            map(point, pressure) = storedValue(TableKind::Map3D, trig, map(point, pressure));
    return map;
}

}  // namespace tunara::editor
