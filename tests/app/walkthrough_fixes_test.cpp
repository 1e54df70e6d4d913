// Faults met by using the merged program as a mechanic would.
#include "dialogs/qt_user_interface.h"
#include "views/report_charts.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
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

// The printed map names the pressures of the module's sensor, as the editor's
// grid and chart do; it used to print the 1 bar labels for every sensor.
TEST(ReportMap, ThePrintedPressureAxisFollowsTheMapSensor)
{
    Table3D flat;
    for (int p = 1; p <= SpeedPoints; ++p)
        for (int m = 1; m <= PressureRows; ++m)
            flat(p, m) = 20;
    const QString templatePath = QStringLiteral(TUNARA_RESOURCES_DIR "/Torvik_3D_2Bar_Timing_Chart.oc3");
    auto draw = [&](std::uint8_t mapSensor) {
        QImage image(800, 560, QImage::Format_ARGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        ModuleParameters params;
        params.TrigTiming = 30;
        params.MAPSensor = mapSensor;
        views::chart3DPicture(templatePath, flat, params)(painter, QRectF(image.rect()));
        return image;
    };
    const QImage oneBar = draw(0);
    const QImage twoBar = draw(1);
    EXPECT_NE(oneBar, twoBar);
    EXPECT_EQ(twoBar, draw(1));
}

}  // namespace
}  // namespace tunara::test
