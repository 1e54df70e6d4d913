#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QLabel;
class QStatusBar;

namespace tunara {
class ModuleDocument;
namespace link {
class SerialPort;
}  // namespace link
}  // namespace tunara

namespace tunara::ui {

class ElidedLabel;
class WindowShell;

// The status bar that tells where the image stands (port, firmware, where
// the image came from, table mode). It follows the document's signals: the
// firmware is the one the open image came with, not whatever the link
// identified last.
class DataStatus : public QObject {
    Q_OBJECT
public:
    // describePort: "Com<n>" explained, as the port set-up shows it (may be empty).
    DataStatus(QStatusBar &bar, const ModuleDocument &document, const link::SerialPort &port,
               std::function<QString(int)> describePort, WindowShell &shell, QObject *parent);

    // Port, firmware, where the image came from, table mode.
    void refresh();

private:
    const ModuleDocument &m_document;
    const link::SerialPort &m_port;
    std::function<QString(int)> m_describePort;
    WindowShell &m_shell;
    ElidedLabel *m_statusPort = nullptr;
    ElidedLabel *m_statusFirmware = nullptr;
    ElidedLabel *m_statusSource = nullptr;
    ElidedLabel *m_statusTable = nullptr;
};

}  // namespace tunara::ui
