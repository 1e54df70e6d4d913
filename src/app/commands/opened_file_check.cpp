#include "app/commands/opened_file_check.h"

#include "compare/image_check.h"
#include "files/data_file.h"
#include "ui_port/user_interface.h"

#include <QFileInfo>

namespace tunara::ui {

namespace {

const QString CRLF = QStringLiteral("\r\n");

}  // namespace

QString windowImportAdvice()
{
    return QStringLiteral("open the timing table and use File > Import Table into Grid...");
}

std::optional<ModuleData> readOtherDataFile(UserInterface &ui, QWidget *parent, const QString &path,
                                            const QString &title)
{
    datafile::Loaded loaded = datafile::load(path, windowImportAdvice());
    switch (loaded.outcome) {
    case datafile::Loaded::Outcome::Loaded:
        return std::move(loaded.data);
    case datafile::Loaded::Outcome::Unreadable:
        ui.messageBox(parent, loaded.refusal, title, Buttons::OK, Icon::Critical);
        break;
    case datafile::Loaded::Outcome::NotADataFile:
        ui.messageBox(parent, loaded.refusal, title, Buttons::OK, Icon::Exclamation);
        break;
    case datafile::Loaded::Outcome::Short:
        ui.messageBox(parent, path + CRLF + loaded.refusal, title, Buttons::OK, Icon::Exclamation);
        break;
    }
    return std::nullopt;
}

void showOpenedFileCheck(UserInterface &ui, QWidget *parent, const ModuleImage &image, const QString &path)
{
    const compare::CheckReport report = compare::checkImage(image, QLocale());
    if (report.items.empty())
        return;
    const QString text =
        QStringLiteral("The program reads %1 item(s) of %2 other than the file stores them; a save or an upload "
                       "writes them as read:")
            .arg(report.items.size())
            .arg(QFileInfo(path).fileName()) +
        CRLF + CRLF + compare::itemListText(report.items, 20);
    ui.messageBox(parent, text, QStringLiteral("Check Data File"), Buttons::OK, Icon::Exclamation);
}

}  // namespace tunara::ui
