#pragma once

#include "dialogs/gpio_params_form.h"

#include <QDialog>

#include <vector>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tunara::dialogs {

// "Tunara Torvik Zoruro  - Edit Idle Stabilization and GPIO Parameters",
// laid out at its design positions in the bold system font. Created for one
// showing: the constructor fills the fields and centres the dialog on the
// owner's screen. A field is checked when the focus leaves it for another
// control of the dialog, and when OK is chosen while it has the focus; a
// field being edited when the dialog is closed by its close box or Esc is
// neither checked nor stored.
class frmGPIOParams : public QDialog {
    Q_OBJECT
public:
    static QString caption();

    frmGPIOParams(ModuleDocument &document, ui::UserInterface &ui, QWidget *owner = nullptr);

    GpioParamsForm &form() { return m_form; }

    void cmdOK_Click();
    void done(int result) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    QLineEdit *makeField(QWidget *frame, GpioField field, const char *name, const char *labelName,
                         const char *labelText, int labelLeft, int labelTop, int fieldLeft, int fieldTop);
    void connectHandlers();
    // Checks a field: its text goes to the form, the form's answer back.
    void validateField(QLineEdit *edit);
    void showState();
    // Puts a control at its design place (twips, relative to its frame);
    // `textRoom` is the width its text must fit in (0: nothing to fit).
    void place(QWidget *widget, const QRect &twipsRect, int textRoom = 0);
    // The design scaled as a whole so that every text fits in its room:
    // the system font can be wider than the one the design was drawn for.
    double fittingScale() const;
    void applyPlacement(double scale);
    int pixels(double twips, double scale) const;

    struct Placed {
        QWidget *widget;
        QRect twips;     // a width of 0: as wide as the text (labels)
        int textRoom;    // twips; 0: not fitted
    };
    std::vector<Placed> m_placed;

    GpioParamsForm m_form;
    QCheckBox *m_chkIdleStabEnable = nullptr;
    QRadioButton *m_optGPIO2DataLog = nullptr;
    QRadioButton *m_optGPIO2RPMSwitch = nullptr;
    QLineEdit *m_fields[5] = {nullptr, nullptr, nullptr, nullptr, nullptr};  // by GpioField
    QPushButton *m_cmdOK = nullptr;
    bool m_closing = false;
};

}  // namespace tunara::dialogs
