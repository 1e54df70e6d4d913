// Every field that takes a typed number reads it the same way: text that is
// not wholly a plain decimal number is refused with the field's own words
// and changes nothing, wherever it is typed.
#include "app/scripted_ui.h"
#include "core/runtime_error.h"
#include "dialogs/gpio_params_form.h"
#include "dialogs/new_2d_table_form.h"
#include "editor/table_edit_model.h"
#include "editor/table_edits.h"
#include "files/stored_settings.h"
#include "held_document.h"

#include <gtest/gtest.h>

namespace tunara::test {
namespace {

using dialogs::GpioField;
using editor::CellRect;
using wizards::FieldMessage;
using wizards::New2DTableForm;

const QString Garbage[] = {QStringLiteral("1e9"),     QStringLiteral("\u0663"), QStringLiteral("1.000,5"),
                           QStringLiteral("12,5abc"), QStringLiteral("abc"),    QString()};

editor::TableEditModel &openMap(editor::TableEditModel &model)
{
    Table3D map;
    for (int i = 0; i < SpeedPoints * PressureRows; ++i)
        map(i % SpeedPoints + 1, i / SpeedPoints + 1) = 20;
    model.open3D(map, 30);
    return model;
}

TEST(NumberEntry, EveryFieldRefusesWhatIsNotAPlainNumberAndKeepsItsValue)
{
    editor::TableEditModel model;
    openMap(model);
    const double held = model.value(1, 1);
    HeldDocument doc;
    doc.data.params.IdleStabAdv = 114;  // 10 degrees
    ScriptedUserInterface ui;
    dialogs::GpioParamsForm gpio(doc.ready(), ui);
    gpio.Form_Load();
    const dialogs::GpioParamsState gpioBefore = gpio.state;
    const ModuleParameters paramsBefore = doc.document.params();
    New2DTableForm wizard = New2DTableForm::opened(30);
    const New2DTableForm wizardBefore = wizard;

    for (const QString &text : Garbage) {
        SCOPED_TRACE(text.toStdString());
        // Grid cell: refused, the cell keeps its value.
        EXPECT_FALSE(model.enterText(1, 1, text));
        // Modify: refused with its message (a blank reply is no expression).
        const editor::TableEdit modified = editor::edits::modify(model, CellRect::single(1, 1), text);
        EXPECT_FALSE(modified.applied);
        EXPECT_EQ(modified.refusal, text.isEmpty() ? QString() : editor::modifyRefusal(text));
        // Paste: the cell is no number, so it keeps its value.
        editor::edits::paste(model, {text + QStringLiteral("\t21"), {}, CellRect::single(1, 1), {}});
        EXPECT_EQ(model.value(1, 1), held);
        model.undo();
        // Idle stabilisation and GPIO fields: both bounds said, the
        // parameter and the field as they were.
        for (int f = 0; f < 5; ++f) {
            const auto field = static_cast<GpioField>(f);
            gpio.state.text(field) = text;
            ui.answers.push_back(ui::Answer::OK);
            gpio.validate(field);
            ASSERT_EQ(ui.messages().size(), 1u);
            EXPECT_TRUE(
                ui.messages().front().text.startsWith(QStringLiteral("Value must be greater than or equal to ")));
            EXPECT_TRUE(ui.messages().front().text.contains(QStringLiteral("\nValue must be less than or equal to ")));
            ui.calls.clear();
        }
        EXPECT_EQ(doc.document.params(), paramsBefore);
        EXPECT_EQ(gpio.state.txtIdleStabAdv, gpioBefore.txtIdleStabAdv);
        EXPECT_EQ(gpio.state.txtMinIdleRPM, gpioBefore.txtMinIdleRPM);
        // The new 2D table wizard's boxes.
        for (auto enter :
             {&New2DTableForm::enterTrigTiming, &New2DTableForm::enterStartRPM, &New2DTableForm::enterFinalRPM,
              &New2DTableForm::enterStartTiming, &New2DTableForm::enterFinalTiming}) {
            const std::optional<FieldMessage> message = (wizard.*enter)(text);
            ASSERT_TRUE(message);
            EXPECT_TRUE(message->text.contains(u'\n'));
        }
        EXPECT_EQ(wizard.TrigTimingVal, wizardBefore.TrigTimingVal);
        EXPECT_EQ(wizard.StartRPMVal, wizardBefore.StartRPMVal);
        EXPECT_EQ(wizard.FinalTimingVal, wizardBefore.FinalTimingVal);
        // The stored port number.
        EXPECT_THROW(parseCommPort(text), RuntimeError);
    }
    EXPECT_EQ(model.value(1, 1), held);

    // The same plain text is the same number everywhere: a decimal comma, a
    // sign and blanks around it.
    EXPECT_NEAR(*model.enterText(1, 1, QStringLiteral(" +12,5 ")), 12.5, 0.044);
    editor::edits::modify(model, CellRect::single(1, 2), QStringLiteral(" 12,5 "));
    EXPECT_EQ(model.value(1, 2), model.value(1, 1));
    gpio.state.text(GpioField::IdleStabAdv) = QStringLiteral(" +12,5 ");
    gpio.validate(GpioField::IdleStabAdv);
    EXPECT_EQ(gpio.state.txtIdleStabAdv, QStringLiteral("12"));
    EXPECT_FALSE(wizard.enterStartTiming(QStringLiteral(" +12,5 ")));
    EXPECT_EQ(wizard.StartTimingVal, 12);
    EXPECT_EQ(parseCommPort(QStringLiteral(" +12,5 ")), 12);
}

}  // namespace
}  // namespace tunara::test
