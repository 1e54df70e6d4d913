#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QLabel;
class QMenu;
class QStatusBar;

namespace tunara {
struct ModuleData;
namespace link {
class ModuleProtocol;
class SerialPort;
}  // namespace link
}  // namespace tunara

namespace tunara::ui {

class ElidedLabel;
class WindowShell;

// The status bar that tells where the image stands (port, firmware, where
// the image came from, table mode) and the caption's data part.
class DataStatus : public QObject {
    Q_OBJECT
public:
    // describePort: "Com<n>" explained, as the port set-up shows it (may be empty).
    DataStatus(QStatusBar &bar, const ModuleData &data, const link::SerialPort &port,
               std::function<QString(int)> describePort, const link::ModuleProtocol &protocol, WindowShell &shell,
               QObject *parent);

    // Port, firmware, where the image came from, table mode.
    void refresh();
    // The refresh after each command of these menus has run.
    void followMenus(std::initializer_list<QMenu *> menus);
    // The caption names where the image came from; the status bar keeps it.
    void showSource(const QString &sourceText);

private:
    const ModuleData &m_data;
    const link::SerialPort &m_port;
    std::function<QString(int)> m_describePort;
    const link::ModuleProtocol &m_protocol;
    WindowShell &m_shell;
    ElidedLabel *m_statusPort = nullptr;
    QLabel *m_statusFirmware = nullptr;
    QLabel *m_statusSource = nullptr;
    QLabel *m_statusTable = nullptr;
    // Where the image came from, as the caption named it when it came: a
    // wizard resets the caption, but not the data's origin.
    QString m_dataOrigin;
};

}  // namespace tunara::ui
