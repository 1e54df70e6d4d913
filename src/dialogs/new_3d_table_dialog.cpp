#include "dialogs/new_3d_table_dialog.h"

#include "ui_port/user_interface.h"
#include "dialogs/screen_placement.h"
#include "dialogs/scrolling_layout.h"
#include "dialogs/wizard_buttons.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

namespace tunara::wizards {

frmNew3DTable::frmNew3DTable(New3DTableHost &host, QWidget *parent) : QDialog(parent), m_host(host)
{
    setObjectName(QStringLiteral("frmNew3DTable"));
    setWindowTitle(QStringLiteral("Tunara Torvik - New 3D Timing Table"));
    // The focus is drawn from the start, not only after the first Tab, so
    // the user sees which control the keys act on.
    setAttribute(Qt::WA_KeyboardFocusChange);
    auto *content = new QWidget;
    auto *frames = new QHBoxLayout(content);
    frames->setContentsMargins(0, 0, 0, 0);
    m_base = addSlider("sldBaseTmg", "lblBaseTmgVal", QStringLiteral("&Base Timing"), m_baseLabel);
    m_trig = addSlider("sldTrigTiming", "lblTrigTimingVal", QStringLiteral("&Trig Timing"), m_trigLabel);
    frames->addWidget(m_base->parentWidget());
    frames->addWidget(m_trig->parentWidget());
    connect(m_base, &QSlider::valueChanged, this, &frmNew3DTable::sldBaseTmg_Change);
    connect(m_trig, &QSlider::valueChanged, this, &frmNew3DTable::sldTrigTiming_Change);

    const auto [update, ok] = makeWizardButtons(this);
    connect(update, &QPushButton::clicked, this, &frmNew3DTable::cmdUpdate_Click);
    connect(ok, &QPushButton::clicked, this, &frmNew3DTable::cmdOK_Click);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(update);
    buttons->addWidget(ok);
    dialogs::layOutScrolling(*this, content, buttons);
}

QSlider *frmNew3DTable::addSlider(const char *sliderName, const char *labelName, const QString &caption,
                                  QLabel *&label)
{
    auto *frame = new QGroupBox(caption, this);
    frame->setObjectName(QStringLiteral("fra") + QString::fromLatin1(sliderName).mid(3));
    label = new QLabel(frame);
    label->setObjectName(QString::fromLatin1(labelName));
    label->setAlignment(Qt::AlignCenter);
    auto *slider = new QSlider(Qt::Vertical, frame);
    slider->setObjectName(QString::fromLatin1(sliderName));
    slider->setRange(0, New3DTableForm::SliderTop);
    slider->setSingleStep(1);
    slider->setPageStep(5);
    slider->setTickPosition(QSlider::NoTicks);
    // Position 0 (40 degrees) at the top; the Up key moves the handle up.
    slider->setInvertedAppearance(true);
    slider->setInvertedControls(true);
    slider->setMinimumHeight(160);
    auto *column = new QVBoxLayout(frame);
    column->addWidget(label);
    column->addWidget(slider, 1, Qt::AlignHCenter);
    return slider;
}

void frmNew3DTable::showValues()
{
    const QSignalBlocker baseQuiet(m_base);
    const QSignalBlocker trigQuiet(m_trig);
    m_base->setValue(New3DTableForm::positionOf(m_form.BaseTmgVal));
    m_trig->setValue(New3DTableForm::positionOf(m_form.TrigTimingVal));
    m_baseLabel->setText(QString::number(m_form.BaseTmgVal));
    m_trigLabel->setText(QString::number(m_form.TrigTimingVal));
}

void frmNew3DTable::Form_Load()
{
    // Its whole layout where the screen has room; on a smaller one it
    // shrinks and its fields scroll above the buttons.
    resize(sizeHint());
    dialogs::centreOnOwnerScreen(*this, parentWidget());
    // On Cancel the table stays on view; the sliders are set all the same.
    const bool clearView = !m_host.isChart3DVisible()
                           || askToCloseTableOnView(m_host.userInterface(), parentWidget(),
                                                    [this] { m_host.saveTable(); });
    m_form = New3DTableForm::opened(m_host.trigTiming());
    showValues();
    if (clearView)
        m_host.clearTableView();
}

void frmNew3DTable::sldBaseTmg_Change(int position)
{
    m_form.moveBaseSlider(position);
    showValues();
}

void frmNew3DTable::sldTrigTiming_Change(int position)
{
    m_form.moveTrigSlider(position);
    showValues();
}

void frmNew3DTable::CreateNewTable()
{
    m_host.showNewTable(flatMap(m_form.BaseTmgVal), m_form.TrigTimingVal);
    m_shownBase = m_form.BaseTmgVal;
}

void frmNew3DTable::cmdUpdate_Click()
{
    CreateNewTable();
}

void frmNew3DTable::cmdOK_Click()
{
    // The trigger timing first, so the map opens with the window it is made for.
    m_host.setTrigTiming(m_form.TrigTimingVal);
    CreateNewTable();
    QDialog::accept();
}

void frmNew3DTable::reject()
{
    if (m_shownBase) {
        const int trig = m_host.trigTiming();
        m_host.showNewTable(flatMap(baseInWindow(*m_shownBase, trig)), trig);
        m_shownBase.reset();
    }
    QDialog::reject();
}

}  // namespace tunara::wizards
