#include "app/commands/opened_file_check.h"

#include "compare/image_check.h"
#include "core/runtime_error.h"
#include "files/data_file.h"
#include "module/parameter_codec.h"
#include "ui_port/user_interface.h"

#include <QFileInfo>

namespace tunara::ui {

namespace {

const QString CRLF = QStringLiteral("\r\n");

}  // namespace

QString windowNotADataFileText(const QString &path, files::OtherFileKind kind)
{
    return files::notADataFileText(path, kind,
                                   QStringLiteral("open the timing table and use File > Import Table into Grid..."));
}

std::optional<ModuleData> readOtherDataFile(UserInterface &ui, QWidget *parent, const QString &path,
                                            const QString &title)
{
    QByteArray bytes;
    try {
        const datafile::FileStart start = datafile::readStart(path);
        if (start.otherKind) {
            ui.messageBox(parent, windowNotADataFileText(path, *start.otherKind), title, Buttons::OK, Icon::Exclamation);
            return std::nullopt;
        }
        bytes = start.bytes;
    } catch (const RuntimeError &e) {
        ui.messageBox(parent, e.description(), title, Buttons::OK, Icon::Critical);
        return std::nullopt;
    }
    ModuleData data;
    data.image.ClearEEPROMBuffer();
    if (bytes.size() < datafile::Size || !datafile::fillImage(bytes, data.image)) {
        ui.messageBox(parent, path + CRLF + datafile::prematureEndMessage(), title, Buttons::OK, Icon::Exclamation);
        return std::nullopt;
    }
    data.image.DataBufferEmpty = false;
    UpdateParams(data);
    return data;
}

void showOpenedFileCheck(UserInterface &ui, QWidget *parent, const ModuleImage &image, const QString &path)
{
    const compare::CheckReport report = compare::checkImage(image);
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
