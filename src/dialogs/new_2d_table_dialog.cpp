#include "dialogs/new_2d_table_dialog.h"

#include "ui_port/user_interface.h"
#include "dialogs/screen_placement.h"
#include "dialogs/scrolling_layout.h"
#include "dialogs/wizard_buttons.h"

#include <QFocusEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tunara::wizards {

using ui::Buttons;
using ui::Icon;

frmNew2DTable::frmNew2DTable(New2DTableHost &host, QWidget *parent) : QDialog(parent), m_host(host)
{
    setObjectName(QStringLiteral("frmNew2DTable"));
    setWindowTitle(QStringLiteral("Tunara Torvik - New 2D Timing Table"));
    // The focus is drawn from the start, not only after the first Tab, so
    // the user sees which control the keys act on.
    setAttribute(Qt::WA_KeyboardFocusChange);
    auto *frame = new QGroupBox(QStringLiteral("Advance Curve Parameters"), this);
    auto *fields = new QFormLayout(frame);
    addBox(fields, "txtTrigTimingVal", QStringLiteral("&Trigger Timing (Deg)"), &New2DTableForm::enterTrigTiming);
    addBox(fields, "txtStartRPMVal", QStringLiteral("&Start RPM"), &New2DTableForm::enterStartRPM);
    addBox(fields, "txtFinalRPMVal", QStringLiteral("&Final RPM"), &New2DTableForm::enterFinalRPM);
    addBox(fields, "txtStartTimingVal", QStringLiteral("Start &Advance (Deg)"), &New2DTableForm::enterStartTiming);
    addBox(fields, "txtFinalTimingVal", QStringLiteral("Final A&dvance (Deg)"), &New2DTableForm::enterFinalTiming);

    const auto [update, ok] = makeWizardButtons(this);
    connect(update, &QPushButton::clicked, this, &frmNew2DTable::cmdUpdate_Click);
    connect(ok, &QPushButton::clicked, this, &frmNew2DTable::cmdOK_Click);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(update);
    buttons->addWidget(ok);
    dialogs::layOutScrolling(*this, frame, buttons);
    for (int i = 0; i + 1 < m_boxes.size(); ++i)
        setTabOrder(m_boxes[i].first, m_boxes[i + 1].first);
    setTabOrder(m_boxes.last().first, update);
    setTabOrder(update, ok);
}

QLineEdit *frmNew2DTable::addBox(QFormLayout *layout, const char *name, const QString &label, Entry entry)
{
    auto *box = new QLineEdit(this);
    box->setObjectName(QString::fromLatin1(name));
    box->setMaxLength(32);
    box->installEventFilter(this);
    layout->addRow(label, box);
    m_boxes.append({box, entry});
    return box;
}

QLineEdit *frmNew2DTable::box(const char *name) const
{
    return findChild<QLineEdit *>(QString::fromLatin1(name));
}

QStringList frmNew2DTable::valueTexts() const
{
    return {New2DTableForm::degreesText(m_form.TrigTimingVal), New2DTableForm::rpmText(m_form.StartRPMVal),
            New2DTableForm::rpmText(m_form.FinalRPMVal), New2DTableForm::degreesText(m_form.StartTimingVal),
            New2DTableForm::degreesText(m_form.FinalTimingVal)};
}

void frmNew2DTable::showValues(const QStringList &before, const QLineEdit *checked)
{
    const QStringList now = valueTexts();
    for (int i = 0; i < m_boxes.size(); ++i) {
        QLineEdit *box = m_boxes[i].first;
        if ((box == checked || now[i] != before.value(i)) && box->text() != now[i])
            box->setText(now[i]);
    }
}

void frmNew2DTable::Form_Load()
{
    // Its whole layout where the screen has room; on a smaller one it
    // shrinks and its fields scroll above the buttons.
    resize(sizeHint());
    dialogs::centreOnOwnerScreen(*this, parentWidget());
    // On Cancel the table stays on view; the wizard opens all the same. The
    // boxes are read after the question: closing a declined wizard's table
    // puts the trigger timing it had set back.
    if (!m_host.isChart2DVisible()
        || askToCloseTableOnView(m_host.userInterface(), parentWidget(), [this] { m_host.saveTable(); }))
        m_host.clearTableView();
    m_form = New2DTableForm::opened(m_host.trigTiming());
    showValues({}, nullptr);
}

void frmNew2DTable::validate(QLineEdit *box)
{
    if (m_validating)
        return;
    for (const auto &[b, entry] : m_boxes) {
        if (b != box)
            continue;
        m_validating = true;
        const QStringList before = valueTexts();
        const std::optional<FieldMessage> message = (m_form.*entry)(box->text());
        if (message)
            m_host.userInterface().messageBox(this, message->text, message->title, Buttons::OK, Icon::Exclamation);
        showValues(before, box);
        m_validating = false;
    }
}

bool frmNew2DTable::eventFilter(QObject *watched, QEvent *event)
{
    // A box is checked when the focus moves on to another control of the
    // wizard; not when another window or a menu takes it for a while.
    if (event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            validate(qobject_cast<QLineEdit *>(watched));
    }
    return QDialog::eventFilter(watched, event);
}

void frmNew2DTable::CreateNewTable()
{
    // A box whose text was never checked (its button pressed by key, or the
    // focus never left it) is checked first, so what was typed is used.
    const QStringList shown = valueTexts();
    for (int i = 0; i < m_boxes.size(); ++i)
        if (m_boxes[i].first->text() != shown[i])
            validate(m_boxes[i].first);
    const std::optional<Table2D> table = generateCurve(m_form);
    if (!table) {
        m_host.userInterface().messageBox(this, rpmOrderMessage(), wizardTitle(), Buttons::OK, Icon::Exclamation);
        return;
    }
    m_host.showNewTable(*table, m_form.TrigTimingVal);
}

void frmNew2DTable::cmdUpdate_Click()
{
    CreateNewTable();
}

void frmNew2DTable::cmdOK_Click()
{
    CreateNewTable();
    accept();
}

}  // namespace tunara::wizards
