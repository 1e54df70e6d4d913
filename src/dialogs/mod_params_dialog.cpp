#include "dialogs/mod_params_dialog.h"

#include "dialogs/mod_param_sliders.h"
#include "dialogs/screen_placement.h"
#include "dialogs/scrolling_layout.h"

#include "ui_port/user_interface.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

#include <algorithm>

namespace tunara::dialogs {

namespace {

QGroupBox *makeFrame(QWidget *parent, const char *name, const char *caption)
{
    auto *frame = new QGroupBox(QString::fromUtf8(caption), parent);
    frame->setObjectName(QString::fromLatin1(name));
    // A hidden frame keeps its place, so the dialog does not jump about as
    // the options show and hide the frames.
    QSizePolicy policy = frame->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    frame->setSizePolicy(policy);
    return frame;
}

}  // namespace

QString frmModParams::caption()
{
    return QStringLiteral("Tunara Torvik Zoruro - Edit Module Parameters");
}

frmModParams::frmModParams(ModuleDocument &document, QWidget *owner,
                           ui::UserInterface *userInterface)
    : QDialog(owner), m_form(document), m_ui(userInterface)
{
    setObjectName(QStringLiteral("frmModParams"));
    setWindowTitle(caption());
    setModal(true);
    // The focus is drawn from the start, not only after the first Tab, so
    // the user sees which control the keys act on.
    setAttribute(Qt::WA_KeyboardFocusChange);
    buildControls();
    connectHandlers();
    m_form.Form_Load();
    showState();
    // Its whole design layout where the screen has room (adjustSize() would
    // cut it down to two thirds of the screen and squeeze the sliders into
    // one another); on a smaller screen centreOnOwnerScreen() shrinks it and
    // the controls scroll above OK.
    const QSize design = sizeHint();
    setMaximumSize(design);
    resize(design);
    centreOnOwnerScreen(*this, owner);
}

QCheckBox *frmModParams::makeCheckBox(const char *name, const char *caption)
{
    auto *box = new QCheckBox(QString::fromUtf8(caption));
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

QRadioButton *frmModParams::makeOption(const char *name, const char *caption)
{
    auto *option = new QRadioButton(QString::fromUtf8(caption));
    option->setObjectName(QString::fromLatin1(name));
    return option;
}

frmModParams::SliderFrame frmModParams::makeSliderFrame(const char *frameName, const char *caption,
                                                        const char *sliderName, const char *labelName, int minimum,
                                                        int maximum, int largeStep, int smallStep)
{
    SliderFrame s;
    s.frame = makeFrame(this, frameName, caption);
    s.slider = new QSlider(Qt::Vertical, s.frame);
    s.slider->setObjectName(QString::fromLatin1(sliderName));
    // The positions run from the minimum at the top to the maximum at the
    // bottom. The widget holds them negated: its own top is its maximum, so
    // Up, Page Up and the wheel move the thumb up (raising the value) and
    // the groove fills from the bottom as the value rises.
    s.slider->setRange(-maximum, -minimum);
    s.slider->setPageStep(largeStep);
    s.slider->setSingleStep(smallStep);
    s.slider->setTickPosition(QSlider::TicksBothSides);
    s.slider->setTickInterval(largeStep);
    s.slider->setMinimumHeight(160);
    s.value = new QLabel(QStringLiteral("0"), s.frame);
    s.value->setObjectName(QString::fromLatin1(labelName));
    s.value->setAlignment(Qt::AlignCenter);
    s.value->setMinimumWidth(s.value->fontMetrics().horizontalAdvance(QStringLiteral("00000")));
    auto *layout = new QVBoxLayout(s.frame);
    layout->addWidget(s.slider, 1, Qt::AlignHCenter);
    layout->addWidget(s.value);
    return s;
}

QWidget *frmModParams::buildLeftColumn()
{
    auto *column = new QWidget(this);
    auto *layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);

    QGroupBox *general = makeFrame(column, "fraGeneralOptions", "General Options");
    auto *generalLayout = new QVBoxLayout(general);
    m_chkHighSpeedDataLog = makeCheckBox("chkHighSpeedDataLog", "&High Speed Data Logging");
    m_chkTimingDisable = makeCheckBox("chkTimingDisable", "Disable &Timing Functions");
    m_chkMultiSparkDisable = makeCheckBox("chkMultiSparkDisable", "Disable &Multi-Spark");
    m_chkRPMLimitDisable = makeCheckBox("chkRPMLimitDisable", "Disable &RPM Limit");
    m_chkStartRtd = makeCheckBox("chkStartRtd", "&Automatic Start Retard");
    m_chkFixedMaxRPMLimit = makeCheckBox("chkFixedMaxRPMLimit", "&Fixed Maximum RPM Limit");
    for (QCheckBox *box : {m_chkHighSpeedDataLog, m_chkTimingDisable, m_chkMultiSparkDisable, m_chkRPMLimitDisable,
                           m_chkStartRtd, m_chkFixedMaxRPMLimit})
        generalLayout->addWidget(box);
    layout->addWidget(general);

    auto *modes = new QHBoxLayout;
    QGroupBox *table = makeFrame(column, "fraTimingTableOptions", "Timing Table Options");
    auto *tableLayout = new QVBoxLayout(table);
    m_opt2D = makeOption("opt2DTimingTable", "2&D Timing Table");
    m_opt3D = makeOption("opt3DTimingTable", "3D Timin&g Table");
    m_optDisable = makeOption("optDisableTimingTable", "Disa&ble Timing Table");
    for (QRadioButton *option : {m_opt2D, m_opt3D, m_optDisable})
        tableLayout->addWidget(option);
    modes->addWidget(table);

    m_fraMAPSensor = makeFrame(column, "fraMAPSensor", "MAP Sensor");
    auto *mapLayout = new QVBoxLayout(m_fraMAPSensor);
    m_optMAP[0] = makeOption("optMAP1Bar", "&1 bar");
    m_optMAP[1] = makeOption("optMAP2Bar", "&2 bar");
    m_optMAP[2] = makeOption("optMAP3Bar", "&3 bar");
    for (QRadioButton *option : m_optMAP)
        mapLayout->addWidget(option);
    modes->addWidget(m_fraMAPSensor);
    layout->addLayout(modes);
    layout->addStretch(1);
    return column;
}

QWidget *frmModParams::buildSliderRow()
{
    using namespace sliders;
    auto *row = new QWidget(this);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    m_trig = makeSliderFrame("fraTrigTiming", "Tr&ig Timing", "sldTrigTiming", "lblTrigTimingVal", TrigTiming.minimum,
                             TrigTiming.maximum, TrigTiming.largeStep, TrigTiming.smallStep);
    m_rpm = makeSliderFrame("fraMaxRPMLimit", "RPM &Limit", "sldMaxRPMLimit", "lblMaxRPMLimitVal", MaxRPMLimit.minimum,
                            MaxRPMLimit.maximum, MaxRPMLimit.largeStep, MaxRPMLimit.smallStep);
    m_crank = makeSliderFrame("fraCrankPulses", "&Cranking Pulses", "sldCrankPulses", "lblCrankPulsesVal",
                              CrankPulses.minimum, CrankPulses.maximum, CrankPulses.largeStep, CrankPulses.smallStep);
    m_retardComp = makeSliderFrame("fraRetardComp", "Retard Com&p", "sldRetardComp", "lblRetardCompVal",
                                   RetardComp.minimum, RetardComp.maximum, RetardComp.largeStep, RetardComp.smallStep);
    m_startRetard =
        makeSliderFrame("fraStartRtd", "&Start Retard", "sldStartRetard", "lblStartRtdVal", StartRetard.minimum,
                        StartRetard.maximum, StartRetard.largeStep, StartRetard.smallStep);
    // Five equal columns, however long their captions.
    int width = 0;
    for (const SliderFrame *s : {&m_trig, &m_rpm, &m_crank, &m_retardComp, &m_startRetard})
        width = std::max(width, s->frame->minimumSizeHint().width());
    for (const SliderFrame *s : {&m_trig, &m_rpm, &m_crank, &m_retardComp, &m_startRetard}) {
        s->frame->setMinimumWidth(width);
        layout->addWidget(s->frame, 1);
    }
    return row;
}

void frmModParams::buildControls()
{
    auto *content = new QWidget;
    auto *top = new QHBoxLayout(content);
    top->setContentsMargins(0, 0, 0, 0);
    top->addWidget(buildLeftColumn());
    top->addWidget(buildSliderRow(), 1);

    m_cmdOK = new QPushButton(QStringLiteral("OK"), this);
    m_cmdOK->setObjectName(QStringLiteral("cmdOK"));
    m_cmdOK->setDefault(true);
    m_cmdOK->setMinimumWidth(m_cmdOK->sizeHint().width() + 24);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_cmdOK);

    layOutScrolling(*this, content, buttons);
}

void frmModParams::connectCheckBox(QCheckBox *box, void (ModParamsForm::*handler)(bool))
{
    connect(box, &QCheckBox::clicked, this, [this, handler](bool checked) {
        (m_form.*handler)(checked);
        showState();
    });
}

void frmModParams::connectOption(QRadioButton *option, std::function<void()> handler)
{
    connect(option, &QRadioButton::clicked, this, [this, handler = std::move(handler)] {
        handler();
        showState();
    });
}

void frmModParams::connectSlider(QSlider *slider, void (ModParamsForm::*handler)(int))
{
    connect(slider, &QSlider::valueChanged, this, [this, handler](int negatedPosition) {
        (m_form.*handler)(-negatedPosition);
        showState();
    });
}

void frmModParams::connectHandlers()
{
    connectCheckBox(m_chkRPMLimitDisable, &ModParamsForm::chkRPMLimitDisable_Click);
    connectCheckBox(m_chkMultiSparkDisable, &ModParamsForm::chkMultiSparkDisable_Click);
    connectCheckBox(m_chkTimingDisable, &ModParamsForm::chkTimingDisable_Click);
    connectCheckBox(m_chkHighSpeedDataLog, &ModParamsForm::chkHighSpeedDataLog_Click);
    connectCheckBox(m_chkFixedMaxRPMLimit, &ModParamsForm::chkFixedMaxRPMLimit_Click);
    connectCheckBox(m_chkStartRtd, &ModParamsForm::chkStartRtd_Click);
    connectOption(m_opt2D, [this] { m_form.opt2DTimingTable_Click(); });
    connectOption(m_opt3D, [this] { m_form.opt3DTimingTable_Click(); });
    connectOption(m_optDisable, [this] { m_form.optDisableTimingTable_Click(); });
    for (int sensor = 0; sensor < 3; ++sensor)
        connectOption(m_optMAP[sensor], [this, sensor] { m_form.optMAP_Click(sensor); });
    connectSlider(m_trig.slider, &ModParamsForm::sldTrigTiming_Change);
    connect(m_trig.slider, &QSlider::valueChanged, this, [this] { holdDefaultOK(false); });
    connectSlider(m_rpm.slider, &ModParamsForm::sldMaxRPMLimit_Change);
    connectSlider(m_crank.slider, &ModParamsForm::sldCrankPulses_Change);
    connectSlider(m_retardComp.slider, &ModParamsForm::sldRetardComp_Change);
    connectSlider(m_startRetard.slider, &ModParamsForm::sldStartRetard_Change);
    connect(m_cmdOK, &QPushButton::clicked, this, &frmModParams::cmdOK_Click);
}

void frmModParams::showSlider(const SliderFrame &s, int position, const QString &label, bool visible)
{
    const QSignalBlocker hold(s.slider);
    s.slider->setValue(-position);
    s.value->setText(label);
    s.frame->setVisible(visible);
}

void frmModParams::showState()
{
    const ModParamsState &st = m_form.state;
    m_chkRPMLimitDisable->setChecked(st.chkRPMLimitDisable);
    m_chkMultiSparkDisable->setChecked(st.chkMultiSparkDisable);
    m_chkTimingDisable->setChecked(st.chkTimingDisable);
    m_chkHighSpeedDataLog->setChecked(st.chkHighSpeedDataLog);
    m_chkFixedMaxRPMLimit->setChecked(st.chkFixedMaxRPMLimit);
    m_chkStartRtd->setChecked(st.chkStartRtd);

    m_opt2D->setChecked(st.tableMode == TableModeOption::Table2D);
    m_opt3D->setChecked(st.tableMode == TableModeOption::Table3D);
    m_optDisable->setChecked(st.tableMode == TableModeOption::Disabled);
    m_optMAP[std::clamp(st.mapSensorOption, 0, 2)]->setChecked(true);
    m_fraMAPSensor->setVisible(st.fraMAPSensorVisible);

    showSlider(m_trig, st.sldTrigTiming, st.lblTrigTimingVal, st.fraTrigTimingVisible);
    showSlider(m_rpm, st.sldMaxRPMLimit, st.lblMaxRPMLimitVal, st.fraMaxRPMLimitVisible);
    showSlider(m_crank, st.sldCrankPulses, st.lblCrankPulsesVal, true);
    showSlider(m_retardComp, st.sldRetardComp, st.lblRetardCompVal, true);
    showSlider(m_startRetard, st.sldStartRetard, st.lblStartRtdVal, st.fraStartRtdVisible);
}

void frmModParams::cmdOK_Click()
{
    const QString question = m_ui ? m_form.trigTimingQuestion() : QString();
    if (question.isEmpty()) {
        m_form.cmdOK_Click();
        accept();
        return;
    }
    const bool yes =
        m_ui->messageBox(this, question, caption(), ui::Buttons::YesNo, ui::Icon::Question) == ui::Answer::Yes;
    if (!yes && m_form.trigTimingChanged()) {
        // No to a new trigger timing leaves the dialog open with nothing
        // applied. Enter no longer presses OK, so pressing it again and
        // again never brings the same question back; the focus waits on
        // the trigger timing, whose next move makes OK the default again.
        holdDefaultOK(true);
        m_trig.slider->setFocus(Qt::OtherFocusReason);
        return;
    }
    // With the trigger timing unchanged either answer closes the dialog:
    // No applies the rest and leaves the cells outside the window as they
    // are.
    m_form.cmdOK_Click(yes);
    accept();
}

void frmModParams::holdDefaultOK(bool held)
{
    m_cmdOK->setAutoDefault(!held);
    m_cmdOK->setDefault(!held);
}

}  // namespace tunara::dialogs
