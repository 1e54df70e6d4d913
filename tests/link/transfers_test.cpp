// The download and upload commands: every refusal and failure ends with its
// own message, a download that does not get every byte changes nothing, and
// an upload never writes when it should not.
#include "module/parameter_codec.h"

#include "link_test_support.h"

using namespace tunara;
using namespace tunara::link;
using linktest::LinkTest;
namespace T = tunara::link::TransferText;

namespace {

class Transfers : public LinkTest {
protected:
    void withFaults(const std::function<void(sim::Faults &)> &change)
    {
        sim::Faults f = sim.faults();
        change(f);
        sim.setFaults(f);
    }
    void fillImage(std::uint8_t value)
    {
        document.edit()->image.EEPROMBuffer.fill(value);
        document.edit()->image.DataBufferEmpty = false;
    }
    // The image is as it was before the command.
    void expectImageKept(const ModuleImage &before)
    {
        EXPECT_EQ(data.image.EEPROMBuffer, before.EEPROMBuffer);
        EXPECT_EQ(data.image.DataBufferEmpty, before.DataBufferEmpty);
        EXPECT_FALSE(events.calls.contains("replacing"));
    }
    const QString failedKeepingTheBuffer = T::DownloadFailed + "\r\n" + T::BufferKept;
    void expectMessages(const std::vector<std::pair<QString, MessageIcon>> &expected, const QString &title)
    {
        ASSERT_EQ(prompter.shown.size(), expected.size()) << prompter.texts().join(" | ").toStdString();
        for (std::size_t k = 0; k < expected.size(); ++k) {
            EXPECT_EQ(prompter.shown[k].text, expected[k].first);
            EXPECT_EQ(prompter.shown[k].icon, expected[k].second) << k;
            EXPECT_EQ(prompter.shown[k].title, title);
        }
    }
    const QString firmware = QStringLiteral("Firmware ID: Torvik-1 Zoruro V2.1");
};

// ---- download --------------------------------------------------------------

TEST_F(Transfers, CancelAtTheOverwriteQuestionChangesNothing)
{
    fillImage(0x42);
    prompter.okAnswers = {false};
    EXPECT_EQ(transfers.Download(), TransferOutcome::Cancelled);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_TRUE(prompter.shown[0].question);
    EXPECT_EQ(prompter.shown[0].text, "Data buffer not empty. OK to overwrite?");
    EXPECT_EQ(prompter.shown[0].title, "Download From EEPROM");
    EXPECT_FALSE(data.image.DataBufferEmpty);
    EXPECT_EQ(data.image.EEPROMBuffer[100], 0x42);
    EXPECT_EQ(events.calls, (QStringList{"running", "finished Download Cancelled", "idle"}));
    EXPECT_TRUE(wire().empty());
}

TEST_F(Transfers, DownloadWithoutLinkTriesFiveTimesThenGivesUp)
{
    withFaults([](sim::Faults &f) { f.noResyncAck = true; });
    fillImage(0x42);
    const ModuleImage before = data.image;
    EXPECT_EQ(transfers.Download(), TransferOutcome::Failed);
    EXPECT_EQ(prompter.shown.front().text, "Data buffer not empty. OK to overwrite?");
    prompter.shown.erase(prompter.shown.begin());
    expectMessages({{T::NoLink, MessageIcon::Exclamation}}, T::DownloadTitle);
    EXPECT_EQ(wire(), std::vector<std::uint8_t>(5, 0x33));
    EXPECT_FALSE(port.isOpen());
    expectImageKept(before);
    EXPECT_EQ(events.calls, (QStringList{"running", "finished Download Failed", "idle"}));
}

TEST_F(Transfers, DownloadWithBadEchoShowsTheErrorThenItsOwnFailure)
{
    withFaults([](sim::Faults &f) { f.idFirstByte = 'Z'; });
    const ModuleImage before = data.image;
    EXPECT_EQ(transfers.Download(), TransferOutcome::Failed);
    EXPECT_EQ(errors.descriptions(), QStringList{"Firmware ID - no command echo."});
    expectMessages({{"Firmware ID read failed - cannot download.", MessageIcon::Exclamation}}, T::DownloadTitle);
    expectImageKept(before);
}

TEST_F(Transfers, DownloadFromAnotherModelShowsItsIdThenRefusesKeepingTheBuffer)
{
    fillImage(0x42);
    const ModuleImage before = data.image;
    prompter.okAnswers = {true};
    sim.setFirmwareID("Torvik-1 Classic 1.0");
    EXPECT_EQ(transfers.Download(), TransferOutcome::Refused);
    prompter.shown.erase(prompter.shown.begin());
    expectMessages({{"Firmware ID: Torvik-1 Classic 1.0", MessageIcon::Exclamation},
                    {"Not Torvik-1 Zoruro unit. Cannot download and edit data.", MessageIcon::None}},
                   T::DownloadTitle);
    expectImageKept(before);
    EXPECT_EQ(countOnWire(0x15), 0);
}

// A module that goes silent, or Esc, part-way through: the buffer keeps what
// it held, and Esc is told as the download's failure, then as a stop.
TEST_F(Transfers, DownloadThatFailsOrIsStoppedMidwayKeepsTheBuffer)
{
    fillImage(0x42);
    const ModuleImage before = data.image;
    sim.setMemory(linktest::LinkTest::memoryWith([](int) { return std::uint8_t(0x77); }));
    withFaults([](sim::Faults &f) { f.silenceAfterBytes = 1 + 1 + 3 + 2 * 20; });
    EXPECT_EQ(transfers.Download(), TransferOutcome::Failed);
    EXPECT_EQ(errors.descriptions(), QStringList{"RS-232 timeout. Check cable and click Abort."});
    prompter.shown.erase(prompter.shown.begin());
    expectMessages({{firmware, MessageIcon::Exclamation}, {failedKeepingTheBuffer, MessageIcon::Exclamation}},
                   T::DownloadTitle);
    expectImageKept(before);
    EXPECT_FALSE(port.isOpen());

    withFaults([](sim::Faults &f) { f.silenceAfterBytes = -1; });
    prompter.shown.clear();
    progress.onValue = [&](const QString &, int step) {
        if (step == 100)
            protocol.state().requestAbort();
    };
    EXPECT_EQ(transfers.Download(), TransferOutcome::Stopped);
    EXPECT_EQ(prompter.texts().last(), T::DownloadFailed + "\r\n" + T::DownloadStopped);
    EXPECT_EQ(prompter.shown.back().icon, MessageIcon::Exclamation);
    expectImageKept(before);
}

TEST_F(Transfers, SecondCommandDuringATransferIsTurnedAway)
{
    std::vector<TransferOutcome> nested;
    progress.onValue = [&](const QString &, int step) {
        if (step == 2) {
            nested.push_back(transfers.Upload());
            nested.push_back(transfers.Download());
            protocol.state().requestAbort();  // and Esc ends this one early
        }
    };
    EXPECT_EQ(transfers.Download(), TransferOutcome::Stopped);
    EXPECT_EQ(nested, (std::vector<TransferOutcome>{TransferOutcome::Busy, TransferOutcome::Busy}));
    EXPECT_EQ(prompter.shown.size(), 2u);  // the download's own two: the turned-away ones said nothing
    EXPECT_FALSE(transfers.isRunning());
}

// What a download and an upload report, in order among their messages,
// while commands started meanwhile are turned away and report nothing.
TEST_F(Transfers, DownloadAndUploadReportTheirEventsInOrder)
{
    fillImage(0x42);
    std::vector<TransferOutcome> nested;
    progress.onValue = [&](const QString &, int step) {
        if (step == 2) {
            EXPECT_TRUE(transfers.isRunning());
            nested.push_back(transfers.Download());
            nested.push_back(transfers.Upload());
        }
    };
    EXPECT_EQ(transfers.Download(), TransferOutcome::Completed);
    // The overwrite question, the firmware ID, the completion.
    EXPECT_EQ(events.timeline(), (QStringList{"running@0", "replacing@2", "downloaded@2",
                                              "finished Download Completed@3", "idle@3"}))
        << events.timeline().join(' ').toStdString();
    events.calls.clear();
    events.messagesBefore.clear();
    prompter.shown.clear();
    for (int a = 200; a < 203; ++a)
        document.edit()->image.EEPROMBuffer[a] ^= 1;  // something to program
    UpdateParams(*document.edit());
    EXPECT_EQ(transfers.Upload(), TransferOutcome::Completed);
    EXPECT_EQ(events.timeline(),
              (QStringList{"running@0", "read@1", "writing@1", "finished Upload Completed@2", "idle@2"}))
        << events.timeline().join(' ').toStdString();
    // Twice in each of the download, the upload's reading, its second read
    // of the bytes about to be written, programming and verifying.
    EXPECT_EQ(nested, std::vector<TransferOutcome>(10, TransferOutcome::Busy));
    EXPECT_FALSE(transfers.isRunning());
}

// ---- upload ----------------------------------------------------------------

TEST_F(Transfers, UploadRefusedBeforeAnyTrafficWhenNoData)
{
    fillImage(1);
    document.edit()->image.DataBufferEmpty = true;
    EXPECT_EQ(transfers.Upload(), TransferOutcome::Refused);
    expectMessages({{"No data available for uploading.", MessageIcon::Exclamation}}, T::UploadTitle);
    EXPECT_TRUE(wire().empty());
}

TEST_F(Transfers, UploadWithoutLinkOrIdentification)
{
    fillImage(1);
    withFaults([](sim::Faults &f) { f.noResyncAck = true; });
    EXPECT_EQ(transfers.Upload(), TransferOutcome::Failed);
    withFaults([](sim::Faults &f) { f.noResyncAck = false; f.idFirstByte = 0x0D; });
    EXPECT_EQ(transfers.Upload(), TransferOutcome::Failed);
    expectMessages({{T::NoLink, MessageIcon::Exclamation},
                    {"Firmware ID read failed - cannot upload.", MessageIcon::Exclamation}},
                   T::UploadTitle);
    EXPECT_EQ(errors.descriptions(), QStringList{"Firmware ID - unexpected terminator."});
    EXPECT_EQ(countOnWire(0x16), 0);
}

TEST_F(Transfers, UploadToAnotherModelLeavesTheImageAlone)
{
    fillImage(0x99);
    const auto before = data.image.EEPROMBuffer;
    sim.setFirmwareID("Torvik-1");
    EXPECT_EQ(transfers.Upload(), TransferOutcome::Refused);
    expectMessages({{"Firmware ID: Torvik-1", MessageIcon::Exclamation},
                    {"Not Torvik-1 Zoruro unit. Cannot upload data.", MessageIcon::None}},
                   T::UploadTitle);
    EXPECT_EQ(data.image.EEPROMBuffer, before);
    EXPECT_FALSE(data.image.DataBufferEmpty);
    EXPECT_EQ(countOnWire(0x16), 0);
}

TEST_F(Transfers, RefusedWriteEndsWithProgrammingFailed)
{
    fillImage(0x11);
    withFaults([](sim::Faults &f) { f.refuseWriteAt = 17; });
    EXPECT_EQ(transfers.Upload(), TransferOutcome::Failed);
    expectMessages({{firmware, MessageIcon::Exclamation},
                    {"Upload aborted - EEPROM programming failed.\r\n" + T::PartlyWritten + "\r\nkept",
                     MessageIcon::Information}},
                   T::UploadTitle);
    EXPECT_FALSE(port.isOpen());
}

TEST_F(Transfers, ParameterThatDoesNotFitItsByteStopsTheUploadBeforeWriting)
{
    fillImage(0x11);
    document.edit()->params.IdleStabTrigStartNum = 300;  // no byte holds it
    errors.answers = {ErrorChoice::Ignore};
    EXPECT_EQ(transfers.Upload(), TransferOutcome::Failed);
    ASSERT_EQ(errors.shown.size(), 1u);
    EXPECT_EQ(errors.shown[0].number, OverflowErrorNumber);
    EXPECT_EQ(countOnWire(0x16), 0);
    // The error box, then the command's own failure message.
    expectMessages({{firmware, MessageIcon::Exclamation},
                    {"Upload aborted - the module parameters could not be put into the data buffer, so nothing was "
                     "written.",
                     MessageIcon::Exclamation}},
                   T::UploadTitle);
}

TEST_F(Transfers, IdentifyJudgesTheModel)
{
    EXPECT_EQ(transfers.Identify(), TransferOutcome::Completed);
    sim.setFirmwareID("Torvik-1 Classic");
    EXPECT_EQ(transfers.Identify(), TransferOutcome::Refused);
    EXPECT_EQ(prompter.texts(), (QStringList{firmware, "Firmware ID: Torvik-1 Classic"}));
    EXPECT_FALSE(port.isOpen());
}

}  // namespace
