#include "app/save_path.h"

#include "ui_port/user_interface.h"

#include <QFileInfo>

namespace tunara::ui {

QString askSavePath(UserInterface &ui, QWidget *owner, const QString &title, const QString &folder,
                    const QString &filter, const QString &extension, QString *chosenFilter)
{
    QString path = ui.saveFileName(owner, title, folder, filter, chosenFilter);
    if (path.isEmpty())
        return {};
    if (QFileInfo(path).suffix().isEmpty())
        path += extension;
    // The file dialog is told not to ask (the data file save asks in its own
    // words), so every other save asks here.
    const QString crlf = QStringLiteral("\r\n");
    if (QFileInfo::exists(path) &&
        ui.messageBox(owner, path + crlf + QStringLiteral("This file already exists.") + crlf + crlf +
                                 QStringLiteral("Replace existing file?"),
                      QStringLiteral("File Save"), Buttons::YesNo, Icon::Exclamation) != Answer::Yes)
        return {};
    return path;
}

}  // namespace tunara::ui
