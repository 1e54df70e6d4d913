#include "dialogs/gpio_params_dialog.h"

#include "dialogs/screen_placement.h"

#include <QApplication>
#include <QCheckBox>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>

namespace tunara::dialogs {

namespace {

// The design's client area, in twips.
constexpr int ClientWidth = 8520;
constexpr int ClientHeight = 3804;
constexpr int LabelGap = 90;

int indexOf(GpioField field)
{
    return static_cast<int>(field);
}

// Focus changes that are the user's moving to another control; the others
// (another window activated, a menu or message box opened) are not leaving
// the field.
bool leavesForAnotherControl(Qt::FocusReason reason)
{
    switch (reason) {
    case Qt::MouseFocusReason:
    case Qt::TabFocusReason:
    case Qt::BacktabFocusReason:
    case Qt::ShortcutFocusReason:
    case Qt::OtherFocusReason:
        return true;
    default:
        return false;
    }
}

}  // namespace

QString frmGPIOParams::caption()
{
    return QStringLiteral("Tunara Torvik Zoruro  - Edit Idle Stabilization and GPIO Parameters");
}

frmGPIOParams::frmGPIOParams(ModuleDocument &document, ui::UserInterface &ui, QWidget *owner)
    : QDialog(owner), m_form(document, ui, this)
{
    setObjectName(QStringLiteral("frmGPIOParams"));
    setWindowTitle(caption());
    setModal(true);
    // The focus is drawn from the start, not only after the first Tab, so
    // the user sees which control the keys act on.
    setAttribute(Qt::WA_KeyboardFocusChange);
    QFont bold = QApplication::font();
    bold.setBold(true);
    setFont(bold);
    buildControls();
    const double scale = fittingScale();
    applyPlacement(scale);
    setFixedSize(pixels(ClientWidth, scale), pixels(ClientHeight, scale));
    connectHandlers();
    m_form.Form_Load();
    showState();
    centreOnOwnerScreen(*this, owner);
}

int frmGPIOParams::pixels(double twips, double scale) const
{
    return twipsToPixelsFor(*this, twips * scale);
}

void frmGPIOParams::place(QWidget *widget, const QRect &twipsRect, int textRoom)
{
    m_placed.push_back({widget, twipsRect, textRoom});
}

double frmGPIOParams::fittingScale() const
{
    double scale = 1.0;
    for (const Placed &p : m_placed) {
        const int room = p.textRoom > 0 ? pixels(p.textRoom, 1.0) : 0;
        if (room > 0)
        {
            // A frame's own hint is its minimum (its caption and borders).
            const int needed = std::max(p.widget->sizeHint().width(), p.widget->minimumSizeHint().width());
            scale = std::max(scale, double(needed) / room);
        }
    }
    return scale;
}

void frmGPIOParams::applyPlacement(double scale)
{
    for (const Placed &p : m_placed) {
        const QPoint topLeft(pixels(p.twips.left(), scale), pixels(p.twips.top(), scale));
        if (p.twips.width() == 0)
            p.widget->setGeometry(QRect(topLeft, p.widget->sizeHint()));
        else
            p.widget->setGeometry(QRect(topLeft, QSize(pixels(p.twips.width(), scale), pixels(p.twips.height(), scale))));
    }
}

QLineEdit *frmGPIOParams::makeField(QWidget *frame, GpioField field, const char *name, const char *labelName,
                                    const char *labelText, int labelLeft, int labelTop, int fieldLeft, int fieldTop)
{
    auto *label = new QLabel(QString::fromUtf8(labelText), frame);
    label->setObjectName(QString::fromLatin1(labelName));
    // A label may reach to its field, less a small gap.
    place(label, QRect(labelLeft, labelTop, 0, 0), fieldLeft - labelLeft - LabelGap);
    auto *edit = new QLineEdit(frame);
    edit->setObjectName(QString::fromLatin1(name));
    place(edit, QRect(fieldLeft, fieldTop, 855, 375));
    edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setBuddy(edit);
    edit->installEventFilter(this);
    m_fields[indexOf(field)] = edit;
    return edit;
}

void frmGPIOParams::buildControls()
{
    auto *idle = new QGroupBox(QStringLiteral("Idle Stabilization Parameters"), this);
    idle->setObjectName(QStringLiteral("fraIdleStab"));
    place(idle, QRect(120, 120, 4332, 2772), 4332);
    m_chkIdleStabEnable = new QCheckBox(QStringLiteral("&Enable Idle Stabilization"), idle);
    m_chkIdleStabEnable->setObjectName(QStringLiteral("chkIdleStabEnable"));
    place(m_chkIdleStabEnable, QRect(360, 360, 2892, 495), 2892);
    makeField(idle, GpioField::IdleStabTrigStartNum, "txtIdleStabTrigStartNum", "lblIdleStabTrigStartNum",
              "Trigger &Pulses After Start", 240, 960, 3120, 840);
    makeField(idle, GpioField::MinIdleRPM, "txtMinIdleRPM", "lblMinIdleRPM", "Minimum &Idle RPM", 240, 1560, 3120,
              1440);
    makeField(idle, GpioField::IdleStabAdv, "txtIdleStabAdv", "lblIdleStabAdv", "Idle Stabilization &Advance", 240,
              2160, 3120, 2040);

    auto *gpio = new QGroupBox(QStringLiteral("General Purpose Input/Output 2"), this);
    gpio->setObjectName(QStringLiteral("fraGPIO2Params"));
    place(gpio, QRect(4680, 120, 3732, 2772), 3732);
    m_optGPIO2DataLog = new QRadioButton(QStringLiteral("&Digital Data Log Only (Default)"), gpio);
    m_optGPIO2DataLog->setObjectName(QStringLiteral("optGPIO2DataLog"));
    place(m_optGPIO2DataLog, QRect(240, 360, 3372, 372), 3372);
    m_optGPIO2RPMSwitch = new QRadioButton(QStringLiteral("RPM &Window Switch"), gpio);
    m_optGPIO2RPMSwitch->setObjectName(QStringLiteral("optGPIO2RPMSwitch"));
    place(m_optGPIO2RPMSwitch, QRect(240, 840, 2772, 372), 2772);
    makeField(gpio, GpioField::GPIO2MinRPM, "txtGPIO2MinRPM", "lblGPIO2MinRPM", "Mi&nimum RPM", 240, 1560, 2520, 1440);
    makeField(gpio, GpioField::GPIO2MaxRPM, "txtGPIO2MaxRPM", "lblGPIO2MaxRPM", "Ma&ximum RPM", 240, 2160, 2520, 2040);

    m_cmdOK = new QPushButton(QStringLiteral("OK"), this);
    m_cmdOK->setObjectName(QStringLiteral("cmdOK"));
    place(m_cmdOK, QRect(1800, 3120, 1092, 495));
    m_cmdOK->setDefault(true);
    // A click on OK leaves the focus where it is, so OK itself checks the
    // field being edited before the dialog closes (as Enter does); Tab can
    // still reach the button.
    m_cmdOK->setFocusPolicy(Qt::TabFocus);
}

void frmGPIOParams::connectHandlers()
{
    connect(m_chkIdleStabEnable, &QCheckBox::clicked, this, [this](bool checked) {
        m_form.chkIdleStabEnable_Click(checked);
        showState();
    });
    connect(m_optGPIO2DataLog, &QRadioButton::clicked, this, [this] {
        m_form.optGPIO2DataLog_Click();
        showState();
    });
    connect(m_optGPIO2RPMSwitch, &QRadioButton::clicked, this, [this] {
        m_form.optGPIO2RPMSwitch_Click();
        showState();
    });
    connect(m_cmdOK, &QPushButton::clicked, this, &frmGPIOParams::cmdOK_Click);
}

bool frmGPIOParams::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusOut && !m_closing) {
        auto *edit = qobject_cast<QLineEdit *>(watched);
        const QWidget *next = QApplication::focusWidget();
        // Leaving for another control of this dialog: the new focus widget
        // is already set when the field hears that it lost the focus.
        if (edit && next && next != edit && next->window() == this &&
            leavesForAnotherControl(static_cast<QFocusEvent *>(event)->reason()))
            validateField(edit);
    }
    return QDialog::eventFilter(watched, event);
}

void frmGPIOParams::validateField(QLineEdit *edit)
{
    for (int i = 0; i < 5; ++i) {
        if (m_fields[i] != edit)
            continue;
        const auto field = static_cast<GpioField>(i);
        m_form.state.text(field) = edit->text();
        m_form.validate(field);
        showState();
        return;
    }
}

void frmGPIOParams::showState()
{
    const GpioParamsState &st = m_form.state;
    m_chkIdleStabEnable->setChecked(st.chkIdleStabEnable);
    (st.gpioOption == GpioOption::RPMSwitch ? m_optGPIO2RPMSwitch : m_optGPIO2DataLog)->setChecked(true);
    for (int i = 0; i < 5; ++i) {
        const QString &text = st.text(static_cast<GpioField>(i));
        if (m_fields[i]->text() != text)
            m_fields[i]->setText(text);
    }
    m_fields[indexOf(GpioField::GPIO2MinRPM)]->setEnabled(st.rpmFieldsEnabled);
    m_fields[indexOf(GpioField::GPIO2MaxRPM)]->setEnabled(st.rpmFieldsEnabled);
}

void frmGPIOParams::cmdOK_Click()
{
    if (auto *edit = qobject_cast<QLineEdit *>(QApplication::focusWidget()); edit && edit->window() == this)
        validateField(edit);
    accept();
}

void frmGPIOParams::done(int result)
{
    m_closing = true;
    QDialog::done(result);
}

}  // namespace tunara::dialogs
