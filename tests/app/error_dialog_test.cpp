#include "dialogs/error_dialog.h"
#include "app/scripted_ui.h"

#include <gtest/gtest.h>
#include "dialogs/qt_user_interface.h"
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <memory>

namespace tunara::test {
namespace {

using ui::Answer;

TEST(ErrorDialog, ShowsTheDescriptionAndReturnsTheButtonCode)
{
    ScriptedUserInterface user;
    ui::CommonErrorDialog dialog(user);
    const RuntimeError error(CommErrorNumber, QStringLiteral("Comm Error"),
                             QStringLiteral("RS-232 timeout. Check cable and click Abort."));

    user.answers = {Answer::Abort, Answer::Retry, Answer::Ignore};
    EXPECT_EQ(static_cast<int>(dialog.ErrorDialog(error)), 3);
    EXPECT_EQ(static_cast<int>(dialog.ErrorDialog(error)), 4);
    EXPECT_EQ(static_cast<int>(dialog.ErrorDialog(error)), 5);

    ASSERT_EQ(user.messages().size(), 3u);
    for (const UiCall &c : user.messages()) {
        EXPECT_EQ(c.text, QStringLiteral("RS-232 timeout. Check cable and click Abort."));
        EXPECT_EQ(c.title, QStringLiteral("Error"));
        EXPECT_EQ(c.buttons, ui::Buttons::AbortRetryIgnore);
        EXPECT_EQ(c.icon, ui::Icon::Critical);
    }
}

// A procedure of three steps whose middle one fails the first `failures`
// times; the answers decide what happens next.
struct Procedure {
    int failures = 0;
    int attempts = 0;
    bool first = false, third = false, cleanedUp = false;

    void run(ErrorResponder &errors)
    {
        first = true;
        const StepOutcome middle = runTrapped(errors, [this] {
            ++attempts;
            if (attempts <= failures)
                throw RuntimeError(75, QStringLiteral("Test"), QStringLiteral("Path/File access error"));
        });
        if (middle == StepOutcome::Aborted) {
            cleanedUp = true;  // a procedure's own clean-up before it leaves
            return;
        }
        third = true;
    }
};

TEST(ErrorDialog, RetryRepeatsTheFailingStep)
{
    ScriptedUserInterface user;
    ui::CommonErrorDialog dialog(user);
    Procedure p{.failures = 2};
    user.answers = {Answer::Retry, Answer::Retry};
    p.run(dialog);
    EXPECT_EQ(p.attempts, 3);
    EXPECT_TRUE(p.third);
    EXPECT_FALSE(p.cleanedUp);
}

TEST(ErrorDialog, IgnoreGoesOnWithTheNextStep)
{
    ScriptedUserInterface user;
    ui::CommonErrorDialog dialog(user);
    Procedure p{.failures = 5};
    user.answers = {Answer::Ignore};
    p.run(dialog);
    EXPECT_EQ(p.attempts, 1);
    EXPECT_TRUE(p.third);
    EXPECT_FALSE(p.cleanedUp);
}

TEST(ErrorDialog, AbortLeavesTheProcedureAfterItsCleanUp)
{
    ScriptedUserInterface user;
    ui::CommonErrorDialog dialog(user);
    Procedure p{.failures = 5};
    user.answers = {Answer::Retry, Answer::Abort};
    p.run(dialog);
    EXPECT_EQ(p.attempts, 2);
    EXPECT_FALSE(p.third);
    EXPECT_TRUE(p.cleanedUp);
    EXPECT_EQ(user.messages().size(), 2u);
}

TEST(ErrorDialog, ABoxClosedWithoutAButtonCountsAsAbort)
{
    ScriptedUserInterface user;
    ui::CommonErrorDialog dialog(user);
    user.answers = {Answer::Cancel};
    EXPECT_EQ(dialog.ErrorDialog(RuntimeError(5, QStringLiteral("x"), QStringLiteral("y"))), ErrorChoice::Abort);
}


TEST(CommonErrorDialog, EnterAnswersAbortSoAFailingStepIsNotRepeated)
{
    ui::QtUserInterface user;
    ui::CommonErrorDialog dialog(user);
    bool defaultWasAbort = false;
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        defaultWasAbort = box->defaultButton() == box->button(QMessageBox::Abort);
        QTest::keyClick(box, Qt::Key_Return);
    });
    const ErrorChoice choice = dialog.ErrorDialog(RuntimeError(5, QStringLiteral("Form Load"), QStringLiteral("bad port")));
    EXPECT_TRUE(defaultWasAbort);
    EXPECT_EQ(choice, ErrorChoice::Abort);
}

TEST(GuardQuestions, EnterOnAYesNoGuardAnswersNoWhileOtherBoxesKeepTheFirstButton)
{
    ui::QtUserInterface user;
    auto defaultOf = [&user](ui::Buttons buttons, ui::Answer &answer) {
        auto seen = std::make_shared<QMessageBox::StandardButton>(QMessageBox::NoButton);
        QTimer::singleShot(0, [seen] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            *seen = box->standardButton(box->defaultButton());
            QTest::keyClick(box, Qt::Key_Return);
        });
        answer = user.messageBox(nullptr, QStringLiteral("Upload anyway?"), QStringLiteral("Upload To EEPROM"), buttons,
                                 ui::Icon::Exclamation);
        return *seen;
    };
    ui::Answer answer{};
    EXPECT_EQ(defaultOf(ui::Buttons::YesNo, answer), QMessageBox::No);
    EXPECT_EQ(answer, ui::Answer::No);
    defaultOf(ui::Buttons::YesNoCancel, answer);
    EXPECT_EQ(answer, ui::Answer::Yes);
}

}  // namespace
}  // namespace tunara::test
