#include "app/scripted_ui.h"

#include <QDialog>
#include <QPrinter>

#include <gtest/gtest.h>

namespace tunara::test {

using ui::Answer;
using ui::Buttons;

std::vector<UiCall> ScriptedUserInterface::messages() const
{
    std::vector<UiCall> out;
    for (const UiCall &c : calls)
        if (c.kind == UiCall::Kind::Message)
            out.push_back(c);
    return out;
}

Answer ScriptedUserInterface::messageBox(QWidget *, const QString &text, const QString &title, Buttons buttons,
                                         ui::Icon icon)
{
    calls.push_back({UiCall::Kind::Message, text, title, buttons, icon});
    if (answers.empty()) {
        ADD_FAILURE() << "unscripted message box \"" << text.toStdString() << "\" titled \"" << title.toStdString()
                      << "\"";
        switch (buttons) {
        case Buttons::OK:
            return Answer::OK;
        case Buttons::AbortRetryIgnore:
            return Answer::Abort;
        default:
            return Answer::Cancel;
        }
    }
    const Answer a = answers.front();
    answers.pop_front();
    return a;
}

ui::InputReply ScriptedUserInterface::inputBox(QWidget *, const QString &prompt, const QString &title,
                                               const QString &defaultText)
{
    calls.push_back({UiCall::Kind::Input, prompt, title, Buttons::OKCancel, ui::Icon::None});
    offered << defaultText;
    if (inputs.empty()) {
        ADD_FAILURE() << "unscripted input box " << title.toStdString();
        return {};
    }
    const ui::InputReply r = inputs.front();
    inputs.pop_front();
    return r;
}

QString ScriptedUserInterface::openFileName(QWidget *, const QString &title, const QString &folder, const QString &)
{
    calls.push_back({UiCall::Kind::OpenFile, folder, title, Buttons::OKCancel, ui::Icon::None});
    if (fileNames.empty())
        return {};
    const QString f = fileNames.front();
    fileNames.pop_front();
    return f;
}

QString ScriptedUserInterface::saveFileName(QWidget *, const QString &title, const QString &folder, const QString &filter,
                                           QString *chosenFilter)
{
    calls.push_back({UiCall::Kind::SaveFile, folder, title, Buttons::OKCancel, ui::Icon::None});
    const int type = fileTypes.empty() ? 0 : fileTypes.front();
    if (!fileTypes.empty())
        fileTypes.pop_front();
    if (chosenFilter)
        *chosenFilter = filter.split(QStringLiteral(";;")).value(type);
    if (fileNames.empty())
        return {};
    const QString f = fileNames.front();
    fileNames.pop_front();
    return f;
}

bool ScriptedUserInterface::printerSetup(QWidget *, QPrinter &)
{
    calls.push_back({UiCall::Kind::PrinterSetup, {}, {}, Buttons::OKCancel, ui::Icon::None});
    return false;
}

bool ScriptedUserInterface::printDialog(QWidget *, QPrinter &)
{
    calls.push_back({UiCall::Kind::PrintDialog, {}, {}, Buttons::OKCancel, ui::Icon::None});
    return false;
}

QStringList ScriptedUserInterface::installedPrinters()
{
    return printers;
}

bool ScriptedUserInterface::choosePrinter(QWidget *, QPrinter &printer, const QString &title)
{
    calls.push_back({UiCall::Kind::PrinterSetup, {}, title, Buttons::OKCancel, ui::Icon::None});
    if (printerChoices.empty())
        return false;
    printer.setOutputFileName(printerChoices.front());
    printerChoices.pop_front();
    return true;
}

void ScriptedUserInterface::printPreview(QWidget *, QPrinter &printer, const QString &title,
                                         const std::function<void(QPrinter &)> &paint)
{
    calls.push_back({UiCall::Kind::PrintPreview, {}, title, Buttons::OK, ui::Icon::None});
    if (previewFile.isEmpty())
        return;
    // The pages go to a file of their own: a preview leaves the printer as it was.
    QPrinter preview(QPrinter::HighResolution);
    preview.setOutputFileName(previewFile);
    preview.setPageLayout(printer.pageLayout());
    paint(preview);
}

void ScriptedUserInterface::showHelp(QWidget *, const QString &contentsPage)
{
    calls.push_back({UiCall::Kind::Help, contentsPage, {}, Buttons::OK, ui::Icon::None});
}

int ScriptedUserInterface::showModal(QDialog &dialog)
{
    calls.push_back({UiCall::Kind::Modal, dialog.objectName(), dialog.windowTitle(), Buttons::OK, ui::Icon::None});
    return onModal ? onModal(dialog) : 0;
}

}  // namespace tunara::test
