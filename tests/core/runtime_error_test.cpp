// The common error dialog's Retry / Ignore / Abort, run around one step.
#include "core/runtime_error.h"

#include <gtest/gtest.h>

#include <deque>
#include <stdexcept>
#include <vector>

using namespace tunara;

namespace {

// Answers from a script and records what it was shown.
class ScriptedResponder : public ErrorResponder {
public:
    explicit ScriptedResponder(std::deque<ErrorChoice> answers) : m_answers(std::move(answers)) {}
    ErrorChoice ErrorDialog(const RuntimeError &error) override
    {
        shown.push_back(error);
        if (m_answers.empty()) {
            ADD_FAILURE() << "error dialog shown more often than scripted";
            return ErrorChoice::Abort;
        }
        const ErrorChoice c = m_answers.front();
        m_answers.pop_front();
        return c;
    }
    std::vector<RuntimeError> shown;

private:
    std::deque<ErrorChoice> m_answers;
};

TEST(RuntimeError, CarriesNumberSourceAndDescription)
{
    const RuntimeError e(FileSaveErrorNumber, QStringLiteral("File Save"), QStringLiteral("Canceled File Save"));
    EXPECT_EQ(e.number(), -2147220503);
    EXPECT_EQ(e.source(), QStringLiteral("File Save"));
    EXPECT_EQ(e.description(), QStringLiteral("Canceled File Save"));
    EXPECT_STREQ(e.what(), "Canceled File Save");
}

TEST(RuntimeError, ProgramErrorNumbersAreTheObjectErrorBasePlusOffsets)
{
    EXPECT_EQ(ObjectErrorBase, static_cast<int>(0x80040000u));
    EXPECT_EQ(CommErrorNumber, -2147220504);
    EXPECT_EQ(FileOpenErrorNumber, static_cast<int>(0x800403E8u));
    EXPECT_EQ(FileSaveErrorNumber, static_cast<int>(0x800403E9u));
}

TEST(ErrorChoice, ButtonCodesOfTheErrorDialog)
{
    EXPECT_EQ(static_cast<int>(ErrorChoice::Abort), 3);
    EXPECT_EQ(static_cast<int>(ErrorChoice::Retry), 4);
    EXPECT_EQ(static_cast<int>(ErrorChoice::Ignore), 5);
}

TEST(RunTrapped, StepThatSucceedsAsksNothing)
{
    ScriptedResponder responder({});
    int runs = 0;
    EXPECT_EQ(runTrapped(responder, [&] { ++runs; }), StepOutcome::Completed);
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(responder.shown.empty());
}

TEST(RunTrapped, RetryRunsTheFailingStepAgainUntilItSucceeds)
{
    ScriptedResponder responder({ErrorChoice::Retry, ErrorChoice::Retry});
    int runs = 0;
    const auto outcome = runTrapped(responder, [&] {
        if (++runs < 3)
            throw RuntimeError(CommErrorNumber, QStringLiteral("Comm Error"), QStringLiteral("Timed out"));
    });
    EXPECT_EQ(outcome, StepOutcome::Completed);
    EXPECT_EQ(runs, 3);
    ASSERT_EQ(responder.shown.size(), 2u);
    EXPECT_EQ(responder.shown[0].number(), CommErrorNumber);
    EXPECT_EQ(responder.shown[0].source(), QStringLiteral("Comm Error"));
    EXPECT_EQ(responder.shown[0].description(), QStringLiteral("Timed out"));
}

TEST(RunTrapped, IgnoreAndAbortEndTheStepDifferently)
{
    for (const auto &[choice, expected] : {std::pair{ErrorChoice::Ignore, StepOutcome::Ignored},
                                           std::pair{ErrorChoice::Abort, StepOutcome::Aborted}}) {
        ScriptedResponder responder({choice});
        int runs = 0;
        const auto outcome = runTrapped(responder, [&] {
            ++runs;
            throw RuntimeError(6, QStringLiteral("UpdateEEPROM"), QStringLiteral("Overflow"));
        });
        EXPECT_EQ(outcome, expected);
        EXPECT_EQ(runs, 1);
        EXPECT_EQ(responder.shown.size(), 1u);
    }
}

TEST(RunTrapped, RetryThenAbortStopsAfterTheSecondAttempt)
{
    ScriptedResponder responder({ErrorChoice::Retry, ErrorChoice::Abort});
    int runs = 0;
    EXPECT_EQ(runTrapped(responder,
                         [&] {
                             ++runs;
                             throw RuntimeError(75, QStringLiteral("Data File"), QStringLiteral("Cannot write"));
                         }),
              StepOutcome::Aborted);
    EXPECT_EQ(runs, 2);
}

TEST(RunTrapped, OtherExceptionsReachTheDialogInsteadOfEscaping)
{
    // A library exception (an index outside a table, a failed allocation)
    // must still end in the dialog, never tear through the command.
    ScriptedResponder responder({ErrorChoice::Ignore, ErrorChoice::Abort});
    EXPECT_EQ(runTrapped(responder, [] { throw std::out_of_range("Table2D index out of range"); }),
              StepOutcome::Ignored);
    ASSERT_EQ(responder.shown.size(), 1u);
    EXPECT_EQ(responder.shown[0].number(), 0);
    EXPECT_EQ(responder.shown[0].description(), QStringLiteral("Table2D index out of range"));

    EXPECT_EQ(runTrapped(responder, [] { throw std::bad_alloc(); }), StepOutcome::Aborted);
    ASSERT_EQ(responder.shown.size(), 2u);
    EXPECT_EQ(responder.shown[1].number(), 7);
}

}  // namespace
