// The 2D wizard's opening: the close question comes before the boxes are read.
#include "app/scripted_ui.h"
#include "dialogs/new_2d_table_dialog.h"

#include <QLineEdit>

#include <gtest/gtest.h>

namespace tunara::test {
namespace {

// A window whose declined wizard table, once cleared, gives the trigger
// timing back.
class WizardHost : public wizards::New2DTableHost {
public:
    ScriptedUserInterface ui;
    int trig = 34;  // the declined wizard's; 26 before it
    int shownTrig = -1;

    ui::UserInterface &userInterface() override { return ui; }
    int trigTiming() const override { return trig; }
    bool isChart2DVisible() const override { return true; }
    void saveTable() override {}
    void clearTableView() override { trig = 26; }
    void showNewTable(const Table2D &, int trigTiming) override { shownTrig = trigTiming; }
};

TEST(New2DTableWizard, AnsweringNoShowsAndAppliesTheRestoredTriggerTiming)
{
    WizardHost host;
    host.ui.answers = {ui::Answer::No};
    wizards::frmNew2DTable wizard(host);
    wizard.Form_Load();
    ASSERT_EQ(host.ui.messages().size(), 1u);
    EXPECT_EQ(wizard.findChild<QLineEdit *>(QStringLiteral("txtTrigTimingVal"))->text(), QStringLiteral("26"));
    wizard.cmdOK_Click();
    EXPECT_EQ(host.shownTrig, 26);
}

}  // namespace
}  // namespace tunara::test
