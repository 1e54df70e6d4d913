#include "app/port_setup_panel.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>

#include <algorithm>

namespace tunara::ui {

PortSetupPanel::PortSetupPanel(QWidget *parent)
    : QGroupBox(QStringLiteral("Data Port Setup"), parent),
      m_cboPort(new QComboBox(this)),
      m_cmdOK(new QPushButton(QStringLiteral("OK"), this)),
      m_lblDevice(new QLabel(this))
{
    setObjectName(QStringLiteral("fraPortSelect"));
    // It lies over the charts: they must not show through.
    setAutoFillBackground(true);
    m_cboPort->setObjectName(QStringLiteral("cboPort"));
    m_cmdOK->setObjectName(QStringLiteral("cmdPortSelectOK"));
    m_lblDevice->setObjectName(QStringLiteral("lblPortDevice"));
    auto *lblPort = new QLabel(QStringLiteral("Port"), this);
    lblPort->setObjectName(QStringLiteral("lblPort"));
    lblPort->setBuddy(m_cboPort);

    for (int n = 1; n <= PortCount; ++n)
        m_cboPort->addItem(QStringLiteral("Com%1").arg(n));
    m_cboPort->setMaxVisibleItems(16);
    m_lblDevice->setWordWrap(true);
    m_lblDevice->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto *grid = new QGridLayout(this);
    grid->addWidget(lblPort, 0, 0);
    grid->addWidget(m_cboPort, 0, 1);
    grid->addWidget(m_lblDevice, 1, 0, 1, 2);
    grid->addWidget(m_cmdOK, 2, 1, Qt::AlignRight);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(1, 1);

    connect(m_cboPort, &QComboBox::activated, this, [this](int index) {
        refreshDevice();
        emit portPicked(index);
    });
    connect(m_cmdOK, &QPushButton::clicked, this, &PortSetupPanel::okClicked);
    // Return anywhere in the panel is its OK, as in a dialog; an open list
    // takes Return for its own choice first.
    for (const int key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto *ok = new QShortcut(QKeySequence(key), this, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
        connect(ok, &QShortcut::activated, m_cmdOK, &QPushButton::click);
    }
}

void PortSetupPanel::selectPort(int portNumber)
{
    m_cboPort->setCurrentIndex(portNumber >= 1 && portNumber <= PortCount ? portNumber - 1 : -1);
    refreshDevice();
}

int PortSetupPanel::selectedPort() const
{
    return m_cboPort->currentIndex() + 1;
}

void PortSetupPanel::setDeviceDescriber(std::function<QString(int)> describe)
{
    m_describe = std::move(describe);
    refreshDevice();
}

void PortSetupPanel::refreshDevice()
{
    const int n = selectedPort();
    if (n == 0)
        m_lblDevice->setText(QStringLiteral("No port selected."));
    else
        m_lblDevice->setText(m_describe ? m_describe(n) : QString());
    // A long description wraps onto more lines, and a path is not broken:
    // the panel grows to show it whole.
    const int width = std::max(this->width(), minimumSizeHint().width());
    const int height = std::max(this->height(), heightForWidth(width));
    if (width != this->width() || height != this->height())
        resize(width, height);
}

}  // namespace tunara::ui
