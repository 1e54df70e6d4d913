// Full transfers over the pseudo-terminal: every byte value 0..255 goes
// through a download and through an upload with verification unchanged
// (0x06, 0x0D, 0x11, 0x13, 0x15 and 0x16 included), with the progress
// steps and the completion texts.
#include "module/parameter_codec.h"

#include "link_test_support.h"

using namespace tunara;
using namespace tunara::link;
using linktest::LinkTest;
namespace T = tunara::link::TransferText;

namespace {

class FullTransfer : public LinkTest {
protected:
    static void expectProgressSteps(const linktest::RecordingProgress::Run *run)
    {
        ASSERT_NE(run, nullptr);
        ASSERT_EQ(run->values.size(), 1u + 264u) << run->caption.toStdString();
        EXPECT_EQ(run->values[0], 0);                 // shown at 0
        EXPECT_EQ(run->values[1 + 0], 6);             // address 16
        EXPECT_EQ(run->values[1 + (132 - 16)], 50);   // address 132
        for (int a = 263; a <= 279; ++a)
            EXPECT_EQ(run->values[std::size_t(1 + a - 16)], 100) << a;
        EXPECT_TRUE(std::is_sorted(run->values.begin(), run->values.end()));
        EXPECT_TRUE(run->hidden);
    }
};

TEST_F(FullTransfer, DownloadBringsEveryByteValueIntoTheImage)
{
    const auto memory = memoryWith([](int a) { return std::uint8_t((a - 16) * 167 % 256); });
    sim.setMemory(memory);
    EXPECT_EQ(transfers.Download(), TransferOutcome::Completed);

    for (int a = 16; a < 280; ++a)
        ASSERT_EQ(data.image.EEPROMBuffer[a], memory[a]) << a;
    EXPECT_FALSE(data.image.DataBufferEmpty);
    EXPECT_TRUE(errors.shown.empty());
    ASSERT_EQ(prompter.shown.size(), 2u);
    EXPECT_EQ(prompter.shown[0].text, "Firmware ID: Torvik-1 Zoruro V2.1");
    EXPECT_EQ(prompter.shown[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(prompter.shown[1].text, "Downloaded data to buffer. Ready for editing.");
    EXPECT_EQ(prompter.shown[1].icon, MessageIcon::None);
    EXPECT_EQ(prompter.shown[1].title, "Download From EEPROM");
    EXPECT_EQ(events.calls, (QStringList{"running", "replacing", "downloaded",
                                         "finished Download Completed", "idle"}));
    // Decoded from what arrived.
    ModuleData expected;
    expected.image = data.image;
    UpdateParams(expected);
    EXPECT_EQ(data.params, expected.params);

    const auto bytes = wire();
    ASSERT_GE(bytes.size(), 5u);
    EXPECT_EQ(bytes[0], 0x33);
    EXPECT_EQ(bytes[1], 0x10);
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin() + 2, bytes.begin() + 5),
              (std::vector<std::uint8_t>{0x14, 0x10, 0x00}));
    EXPECT_EQ(countOnWire(0x15), 264);
    expectProgressSteps(progress.find("Reading EEPROM"));
    EXPECT_FALSE(port.isOpen());
    EXPECT_GE(protocol.pacingStats().shortestExcess.count(), 0);
}

TEST_F(FullTransfer, StrayBytesAfterRepliesNeverReachTheImage)
{
    const auto memory = memoryWith([](int a) { return std::uint8_t(a * 13); });
    sim.setMemory(memory);
    sim::Faults f;
    f.noiseProbability = 0.3;
    f.seed = 2026;
    sim.setFaults(f);
    link::EEPROMBytes read{};
    ASSERT_EQ(protocol.ReadEEPROMData(read), ModuleProtocol::Pass::Complete);
    for (int a = 16; a < 280; ++a)
        ASSERT_EQ(read[a], memory[a]) << a;
}

TEST_F(FullTransfer, WriteAndVerifyEveryByteValue)
{
    for (int a = 16; a < 280; ++a)
        document.edit()->image.EEPROMBuffer[a] = std::uint8_t(255 - (a - 16) % 256);
    EXPECT_TRUE(protocol.WriteEEPROMData(link::allTransferAddresses()));
    std::vector<int> differing;
    EXPECT_EQ(protocol.VerifyEEPROM(differing), ModuleProtocol::Pass::Complete);
    EXPECT_EQ(protocol.VerifyErrorCount, 0);
    EXPECT_TRUE(errors.shown.empty());
    const auto memory = sim.memory();
    for (int a = 16; a < 280; ++a)
        ASSERT_EQ(memory[a], data.image.EEPROMBuffer[a]) << a;
    EXPECT_EQ(countOnWire(0x16), 264 + 1);  // 264 commands and the data byte 0x16 itself
    expectProgressSteps(progress.find("Programming EEPROM"));
    expectProgressSteps(progress.find("Verifying EEPROM"));
    EXPECT_FALSE(port.isOpen());
    EXPECT_GE(protocol.pacingStats().shortestExcess.count(), 0);
}

TEST_F(FullTransfer, UploadEndsWithTheTwoLineReminderAndWhatWasDone)
{
    const auto before = sim.memory();
    document.edit()->image.EEPROMBuffer = before;
    for (int a = 112; a < 280; ++a)
        document.edit()->image.EEPROMBuffer[a] = std::uint8_t(a);
    document.edit()->image.DataBufferEmpty = false;
    UpdateParams(*document.edit());
    document.edit()->params.MaxRPMLimit = 7200;

    EXPECT_EQ(transfers.Upload(), TransferOutcome::Completed);
    int differing = 0;
    for (int a = 16; a < 280; ++a)
        differing += before[a] != data.image.EEPROMBuffer[a];
    EXPECT_GT(differing, 100);
    ASSERT_EQ(prompter.shown.size(), 2u) << prompter.texts().join(" | ").toStdString();
    EXPECT_EQ(prompter.shown[1].text,
              "Upload completed. Remember to cycle power off for 5 seconds\r\nand then on again before starting engine."
              "\r\n" + QString::number(differing) + " bytes written, all 264 read back and equal");
    EXPECT_EQ(prompter.shown[1].icon, MessageIcon::Exclamation);
    EXPECT_EQ(prompter.shown[1].title, "Upload To EEPROM");
    const auto memory = sim.memory();
    EXPECT_EQ(memory[51], 72);  // the parameters were encoded before writing
    for (int a = 16; a < 280; ++a)
        ASSERT_EQ(memory[a], data.image.EEPROMBuffer[a]) << a;
}

}  // namespace
