#include "app/scripted_ui.h"

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

ui::InputReply ScriptedUserInterface::inputBox(QWidget *, const QString &prompt, const QString &title, const QString &)
{
    calls.push_back({UiCall::Kind::Input, prompt, title, Buttons::OKCancel, ui::Icon::None});
    if (inputs.empty()) {
        ADD_FAILURE() << "unscripted input box " << title.toStdString();
        return {};
    }
    const ui::InputReply r = inputs.front();
    inputs.pop_front();
    return r;
}

QString ScriptedUserInterface::openFileName(QWidget *, const QString &title, const QString &, const QString &)
{
    calls.push_back({UiCall::Kind::OpenFile, QString(), title, Buttons::OKCancel, ui::Icon::None});
    if (fileNames.empty())
        return {};
    const QString f = fileNames.front();
    fileNames.pop_front();
    return f;
}

QString ScriptedUserInterface::saveFileName(QWidget *, const QString &title, const QString &, const QString &)
{
    calls.push_back({UiCall::Kind::SaveFile, QString(), title, Buttons::OKCancel, ui::Icon::None});
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

void ScriptedUserInterface::showHelp(QWidget *, const QString &contentsPage)
{
    calls.push_back({UiCall::Kind::Help, contentsPage, {}, Buttons::OK, ui::Icon::None});
}

int ScriptedUserInterface::showModal(QDialog &dialog)
{
    calls.push_back({UiCall::Kind::Modal, {}, {}, Buttons::OK, ui::Icon::None});
    return modalScript ? modalScript(dialog) : 0;
}

}  // namespace tunara::test
