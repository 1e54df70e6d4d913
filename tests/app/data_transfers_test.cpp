// Download and upload from the window against the simulated module.
#include "app/data_fixture.h"
#include "views/chart_2d_view.h"
#include "app/elided_label.h"
#include "app/port_setup_panel.h"
#include "app/progress_frame.h"
#include "views/timing_grid.h"

#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QMimeData>
#include <QShortcutEvent>
#include <QMenuBar>
#include <QProgressBar>
#include <QStatusBar>
#include <QTest>
#include <QTimer>

namespace tunara::test {
namespace {

using ui::Answer;
using ui::Buttons;
using ui::Icon;

const QString Download = QStringLiteral("Download From EEPROM");
const QString Upload = QStringLiteral("Upload To EEPROM");
const QString FirmwareMsg = QStringLiteral("Firmware ID: Torvik-1 Zoruro V2.1");
const QString Completed = QStringLiteral("Upload completed. Remember to cycle power off for 5 seconds\r\n"
                                         "and then on again before starting engine.");

// Counts the shortcut events that reach the object it watches.
class ShortcutsSeen : public QObject {
public:
    int count = 0;
    bool eventFilter(QObject *, QEvent *e) override
    {
        count += e->type() == QEvent::Shortcut || e->type() == QEvent::ShortcutOverride;
        return false;
    }
};

class Transfers : public DataCommandsTest {
protected:
    void withFaults(const std::function<void(sim::Faults &)> &change)
    {
        sim::Faults f{};
        change(f);
        sim.setFaults(f);
    }
    // Runs `action` once, when the progress bar first reaches `percent`.
    void atProgress(int percent, std::function<void()> action)
    {
        auto done = std::make_shared<bool>(false);
        QObject::connect(window->progressFrame()->bar(), &QProgressBar::valueChanged, window.get(),
                         [=](int value) {
                             if (value >= percent && !*done) {
                                 *done = true;
                                 action();
                             }
                         });
    }
    void downloadOk()
    {
        ui.answers.insert(ui.answers.end(), {Answer::OK, Answer::OK});
        choose(actions().download);
    }
    // The field's whole text: a narrow bar shows it shortened with "…".
    QString statusLabel(const char *name) const
    {
        return window->findChild<ui::ElidedLabel *>(QLatin1String(name))->fullText();
    }
};

TEST_F(Transfers, DownloadFillsTheImageAndKeepsWhatItReplaces)
{
    sim.setMemory(memory2D());
    linkedWindow();
    downloadOk();  // an empty image asks nothing first
    EXPECT_EQ(messagesFrom(), (QStringList{Download + u'|' + FirmwareMsg,
                                           Download + QStringLiteral("|Downloaded data to buffer. Ready for editing.")}));
    EXPECT_EQ(imageBytes(), transferBytes(memory2D()));
    EXPECT_EQ(caption(), titled(QStringLiteral("Downloaded Data")));
    EXPECT_FALSE(keeper().hasUnsavedWork());
    EXPECT_FALSE(serial.isOpen());
    EXPECT_EQ(statusLabel("lblStatusFirmware"), QStringLiteral("Firmware: Torvik-1 Zoruro V2.1"));
    EXPECT_EQ(statusLabel("lblStatusTable"), QStringLiteral("Table: 2D"));
    QList<restore::Entry> kept = keeper().restorePoints().list();
    ASSERT_EQ(kept.size(), 1);
    EXPECT_EQ(kept[0].event, restore::Event::Downloaded);
    EXPECT_EQ(kept[0].firmware, QStringLiteral("Torvik-1 Zoruro V2.1"));
    EXPECT_EQ(readFile(kept[0].path), transferBytes(memory2D()));

    // Cancel at the overwrite question: nothing changes, nothing is kept.
    data.params.TrigTiming = 25;  // an edit not yet saved anywhere
    const QByteArray edited = bytesAsSaved(data);
    ui.answers = {Answer::Cancel};
    choose(actions().download);
    EXPECT_EQ(messagesFrom(2), QStringList{Download + QStringLiteral("|Data buffer not empty. OK to overwrite?")});
    EXPECT_EQ(data.params.TrigTiming, 25);
    EXPECT_EQ(keeper().restorePoints().list().size(), 1);

    // OK: the edited image is kept before the module's replaces it.
    ui.answers = {Answer::OK};
    downloadOk();
    kept = keeper().restorePoints().list();
    ASSERT_EQ(kept.size(), 3);
    EXPECT_EQ(kept[1].event, restore::Event::BeforeDownload);
    EXPECT_EQ(readFile(kept[1].path), edited);
    EXPECT_EQ(data.params.TrigTiming, memory2D()[48]);
}

// A download that fails or is stopped leaves the buffer, the caption and the
// open table's unsaved edits as they were; the question named those edits.
TEST_F(Transfers, FailedOrStoppedDownloadKeepsEverything)
{
    sim.setMemory(memory2D());
    ui::frmTunara_Main &w = linkedWindow();
    downloadOk();
    choose(actions().editTimingTable);
    ASSERT_TRUE(w.session().isOpen());
    w.session().model().setValue(0, 3, 20, QStringLiteral("Edit"));
    const ModuleImage image = data.image;
    const QString kept = QStringLiteral("\r\nThe data buffer keeps what it held.");
    struct Row {
        const char *name;
        std::function<void()> arrange;
        std::deque<Answer> answers;
        QString last;
    } rows[] = {
        {"silent mid-read", [&] { withFaults([](sim::Faults &f) { f.silenceAfterBytes = 60; }); },
         {Answer::OK, Answer::OK, Answer::Abort, Answer::OK}, Download + QStringLiteral("|Download failed.") + kept},
        {"Esc", [&] { atProgress(20, [&] { QTest::keyClick(w.progressFrame(), Qt::Key_Escape); }); },
         {Answer::OK, Answer::OK, Answer::OK},
         Download + QStringLiteral("|Download failed.\r\nStopped by Esc: the data buffer keeps what it held.")},
    };
    for (Row &row : rows) {
        SCOPED_TRACE(row.name);
        sim.setFaults({});
        row.arrange();
        const std::size_t before = ui.messages().size();
        ui.answers = row.answers;
        choose(actions().download);
        EXPECT_TRUE(ui.messages()[before].text.endsWith(
            QStringLiteral("The open timing table holds edits not yet saved to the buffer; they would be lost too.")));
        EXPECT_EQ(messagesFrom(before).back(), row.last);
        EXPECT_EQ(ui.messages().back().icon, ui::Icon::Exclamation);
        EXPECT_EQ(data.image.EEPROMBuffer, image.EEPROMBuffer);
        EXPECT_EQ(caption(), titled(QStringLiteral("Downloaded Data")));
        EXPECT_TRUE(w.session().isOpen());
        EXPECT_TRUE(w.session().hasUnsavedEdits());
        EXPECT_FALSE(serial.isOpen());
        EXPECT_FALSE(w.transferRunning());
    }
    EXPECT_EQ(keeper().restorePoints().list().size(), 1);  // the first download's
}

// One download and one upload on a shown window: nothing the user does in
// the window disturbs them, then every upload failure on the image they made.
TEST_F(Transfers, NothingDisturbsARunningTransferAndEveryUploadFailureIsReported)
{
    sim.setMemory(memory2D());
    const QString longPort = QStringLiteral("Com1 is /dev/serial/by-id/usb-Some_Maker_USB_Serial_Adapter_0123456789-if00 "
                                            "(USB serial adapter, 9600 baud, no parity, one stop bit)");
    ui::frmTunara_Main &w = linkedWindow([&](int) { return longPort; });
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    const int portBefore = serial.portNumber();
    bool menusEnabled = true;
    bool portListEnabled = true;
    ShortcutsSeen questionShortcuts;
    atProgress(30, [&] {
        menusEnabled = w.menuBar()->isEnabled();
        portListEnabled = w.portPanel()->list()->isEnabled();
        // The busy gate: File > Open's shortcut and a dropped file reach nothing.
        QShortcutEvent shortcut(QKeySequence::Open, 0);
        QCoreApplication::sendEvent(actions().openFile, &shortcut);
        // ...while a question the transfer asks keeps its Alt+Y and Alt+N.
        QDialog question;
        question.installEventFilter(&questionShortcuts);
        QShortcutEvent altY(QKeySequence(Qt::ALT | Qt::Key_Y), 0);
        QCoreApplication::sendEvent(&question, &altY);
        QKeyEvent altN(QEvent::ShortcutOverride, Qt::Key_N, Qt::AltModifier);
        QCoreApplication::sendEvent(&question, &altN);
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(path(QStringLiteral("any.dat")))});
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&w, &drop);
        w.resize(w.width() - 40, w.height() - 30);  // the layout rule runs
        QCoreApplication::processEvents();
        w.portPanel()->list()->setCurrentIndex(portBefore + 5);
        w.cboPort_Click();
        w.close();  // refused with a note
    });
    ui.answers = {Answer::OK, Answer::OK, Answer::OK};
    choose(actions().download);
    EXPECT_FALSE(menusEnabled);
    EXPECT_FALSE(portListEnabled);
    EXPECT_EQ(questionShortcuts.count, 2);
    QCoreApplication::processEvents();
    for (const UiCall &call : ui.calls) {
        EXPECT_NE(call.kind, UiCall::Kind::OpenFile);
        EXPECT_FALSE(call.text.contains(QStringLiteral("any.dat"))) << call.text.toStdString();
    }
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(serial.portNumber(), portBefore);
    EXPECT_EQ(w.portPanel()->selectedPort(), portBefore);
    EXPECT_EQ(messagesFrom(), (QStringList{Download + u'|' + FirmwareMsg,
                                           QStringLiteral("Exit Program|A transfer with the module is running. Press "
                                                          "Esc to stop it, then close the program."),
                                           Download + QStringLiteral("|Downloaded data to buffer. Ready for editing.")}));
    EXPECT_EQ(imageBytes(), transferBytes(memory2D()));
    EXPECT_TRUE(w.menuBar()->isEnabled());

    // The status bar shortens a long port with an ellipsis, whole in its tip.
    QApplication::processEvents();
    auto *port = w.findChild<QLabel *>(QStringLiteral("lblStatusPort"));
    const QString shown = port->text();
    EXPECT_TRUE(shown.endsWith(QChar(0x2026))) << shown.toStdString();
    EXPECT_TRUE(longPort.startsWith(shown.chopped(1)));
    EXPECT_LE(port->fontMetrics().horizontalAdvance(shown), port->contentsRect().width());
    EXPECT_EQ(port->toolTip(), longPort);

    // A resize half-way through an upload leaves its port open.
    data.params.TrigTiming = 25;
    bool portStayedOpen = false;
    atProgress(50, [&] {
        w.resize(w.width() + 40, w.height() + 30);
        QCoreApplication::processEvents();
        portStayedOpen = serial.isOpen();
    });
    std::size_t before = ui.messages().size();
    ui.answers = {Answer::OK, Answer::OK};
    choose(actions().upload);
    EXPECT_TRUE(portStayedOpen);
    EXPECT_EQ(messagesFrom(before), (QStringList{Upload + u'|' + FirmwareMsg,
                                                 Upload + u'|' + Completed +
                                                     "\r\n1 byte written, all 264 read back and equal"}));
    EXPECT_EQ(ui.messages().back().icon, Icon::Exclamation);
    EXPECT_EQ(transferBytes(sim.memory()), imageBytes());
    EXPECT_EQ(sim.memory()[48], 25);
    EXPECT_FALSE(keeper().hasUnsavedWork());
    const QList<restore::Entry> kept = keeper().restorePoints().list();
    ASSERT_EQ(kept.size(), 3);
    EXPECT_EQ(kept[0].event, restore::Event::BeforeUpload);
    EXPECT_EQ(readFile(kept[0].path), imageBytes());
    EXPECT_EQ(kept[1].event, restore::Event::ModuleBeforeUpload);

    // A wizard resets the caption; the data still came from the module.
    ui.onModal = [&](QDialog &dialog) {
        EXPECT_EQ(w.windowTitle().remove(QStringLiteral("[*]")), w.mainTitle());  // "[*]": the unsaved-work mark
        window->dataStatus().refresh();
        EXPECT_EQ(statusLabel("lblStatusSource"), QStringLiteral("Data: Downloaded Data"));
        return dialog.result();
    };
    choose(actions().newTable);
    ui.onModal = {};

    struct Row {
        const char *name;
        std::function<void()> arrange;
        std::deque<Answer> answers;
        QStringList expected;
        Icon lastIcon;
        bool trafficExpected;
    } rows[] = {
        {"table open", [&] { w.session().openNew2D(Table2D{}, 20); }, {Answer::OK},
         {Upload + QStringLiteral("|You must close or save any open table before uploading.")}, Icon::Exclamation, false},
        {"read-back differs", [&] { withFaults([](sim::Faults &f) { f.readBackDiffersAt = 200; }); },
         {Answer::OK, Answer::OK},
         {Upload + u'|' + FirmwareMsg,
          Upload + QStringLiteral("|Upload aborted - EEPROM verification failed.\r\nThe module may hold a partly "
                                  "written configuration: upload again before starting the engine.\r\nWhat it held "
                                  "before this upload is kept: File > Tune History, \"Upload: module held before\".")},
         Icon::Information, true},
    };
    const ModuleImage good = data.image;
    for (Row &row : rows) {
        SCOPED_TRACE(row.name);
        data.image = good;
        w.session().discard();
        sim.setFaults({});
        row.arrange();
        sim.clearReceived();
        before = ui.messages().size();
        ui.answers = row.answers;
        choose(actions().upload);
        EXPECT_EQ(messagesFrom(before), row.expected);
        EXPECT_EQ(ui.messages().back().icon, row.lastIcon);
        EXPECT_EQ(!sim.received().empty(), row.trafficExpected);
        EXPECT_FALSE(serial.isOpen());
    }
    // The failed upload's points say so; the completed one's do not.
    const QList<restore::Entry> after = keeper().restorePoints().list();
    ASSERT_GT(after.size(), kept.size());
    EXPECT_EQ(after[0].event, restore::Event::BeforeUpload);
    EXPECT_EQ(after[0].uploadEnd, QStringLiteral("failed"));
    for (const restore::Entry &e : after) {
        if (e.path == kept[0].path || e.path == kept[1].path) {
            EXPECT_TRUE(e.uploadEnd.isEmpty()) << e.path.toStdString();
        }
    }
}

// An upload to a module this window has not read keeps what the module held;
// "Write Every Byte" is remembered for the next run.
TEST_F(Transfers, UploadKeepsTheModulesContentsAndWriteEveryByteIsRemembered)
{
    sim.setMemory(memory2D());
    writeFile(QStringLiteral("edit.dat"), transferBytes(sim::SimulatedModule::defaultMemory()));
    const auto openEdit = [this] {
        ui.fileNames = {path(QStringLiteral("edit.dat"))};
        ui.answers = {Answer::OK, Answer::OK};  // the overwrite question when asked, the loaded note
        choose(actions().openFile);
        ui.answers.clear();
    };
    linkedWindow();
    EXPECT_FALSE(actions().writeEveryByte->isChecked());
    openEdit();
    ui.answers = {Answer::OK, Answer::OK};
    choose(actions().upload);
    EXPECT_TRUE(ui.messages().back().text.startsWith(Completed)) << ui.messages().back().text.toStdString();
    const QList<restore::Entry> kept = keeper().restorePoints().list();
    ASSERT_EQ(kept.size(), 2);
    EXPECT_EQ(kept[0].event, restore::Event::BeforeUpload);
    EXPECT_EQ(kept[1].event, restore::Event::ModuleBeforeUpload);
    EXPECT_EQ(readFile(kept[1].path), transferBytes(memory2D()));

    actions().writeEveryByte->trigger();
    window.reset();
    linkedWindow();
    EXPECT_TRUE(actions().writeEveryByte->isChecked());
    openEdit();
    ui.answers = {Answer::OK, Answer::OK};
    choose(actions().upload);
    EXPECT_TRUE(ui.messages().back().text.endsWith("\r\n264 bytes written, all 264 read back and equal"))
        << ui.messages().back().text.toStdString();
}

// A file the program reads other than stored is not uploaded silently: one
// question names what changes, No (the default) sends nothing.
TEST_F(Transfers, UploadAsksOnceBeforeWritingWhatTheFileStoresDifferently)
{
    QByteArray bytes = transferBytes(memory2D());
    bytes[64 - 16] = char(0x5A);  // a reserved byte, saved as 0
    writeFile(QStringLiteral("odd.dat"), bytes);
    linkedWindow();
    ui.fileNames = {path(QStringLiteral("odd.dat"))};
    ui.answers = {Answer::OK, Answer::OK};  // loaded, the check at open
    choose(actions().openFile);
    sim.clearReceived();
    ui.answers = {Answer::No};
    choose(actions().upload);
    EXPECT_EQ(ui.messages().back().buttons, Buttons::YesNo);
    EXPECT_TRUE(ui.messages().back().text.contains(QStringLiteral("reserved byte 64 holds 0x5A")));
    EXPECT_TRUE(ui.messages().back().text.endsWith(QStringLiteral("Upload anyway?")));
    EXPECT_TRUE(sim.received().empty());

    ui.answers = {Answer::Yes, Answer::OK, Answer::OK};
    choose(actions().upload);
    EXPECT_TRUE(ui.messages().back().text.startsWith(Completed)) << ui.messages().back().text.toStdString();
    EXPECT_EQ(sim.memory()[64], 0);
    const std::size_t before = ui.messages().size();
    ui.answers = {Answer::OK, Answer::OK};
    choose(actions().upload);
    EXPECT_EQ(messagesFrom(before).size(), 2);  // the firmware and the completion: no question
}

TEST_F(Transfers, PointThatCannotBeKeptIsReportedAndTheUploadWaitsForTheUser)
{
    QFile blocker(restoreFolder());  // a file where the folder would be
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    sim.setMemory(memory2D());
    linkedWindow();
    ui.answers = {Answer::OK, Answer::OK, Answer::OK};
    choose(actions().download);
    EXPECT_TRUE(ui.messages()[1].text.startsWith(QStringLiteral("The image could not be kept as a restore point")));
    EXPECT_TRUE(window->statusBar()->currentMessage().startsWith(QStringLiteral("The image could not be kept")));

    // What the module held could not be kept either: said, and the upload
    // asks before it writes.
    data.params.TrigTiming = 25;
    ui.answers = {Answer::OK, Answer::OK, Answer::No};
    choose(actions().upload);
    EXPECT_EQ(ui.messages().back().buttons, Buttons::YesNo);
    EXPECT_TRUE(ui.messages().back().text.endsWith(QStringLiteral("Go on without it?")));
    EXPECT_EQ(sim.memory(), memory2D());  // nothing written

    ui.answers = {Answer::OK, Answer::OK, Answer::Yes, Answer::OK};
    choose(actions().upload);
    EXPECT_TRUE(ui.messages().back().text.startsWith(Completed)) << ui.messages().back().text.toStdString();
    EXPECT_NE(sim.memory(), memory2D());
}

TEST_F(Transfers, UploadAsksBeforeSendingATableNobodyFilled)
{
    linkedWindow();
    // OK in the parameters dialog on an empty image: parameters, no table.
    data.image.DataBufferEmpty = false;
    data.params.TimingTable2D = true;
    ui.answers = {Answer::No};
    choose(actions().upload);
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].buttons, Buttons::YesNo);
    EXPECT_TRUE(ui.messages()[0].text.contains(QStringLiteral("The 2D timing table in the buffer was not downloaded")));
    EXPECT_TRUE(ui.messages()[0].text.contains(QStringLiteral("all 21 points at the trigger timing of 30 degrees")));
    EXPECT_TRUE(sim.received().empty());
    // The parameters dialog's fill of an empty image: one value everywhere.
    std::fill_n(data.image.EEPROMBuffer.begin() + 16, 21, std::uint8_t{250});
    ui.answers = {Answer::No};
    choose(actions().upload);
    EXPECT_TRUE(ui.messages().back().text.contains(QStringLiteral("all 21 points at 8.0 degrees of advance")));

    ui.answers = {Answer::Yes, Answer::OK, Answer::OK};
    choose(actions().upload);
    EXPECT_TRUE(ui.messages().back().text.startsWith(Completed + "\r\n"));

    // A table the editor saved in this run goes without a question (here
    // straight to another model's refusal, which writes nothing).
    data.filledThisRun.table2D = true;
    sim.setFirmwareID("Torvik-1 Classic");
    ui.answers = {Answer::OK, Answer::OK};
    const std::size_t before = ui.messages().size();
    choose(actions().upload);
    EXPECT_EQ(messagesFrom(before), (QStringList{Upload + QStringLiteral("|Firmware ID: Torvik-1 Classic"),
                                                 Upload + QStringLiteral("|Not Torvik-1 Zoruro unit. Cannot upload data.")}));
}

TEST_F(Transfers, LinkFailuresSayWhatHappened)
{
    ui::frmTunara_Main &w = linkedWindow();
    // A port that cannot be opened: its reason once, no cable advice.
    serial.setDevicePath(path("no-such-tty"));
    ui.answers = {Answer::Abort};
    choose(actions().download);
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].title, QStringLiteral("Error"));
    EXPECT_TRUE(ui.messages()[0].text.contains(path("no-such-tty")));

    // No module answering: the window keeps handling events during the
    // link check, so Esc ends it after the first resynchronisation. (The
    // link's second passes on the test's clock at once: the key comes with
    // the first events the wait lets through.)
    serial.setDevicePath(sim.devicePath());
    withFaults([](sim::Faults &f) { f.silenceAfterBytes = 0; });
    QTimer esc;
    int ticks = 0;
    QObject::connect(&esc, &QTimer::timeout, &w, [&] {
        if (++ticks == 1)
            w.Form_KeyPress(27);
    });
    esc.start(0);
    ui.answers = {Answer::OK};
    choose(actions().download);
    esc.stop();
    EXPECT_GE(ticks, 1);
    const std::vector<sim::ReceivedByte> sent = sim.received();
    EXPECT_EQ(std::count_if(sent.begin(), sent.end(), [](const sim::ReceivedByte &b) { return b.value == 0x33; }), 1);
    EXPECT_EQ(ui.messages().back().text, QStringLiteral("Cannot establish RS-232 link. Check cable and Torvik-1 power."));
}

// The report's serial number or comment is offered again for the image it
// was typed for, never for another file's or another module's.
TEST_F(Transfers, TheReportCommentIsOfferedAgainOnlyForTheSameImage)
{
    sim.setMemory(memory2D());
    linkedWindow();
    QByteArray other = transferBytes(memory2D());
    other[0] = '\x05';
    writeFile(QStringLiteral("a.dat"), transferBytes(memory2D()));
    writeFile(QStringLiteral("b.dat"), other);
    const auto open = [this](const char *name) {
        ui.fileNames = {path(QLatin1String(name))};
        ui.answers = {Answer::OK, Answer::OK};  // overwrite?, loaded
        if (data.image.DataBufferEmpty)
            ui.answers.pop_front();
        choose(actions().openFile);
    };
    // What the comment box offers, answered with `typed`.
    const auto offered = [this](const QString &typed) {
        ui.inputs = {{typed, true}};
        ui.offered.clear();
        choose(actions().printPreview);
        return ui.offered.value(0, QStringLiteral("no comment box"));
    };
    open("a.dat");
    EXPECT_EQ(offered(QStringLiteral("SN 1")), QString());
    window->document().edit()->params.CrankPulses = 4;  // the same image, edited
    EXPECT_EQ(offered(QStringLiteral("SN 1")), QStringLiteral("SN 1"));
    open("b.dat");
    EXPECT_EQ(offered(QStringLiteral("SN 2")), QString());
    ui.answers = {Answer::OK};  // overwrite?
    downloadOk();
    EXPECT_EQ(offered(QString()), QString());
}

}  // namespace
}  // namespace tunara::test
