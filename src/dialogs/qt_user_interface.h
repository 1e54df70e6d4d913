#pragma once

#include "ui_port/user_interface.h"

#include <QPointer>

namespace tunara::ui {

class HelpWindow;

// The running program's answers: Qt's standard dialogs and our help viewer.
class QtUserInterface : public UserInterface {
public:
    QtUserInterface();
    ~QtUserInterface() override;

    Answer messageBox(QWidget *owner, const QString &text, const QString &title, Buttons buttons,
                      Icon icon) override;
    InputReply inputBox(QWidget *owner, const QString &prompt, const QString &title,
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

private:
    // One help window for the whole run; showing the help again raises it.
    QPointer<HelpWindow> m_help;
};

}  // namespace tunara::ui
