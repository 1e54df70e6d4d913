#include "dialogs/qt_user_interface.h"

#include "dialogs/help_window.h"
#include "dialogs/screen_placement.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QFileDialog>
#include <QGridLayout>
#include <QGuiApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScreen>
#include <QSpacerItem>
#include <QStyle>

#include <algorithm>

namespace tunara::ui {

namespace {

QMessageBox::StandardButtons standardButtons(Buttons buttons)
{
    switch (buttons) {
    case Buttons::OK:
        return QMessageBox::Ok;
    case Buttons::OKCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case Buttons::AbortRetryIgnore:
        return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
    case Buttons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case Buttons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case Buttons::RetryCancel:
        return QMessageBox::Retry | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

QMessageBox::Icon boxIcon(Icon icon)
{
    switch (icon) {
    case Icon::None:
        return QMessageBox::NoIcon;
    case Icon::Critical:
        return QMessageBox::Critical;
    case Icon::Question:
        return QMessageBox::Question;
    case Icon::Exclamation:
        return QMessageBox::Warning;
    case Icon::Information:
        return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}

// Closing a box by its close button or Esc counts as its cancelling button.
Answer answerOf(int button, Buttons buttons)
{
    switch (button) {
    case QMessageBox::Ok:
        return Answer::OK;
    case QMessageBox::Cancel:
        return Answer::Cancel;
    case QMessageBox::Abort:
        return Answer::Abort;
    case QMessageBox::Retry:
        return Answer::Retry;
    case QMessageBox::Ignore:
        return Answer::Ignore;
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        break;
    }
    switch (buttons) {
    case Buttons::OK:
        return Answer::OK;
    case Buttons::AbortRetryIgnore:
        return Answer::Abort;
    case Buttons::YesNo:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

}  // namespace

QtUserInterface::QtUserInterface() = default;

QtUserInterface::~QtUserInterface()
{
    delete m_help.data();
}

Answer QtUserInterface::messageBox(QWidget *owner, const QString &text, const QString &title, Buttons buttons,
                                   Icon icon)
{
    QMessageBox box(boxIcon(icon), title, text, standardButtons(buttons), owner);
    box.setTextFormat(Qt::PlainText);
    // A short text under a long title would cut the title off: a row as
    // wide as the title bar needs keeps the box at least that wide, as far
    // as the screen allows.
    const QScreen *screen = owner ? owner->window()->screen() : QGuiApplication::primaryScreen();
    const int widest = screen ? screen->availableGeometry().width() * 9 / 10 : dialogs::titleBarWidth(box);
    if (auto *grid = qobject_cast<QGridLayout *>(box.layout()))
        grid->addItem(new QSpacerItem(std::min(dialogs::titleBarWidth(box), widest), 0, QSizePolicy::Minimum,
                                      QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    if (buttons == Buttons::AbortRetryIgnore) {
        box.setEscapeButton(QMessageBox::Abort);
        // Enter answers the first button, Abort, as the platform's box does:
        // a default of Retry would bring a failing step back again and again.
        box.setDefaultButton(QMessageBox::Abort);
    }
    // Yes/No alone asks only the program's own guards ("Upload anyway?",
    // "Exit anyway?"): Enter must not walk past one into a lost image or an
    // unchecked upload.
    if (buttons == Buttons::YesNo)
        box.setDefaultButton(QMessageBox::No);
    return answerOf(box.exec(), buttons);
}

InputReply QtUserInterface::inputBox(QWidget *owner, const QString &prompt, const QString &title,
                                     const QString &defaultText)
{
    QInputDialog dialog(owner);
    dialog.setWindowTitle(title);
    dialog.setLabelText(prompt);
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setTextValue(defaultText);
    // A serial number or comment of 40 characters shows whole, wide
    // letters too; the title bar keeps its whole caption.
    if (auto *line = dialog.findChild<QLineEdit *>())
        line->setMinimumWidth(line->fontMetrics().horizontalAdvance(QString(40, u'M')) +
                              2 * line->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) + 8);
    dialog.setMinimumWidth(dialogs::titleBarWidth(dialog));
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return InputReply{dialog.textValue(), true};
}

QString QtUserInterface::openFileName(QWidget *owner, const QString &title, const QString &folder,
                                      const QString &filter)
{
    // Any name may be chosen: the caller's own "File not found." prompt
    // answers a name that does not exist, so the dialog must not refuse it
    // first. Qt's own dialog, because a desktop's dialog may refuse it in
    // open mode whatever the file mode says.
    QFileDialog dialog(owner, title, folder, filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles().value(0);
}

QString QtUserInterface::saveFileName(QWidget *owner, const QString &title, const QString &folder,
                                      const QString &filter, QString *chosenFilter)
{
    // The program asks its own replace question after the dialog.
    return QFileDialog::getSaveFileName(owner, title, folder, filter, chosenFilter, QFileDialog::DontConfirmOverwrite);
}

bool QtUserInterface::printerSetup(QWidget *owner, QPrinter &printer)
{
    QPageSetupDialog dialog(&printer, owner);
    return dialog.exec() == QDialog::Accepted;
}

bool QtUserInterface::printDialog(QWidget *owner, QPrinter &printer)
{
    QPrintDialog dialog(&printer, owner);
    return dialog.exec() == QDialog::Accepted;
}

QStringList QtUserInterface::installedPrinters()
{
    return QPrinterInfo::availablePrinterNames();
}

bool QtUserInterface::choosePrinter(QWidget *owner, QPrinter &printer, const QString &title)
{
    // The print dialog only records its choice in the printer; as a set-up
    // dialog its accepting button says OK rather than Print.
    QPrintDialog dialog(&printer, owner);
    dialog.setWindowTitle(title);
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    if (auto *buttons = dialog.findChild<QDialogButtonBox *>()) {
        if (QPushButton *ok = buttons->button(QDialogButtonBox::Ok))
            ok->setText(QStringLiteral("OK"));
    }
    return dialog.exec() == QDialog::Accepted;
}

void QtUserInterface::printPreview(QWidget *owner, QPrinter &printer, const QString &title,
                                   const std::function<void(QPrinter &)> &paint)
{
    QPrintPreviewDialog dialog(&printer, owner);
    dialog.setWindowTitle(title);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&paint](QPrinter *p) { paint(*p); });
    dialog.exec();
}

void QtUserInterface::showHelp(QWidget *owner, const QString &contentsPage)
{
    if (!m_help) {
        m_help = new HelpWindow(owner);
        // Whole, on the screen the user works on.
        dialogs::centreOnOwnerScreen(*m_help, owner);
    }
    m_help->showContents(contentsPage);
    m_help->show();
    m_help->raise();
    m_help->activateWindow();
}

int QtUserInterface::showModal(QDialog &dialog)
{
    return dialog.exec();
}

}  // namespace tunara::ui
