#pragma once

#include <QGroupBox>

#include <functional>

class QComboBox;
class QLabel;
class QPushButton;

namespace tunara::ui {

// The "Data Port Setup" frame: the list "Com1" .. "Com255" (entry k stands
// for port k + 1), its OK button, and beside the list the host device the
// selected number stands for on this system, so a user can tell which number
// is their adapter.
class PortSetupPanel : public QGroupBox {
    Q_OBJECT
public:
    static constexpr int PortCount = 255;

    explicit PortSetupPanel(QWidget *parent = nullptr);

    QComboBox *list() const { return m_cboPort; }
    QLabel *deviceLabel() const { return m_lblDevice; }

    // Selects the entry of a port number; 0 (or anything outside 1..255)
    // leaves the list without a selection.
    void selectPort(int portNumber);
    // Port number of the selected entry, 0 when none.
    int selectedPort() const;

    // How a port number is described beside the list.
    void setDeviceDescriber(std::function<QString(int)> describe);
    void refreshDevice();

signals:
    // The user picked an entry (not emitted by selectPort).
    void portPicked(int entryIndex);
    void okClicked();

private:
    QComboBox *m_cboPort;
    QPushButton *m_cmdOK;
    QLabel *m_lblDevice;
    std::function<QString(int)> m_describe;
};

}  // namespace tunara::ui
