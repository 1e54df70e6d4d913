// The window's link thread, on real time: the operations run off the
// caller's thread, which keeps handling its events, shows the progress and
// answers the error dialog, and gets the port back after every operation.

#include "link_test_support.h"

#include "link/link_thread.h"

#include <QThread>
#include <QTimer>

using namespace tunara;
using namespace tunara::link;
using namespace linktest;

namespace {

class OnLinkThread : public LinkTest {
protected:
    OnLinkThread() : LinkTest(Time::Real) {}
    void SetUp() override
    {
        LinkTest::SetUp();
        protocol.runOn(&thread);
    }
    void TearDown() override
    {
        protocol.runOn(nullptr);
        LinkTest::TearDown();
    }
    bool portIsOurs() const { return port.thread() == QThread::currentThread(); }

    LinkThread thread;
};

TEST_F(OnLinkThread, DownloadRunsOffTheCallerWhichKeepsItsEventsProgressAndEsc)
{
    sim.setMemory(memoryWith([](int a) { return std::uint8_t(a * 11); }));
    std::vector<QThread *> progressThreads;
    progress.onValue = [&](const QString &, int) { progressThreads.push_back(QThread::currentThread()); };
    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&ticks] { ++ticks; });
    ticker.start(20);
    QThread *identifiedOn = nullptr;
    QObject::connect(
        &protocol.state(), &LinkState::identificationChanged, &protocol.state(),
        [&identifiedOn] { identifiedOn = QThread::currentThread(); }, Qt::DirectConnection);

    EXPECT_EQ(transfers.Download(), TransferOutcome::Completed);
    for (int a = 16; a < 280; ++a)
        ASSERT_EQ(data.image.EEPROMBuffer[std::size_t(a)], std::uint8_t(a * 11)) << "address " << a;
    EXPECT_NE(identifiedOn, nullptr);
    EXPECT_NE(identifiedOn, QThread::currentThread()) << "the identification was read on the caller's thread";
    EXPECT_GT(ticks, 20) << "the caller's events did not run during the transfer";
    ASSERT_FALSE(progressThreads.empty());
    EXPECT_TRUE(std::all_of(progressThreads.begin(), progressThreads.end(),
                            [](QThread *t) { return t == QThread::currentThread(); }));
    EXPECT_TRUE(progress.find(QStringLiteral("Reading EEPROM"))->hidden);
    EXPECT_TRUE(portIsOurs());

    // Esc from the caller's thread stops the next download; the image stays.
    const EEPROMBytes before = data.image.EEPROMBuffer;
    sim.setMemory(memoryWith([](int) { return std::uint8_t(0x5A); }));
    progress.onValue = [this](const QString &, int step) {
        if (step == 40)
            protocol.state().requestAbort();
    };
    EXPECT_EQ(transfers.Download(), TransferOutcome::Stopped);
    EXPECT_EQ(data.image.EEPROMBuffer, before);
    EXPECT_TRUE(portIsOurs());
    EXPECT_FALSE(port.isOpen());
}

TEST_F(OnLinkThread, SilentModuleIsReportedOnTheCallersThreadAndRetryRunsAgain)
{
    sim::Faults faults;
    faults.silenceAfterBytes = 0;
    sim.setFaults(faults);
    std::vector<QThread *> askedOn;
    errors.beforeAnswer = [&askedOn] { askedOn.push_back(QThread::currentThread()); };
    errors.answers = {ErrorChoice::Retry, ErrorChoice::Abort};

    protocol.ReadFirmwareID();
    EXPECT_FALSE(protocol.state().commOK());
    ASSERT_EQ(errors.shown.size(), 2u) << "Retry did not run the identification again";
    EXPECT_EQ(errors.shown.front().description, ModuleProtocol::timeoutMessage());
    EXPECT_EQ(askedOn, std::vector<QThread *>(2, QThread::currentThread()));
    EXPECT_TRUE(portIsOurs());
    EXPECT_FALSE(port.isOpen());
}

}  // namespace
