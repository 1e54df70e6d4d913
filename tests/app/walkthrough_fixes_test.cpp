// Faults met by using the merged program as a mechanic would.
#include "app/qt_user_interface.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace tunara::test {
namespace {

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
