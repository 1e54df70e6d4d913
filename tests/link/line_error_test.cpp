// Line errors reported by the port: the six known codes become a
// "Communications Error" question; from the third report on the port is shut
// before the question, whatever the answer.
#include "link/line_error_handler.h"
#include "link/serial_port.h"

#include "link_test_support.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

#include <atomic>
#include <deque>
#include <thread>

using namespace tunara::link;

namespace {

// A port that only records what the handler does to it.
class ScriptedPort : public SerialPort {
public:
    bool open_ = true;
    int closes = 0;
    int discards = 0;
    std::thread::id closedOn;
    void setPortNumber(int n) override { number = n; }
    int portNumber() const override { return number; }
    bool isOpen() const override { return open_; }
    void open() override { open_ = true; }
    void close() override
    {
        open_ = false;
        ++closes;
        closedOn = std::this_thread::get_id();
    }
    void applySettings() override {}
    void writeByte(std::uint8_t) override {}
    int bytesWaiting() override { return 0; }
    std::uint8_t readByte() override { return 0; }
    void discardInput() override { ++discards; }
    void waitForInput(int) override {}
    void report(int code) { emit lineError(code); }
    int number = 1;
};

class ScriptedQuestion : public LineErrorPrompter {
public:
    std::deque<LineErrorChoice> answers;
    std::vector<std::pair<QString, QString>> asked;
    ScriptedPort *port = nullptr;
    std::vector<bool> portOpenWhenAsked;
    std::thread::id askedOn;
    LineErrorChoice askLineError(const QString &text, const QString &title) override
    {
        asked.emplace_back(text, title);
        askedOn = std::this_thread::get_id();
        portOpenWhenAsked.push_back(port->isOpen());
        if (answers.empty())
            return LineErrorChoice::Retry;
        const auto a = answers.front();
        answers.pop_front();
        return a;
    }
};

class LineErrors : public ::testing::Test {
protected:
    LineErrors() { linktest::ensureApplication(); question.port = &port; }
    ScriptedPort port;
    ScriptedQuestion question;
    LineErrorHandler handler{port, question};
};

TEST_F(LineErrors, EachKnownCodeIsAskedWithItsTextUnderCommunicationsError)
{
    const std::vector<std::pair<int, QString>> codes{
        {1004, "Framing error."},          {1006, "Port hardware overrun."},
        {1008, "Receive buffer overflow."}, {1009, "Parity error."},
        {1010, "Transmit buffer full."},   {1011, "Device control block error."},
    };
    for (const auto &[code, text] : codes) {
        handler.resetCount();
        port.report(code);
        ASSERT_FALSE(question.asked.empty());
        EXPECT_EQ(question.asked.back().first, text) << code;
        EXPECT_EQ(question.asked.back().second, "Communications Error");
    }
    EXPECT_EQ(question.asked.size(), codes.size());
}

TEST_F(LineErrors, OtherEventsAreIgnoredAndNotCounted)
{
    for (int code : {1, 2, 3, 1001, 1002, 1003, 1005, 1007, 1012, 0, -1})
        port.report(code);
    EXPECT_TRUE(question.asked.empty());
    EXPECT_EQ(handler.CommErrorCount, 0);
    EXPECT_EQ(port.closes, 0);
    EXPECT_EQ(port.discards, 0);
}

TEST_F(LineErrors, RetryEmptiesTheReceiveBufferAndKeepsThePortOpen)
{
    question.answers = {LineErrorChoice::Retry};
    port.report(1004);
    EXPECT_EQ(handler.CommErrorCount, 1);
    EXPECT_EQ(port.discards, 1);
    EXPECT_TRUE(port.isOpen());
}

TEST_F(LineErrors, CancelClosesThePort)
{
    question.answers = {LineErrorChoice::Cancel};
    port.report(1009);
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(port.discards, 0);
}

TEST_F(LineErrors, ThirdReportClosesThePortBeforeAskingEvenWhenRetried)
{
    question.answers = {LineErrorChoice::Retry, LineErrorChoice::Retry, LineErrorChoice::Retry};
    port.report(1004);
    port.report(1006);
    EXPECT_TRUE(port.isOpen());
    port.report(1008);
    EXPECT_EQ(handler.CommErrorCount, 3);
    EXPECT_EQ(question.portOpenWhenAsked, (std::vector<bool>{true, true, false}));
    EXPECT_FALSE(port.isOpen());
    // The port was reopened by the next command: the fourth report shuts it again.
    port.open();
    port.report(1004);
    EXPECT_FALSE(port.isOpen());
}

TEST_F(LineErrors, CountStartsAgainAfterReset)
{
    port.report(1004);
    port.report(1004);
    handler.resetCount();  // the window was resized
    port.report(1004);
    EXPECT_EQ(handler.CommErrorCount, 1);
    EXPECT_TRUE(port.isOpen());
}

// During a window transfer the port reports from the link thread, whose
// event loop does not run: the question goes to the handler's thread at
// once, and the answer is carried out where the port is.
TEST_F(LineErrors, ReportFromAnotherThreadIsAskedOnTheHandlersThreadAndAnsweredOnTheReporters)
{
    question.answers = {LineErrorChoice::Cancel};
    std::thread::id reporter;
    std::atomic<bool> done = false;
    std::thread link([&] {
        reporter = std::this_thread::get_id();
        port.report(1009);
        done = true;
    });
    while (!done)
        QCoreApplication::processEvents();
    link.join();
    ASSERT_EQ(question.asked.size(), 1u);
    EXPECT_EQ(question.asked[0].first, "Parity error.");
    EXPECT_EQ(question.askedOn, std::this_thread::get_id());
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(port.closedOn, reporter);
}

}  // namespace
