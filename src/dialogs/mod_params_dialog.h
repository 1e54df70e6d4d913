#pragma once

#include "dialogs/mod_params_form.h"

#include <QDialog>

#include <functional>

class QAbstractButton;
class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSlider;

namespace tunara::ui {
class UserInterface;
}  // namespace tunara::ui

namespace tunara::dialogs {

// "Tunara Torvik Zoruro - Edit Module Parameters". Created for one showing:
// the constructor runs the opening sequence and centres the dialog on the
// owner's screen. Closing it by the close box or Esc keeps the changes made
// so far but does not apply the trigger timing; only OK does.
class frmModParams : public QDialog {
    Q_OBJECT
public:
    static QString caption();

    // `userInterface` asks the trigger timing question at OK; without one
    // OK applies at once.
    frmModParams(ModuleDocument &document, QWidget *owner = nullptr,
                 ui::UserInterface *userInterface = nullptr);

    ModParamsForm &form() { return m_form; }

    // OK: when table cells would be limited, asks first. To a new trigger
    // timing No keeps the dialog open with nothing applied (and Enter then
    // no longer presses OK until the trigger timing moves); with the
    // trigger timing unchanged No leaves those cells as they are. Then the
    // form's OK and the dialog closes as accepted.
    void cmdOK_Click();

private:
    struct SliderFrame {
        QGroupBox *frame = nullptr;
        QSlider *slider = nullptr;
        QLabel *value = nullptr;
    };

    void buildControls();
    QWidget *buildLeftColumn();
    QWidget *buildSliderRow();
    SliderFrame makeSliderFrame(const char *frameName, const char *caption, const char *sliderName,
                                const char *labelName, int minimum, int maximum, int largeStep, int smallStep);
    QCheckBox *makeCheckBox(const char *name, const char *caption);
    QRadioButton *makeOption(const char *name, const char *caption);
    void connectHandlers();
    void connectSlider(QSlider *slider, void (ModParamsForm::*handler)(int));
    void connectCheckBox(QCheckBox *box, void (ModParamsForm::*handler)(bool));
    void connectOption(QRadioButton *option, std::function<void()> handler);
    // Shows the form's state; the widgets' own signals are held meanwhile
    // so that showing a value never counts as a user's change.
    void showState();
    void showSlider(const SliderFrame &s, int position, const QString &label, bool visible);
    // OK as the button Enter presses, or (held) not.
    void holdDefaultOK(bool held);

    ModParamsForm m_form;
    ui::UserInterface *m_ui = nullptr;

    QCheckBox *m_chkHighSpeedDataLog = nullptr;
    QCheckBox *m_chkTimingDisable = nullptr;
    QCheckBox *m_chkMultiSparkDisable = nullptr;
    QCheckBox *m_chkRPMLimitDisable = nullptr;
    QCheckBox *m_chkStartRtd = nullptr;
    QCheckBox *m_chkFixedMaxRPMLimit = nullptr;
    QRadioButton *m_opt2D = nullptr;
    QRadioButton *m_opt3D = nullptr;
    QRadioButton *m_optDisable = nullptr;
    QRadioButton *m_optMAP[3] = {nullptr, nullptr, nullptr};
    QGroupBox *m_fraMAPSensor = nullptr;
    SliderFrame m_trig;
    SliderFrame m_rpm;
    SliderFrame m_crank;
    SliderFrame m_retardComp;
    SliderFrame m_startRetard;
    QPushButton *m_cmdOK = nullptr;
};

}  // namespace tunara::dialogs
