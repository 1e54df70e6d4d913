#include "module/module_document.h"

#include "module/parameter_codec.h"

namespace tunara {

DataSource DataSource::empty()
{
    return {Kind::Empty, QStringLiteral("Data Buffer Empty"), {}, 0, {}, {}};
}

DataSource DataSource::file(const QString &path, const QString &title)
{
    return {Kind::File, title, path, 0, {}, {}};
}

DataSource DataSource::module(int port, const QString &device, const QString &firmware)
{
    return {Kind::Module, QStringLiteral("Downloaded Data"), {}, port, device, firmware};
}

namespace {

bool sameTableMode(const ModuleParameters &a, const ModuleParameters &b)
{
    return a.TimingTable2D == b.TimingTable2D && a.TimingTable3D == b.TimingTable3D && a.MAPSensor == b.MAPSensor;
}

}  // namespace

ModuleDocument::ModuleDocument(QObject *parent) : QObject(parent)
{
    m_data.image.ClearEEPROMBuffer();
}

void ModuleDocument::replaceImage(const ModuleImage &image, const DataSource &source)
{
    const ModuleData before = m_data;
    m_data.image = image;
    m_data.image.DataBufferEmpty = false;
    UpdateParams(m_data);
    m_data.filledThisRun = {true, true};
    m_saved.markSaved(m_data);
    announce(before, true);
    setSource(source);
}

void ModuleDocument::clear()
{
    const ModuleData before = m_data;
    m_data.image.ClearEEPROMBuffer();
    m_data.filledThisRun = {};
    m_saved.forget();
    announce(before, true);
}

void ModuleDocument::markSaved()
{
    m_saved.markSaved(m_data);
    updateModified();
}

void ModuleDocument::setSource(const DataSource &source)
{
    if (source == m_source)
        return;
    m_source = source;
    emit sourceChanged();
}

ModuleDocument::Edit::Edit(ModuleDocument &document) : m_document(document), m_before(document.m_data)
{
    ++m_document.m_openEdits;
}

ModuleDocument::Edit::~Edit()
{
    // Nested edits announce once, when the outermost ends.
    if (--m_document.m_openEdits == 0)
        m_document.announce(m_before, false);
}

void ModuleDocument::announce(const ModuleData &before, bool replaced)
{
    if (replaced)
        emit imageReplaced();
    else if (before.params != m_data.params || before.image.EEPROMBuffer != m_data.image.EEPROMBuffer ||
             before.image.DataBufferEmpty != m_data.image.DataBufferEmpty)
        emit parametersChanged();
    if (!replaced && !(before.tables == m_data.tables))
        emit tablesChanged();
    if (!sameTableMode(before.params, m_data.params) || before.image.DataBufferEmpty != m_data.image.DataBufferEmpty)
        emit tableModeChanged();
    updateModified();
}

void ModuleDocument::updateModified()
{
    const bool modified = isModified();
    if (modified == m_modified)
        return;
    m_modified = modified;
    emit modifiedChanged(modified);
}

}  // namespace tunara
