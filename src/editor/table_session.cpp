#include "editor/table_session.h"

#include "tables/table_codec.h"

namespace tunara::editor {

TableKind activeTable(const ModuleParameters &params)
{
    if (params.TimingTable3D)
        return TableKind::Map3D;
    return params.TimingTable2D ? TableKind::Curve2D : TableKind::None;
}

TableSession::TableSession(ModuleDocument &document, QObject *parent) : QObject(parent), m_document(document) {}

bool TableSession::openActive()
{
    const TableKind kind = active();
    if (kind == TableKind::None)
        return false;
    open(kind, m_document.data().params.TrigTiming);
    return true;
}

void TableSession::open(TableKind kind, int trigTiming)
{
    if (kind == TableKind::Curve2D)
        m_model.open2D(m_document.data().tables.table2D, trigTiming);
    else
        m_model.open3D(m_document.data().tables.table3D, trigTiming);
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
    auto edit = m_document.edit();
    ModuleData &data = *edit;
    const int trig = data.params.TrigTiming;
    rebaseForWizardTrigger();
    if (m_model.copyTo(data.tables.table2D)) {
        encodeTable2D(data.tables.table2D, trig, data.image);
        data.filledThisRun.table2D = true;
    } else if (m_model.copyTo(data.tables.table3D)) {
        encodeTable3D(data.tables.table3D, trig, data.image);
        data.filledThisRun.table3D = true;
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
    m_beforeWizard = BeforeWizard{m_document.data().tables, m_document.data().params.TrigTiming};
}

void TableSession::setWizardTrigTiming(int trigTiming)
{
    beginWizard();
    m_document.edit()->params.TrigTiming = trigTiming;
}

void TableSession::openNew2D(const Table2D &table, int trigTiming)
{
    // The trigger timing is the module's before the table opens, so the
    // model opens with the window of the new curve.
    setWizardTrigTiming(trigTiming);
    m_document.edit()->tables.table2D = table;
    open(TableKind::Curve2D, trigTiming);
}

void TableSession::openNew3D(const Table3D &map, int windowTrigTiming)
{
    beginWizard();
    m_document.edit()->tables.table3D = map;
    open(TableKind::Map3D, windowTrigTiming);
}

void TableSession::rollBackWizard()
{
    if (!m_beforeWizard)
        return;
    {
        auto edit = m_document.edit();
        edit->tables = m_beforeWizard->tables;
        edit->params.TrigTiming = m_beforeWizard->trigTiming;
    }
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
    const int trig = m_document.params().TrigTiming;
    m_beforeWizard.reset();
    if (oldTrig == trig)
        return;
    // The table being saved is written over from the editor right after.
    auto edit = m_document.edit();
    ClampTablesToTrigger(edit->tables, trig);
    if (!edit->image.DataBufferEmpty)
        rebaseTableRegions(edit->image, oldTrig, trig);
}

int TableSession::shownTrigTiming() const
{
    return m_model.isOpen() ? m_model.trigTiming() : m_document.data().params.TrigTiming;
}

Table2D TableSession::shownTable2D() const
{
    Table2D table = m_document.data().tables.table2D;
    if (m_model.copyTo(table))
        return table;
    const int trig = m_document.data().params.TrigTiming;
    for (int point = 1; point <= SpeedPoints; ++point)
        table(point, 1) = storedValue(TableKind::Curve2D, trig, table(point, 1));
    return table;
}

Table3D TableSession::shownTable3D() const
{
    Table3D map = m_document.data().tables.table3D;
    if (m_model.copyTo(map))
        return map;
    const int trig = m_document.data().params.TrigTiming;
    for (int point = 1; point <= SpeedPoints; ++point)
        for (int pressure = 1; pressure <= PressureRows; ++pressure)
            map(point, pressure) = storedValue(TableKind::Map3D, trig, map(point, pressure));
    return map;
}

}  // namespace tunara::editor
