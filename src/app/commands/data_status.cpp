#include "app/commands/data_status.h"

#include "app/elided_label.h"
#include "app/window_shell.h"
#include "editor/table_session.h"
#include "link/serial_port.h"
#include "module/module_document.h"

#include <QLabel>
#include <QStatusBar>

namespace tunara::ui {

namespace {

QString tableWord(editor::TableKind kind)
{
    switch (kind) {
    case editor::TableKind::Curve2D: return QStringLiteral("2D");
    case editor::TableKind::Map3D: return QStringLiteral("3D");
    case editor::TableKind::None: break;
    }
    return QStringLiteral("disabled");
}

}  // namespace

DataStatus::DataStatus(QStatusBar &bar, const ModuleDocument &document, const link::SerialPort &port,
                       std::function<QString(int)> describePort, WindowShell &shell, QObject *parent)
    : QObject(parent),
      m_document(document),
      m_port(port),
      m_describePort(std::move(describePort)),
      m_shell(shell)
{
    bar.setObjectName(QStringLiteral("staStatus"));
    bar.setSizeGripEnabled(true);
    // Each item shows whole where the bar has room and is shortened with
    // "…" (the whole text in its tooltip) where it has not; the port's
    // description gives up its room first.
    const auto add = [&bar](const char *name, int stretch, QSizePolicy::Policy policy) {
        auto *label = new ElidedLabel(&bar);
        label->setObjectName(QString::fromLatin1(name));
        label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("Data: …")));
        label->setSizePolicy(policy, QSizePolicy::Preferred);
        bar.addWidget(label, stretch);
        return label;
    };
    m_statusPort = add("lblStatusPort", 1, QSizePolicy::Ignored);
    m_statusFirmware = add("lblStatusFirmware", 0, QSizePolicy::Preferred);
    m_statusSource = add("lblStatusSource", 0, QSizePolicy::Preferred);
    m_statusTable = add("lblStatusTable", 0, QSizePolicy::Preferred);
    for (const auto signal : {&ModuleDocument::imageReplaced, &ModuleDocument::parametersChanged,
                              &ModuleDocument::tableModeChanged, &ModuleDocument::sourceChanged})
        connect(&document, signal, this, &DataStatus::refresh);
}

void DataStatus::refresh()
{
    const int number = m_port.portNumber();
    // The description names the number and its device ("Com3 is /dev/ttyUSB0 ...").
    const QString port = number < 1       ? QStringLiteral("No port chosen")
                         : m_describePort ? m_describePort(number)
                                          : QStringLiteral("Com%1").arg(number);
    m_statusPort->setFullText(port);
    const QString firmware = m_document.source().firmware;
    m_statusFirmware->setFullText(
        QStringLiteral("Firmware: %1").arg(firmware.isEmpty() ? QStringLiteral("not read") : firmware));
    const DataSource &origin = m_document.source();
    QString source = DataSource::empty().title;
    // An image filled while the source still said empty was made here (the
    // parameters dialog on an empty buffer).
    if (!m_document.isEmpty())
        source = origin.kind == DataSource::Kind::Empty ? QStringLiteral("edited in the program") : origin.title;
    m_statusSource->setFullText(QStringLiteral("Data: %1").arg(source));
    m_statusTable->setFullText(QStringLiteral("Table: %1").arg(tableWord(editor::activeTable(m_document.params()))));
}

}  // namespace tunara::ui
