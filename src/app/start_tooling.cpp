#include "app/start_tooling.h"

#include "app/commands/compare_commands.h"
#include "app/commands/file_commands.h"
#include "app/commands/history_commands.h"
#include "app/commands/report_commands.h"
#include "app/main_window.h"
#include "dialogs/splash_window.h"
#include "dialogs/tune_history_window.h"
#include "files/file_safety.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImageWriter>
#include <QPainter>
#include <QTimer>

#include <cstdio>

namespace tunara::ui {

namespace {

QString splashShotPath(const QString &screenshot)
{
    const QFileInfo info(screenshot);
    return info.dir().filePath(info.completeBaseName() + QStringLiteral("-splash.") +
                               (info.suffix().isEmpty() ? QStringLiteral("png") : info.suffix()));
}

void screenshotFailed(const QString &path, const QString &problem)
{
    std::fprintf(stderr, "The screenshot %s could not be written: %s.\n", qPrintable(QDir::toNativeSeparators(path)),
                 qPrintable(problem));
}

// Writes a picture under the output rules (never through a link at the
// name, never over an input); the name's suffix picks the format, PNG when
// it has none. False, with the reason printed, when the picture cannot be
// written.
bool writePicture(const QPixmap &picture, const QString &path, const QStringList &inputs)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, suffix.isEmpty() ? QByteArrayLiteral("png") : suffix.toLatin1());
    QString problem;
    if (!writer.write(picture.toImage())) {
        problem = writer.errorString();
    } else {
        try {
            files::writeWhole(path, buffer.data(), inputs);
            return true;
        } catch (const files::FileRefused &e) {
            problem = e.reason();
        }
    }
    screenshotFailed(path, problem);
    return false;
}

// The data file named on the command line: as "&Open File" opens it, or
// straight into the window --open-in names.
void openAtStart(frmTunara_Main &window, const StartOptions &o)
{
    if (o.openIn.isEmpty()) {
        window.fileCommands().openDataFile(o.dataFile);
        return;
    }
    if (!window.fileCommands().openDataFile(o.dataFile, false))
        return;
    const MainActions &a = window.actions();
    if (o.openIn == QStringLiteral("parameters")) {
        a.editModParams->trigger();
    } else if (o.openIn == QStringLiteral("preview")) {
        window.reportCommands().printPreview(o.comment);
    } else if (o.openIn == QStringLiteral("history")) {
        // The table open, File > Tune History beside it, and the newest
        // point compared with the table as its button does.
        a.editTimingTable->trigger();
        window.move(0, 0);
        TuneHistoryWindow &history = window.historyCommands().window();
        history.setGeometry(window.width() / 2, window.height() / 2, 960, 600);
        window.historyCommands().mnuTuneHistory_Click();
        window.historyCommands().compareNewest();
    } else {
        a.editTimingTable->trigger();
        if (!o.compareWith.isEmpty() && window.isTableOpen())
            window.compareCommands().compareWithFile(o.compareWith);
    }
}

// The main window and Tune History as they lie on the screen, on a plain
// backdrop.
QPixmap picturePair(QWidget &window, QWidget &history)
{
    const QRect both = window.geometry().united(history.geometry());
    QPixmap picture(both.size());
    picture.fill(QColor(0xC8, 0xCC, 0xD0));
    QPainter painter(&picture);
    painter.drawPixmap(window.geometry().topLeft() - both.topLeft(), window.grab());
    painter.drawPixmap(history.geometry().topLeft() - both.topLeft(), history.grab());
    return picture;
}

}  // namespace

QStringList startInputs(const StartOptions &options)
{
    QStringList inputs;
    for (const QString &path : {options.dataFile, options.compareWith})
        if (!path.isEmpty())
            inputs << path;
    return inputs;
}

StartTooling::StartTooling(StartOptions options) : m_options(std::move(options)), m_inputs(startInputs(m_options)) {}

bool StartTooling::picturesWritable() const
{
    const QString &shot = m_options.screenshot;
    if (shot.isEmpty())
        return true;
    if (const QString suffix = QFileInfo(shot).suffix().toLower();
        !suffix.isEmpty() && !QImageWriter::supportedImageFormats().contains(suffix.toLatin1())) {
        screenshotFailed(shot, QStringLiteral("no picture format is called %1").arg(suffix));
        return false;
    }
    for (const QString &path : {splashShotPath(shot), shot}) {
        try {
            files::checkOutput(path, m_inputs);
        } catch (const files::FileRefused &e) {
            screenshotFailed(path, e.reason());
            return false;
        }
    }
    return true;
}

void StartTooling::save(const QPixmap &picture, const QString &path)
{
    // A picture that cannot be written fails the run: nobody is watching a
    // screenshot run to notice a missing file.
    m_failed = !writePicture(picture, path, m_inputs + QStringList{m_options.trace}) || m_failed;
}

void StartTooling::beforeSplash(frmTunara_Splash &splash)
{
    if (m_options.screenshot.isEmpty())
        return;
    QTimer::singleShot(300, &splash, [this, &splash] {
        save(splash.grab(), splashShotPath(m_options.screenshot));
        splash.tmrSplashUnload_Timer();
    });
}

void StartTooling::windowShown(frmTunara_Main &window)
{
    if (!m_options.dataFile.isEmpty())
        QTimer::singleShot(0, &window, [this, &window] { openAtStart(window, m_options); });
    if (!m_options.screenshot.isEmpty())
        QTimer::singleShot(800, &window, [this, &window] { takeWindowPicture(window); });
}

void StartTooling::takeWindowPicture(frmTunara_Main &window)
{
    // A dialog open over the window (--open-in parameters or preview) is the picture.
    QWidget *dialog = m_options.openIn.isEmpty() ? nullptr : QApplication::activeModalWidget();
    if (m_options.simulate && !dialog)
        window.mnuPortSetup_Click();
    if (m_options.openIn == QStringLiteral("history"))
        save(picturePair(window, window.historyCommands().window()), m_options.screenshot);
    else
        save(dialog ? dialog->grab() : window.grab(), m_options.screenshot);
    // Leaves without the exit's questions about an open table or dialog; a
    // message still up (the file's load message) would hold the run: leaving
    // ends its loop too.
    if (QApplication::activeModalWidget() || window.isTableOpen())
        QCoreApplication::exit(m_failed ? 1 : 0);
    else
        window.close();
}

}  // namespace tunara::ui
