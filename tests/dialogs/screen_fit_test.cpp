// Every window lies whole on the screen it opens on with its buttons in
// reach: run on the offscreen screen as it is (800×600) and again at twice
// the scale, where the same screen is 400×300 and nothing fits at design size.
#include "app/scripted_ui.h"
#include "dialogs/mod_params_dialog.h"
#include "dialogs/new_2d_table_dialog.h"
#include "dialogs/new_3d_table_dialog.h"
#include "dialogs/tune_history_window.h"
#include "held_document.h"

#include <QPushButton>
#include <QScreen>

#include <gtest/gtest.h>

#include <memory>

namespace tunara::test {
namespace {

std::string text(const QRect &r)
{
    return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()).toStdString();
}

// The window, shown, within its screen's usable area, and each named button
// shown inside the window's own area.
void expectWhole(QWidget &window, std::initializer_list<const char *> buttons)
{
    window.show();
    const QRect available = window.screen()->availableGeometry();
    const std::string name = window.objectName().toStdString();
    EXPECT_TRUE(available.contains(window.frameGeometry()))
        << name << " at " << text(window.frameGeometry()) << " on " << text(available);
    for (const char *buttonName : buttons) {
        auto *button = window.findChild<QPushButton *>(QLatin1String(buttonName));
        ASSERT_NE(button, nullptr) << name << " " << buttonName;
        const QRect inWindow(button->mapTo(&window, QPoint(0, 0)), button->size());
        EXPECT_TRUE(button->isVisible()) << name << " " << buttonName;
        EXPECT_TRUE(window.rect().contains(inWindow))
            << name << " " << buttonName << " at " << text(inWindow) << " in " << text(window.rect());
    }
    window.close();
}

class Host2D : public wizards::New2DTableHost {
public:
    ScriptedUserInterface ui;
    ui::UserInterface &userInterface() override { return ui; }
    int trigTiming() const override { return 30; }
    bool isChart2DVisible() const override { return false; }
    void saveTable() override {}
    void clearTableView() override {}
    void showNewTable(const Table2D &, int) override {}
};

class Host3D : public wizards::New3DTableHost {
public:
    ScriptedUserInterface ui;
    ui::UserInterface &userInterface() override { return ui; }
    int trigTiming() const override { return 30; }
    void setTrigTiming(int) override {}
    bool isChart3DVisible() const override { return false; }
    void saveTable() override {}
    void clearTableView() override {}
    void showNewTable(const Table3D &, int) override {}
};

TEST(ScreenFit, EveryWindowLiesWholeOnItsScreenWithItsButtonsInReach)
{
    HeldDocument held;
    held.data.image.DataBufferEmpty = false;
    ModuleDocument &document = held.ready();
    ScriptedUserInterface ui;

    dialogs::frmModParams parameters(document, nullptr, &ui);
    expectWhole(parameters, {"cmdOK"});

    Host2D host2D;
    wizards::frmNew2DTable wizard2D(host2D);
    wizard2D.Form_Load();
    expectWhole(wizard2D, {"cmdOK", "cmdUpdate"});
    Host3D host3D;
    wizards::frmNew3DTable wizard3D(host3D);
    wizard3D.Form_Load();
    expectWhole(wizard3D, {"cmdOK", "cmdUpdate"});

    ui::TuneHistoryWindow history;
    expectWhole(history, {"cmdHistoryOpen", "cmdHistoryCompare", "cmdHistoryUpload", "cmdHistoryKeep", "cmdHistoryNote",
                          "cmdHistoryClose"});
}

}  // namespace
}  // namespace tunara::test
