#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QDialog;
class QPrinter;
class QWidget;

namespace tunara::ui {

// The platform's standard message-box button sets.
enum class Buttons { OK, OKCancel, AbortRetryIgnore, YesNoCancel, YesNo, RetryCancel };

// Message-box icons.
enum class Icon { None, Critical, Question, Exclamation, Information };

// The button a message box was closed with, numbered as the program's
// callers expect them (Abort 3, Retry 4, Ignore 5, ...).
enum class Answer { OK = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };

struct InputReply {
    QString text;       // empty when the user cancelled
    bool accepted = false;
};

// Everything that asks the user something or shows a window of its own goes
// through this one interface: the running program answers with real dialogs,
// tests with a script, so no window code calls QMessageBox or QFileDialog.
class UserInterface {
public:
    virtual ~UserInterface() = default;

    // A modal message box owned by `owner` (may be null).
    virtual Answer messageBox(QWidget *owner, const QString &text, const QString &title, Buttons buttons,
                              Icon icon) = 0;

    // The input box: a prompt, a title and a default text.
    virtual InputReply inputBox(QWidget *owner, const QString &prompt, const QString &title,
                                const QString &defaultText) = 0;

    // File dialogs; an empty result means the user cancelled. A filter of
    // several file types separates them with ";;"; chosenFilter, when given,
    // receives the one the user picked.
    virtual QString openFileName(QWidget *owner, const QString &title, const QString &folder,
                                 const QString &filter) = 0;
    virtual QString saveFileName(QWidget *owner, const QString &title, const QString &folder,
                                 const QString &filter, QString *chosenFilter = nullptr) = 0;

    // Printer set-up and the print dialog; false when the user cancelled.
    virtual bool printerSetup(QWidget *owner, QPrinter &printer) = 0;
    virtual bool printDialog(QWidget *owner, QPrinter &printer) = 0;

    // The names of the printers installed on this machine (none: empty).
    virtual QStringList installedPrinters() = 0;
    // The printer set-up: pick the printer and set up its page, under the
    // given title; the choice is left in `printer`. False when cancelled.
    virtual bool choosePrinter(QWidget *owner, QPrinter &printer, const QString &title) = 0;
    // The print preview of a document that `paint` draws on the printer it
    // is given (once per page change the user makes).
    virtual void printPreview(QWidget *owner, QPrinter &printer, const QString &title,
                              const std::function<void(QPrinter &)> &paint) = 0;

    // Shows the contents page of the help (an HTML file) in the help viewer.
    virtual void showHelp(QWidget *owner, const QString &contentsPage) = 0;

    // Runs a dialog of the program modally and returns its result code.
    virtual int showModal(QDialog &dialog) = 0;
};

}  // namespace tunara::ui
