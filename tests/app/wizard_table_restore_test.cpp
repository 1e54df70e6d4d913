// A wizard's table that is never saved must not outlive its view: the working
// arrays and the trigger timing go back to what the image holds.
#include "app/table_editor_fixture.h"
#include "dialogs/new_2d_table_dialog.h"
#include "dialogs/new_3d_table_dialog.h"
#include "tables/table_codec.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSlider>

namespace tunara::test {
namespace {

using ui::Answer;

class WizardTableRestore : public TableEditorTest {
protected:
    // A file's tables: the working arrays and the image agree.
    void openFile(bool twoD)
    {
        shown();
        chooseTable(twoD, 30);
        ClampTablesToTrigger(data.tables, 30);
        encodeTable2D(data.tables.table2D, 30, data.image);
        encodeTable3D(data.tables.table3D, 30, data.image);
        ui.calls.clear();
    }
    // The working arrays as the image's bytes decode them.
    void expectArraysMatchImage()
    {
        TimingTables stored;
        decodeTables(data.image, data.params.TrigTiming, stored);
        for (int p = 1; p <= SpeedPoints; ++p) {
            EXPECT_NEAR(data.tables.table2D(p, 1), stored.table2D(p, 1), 0.044) << p;
            for (int m = 1; m <= PressureRows; ++m)
                EXPECT_NEAR(data.tables.table3D(p, m), stored.table3D(p, m), 0.044) << p << "," << m;
        }
    }
};

TEST_F(WizardTableRestore, ClosingAThreeDWizardTableWithNoBringsBackTheFilesMap)
{
    openFile(false);
    ui.onModal = [](QDialog &dialog) {
        auto &w = dynamic_cast<wizards::frmNew3DTable &>(dialog);
        w.findChild<QSlider *>(QStringLiteral("sldTrigTiming"))->setValue(wizards::New3DTableForm::positionOf(25));
        w.findChild<QSlider *>(QStringLiteral("sldBaseTmg"))->setValue(wizards::New3DTableForm::positionOf(12));
        w.findChild<QPushButton *>(QStringLiteral("cmdOK"))->click();
        return w.result();
    };
    choose(actions().newTable);
    EXPECT_EQ(data.params.TrigTiming, 25);
    EXPECT_EQ(data.tables.table3D(1, 1), 12.0);
    choose(actions().editTimingTable);  // re-opened: still the wizard's table
    EXPECT_EQ(data.tables.table3D(1, 1), 12.0);
    EXPECT_EQ(data.params.TrigTiming, 25);
    ui.answers = {Answer::No};
    choose(actions().closeTbl);
    EXPECT_EQ(data.params.TrigTiming, 30);
    EXPECT_EQ(data.tables.table3D(1, 1), 20.0);
    expectArraysMatchImage();
    // A second wizard whose view is then dropped by a third one's "No".
    choose(actions().newTable);
    ui.onModal = [](QDialog &dialog) { return dialog.result(); };  // closed at once
    ui.answers = {Answer::No};
    choose(actions().newTable);
    EXPECT_EQ(data.params.TrigTiming, 30);
    expectArraysMatchImage();
}

TEST_F(WizardTableRestore, TwoDWizardTriggerTimingIsUndoneByNoAndCarriedBySave)
{
    openFile(true);
    auto wizard = [this](bool ok) {
        ui.onModal = [ok](QDialog &dialog) {
            auto &w = dynamic_cast<wizards::frmNew2DTable &>(dialog);
            w.box("txtTrigTimingVal")->setText(QStringLiteral("20"));
            w.findChild<QPushButton *>(QString::fromLatin1(ok ? "cmdOK" : "cmdUpdate"))->click();
            if (!ok)
                w.reject();  // the close box after an Update
            return w.result();
        };
        choose(actions().newTable);
    };
    wizard(false);
    EXPECT_EQ(data.params.TrigTiming, 20);
    ui.answers = {Answer::No};
    choose(actions().closeTbl);
    EXPECT_EQ(data.params.TrigTiming, 30);
    EXPECT_EQ(data.tables.table2D(5, 1), 15.0);
    expectArraysMatchImage();

    // Saved, the new trigger timing moves the other region with it: the flat
    // 20 degree map stays 20 degrees, now no retard below 20.
    wizard(true);
    choose(actions().saveTbl);
    EXPECT_EQ(data.params.TrigTiming, 20);
    EXPECT_EQ(data.image.EEPROMBuffer[112], 0);
    expectArraysMatchImage();
    ui.answers = {};
    choose(actions().closeTbl);  // nothing open: nothing asked, nothing undone
    EXPECT_EQ(data.params.TrigTiming, 20);
}

}  // namespace
}  // namespace tunara::test
