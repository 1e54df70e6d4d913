// The upload reads or knows what the module holds, writes only what differs,
// verifies, and writes the differences once more before it reports a
// verification failure; Esc counts only while it is safe to stop.
#include "module/parameter_codec.h"

#include "link_test_support.h"

using namespace tunara;
using namespace tunara::link;
using linktest::LinkTest;
namespace T = tunara::link::TransferText;

namespace {

class Upload : public LinkTest {
protected:
    void SetUp() override
    {
        LinkTest::SetUp();
        original = sim.memory();
        data.image.EEPROMBuffer = original;
        data.image.DataBufferEmpty = false;
        UpdateParams(data);
    }
    // Table bytes: the parameters' encoding leaves them as they are.
    void edit(std::initializer_list<int> addresses)
    {
        for (const int a : addresses)
            data.image.EEPROMBuffer[std::size_t(a)] = std::uint8_t(0x30 + a % 7);
    }
    void expectModuleHoldsTheImage()
    {
        const auto memory = sim.memory();
        for (int a = 16; a < 280; ++a)
            ASSERT_EQ(memory[a], data.image.EEPROMBuffer[a]) << a;
    }
    QString lastMessage() const { return prompter.shown.back().text; }
    static QString completedWith(const QString &summary) { return T::UploadCompleted + "\r\n" + summary; }
    std::size_t verifiedValues() const
    {
        const auto *run = progress.find("Verifying EEPROM");
        return run ? run->values.size() - 1 : 0;
    }
    void restart()
    {
        prompter.shown.clear();
        progress.runs.clear();
        events.calls.clear();
        sim.clearReceived();
    }

    sim::SimulatedModule::Memory original{};
};

TEST_F(Upload, WritesOnlyTheBytesThatDifferAndKeepsWhatTheModuleHeld)
{
    edit({150, 151, 152, 200});
    EXPECT_EQ(transfers.Upload(), TransferOutcome::Completed);
    EXPECT_EQ(lastMessage(), completedWith("4 bytes written, 264 verified"));
    EXPECT_EQ(protocol.bytesWritten(), 4);
    // Address sets: the read, then a write and a verification per run.
    EXPECT_EQ(countOnWire(Cmd::SetAddress), 1 + 2 + 2);
    EXPECT_EQ(verifiedValues(), 4u);
    EXPECT_EQ(events.calls.indexOf("read") + 1, events.calls.indexOf("writing"));
    for (int a = 16; a < 280; ++a)
        ASSERT_EQ(events.moduleBefore[a], original[a]) << a;
    expectModuleHoldsTheImage();

    // Known from this upload: no reading, and every address read back.
    restart();
    edit({260});
    EXPECT_EQ(transfers.Upload(), TransferOutcome::Completed);
    EXPECT_EQ(lastMessage(), completedWith("1 byte written, 264 verified"));
    EXPECT_EQ(progress.find("Reading EEPROM"), nullptr);
    EXPECT_FALSE(events.calls.contains("read"));
    EXPECT_EQ(verifiedValues(), 264u);
}

TEST_F(Upload, ModuleChangedSinceTheDownloadEndsHoldingTheImage)
{
    EXPECT_EQ(transfers.Download(), TransferOutcome::Completed);
    auto changed = sim.memory();
    changed[120] ^= 0x11;
    changed[250] ^= 0x22;
    sim.setMemory(changed);
    edit({200});
    restart();
    EXPECT_EQ(transfers.Upload(), TransferOutcome::Completed);
    EXPECT_FALSE(events.calls.contains("read"));
    EXPECT_EQ(lastMessage(), completedWith("3 bytes written, 264 verified"));
    expectModuleHoldsTheImage();
}

TEST_F(Upload, ByteThatStaysWrongFailsAfterOneRetryAndIsNotTrustedLater)
{
    sim::Faults f;
    f.stuckAt = 150;
    sim.setFaults(f);
    edit({150, 151});
    EXPECT_EQ(transfers.Upload(), TransferOutcome::Failed);
    EXPECT_EQ(protocol.bytesWritten(), 3);  // both, then the stuck one again
    EXPECT_EQ(lastMessage(), T::VerificationFailed + "\r\n" + T::PartlyWritten);
    EXPECT_EQ(prompter.shown.back().icon, MessageIcon::Exclamation);

    // What the module holds is unknown again: the next upload reads it.
    restart();
    EXPECT_EQ(transfers.Upload(), TransferOutcome::Failed);
    EXPECT_TRUE(events.calls.contains("read"));
}

TEST_F(Upload, EscPressedWhileIdleChangesNothing)
{
    protocol.AbortRequested = true;
    data.image.DataBufferEmpty = true;
    EXPECT_EQ(transfers.Download(), TransferOutcome::Completed);
    EXPECT_FALSE(data.image.DataBufferEmpty);
    EXPECT_EQ(data.image.EEPROMBuffer[150], original[150]);

    protocol.AbortRequested = true;
    edit({150});
    EXPECT_EQ(transfers.Upload(), TransferOutcome::Completed);
    EXPECT_EQ(lastMessage(), completedWith("1 byte written, 264 verified"));
    expectModuleHoldsTheImage();
}

TEST_F(Upload, EscDuringProgrammingIsShownAsNotPossibleAndTheVerificationRuns)
{
    edit({150, 151, 152});
    progress.onValue = [this](const QString &caption, int step) {
        if (caption == "Programming EEPROM" && step == 1)
            protocol.AbortRequested = true;
    };
    EXPECT_EQ(transfers.Upload(), TransferOutcome::Completed);
    EXPECT_NE(progress.find(ModuleProtocol::programmingCannotStopCaption()), nullptr);
    EXPECT_EQ(protocol.bytesWritten(), 3);
    EXPECT_EQ(verifiedValues(), 3u);
    EXPECT_FALSE(protocol.AbortRequested);
    expectModuleHoldsTheImage();
}

TEST_F(Upload, ReadingThatFailsOrIsStoppedWritesNothing)
{
    edit({150});
    sim::Faults silent, refusing;
    silent.silenceAfterBytes = 1 + 1 + 3 + 20;  // mid-read
    refusing.refuseAddress = true;
    for (const sim::Faults &faults : {silent, refusing, sim::Faults{}}) {
        restart();
        sim.setFaults(faults);
        // With no fault, Esc stops the read.
        progress.onValue = [this](const QString &caption, int step) {
            if (caption == "Reading EEPROM" && step == 30)
                protocol.AbortRequested = true;
        };
        EXPECT_EQ(transfers.Upload(), TransferOutcome::Failed);
        EXPECT_EQ(lastMessage(), T::ProgrammingFailed);
        EXPECT_FALSE(events.calls.contains("read"));
        EXPECT_FALSE(events.calls.contains("writing"));
        EXPECT_EQ(countOnWire(Cmd::Write), 0);
        EXPECT_EQ(sim.memory(), original);
    }
}

}  // namespace
