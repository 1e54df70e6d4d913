#include "app/data_file_drop.h"

#include "app/commands/opened_file_check.h"
#include "files/data_file.h"
#include "ui_port/user_interface.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <QWidget>

namespace tunara::ui {

DataFileDrop::DataFileDrop(QWidget &window, UserInterface &ui, Open open)
    : QObject(&window), m_window(window), m_ui(ui), m_open(std::move(open))
{
    window.setAcceptDrops(true);
    window.installEventFilter(this);
}

QString DataFileDrop::refusal(const QMimeData &mime)
{
    const QList<QUrl> urls = mime.urls();
    if (urls.size() != 1)
        return QStringLiteral("Drop one data file at a time.");
    if (!urls[0].isLocalFile())
        return QStringLiteral("Only a data file on this computer can be opened: %1").arg(urls[0].toDisplayString());
    const QFileInfo info(urls[0].toLocalFile());
    if (info.isDir())
        return info.filePath() + QStringLiteral("\r\nThis is a folder, not a data file.");
    if (!info.exists())
        return info.filePath() + QStringLiteral("\r\nFile not found.");
    if (!info.isFile())
        return info.filePath() + QStringLiteral("\r\nThis is not a data file.");
    // Said before the open asks whether to overwrite the image; an
    // unreadable or short file is the open's to report.
    const datafile::Loaded loaded = datafile::load(info.filePath(), windowImportAdvice());
    return loaded.otherKind ? loaded.refusal : QString();
}

bool DataFileDrop::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != &m_window)
        return false;
    if (event->type() == QEvent::DragEnter) {
        auto *drag = static_cast<QDragEnterEvent *>(event);
        // Anything with file names is taken, so a wrong drop hears why.
        if (drag->mimeData()->hasUrls())
            drag->acceptProposedAction();
        return true;
    }
    if (event->type() != QEvent::Drop)
        return false;
    auto *drop = static_cast<QDropEvent *>(event);
    drop->acceptProposedAction();
    const QString why = refusal(*drop->mimeData());
    const QString path = why.isEmpty() ? drop->mimeData()->urls()[0].toLocalFile() : QString();
    // After the drop has ended: the file manager is not kept waiting on our
    // questions and messages.
    QTimer::singleShot(0, this, [this, why, path] {
        if (!why.isEmpty())
            m_ui.messageBox(&m_window, why, QStringLiteral("Open Data File"), Buttons::OK, Icon::Exclamation);
        else
            m_open(path);
    });
    return true;
}

}  // namespace tunara::ui
