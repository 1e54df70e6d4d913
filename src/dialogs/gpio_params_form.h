#pragma once

#include "ui_port/user_interface.h"
#include "module/module_document.h"

#include <QString>

#include <optional>

class QWidget;

namespace tunara::dialogs {

// The option buttons of general-purpose output 2. Low four bits of
// GPIO2Mode other than 3 show "Digital Data Log Only (Default)", as the
// module reads them; the mode is kept until an option is clicked.
enum class GpioOption { DataLog, RPMSwitch };

// The five entry fields, in the order they sit on the dialog.
enum class GpioField { IdleStabTrigStartNum, MinIdleRPM, IdleStabAdv, GPIO2MinRPM, GPIO2MaxRPM };

// What the idle stabilisation and GPIO dialog shows.
struct GpioParamsState {
    bool chkIdleStabEnable = false;
    GpioOption gpioOption = GpioOption::DataLog;
    bool rpmFieldsEnabled = false;  // txtGPIO2MinRPM and txtGPIO2MaxRPM
    QString txtIdleStabTrigStartNum;
    QString txtMinIdleRPM;
    QString txtIdleStabAdv;
    QString txtGPIO2MinRPM;
    QString txtGPIO2MaxRPM;

    QString &text(GpioField field);
    const QString &text(GpioField field) const;
};

// The behaviour of the idle stabilisation and GPIO dialog: every field is
// checked when the focus leaves it and then written to its parameter at
// once; there is no cancel.
class GpioParamsForm {
public:
    // Messages of the field checks go through `ui`, owned by `owner`.
    GpioParamsForm(ModuleDocument &document, ui::UserInterface &ui, QWidget *owner = nullptr);

    GpioParamsState state;

    // Fills the fields from the parameters; changes no parameter.
    void Form_Load();

    void chkIdleStabEnable_Click(bool checked);
    void optGPIO2DataLog_Click();
    void optGPIO2RPMSwitch_Click();

    // The field checks: each reads the field's text from the state, reports
    // a value out of range, stores the value and rewrites the field. A text
    // that is not a number is reported and the field shows its parameter
    // again, unchanged.
    void validate(GpioField field);

private:
    std::optional<int> boundedEntry(GpioField field);
    void store(GpioField field, int value);
    void showStored(GpioField field);
    void keepRPMWindow(GpioField left);

    ModuleDocument &m_document;
    ui::UserInterface &m_ui;
    QWidget *m_owner;
};

}  // namespace tunara::dialogs
