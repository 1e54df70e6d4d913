// "&Open File", "&Save File", restore points and the exit question.
#include "views/chart_2d_view.h"
#include "app/data_fixture.h"
#include "app/data_file_drop.h"
#include "app/unsaved_marker.h"
#include "app/commands/history_commands.h"
#include "dialogs/tune_history_window.h"
#include "views/timing_grid.h"

#include <QCoreApplication>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QStandardPaths>
#include <QUrl>
#include <QAction>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

#include <sys/stat.h>

namespace tunara::test {
namespace {

using ui::Answer;
using ui::Buttons;

const QString CRLF = QStringLiteral("\r\n");
const QString OpenTitle = QStringLiteral("Open Data File");
const QString SaveTitle = QStringLiteral("Save Data File");

class DataFiles : public DataCommandsTest {
protected:
    void SetUp() override
    {
        DataCommandsTest::SetUp();
        linkedWindow();
    }
    // Opens a file through the dialog; the image must be empty before.
    void openFile(const QString &file)
    {
        ui.fileNames = {file};
        ui.answers = {Answer::OK};
        choose(actions().openFile);
    }
    std::vector<UiCall> dialogs(UiCall::Kind kind) const
    {
        std::vector<UiCall> out;
        for (const UiCall &c : ui.calls)
            if (c.kind == kind)
                out.push_back(c);
        return out;
    }
};

// --open-in: the file is loaded as File > Open File loads it, with neither
// the "Loaded" message nor the parameters dialog.
TEST_F(DataFiles, AStartUpOpenIntoAnotherWindowAsksAndShowsNothing)
{
    const QByteArray bytes = transferBytes(memory2D());
    writeFile(QStringLiteral("start.dat"), bytes);
    const std::size_t before = ui.calls.size();
    window->fileCommands().openDataFile(path(QStringLiteral("start.dat")), false);
    EXPECT_EQ(ui.calls.size(), before);
    EXPECT_EQ(imageBytes(), bytes);
    EXPECT_EQ(caption(), titled(QStringLiteral("start.dat")));
}

TEST_F(DataFiles, OpenAndSaveMoveTheSameBytesWithTheirCaptionsAndPrompts)
{
    const QByteArray bytes = transferBytes(memory2D());
    writeFile(QStringLiteral("engine ønë.dat"), bytes + QByteArray(1024 * 1024, '\x7f'));  // extra bytes ignored
    openFile(path(QStringLiteral("engine ønë.dat")));
    EXPECT_EQ(messagesFrom(), QStringList{OpenTitle + QStringLiteral("|Loaded ") + path(QStringLiteral("engine ønë.dat")) +
                                          QStringLiteral(" to buffer. Ready for editing or upload.")});
    EXPECT_EQ(dialogs(UiCall::Kind::OpenFile).at(0).title, QStringLiteral("Open File"));
    EXPECT_EQ(imageBytes(), bytes);
    EXPECT_TRUE(data.filledThisRun.table2D && data.filledThisRun.table3D);
    EXPECT_EQ(caption(), titled(QStringLiteral("engine ønë.dat")));
    EXPECT_TRUE(window->protocol().state().firmwareID().isEmpty());

    // A name typed without an extension is saved as a data file.
    data.params.TrigTiming = 20;
    ui.fileNames = {path(QStringLiteral("copy"))};
    choose(actions().saveFile);
    EXPECT_EQ(dialogs(UiCall::Kind::SaveFile).at(0).title, QStringLiteral("Save File"));
    EXPECT_EQ(readFile(path(QStringLiteral("copy.dat"))), bytesAsSaved(data));
    EXPECT_EQ(caption(), titled(QStringLiteral("copy.dat")));
    EXPECT_FALSE(keeper().hasUnsavedWork());

    // Over an existing, longer file: No chooses again, Yes replaces it whole.
    writeFile(QStringLiteral("long.dat"), QByteArray(2000, '\x01'));
    const QString existing = path(QStringLiteral("long.dat"));
    const QString prompt = existing + CRLF + QStringLiteral("This file already exists.") + CRLF + CRLF +
                           QStringLiteral("Replace existing file?");
    ui.fileNames = {existing, existing};
    ui.answers = {Answer::No, Answer::Yes};
    const std::size_t before = ui.messages().size();
    choose(actions().saveFile);
    EXPECT_EQ(messagesFrom(before), (QStringList{QStringLiteral("File Save|") + prompt,
                                                 QStringLiteral("File Save|") + prompt}));
    EXPECT_EQ(ui.messages().back().buttons, Buttons::YesNoCancel);
    EXPECT_EQ(readFile(existing), bytesAsSaved(data));

    // The dialogs start where the last file was chosen, in this run and the next.
    EXPECT_EQ(dialogs(UiCall::Kind::SaveFile).back().text, existing);
    window.reset();
    linkedWindow();
    ui.fileNames = {};
    const QString captionBefore = caption();
    const QByteArray imageBefore = imageBytes();
    choose(actions().openFile);  // closed without a choice: the command ends quietly
    EXPECT_EQ(dialogs(UiCall::Kind::OpenFile).back().text, m_dir.path());
    EXPECT_EQ(caption(), captionBefore);
    EXPECT_EQ(imageBytes(), imageBefore);
}

TEST_F(DataFiles, CancelledShortOrUnusableOpensLeaveTheImageAsItWasAndSayWhy)
{
    writeFile(QStringLiteral("short.dat"), QByteArray(263, '\x05'));
    QDir(m_dir.path()).mkdir(QStringLiteral("folder.dat"));
    ASSERT_EQ(::mkfifo(path(QStringLiteral("pipe.dat")).toLocal8Bit().constData(), 0600), 0);
    struct Row {
        QString file;
        std::deque<Answer> answers;  // after the overwrite OK
        QString firstMessage;
    } rows[] = {
        {QStringLiteral("short.dat"), {Answer::OK}, OpenTitle + QStringLiteral("|Error - reached premature end-of-file")},
        {QStringLiteral("folder.dat"), {Answer::Abort}, QStringLiteral("it is a folder")},
        // Ignore after a read error ends the open: the box said why.
        {QStringLiteral("pipe.dat"), {Answer::Ignore}, QStringLiteral("it is a device or a pipe")},
    };
    writeFile(QStringLiteral("good.dat"), transferBytes(memory2D()));
    QString goodCaption;
    for (const Row &row : rows) {
        SCOPED_TRACE(row.file.toStdString());
        data.image.ClearEEPROMBuffer();
        openFile(path(QStringLiteral("good.dat")));
        ASSERT_FALSE(data.image.DataBufferEmpty);
        goodCaption = caption();
        const std::size_t before = ui.messages().size();
        ui.fileNames = {path(row.file)};
        ui.answers = {Answer::OK};
        ui.answers.insert(ui.answers.end(), row.answers.begin(), row.answers.end());
        choose(actions().openFile);
        const QStringList shown = messagesFrom(before + 1);
        ASSERT_EQ(shown.size(), 1) << shown.join(u'\n').toStdString();
        EXPECT_TRUE(shown[0].contains(row.firstMessage)) << shown[0].toStdString();
        EXPECT_FALSE(data.image.DataBufferEmpty);
        EXPECT_EQ(imageBytes(), transferBytes(memory2D()));
        EXPECT_EQ(caption(), goodCaption);
        EXPECT_TRUE(ui.answers.empty());
    }
    // OK to overwrite, then Cancel in the file dialog.
    ui.fileNames = {};
    ui.answers = {Answer::OK};
    choose(actions().openFile);
    EXPECT_EQ(imageBytes(), transferBytes(memory2D()));
    EXPECT_EQ(caption(), goodCaption);
    EXPECT_TRUE(ui.answers.empty());
    // No open replaced the image, so none was kept; a whole file that
    // replaces it keeps it first.
    EXPECT_TRUE(keeper().restorePoints().list().isEmpty());
    ui.fileNames = {path(QStringLiteral("good.dat"))};
    ui.answers = {Answer::OK, Answer::OK};  // the overwrite question, the loaded note
    choose(actions().openFile);
    EXPECT_EQ(keeper().restorePoints().list().size(), 1);
}

TEST_F(DataFiles, PromptsRefusalsAndFailuresNeverLoseWorkOrReportItSaved)
{
    // Not found: Retry asks again, Cancel raises "Canceled File Open".
    const QString missing = path(QStringLiteral("missing.dat"));
    ui.fileNames = {missing, missing};
    ui.answers = {Answer::Retry, Answer::Cancel, Answer::Abort};
    choose(actions().openFile);
    const std::vector<UiCall> m = ui.messages();
    ASSERT_EQ(m.size(), 3u);
    EXPECT_EQ(m[0].title + u'|' + m[0].text, QStringLiteral("File Open|") + missing + CRLF + QStringLiteral("File not found."));
    EXPECT_EQ(m[0].buttons, Buttons::RetryCancel);
    EXPECT_TRUE(m[2].text.contains(QStringLiteral("Canceled File Open")));
    EXPECT_TRUE(data.image.DataBufferEmpty);

    // Save refusals: an empty image, an open table.
    ui.answers = {Answer::OK};
    choose(actions().saveFile);
    EXPECT_EQ(messagesFrom(3), QStringList{SaveTitle + QStringLiteral("|Data buffer empty.")});
    writeFile(QStringLiteral("good.dat"), transferBytes(memory2D()));
    openFile(path(QStringLiteral("good.dat")));
    window->session().openActive();
    ui.answers = {Answer::OK};
    choose(actions().saveFile);
    EXPECT_EQ(ui.messages().back().text, QStringLiteral("You must close or save any open table before saving data to a file."));
    EXPECT_TRUE(dialogs(UiCall::Kind::SaveFile).empty());
    window->session().discard();

    // Cancel at the overwrite question of an open: nothing changes.
    ui.answers = {Answer::Cancel};
    choose(actions().openFile);
    EXPECT_EQ(ui.messages().back().text, QStringLiteral("Data buffer not empty. OK to overwrite?"));
    EXPECT_EQ(ui.messages().back().buttons, Buttons::OKCancel);
    EXPECT_EQ(caption(), titled(QStringLiteral("good.dat")));

    // Cancel at the replace question raises "Canceled File Save"; Retry in
    // the error dialog shows the dialog again.
    ui.fileNames = {path(QStringLiteral("good.dat")), path(QStringLiteral("new.dat"))};
    ui.answers = {Answer::Cancel, Answer::Retry};
    const std::size_t before = ui.messages().size();
    choose(actions().saveFile);
    EXPECT_TRUE(messagesFrom(before).at(1).contains(QStringLiteral("Canceled File Save")));
    EXPECT_EQ(readFile(path(QStringLiteral("new.dat"))).size(), 264);

    // A write that fails is never reported as saved. A pipe in place of the
    // file: refused, and left as it was.
    data.params.TrigTiming = 12;
    const QString pipe = path(QStringLiteral("pipe.dat"));
    ASSERT_EQ(::mkfifo(pipe.toLocal8Bit().constData(), 0600), 0);
    ui.fileNames = {pipe};
    ui.answers = {Answer::Yes, Answer::Ignore};
    choose(actions().saveFile);
    EXPECT_EQ(ui.messages().back().title, QStringLiteral("Error"));
    EXPECT_TRUE(ui.messages().back().text.contains(pipe));
    struct stat st {};
    ASSERT_EQ(::stat(pipe.toLocal8Bit().constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    EXPECT_EQ(caption(), titled(QStringLiteral("new.dat")) + QStringLiteral("[*]"));
    EXPECT_TRUE(keeper().hasUnsavedWork());
    // A parameter that fits no byte: nothing is written, the image keeps
    // its parameter block.
    const QByteArray block = imageBytes();
    data.params.IdleStabTrigStartNum = 300;
    ui.fileNames = {path(QStringLiteral("overflow.dat"))};
    ui.answers = {Answer::Ignore};
    choose(actions().saveFile);
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("overflow.dat"))));
    EXPECT_EQ(imageBytes(), block);
}

TEST_F(DataFiles, ExitAsksOnlyAboutWorkThatWasNeitherSavedNorUploaded)
{
    // Whether closing is cancelled, after answering `answer` if asked.
    const auto cancelled = [&](Answer answer) {
        bool cancel = false;
        ui.answers = {answer};
        window->Form_QueryUnload(cancel);
        return cancel;
    };
    EXPECT_FALSE(cancelled(Answer::No));  // empty image: nothing to lose
    writeFile(QStringLiteral("good.dat"), transferBytes(memory2D()));
    openFile(path(QStringLiteral("good.dat")));
    EXPECT_FALSE(cancelled(Answer::No));

    data.params.CrankPulses = 4;
    EXPECT_TRUE(cancelled(Answer::No));
    EXPECT_EQ(ui.messages().back().buttons, Buttons::YesNo);
    EXPECT_TRUE(ui.messages().back().text.endsWith(QStringLiteral("Exit anyway?")));
    EXPECT_FALSE(cancelled(Answer::Yes));

    // Saved: nothing is left to lose.
    ui.fileNames = {path(QStringLiteral("saved.dat"))};
    choose(actions().saveFile);
    EXPECT_FALSE(cancelled(Answer::No));
}

TEST_F(DataFiles, RecentFilesReopenThroughOpenAndAGoneOneLeavesTheList)
{
    // The first dialog of a user with no remembered folder and no
    // documents folder: the home folder.
    ui.fileNames = {};
    choose(actions().openFile);
    EXPECT_EQ(dialogs(UiCall::Kind::OpenFile).at(0).text, QDir::homePath());
    const auto &recent = actions().recentFiles;
    EXPECT_FALSE(recent[0]->isVisible() || actions().recentSeparator->isVisible());

    writeFile(QStringLiteral("good.dat"), transferBytes(memory2D()));
    openFile(path(QStringLiteral("good.dat")));
    ui.fileNames = {path(QStringLiteral("copy.dat"))};
    choose(actions().saveFile);
    EXPECT_EQ(recent[0]->text(), QStringLiteral("&1 copy.dat"));
    EXPECT_EQ(recent[1]->text(), QStringLiteral("&2 good.dat"));
    EXPECT_EQ(recent[1]->toolTip(), QDir::toNativeSeparators(path(QStringLiteral("good.dat"))));
    EXPECT_TRUE(recent[1]->isVisible() && actions().recentSeparator->isVisible());
    EXPECT_FALSE(recent[2]->isVisible());

    // The next run offers them again; choosing one is Open on that path and
    // moves it to the top.
    window.reset();
    linkedWindow();
    const std::size_t before = ui.messages().size();
    ui.answers = {Answer::OK};
    choose(actions().recentFiles[1]);
    EXPECT_EQ(messagesFrom(before), QStringList{OpenTitle + QStringLiteral("|Loaded ") + path(QStringLiteral("good.dat")) +
                                                QStringLiteral(" to buffer. Ready for editing or upload.")});
    EXPECT_EQ(actions().recentFiles[0]->text(), QStringLiteral("&1 good.dat"));
    // Over data in the buffer, Open's overwrite question comes first.
    ui.answers = {Answer::Cancel};
    choose(actions().recentFiles[1]);
    ASSERT_EQ(ui.messages().size(), before + 2);
    EXPECT_EQ(ui.messages().back().buttons, Buttons::OKCancel);
    EXPECT_EQ(ui.messages().back().title, OpenTitle);

    // A file that is gone says so and leaves the list.
    QFile::remove(path(QStringLiteral("copy.dat")));
    ui.answers = {Answer::OK};
    choose(actions().recentFiles[1]);
    EXPECT_EQ(messagesFrom(before + 2),
              QStringList{QStringLiteral("File Open|") + path(QStringLiteral("copy.dat")) + CRLF +
                          QStringLiteral("File not found.")});
    EXPECT_FALSE(actions().recentFiles[1]->isVisible());
}

TEST_F(DataFiles, OnlyOneLocalFileCanBeDroppedAndTheCaptionMarksUnsavedWork)
{
    writeFile(QStringLiteral("good.dat"), transferBytes(memory2D()));
    const auto refusal = [](const QList<QUrl> &urls) {
        QMimeData mime;
        mime.setUrls(urls);
        return ui::DataFileDrop::refusal(mime);
    };
    const QUrl good = QUrl::fromLocalFile(path(QStringLiteral("good.dat")));
    EXPECT_EQ(refusal({good}), QString());
    EXPECT_EQ(refusal({good, good}), QStringLiteral("Drop one data file at a time."));
    EXPECT_EQ(refusal({}), QStringLiteral("Drop one data file at a time."));
    EXPECT_TRUE(refusal({QUrl::fromLocalFile(m_dir.path())}).endsWith(QStringLiteral("This is a folder, not a data file.")));
    EXPECT_TRUE(refusal({QUrl(QStringLiteral("https://example.org/a.dat"))}).startsWith(QStringLiteral("Only a data file")));
    EXPECT_TRUE(refusal({QUrl::fromLocalFile(QStringLiteral("/dev/null"))}).endsWith(QStringLiteral("not a data file.")));
    EXPECT_TRUE(refusal({QUrl::fromLocalFile(path(QStringLiteral("gone.dat")))}).endsWith(QStringLiteral("File not found.")));

    // The mark follows the document as it changes, with no waiting.
    openFile(path(QStringLiteral("good.dat")));
    const QString saved = caption();
    EXPECT_FALSE(window->isWindowModified());
    EXPECT_EQ(caption(), saved);
    window->document().edit()->params.CrankPulses = 4;
    EXPECT_TRUE(window->isWindowModified());
    EXPECT_EQ(caption(), saved + QStringLiteral("[*]"));
    ui.fileNames = {path(QStringLiteral("saved.dat"))};
    choose(actions().saveFile);
    EXPECT_FALSE(window->isWindowModified());
    EXPECT_EQ(caption(), titled(QStringLiteral("saved.dat")));
}

TEST_F(DataFiles, RestorePointsAreReopenedAndTheCaptionShortensNamesOverFortyCharacters)
{
    choose(actions().tuneHistory);
    ui::TuneHistoryWindow &history = window->historyCommands().window();
    EXPECT_TRUE(history.isVisible());
    EXPECT_EQ(history.list()->topLevelItemCount(), 0);
    EXPECT_TRUE(history.findChild<QLabel *>(QStringLiteral("lblHistoryPoint"))
                    ->text()
                    .startsWith(QStringLiteral("No restore points have been kept yet")));

    QByteArray first = transferBytes(memory2D());
    QByteArray second = first;
    second[50 - 16] = char(0x9C);  // the 3D table selected
    const QString forty = QString(36, u'a') + QStringLiteral(".dat");
    writeFile(forty, first);
    writeFile(u'b' + forty, second);
    openFile(path(forty));
    EXPECT_EQ(caption(), titled(forty));
    ui.fileNames = {path(u'b' + forty)};
    ui.answers = {Answer::OK, Answer::OK, Answer::OK};  // overwrite, loaded, the check of its 3D cells
    choose(actions().openFile);  // keeps "first" as it stood
    EXPECT_EQ(caption(), titled(QStringLiteral("...") + forty));

    // The window follows the point the open kept; Open reopens it.
    ASSERT_EQ(history.list()->topLevelItemCount(), 1);
    QStringList columns;
    for (int c = ui::TuneHistoryWindow::EventColumn; c <= ui::TuneHistoryWindow::TableColumn; ++c)
        columns << history.list()->topLevelItem(0)->child(0)->text(c);
    EXPECT_EQ(columns, (QStringList{QStringLiteral("Open: buffer replaced"), forty + QStringLiteral(" (") + m_dir.path() + u')',
                                    QStringLiteral("unknown"), QStringLiteral("2D")}));
    ui.onModal = [](QDialog &) { return int(QDialog::Rejected); };  // the parameters dialog that follows an open
    ui.answers = {Answer::OK, Answer::OK};  // overwrite, loaded
    history.findChild<QPushButton *>(QStringLiteral("cmdHistoryOpen"))->click();
    EXPECT_EQ(imageBytes(), bytesAsSaved(data));
    EXPECT_TRUE(data.params.TimingTable2D);
    // The caption says what the point holds, not its file's name.
    EXPECT_TRUE(caption().contains(QStringLiteral("Tune History: Open: buffer replaced, ")))
        << caption().toStdString();
    EXPECT_EQ(keeper().restorePoints().list().size(), 2);  // "second" was kept before the restore
    EXPECT_EQ(keeper().restorePoints().list().at(0).tableMode, QStringLiteral("3D"));
}

// A CSV file is refused at the open and at the drop, before the overwrite
// question there, and the image stays as it was.
TEST_F(DataFiles, AFileOfAnotherKindIsRefusedAtOpenAndDropLeavingTheImage)
{
    writeFile(QStringLiteral("good.dat"), transferBytes(memory2D()));
    openFile(path(QStringLiteral("good.dat")));
    const QByteArray image = imageBytes();
    const QString goodCaption = caption();
    const qsizetype kept = keeper().restorePoints().list().size();
    writeFile(QStringLiteral("table.csv"), "RPM,500,1000,1500\r\nADV,10,12.5,15\r\n");
    const QString csv = path(QStringLiteral("table.csv"));
    const QString refusal = csv + QStringLiteral(" is a CSV file, not a data file: open the timing table and use "
                                                 "File > Import Table into Grid...");

    std::size_t before = ui.messages().size();
    ui.fileNames = {csv};
    ui.answers = {Answer::OK, Answer::OK};  // overwrite, the refusal
    choose(actions().openFile);
    ASSERT_EQ(ui.messages().size(), before + 2);
    const UiCall shown = ui.messages().back();
    EXPECT_EQ(shown.text, refusal);
    EXPECT_EQ(shown.title, OpenTitle);
    EXPECT_EQ(shown.icon, ui::Icon::Exclamation);
    EXPECT_EQ(shown.buttons, Buttons::OK);

    before = ui.messages().size();
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(csv)});
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    ui.answers = {Answer::OK};  // the refusal, and no overwrite question before it
    // As a file manager drags: the drag enters the window, then drops.
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window.get(), &enter);
    QCoreApplication::sendEvent(window.get(), &drop);
    // The refusal comes once the drop has ended, from the event queue.
    for (int turn = 0; turn < 10 && ui.messages().size() == before; ++turn)
        QCoreApplication::processEvents();
    EXPECT_EQ(messagesFrom(before), QStringList{OpenTitle + u'|' + refusal});
    EXPECT_TRUE(ui.answers.empty());

    EXPECT_EQ(imageBytes(), image);
    EXPECT_FALSE(data.image.DataBufferEmpty);
    EXPECT_EQ(caption(), goodCaption);
    EXPECT_EQ(keeper().restorePoints().list().size(), kept);
}

// Where the file dialogs start: a folder that exists, so no name is typed
// in for the user; the documents folder or the home folder on a fresh
// account, then the folder last used, for the exports too.
TEST_F(DataFiles, EveryFileDialogStartsInAFolderThatExists)
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    ASSERT_FALSE(QFileInfo::exists(documents));
    struct Removed {
        QString folder;
        ~Removed() { QDir(folder).removeRecursively(); }
    } removed{documents};
    const auto startedIn = [this](QAction *command, const QString &chosen = QString()) {
        ui.fileNames = {chosen};
        choose(command);
        return ui.calls.back().text;
    };
    EXPECT_EQ(startedIn(actions().openFile), QDir::homePath());
    data.image.DataBufferEmpty = false;
    data.params.TimingTable2D = true;
    for (QAction *command : {actions().saveFile, actions().exportCsv, actions().exportPdf})
        EXPECT_EQ(startedIn(command), QDir::homePath()) << command->objectName().toStdString();
    ASSERT_TRUE(QDir().mkpath(documents));
    EXPECT_EQ(startedIn(actions().exportPdf), documents);
    EXPECT_EQ(startedIn(actions().exportCsv), documents);

    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("tables")));
    startedIn(actions().exportCsv, path(QStringLiteral("tables/curve.csv")));
    ASSERT_TRUE(QFileInfo::exists(path(QStringLiteral("tables/curve.csv"))));
    EXPECT_EQ(startedIn(actions().exportPdf), path(QStringLiteral("tables")));
    // A remembered folder that is gone is not offered.
    ASSERT_TRUE(QDir(path(QStringLiteral("tables"))).removeRecursively());
    EXPECT_EQ(startedIn(actions().exportCsv), documents);
}

}  // namespace
}  // namespace tunara::test
