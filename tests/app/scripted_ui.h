#pragma once

#include "ui_port/user_interface.h"

#include <QString>

#include <deque>
#include <functional>
#include <vector>

namespace tunara::test {

// One thing the program asked of the user.
struct UiCall {
    enum class Kind { Message, Input, OpenFile, SaveFile, PrinterSetup, PrintDialog, Help, Modal, PrintPreview };
    Kind kind = Kind::Message;
    QString text;   // message text, input prompt, help page, a file dialog's folder
    QString title;
    ui::Buttons buttons = ui::Buttons::OK;
    ui::Icon icon = ui::Icon::None;
};

// The user-interface double: records every call and answers from a script.
// A message box with nothing left in the script fails the test and gets the
// box's safe answer (Abort, OK or Cancel).
class ScriptedUserInterface : public ui::UserInterface {
public:
    std::vector<UiCall> calls;
    std::deque<ui::Answer> answers;
    std::deque<ui::InputReply> inputs;
    std::deque<QString> fileNames;
    // The file type picked in the next save dialogs (by its place in the
    // filter, from 0); the first type when empty.
    std::deque<int> fileTypes;
    // Plays the user's part in a modal dialog; its return is the dialog's
    // result. Without it a modal dialog is only recorded.
    std::function<int(QDialog &)> onModal;
    // The machine's printers (none unless a test installs some).
    QStringList printers;
    // Answers of the printer set-up: a path picks "print to this PDF file";
    // an empty script cancels.
    std::deque<QString> printerChoices;
    // Where a print preview's pages go (as a PDF); empty shows nothing.
    QString previewFile;

    // What each input box offered, in order.
    QStringList offered;

    // Message boxes only, in order.
    std::vector<UiCall> messages() const;

    ui::Answer messageBox(QWidget *owner, const QString &text, const QString &title, ui::Buttons buttons,
                          ui::Icon icon) override;
    ui::InputReply inputBox(QWidget *owner, const QString &prompt, const QString &title,
                            const QString &defaultText) override;
    QString openFileName(QWidget *owner, const QString &title, const QString &folder,
                         const QString &filter) override;
    QString saveFileName(QWidget *owner, const QString &title, const QString &folder,
                         const QString &filter, QString *chosenFilter = nullptr) override;
    bool printerSetup(QWidget *owner, QPrinter &printer) override;
    bool printDialog(QWidget *owner, QPrinter &printer) override;
    QStringList installedPrinters() override;
    bool choosePrinter(QWidget *owner, QPrinter &printer, const QString &title) override;
    void printPreview(QWidget *owner, QPrinter &printer, const QString &title,
                      const std::function<void(QPrinter &)> &paint) override;
    void showHelp(QWidget *owner, const QString &contentsPage) override;
    int showModal(QDialog &dialog) override;
};

}  // namespace tunara::test
