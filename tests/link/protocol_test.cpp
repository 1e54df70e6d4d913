// The command protocol against the simulated module over a real
// pseudo-terminal: identification rules, address bytes, every failure row
// with its exact text, and Esc during reads and verification.
#include "link_test_support.h"

#include <QSignalSpy>

using namespace tunara;
using namespace tunara::link;
using linktest::LinkTest;

namespace {

const QString Timeout = QStringLiteral("RS-232 timeout. Check cable and click Abort.");

class Protocol : public LinkTest {
protected:
    void withFaults(const std::function<void(sim::Faults &)> &change)
    {
        sim::Faults f = sim.faults();
        change(f);
        sim.setFaults(f);
    }
    void expectOneCommError(const QString &description)
    {
        ASSERT_EQ(errors.shown.size(), 1u) << errors.descriptions().join(" | ").toStdString();
        EXPECT_EQ(errors.shown[0].number, -2147220504);
        EXPECT_EQ(errors.shown[0].source, "Comm Error");
        EXPECT_EQ(errors.shown[0].description, description);
    }
    void expectCleanFailure()
    {
        EXPECT_FALSE(protocol.state().commOK());
        EXPECT_FALSE(port.isOpen());
        EXPECT_FALSE(progress.visible);
    }
};

// ---- resynchronisation -----------------------------------------------------

TEST_F(Protocol, ReSyncAcknowledgedLeavesThePortOpen)
{
    protocol.ReSync();
    EXPECT_TRUE(protocol.state().commOK());
    EXPECT_TRUE(port.isOpen());
    EXPECT_EQ(wire(), (std::vector<std::uint8_t>{0x33}));
}

TEST_F(Protocol, ReSyncWithoutAcknowledgementOrAnswerFailsQuietly)
{
    withFaults([](sim::Faults &f) { f.noResyncAck = true; });
    protocol.ReSync();
    EXPECT_FALSE(protocol.state().commOK());
    withFaults([](sim::Faults &f) { f.noResyncAck = false; f.silenceAfterBytes = 0; });
    protocol.ReSync();
    EXPECT_FALSE(protocol.state().commOK());
    EXPECT_TRUE(errors.shown.empty());
}

// ---- identification --------------------------------------------------------

TEST_F(Protocol, IdentificationTextAndModelJudgement)
{
    const std::vector<std::pair<QByteArray, QString>> cases{
        {"Torvik-1 Zoruro V2", "Torvik-1 Zoruro"},
        {"torvik-1 ZORURO v3", "Torvik-1 Zoruro"},
        {"Torvik-1 Classic", "Torvik-1"},
        {"Acme Spark 9", "Unknown"},
    };
    for (const auto &[id, type] : cases) {
        sim.setFirmwareID(id);
        protocol.ReadFirmwareID();
        EXPECT_TRUE(protocol.state().commOK()) << id.constData();
        EXPECT_EQ(protocol.state().firmwareID(), QString::fromLatin1(id));
        EXPECT_EQ(protocol.state().moduleType(), type) << id.constData();
        EXPECT_FALSE(port.isOpen());
    }
    EXPECT_TRUE(errors.shown.empty());
}

TEST_F(Protocol, IdentificationDropsBytesOutsideThePrintableRange)
{
    static const char id[] = "Tor\x01vik-1\x80 Zo\xffru\x1bro\x7f V9~";
    sim.setFirmwareID(QByteArray(id, sizeof id - 1));
    protocol.ReadFirmwareID();
    EXPECT_TRUE(protocol.state().commOK());
    EXPECT_EQ(protocol.state().firmwareID(), QString::fromLatin1("Torvik-1 Zoruro\x7f V9~"));
    EXPECT_EQ(protocol.state().moduleType(), "Torvik-1 Zoruro");
}

TEST_F(Protocol, AControlByteTakesThePlaceOfTheEcho)
{
    withFaults([](sim::Faults &f) { f.idFirstByte = 0x07; });
    protocol.ReadFirmwareID();
    EXPECT_TRUE(protocol.state().commOK());
    EXPECT_EQ(protocol.state().firmwareID(), "Torvik-1 Zoruro V2.1");
}

TEST_F(Protocol, TerminatorInPlaceOfTheEchoIsRaised)
{
    withFaults([](sim::Faults &f) { f.idFirstByte = 0x0D; });
    protocol.ReadFirmwareID();
    expectOneCommError("Firmware ID - unexpected terminator.");
    expectCleanFailure();
}

TEST_F(Protocol, PrintableCharacterInPlaceOfTheEchoIsRaised)
{
    withFaults([](sim::Faults &f) { f.idFirstByte = 'T'; });
    protocol.ReadFirmwareID();
    expectOneCommError("Firmware ID - no command echo.");
    expectCleanFailure();
}

TEST_F(Protocol, EmptyIdentificationFailsWithoutAMessage)
{
    sim.setFirmwareID("");
    protocol.ReadFirmwareID();
    EXPECT_FALSE(protocol.state().commOK());
    EXPECT_EQ(protocol.state().firmwareID(), "");
    EXPECT_TRUE(errors.shown.empty());
    EXPECT_FALSE(port.isOpen());
}

// The link's state says when the identification changes, once, and says
// nothing when the same module answers again.
TEST_F(Protocol, TheIdentificationAnnouncesItsChangesOnce)
{
    QSignalSpy changed(&protocol.state(), &LinkState::identificationChanged);
    protocol.ReadFirmwareID();
    protocol.ReadFirmwareID();
    EXPECT_EQ(changed.count(), 1);
    EXPECT_TRUE(protocol.state().supportedModule());
    sim.setFirmwareID("Torvik-1 Classic");
    protocol.ReadFirmwareID();
    EXPECT_EQ(changed.count(), 2);
    EXPECT_EQ(protocol.state().moduleType(), "Torvik-1");
    protocol.state().forgetModule();
    EXPECT_EQ(changed.count(), 3);
    EXPECT_EQ(protocol.state().firmwareID(), "");
}

TEST_F(Protocol, TextWithoutTerminatorTimesOutAndRetryRaisesAgain)
{
    withFaults([](sim::Faults &f) { f.idNoTerminator = true; });
    errors.answers = {ErrorChoice::Retry, ErrorChoice::Ignore};
    protocol.ReadFirmwareID();
    EXPECT_EQ(errors.descriptions(), (QStringList{Timeout, Timeout}));
    EXPECT_EQ(protocol.state().firmwareID(), "Torvik-1 Zoruro V2.1");  // the text came, the end did not
    expectCleanFailure();
}

// ---- address pointer -------------------------------------------------------

TEST_F(Protocol, AddressGoesOutLowByteFirst)
{
    protocol.SetEEPROMAddress(16);
    EXPECT_TRUE(protocol.state().commOK());
    EXPECT_EQ(sim.pointer(), 16);
    protocol.SetEEPROMAddress(279);
    EXPECT_TRUE(protocol.state().commOK());
    EXPECT_EQ(sim.pointer(), 279);
    EXPECT_EQ(wire(), (std::vector<std::uint8_t>{0x14, 0x10, 0x00, 0x14, 0x17, 0x01}));
    EXPECT_FALSE(port.isOpen());
    EXPECT_GE(protocol.pacingStats().shortestExcess.count(), 0);  // no pause shorter than asked
}

TEST_F(Protocol, AddressNotAcknowledgedFailsWithoutAMessage)
{
    withFaults([](sim::Faults &f) { f.refuseAddress = true; });
    protocol.SetEEPROMAddress(16);
    EXPECT_FALSE(protocol.state().commOK());
    EXPECT_TRUE(errors.shown.empty());
    EXPECT_FALSE(port.isOpen());
}

TEST_F(Protocol, AddressLowByteUnansweredTimesOut)
{
    withFaults([](sim::Faults &f) { f.silenceAfterBytes = 1; });
    protocol.SetEEPROMAddress(16);
    expectOneCommError(Timeout);
    expectCleanFailure();
}

TEST_F(Protocol, ReplyLaterThanOneSecondTimesOut)
{
    withFaults([](sim::Faults &f) { f.replyDelayMs = 1100; });
    protocol.SetEEPROMAddress(16);
    expectOneCommError(Timeout);
    expectCleanFailure();
    EXPECT_EQ(clock.elapsed(), std::chrono::seconds(1));  // the wait gave up at its deadline
}

// Every wait has a second of its own: three replies each 0.4 s late make an
// address set of more than a second that succeeds, its three pauses included.
TEST_F(Protocol, RepliesWithinTheSecondAreTakenHoweverLate)
{
    withFaults([](sim::Faults &f) { f.replyDelayMs = 400; });
    protocol.SetEEPROMAddress(16);
    EXPECT_TRUE(protocol.state().commOK());
    EXPECT_TRUE(errors.shown.empty());
    EXPECT_EQ(sim.pointer(), 16);
    EXPECT_EQ(clock.elapsed(), std::chrono::milliseconds(3 * 400 + 3 * 5));
}

TEST_F(Protocol, PortThatCannotBeOpenedIsReportedAsCommError)
{
    port.setDevicePath(dir.filePath("no-such-device"));
    errors.answers = {ErrorChoice::Retry, ErrorChoice::Abort};
    protocol.ReadFirmwareID();
    ASSERT_EQ(errors.shown.size(), 2u);  // Retry tried the open again
    EXPECT_EQ(errors.shown[0].source, "Comm Error");
    EXPECT_EQ(errors.shown[0].number, -2147220504);
    EXPECT_TRUE(errors.shown[0].description.contains("no-such-device"));
    EXPECT_FALSE(protocol.state().commOK());
}

// ---- reading ---------------------------------------------------------------

// A read pass fills only the bytes it is given, and only when every byte
// came: Esc (pending or pressed) stops it, and the image is never touched.
TEST_F(Protocol, EscStopsAReadWhichFillsNothing)
{
    sim.setMemory(memoryWith([](int a) { return std::uint8_t(a * 7 + 1); }));
    document.edit()->image.EEPROMBuffer.fill(0xEE);
    const auto image = data.image.EEPROMBuffer;
    progress.onValue = [this](const QString &, int step) {
        if (step == 5)  // value for address 20
            protocol.state().requestAbort();
    };
    link::EEPROMBytes read{};
    EXPECT_EQ(protocol.ReadEEPROMData(read), ModuleProtocol::Pass::Stopped);
    expectCleanFailure();
    EXPECT_FALSE(protocol.state().abortRequested());
    EXPECT_EQ(read, link::EEPROMBytes{});
    EXPECT_EQ(data.image.EEPROMBuffer, image);
    EXPECT_EQ(countOnWire(0x15), 5);
    EXPECT_TRUE(errors.shown.empty());

    progress.onValue = nullptr;
    sim.clearReceived();
    protocol.state().requestAbort();  // pressed while nothing ran
    EXPECT_EQ(protocol.ReadEEPROMData(read), ModuleProtocol::Pass::Stopped);
    EXPECT_FALSE(protocol.state().abortRequested());
    EXPECT_EQ(countOnWire(0x15), 1);
    EXPECT_EQ(protocol.ReadEEPROMData(read), ModuleProtocol::Pass::Complete);
    EXPECT_EQ(read[279], std::uint8_t(279 * 7 + 1));
    EXPECT_EQ(data.image.EEPROMBuffer, image);
}

TEST_F(Protocol, IgnoringATimeoutNeverTurnsAMissingByteIntoData)
{
    withFaults([](sim::Faults &f) { f.silenceAfterBytes = 3 + 4; });  // address, then four reads
    errors.answers = {ErrorChoice::Ignore};
    link::EEPROMBytes read{};
    EXPECT_EQ(protocol.ReadEEPROMData(read), ModuleProtocol::Pass::Failed);
    expectOneCommError(Timeout);
    expectCleanFailure();
    EXPECT_EQ(read, link::EEPROMBytes{});
    EXPECT_EQ(countOnWire(0x15), 5);  // the loop stopped at the byte that never came
}

// Retry after a time-out or a device that went away opens the port again and
// reads the whole pass anew, from a fresh address set.
TEST_F(Protocol, RetryOpensThePortAgainAndRepeatsThePass)
{
    const auto memory = memoryWith([](int a) { return std::uint8_t(a * 3); });
    sim.setMemory(memory);
    const QString device = sim.devicePath();
    withFaults([](sim::Faults &f) { f.silenceAfterBytes = 3 + 2 * 10; });
    errors.answers = {ErrorChoice::Retry};
    errors.beforeAnswer = [this] { sim.setFaults({}); };  // the cable is back
    link::EEPROMBytes read{};
    EXPECT_EQ(protocol.ReadEEPROMData(read), ModuleProtocol::Pass::Complete);
    expectOneCommError(Timeout);
    for (int a = 16; a < 280; ++a)
        ASSERT_EQ(read[a], memory[a]) << a;
    EXPECT_EQ(countOnWire(0x14), 2);
    EXPECT_FALSE(port.isOpen());

    errors.shown.clear();
    errors.beforeAnswer = nullptr;
    withFaults([](sim::Faults &f) { f.vanishAfterBytes = 3 + 8; });
    EXPECT_EQ(protocol.ReadEEPROMData(read), ModuleProtocol::Pass::Failed);
    ASSERT_FALSE(errors.shown.empty());
    EXPECT_TRUE(errors.shown.front().description.startsWith(
        QStringLiteral("The device %1 went away during the transfer").arg(device)))
        << errors.shown.front().description.toStdString();
    expectCleanFailure();
}

// ---- writing and verification ---------------------------------------------

TEST_F(Protocol, RefusedWriteStopsAtThatAddressWithoutVerifying)
{
    const auto before = sim.memory();
    for (int a = 16; a < 280; ++a)
        document.edit()->image.EEPROMBuffer[a] = std::uint8_t(~before[a]);
    withFaults([](sim::Faults &f) { f.refuseWriteAt = 20; });
    EXPECT_FALSE(protocol.WriteEEPROMData(link::allTransferAddresses()));
    expectCleanFailure();
    EXPECT_TRUE(errors.shown.empty());
    EXPECT_EQ(progress.find("Verifying EEPROM"), nullptr);
    const auto after = sim.memory();
    for (int a = 16; a < 20; ++a)
        EXPECT_EQ(after[a], data.image.EEPROMBuffer[a]) << a;
    for (int a = 20; a < 280; ++a)
        ASSERT_EQ(after[a], before[a]) << a;
    EXPECT_EQ(countOnWire(0x16), 5);
    EXPECT_GE(protocol.pacingStats().shortestExcess.count(), 0);
}

TEST_F(Protocol, VerificationCountsADifferentReadBack)
{
    const auto memory = memoryWith([](int a) { return std::uint8_t(a); });
    sim.setMemory(memory);
    document.edit()->image.EEPROMBuffer = memory;
    withFaults([](sim::Faults &f) { f.readBackDiffersAt = 100; });
    std::vector<int> differing;
    EXPECT_EQ(protocol.VerifyEEPROM(differing), ModuleProtocol::Pass::Complete);
    EXPECT_EQ(differing, std::vector<int>{100});
    EXPECT_EQ(protocol.VerifyErrorCount, 1);
    EXPECT_FALSE(port.isOpen());
    const auto *run = progress.find("Verifying EEPROM");
    ASSERT_NE(run, nullptr);
    EXPECT_TRUE(run->hidden);
    EXPECT_EQ(run->values.back(), 100);
}

TEST_F(Protocol, PendingEscStopsVerificationAfterItsFirstByteAsFailed)
{
    const auto memory = sim.memory();
    document.edit()->image.EEPROMBuffer = memory;
    protocol.state().requestAbort();
    std::vector<int> differing;
    EXPECT_EQ(protocol.VerifyEEPROM(differing), ModuleProtocol::Pass::Stopped);
    EXPECT_EQ(protocol.VerifyErrorCount, 1);
    EXPECT_FALSE(protocol.state().abortRequested());
    EXPECT_EQ(countOnWire(0x15), 1);
}

TEST_F(Protocol, UnansweredByteDuringVerificationCountsAsFailed)
{
    const auto memory = sim.memory();
    document.edit()->image.EEPROMBuffer = memory;
    withFaults([](sim::Faults &f) { f.silenceAfterBytes = 3 + 5; });
    std::vector<int> differing;
    EXPECT_EQ(protocol.VerifyEEPROM(differing), ModuleProtocol::Pass::Failed);
    expectOneCommError(Timeout);
    EXPECT_GE(protocol.VerifyErrorCount, 1);
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(countOnWire(0x15), 6);
}

TEST_F(Protocol, VerificationWhoseAddressIsRefusedCountsAsFailed)
{
    const auto memory = sim.memory();
    document.edit()->image.EEPROMBuffer = memory;
    withFaults([](sim::Faults &f) { f.refuseAddress = true; });
    std::vector<int> differing;
    EXPECT_EQ(protocol.VerifyEEPROM(differing), ModuleProtocol::Pass::Failed);
    EXPECT_EQ(protocol.VerifyErrorCount, 1);
    EXPECT_EQ(countOnWire(0x15), 0);
}

TEST(ProgressPercent, RoundsHalvesToEvenWithinZeroToHundred)
{
    EXPECT_EQ(ModuleProtocol::progressPercent(16), 6);
    EXPECT_EQ(ModuleProtocol::progressPercent(132), 50);
    EXPECT_EQ(ModuleProtocol::progressPercent(262), 100);  // 99.62
    EXPECT_EQ(ModuleProtocol::progressPercent(263), 100);
    EXPECT_EQ(ModuleProtocol::progressPercent(279), 100);
    EXPECT_EQ(ModuleProtocol::progressPercent(0), 0);
}

}  // namespace
