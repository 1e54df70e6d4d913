// The upload reads what the module holds, writes only what differs, reads
// every byte back, and writes the differences once more before it reports a
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
        document.edit()->image.EEPROMBuffer = original;
        document.edit()->image.DataBufferEmpty = false;
        UpdateParams(*document.edit());
    }
    // Table bytes: the parameters' encoding leaves them as they are.
    void edit(std::initializer_list<int> addresses)
    {
        for (const int a : addresses)
            document.edit()->image.EEPROMBuffer[std::size_t(a)] = std::uint8_t(0x30 + a % 7);
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

TEST_F(Upload, ReadsTheModuleFirstWritesOnlyWhatDiffersAndReadsEveryByteBack)
{
    edit({150, 151, 152, 200});
    EXPECT_EQ(transfers.Upload(), TransferOutcome::Completed);
    EXPECT_EQ(lastMessage(), completedWith("4 bytes written, all 264 read back and equal"));
    // Address sets: the read, the second read and the write of each run,
    // the read-back.
    EXPECT_EQ(countOnWire(Cmd::SetAddress), 1 + 2 + 2 + 1);
    EXPECT_EQ(verifiedValues(), 264u);
    EXPECT_EQ(events.calls.indexOf("read") + 1, events.calls.indexOf("writing"));
    for (int a = 16; a < 280; ++a)
        ASSERT_EQ(events.moduleBefore[a], original[a]) << a;
    expectModuleHoldsTheImage();

    // Nothing is taken as known: the same image again is read, not written.
    restart();
    EXPECT_EQ(transfers.Upload(), TransferOutcome::Completed);
    EXPECT_TRUE(events.calls.contains("read"));
    EXPECT_EQ(countOnWire(Cmd::Write), 0);
    EXPECT_EQ(lastMessage(), completedWith("0 bytes written, all 264 read back and equal"));
}

// Whatever made the first read wrong (a glitch on a line without parity, a
// byte changed behind the program's back, another module on the cable), the
// read-back finds it and the module ends holding exactly the image.
TEST_F(Upload, WhatTheFirstReadMissedIsFoundByTheReadBack)
{
    document.edit()->image.EEPROMBuffer[150] ^= 0x01;
    sim::Faults glitch;
    glitch.glitchFirstReadAt = 150;  // reads as the image has it, once
    sim.setFaults(glitch);
    EXPECT_EQ(transfers.Upload(), TransferOutcome::Completed);
    EXPECT_EQ(lastMessage(), completedWith("1 byte written, all 264 read back and equal"));
    expectModuleHoldsTheImage();

    restart();
    sim::Faults behindTheBack;
    behindTheBack.changeAfterReads = 264;  // right after the upload's first read
    behindTheBack.changeAt = 230;
    behindTheBack.changeTo = std::uint8_t(~data.image.EEPROMBuffer[230]);
    sim.setFaults(behindTheBack);
    edit({40});
    EXPECT_EQ(transfers.Upload(), TransferOutcome::Completed);
    EXPECT_EQ(lastMessage(), completedWith("2 bytes written, all 264 read back and equal"));
    expectModuleHoldsTheImage();

    // Downloaded from one module, uploaded to another on the same cable:
    // what the second one held is what is kept.
    restart();
    sim.setFaults({});
    EXPECT_EQ(transfers.Download(), TransferOutcome::Completed);
    const auto other = memoryWith([](int a) { return std::uint8_t(a * 7); });
    sim.setMemory(other);
    EXPECT_EQ(transfers.Upload(), TransferOutcome::Completed);
    for (int a = 16; a < 280; ++a)
        ASSERT_EQ(events.moduleBefore[a], other[a]) << a;
    expectModuleHoldsTheImage();
}

// What the module held is kept before it is overwritten: the addresses
// about to be written are read again, and a byte that read differently is
// settled by a third read, or nothing is written.
TEST_F(Upload, BytesAboutToBeWrittenAreReadTwiceBeforeTheModuleIsKept)
{
    edit({150, 151});
    sim::Faults glitch;
    glitch.glitchFirstReadAt = 151;
    sim.setFaults(glitch);
    EXPECT_EQ(transfers.Upload(), TransferOutcome::Completed);
    for (int a = 16; a < 280; ++a)
        ASSERT_EQ(events.moduleBefore[a], original[a]) << a;
    EXPECT_EQ(countOnWire(Cmd::Read), 264 + 2 + 1 + 264);  // first read, again, third read, read-back
    EXPECT_EQ(events.calls.indexOf("read") + 1, events.calls.indexOf("writing"));
    EXPECT_EQ(lastMessage(), completedWith("2 bytes written, all 264 read back and equal"));
    expectModuleHoldsTheImage();

    // Read right the first time: the second read agrees and nothing more is read.
    restart();
    sim.setFaults({});
    edit({40});
    EXPECT_EQ(transfers.Upload(), TransferOutcome::Completed);
    EXPECT_EQ(countOnWire(Cmd::Read), 264 + 1 + 264);

    // Three reads, three values: nothing is written and nothing is kept.
    restart();
    sim.setMemory(original);
    sim::Faults unsteady;
    unsteady.unsteadyReadAt = 150;
    sim.setFaults(unsteady);
    EXPECT_EQ(transfers.Upload(), TransferOutcome::Failed);
    EXPECT_EQ(lastMessage(), T::FirstReadUnsettled.arg(150));
    EXPECT_EQ(prompter.shown.back().icon, MessageIcon::Exclamation);
    EXPECT_FALSE(events.calls.contains("read"));
    EXPECT_FALSE(events.calls.contains("writing"));
    EXPECT_EQ(countOnWire(Cmd::Write), 0);
    EXPECT_EQ(sim.memory(), original);
    EXPECT_FALSE(port.isOpen());

    // Esc during the second read stops as before writing.
    restart();
    sim.setFaults({});
    edit({60});
    progress.onValue = [this](const QString &caption, int step) {
        if (caption == "Reading EEPROM" && progress.runs.size() == 2 && step == 1)
            protocol.state().requestAbort();
    };
    EXPECT_EQ(transfers.Upload(), TransferOutcome::Stopped);
    EXPECT_EQ(lastMessage(), T::StoppedBeforeWriting);
    EXPECT_EQ(countOnWire(Cmd::Write), 0);
}

TEST_F(Upload, ByteThatStaysWrongFailsAfterOneRetry)
{
    sim::Faults f;
    f.stuckAt = 150;
    sim.setFaults(f);
    edit({150, 151});
    EXPECT_EQ(transfers.Upload(), TransferOutcome::Failed);
    EXPECT_EQ(protocol.bytesWritten(), 2);
    EXPECT_EQ(protocol.bytesWrittenAgain(), 1);  // the stuck one
    EXPECT_EQ(lastMessage(), T::VerificationFailed + "\r\n" + T::PartlyWritten + "\r\nkept");
    EXPECT_EQ(prompter.shown.back().icon, MessageIcon::Information);
}

// The summary counts addresses: a byte the read-back sent back to be written
// again is one byte of the image, named as written again.
TEST_F(Upload, BytesWrittenCountAddressesWithTheRetriesApart)
{
    transfers.setWriteAll(true);
    sim::Faults f;
    // Early in the read-back, before address 230 is read back: reads of the
    // first read, the confirming read of all 264 and one of the read-back.
    f.changeAfterReads = 264 + 264 + 1;
    f.changeAt = 230;
    f.changeTo = std::uint8_t(~original[230]);
    sim.setFaults(f);
    EXPECT_EQ(transfers.Upload(), TransferOutcome::Completed);
    EXPECT_EQ(lastMessage(),
              completedWith("264 bytes written (1 written again after a retry), all 264 read back and equal"));
    expectModuleHoldsTheImage();

    // A line that falls silent mid-write and comes back on Retry: the pass
    // starts again, and what it wrote before is written again, counted once.
    restart();
    transfers.setWriteAll(false);
    edit({150, 151, 152});
    f = {};
    // The link check, the identification, the first read (address set and
    // 264 reads), the confirming read of 150..152, the write's address set
    // and the writes of 150 and 151: the write of 152 goes unanswered.
    f.silenceAfterBytes = 1 + 1 + (3 + 264) + (3 + 3) + 3 + 2 * 2;
    sim.setFaults(f);
    errors.answers = {ErrorChoice::Retry};
    errors.beforeAnswer = [this] { sim.setFaults({}); };
    EXPECT_EQ(transfers.Upload(), TransferOutcome::Completed);
    EXPECT_EQ(errors.descriptions(), QStringList{ModuleProtocol::timeoutMessage()});
    EXPECT_EQ(lastMessage(),
              completedWith("3 bytes written (2 written again after a retry), all 264 read back and equal"));
    expectModuleHoldsTheImage();
}

TEST_F(Upload, EscPressedWhileIdleChangesNothing)
{
    protocol.state().requestAbort();
    document.edit()->image.DataBufferEmpty = true;
    EXPECT_EQ(transfers.Download(), TransferOutcome::Completed);
    EXPECT_FALSE(data.image.DataBufferEmpty);
    EXPECT_EQ(data.image.EEPROMBuffer[150], original[150]);

    protocol.state().requestAbort();
    edit({150});
    EXPECT_EQ(transfers.Upload(), TransferOutcome::Completed);
    EXPECT_EQ(lastMessage(), completedWith("1 byte written, all 264 read back and equal"));
    expectModuleHoldsTheImage();
}

// Esc stops the reading before anything is written and the read-back after;
// it cannot stop programming, and says so.
TEST_F(Upload, EscStopsOnlyWhereStoppingIsSafe)
{
    edit({150, 151, 152});
    progress.onValue = [this](const QString &caption, int step) {
        if (caption == "Programming EEPROM" && step == 1)
            protocol.state().requestAbort();
    };
    EXPECT_EQ(transfers.Upload(), TransferOutcome::Completed);
    EXPECT_NE(progress.find(ModuleProtocol::programmingCannotStopCaption()), nullptr);
    EXPECT_EQ(protocol.bytesWritten(), 3);
    EXPECT_EQ(verifiedValues(), 264u);
    EXPECT_FALSE(protocol.state().abortRequested());
    expectModuleHoldsTheImage();

    restart();
    edit({160});
    progress.onValue = [this](const QString &caption, int step) {
        if (caption == "Verifying EEPROM" && step == 0)
            sim.clearReceived();  // only the verification's reads count
        if (caption == "Verifying EEPROM" && step == 10)
            protocol.state().requestAbort();
    };
    EXPECT_EQ(transfers.Upload(), TransferOutcome::Stopped);
    EXPECT_EQ(lastMessage(),
              T::VerificationFailed + "\r\n" + T::VerificationStopped + "\r\n" + T::PartlyWritten + "\r\nkept");
    EXPECT_EQ(prompter.shown.back().icon, MessageIcon::Information);
    EXPECT_EQ(countOnWire(Cmd::Read), 10);
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
                protocol.state().requestAbort();
        };
        const bool stopped = faults.silenceAfterBytes < 0 && !faults.refuseAddress;
        EXPECT_EQ(transfers.Upload(), stopped ? TransferOutcome::Stopped : TransferOutcome::Failed);
        EXPECT_EQ(lastMessage(), stopped ? T::StoppedBeforeWriting : T::ReadBeforeUploadFailed);
        EXPECT_FALSE(events.calls.contains("read"));
        EXPECT_FALSE(events.calls.contains("writing"));
        EXPECT_EQ(countOnWire(Cmd::Write), 0);
        EXPECT_EQ(sim.memory(), original);
    }
}

}  // namespace
