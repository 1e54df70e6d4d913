// Every window lies whole on the screen it opens on with its buttons in
// reach: run on the offscreen screen as it is (800×600) and again at twice
// the scale, where the same screen is 400×300 and nothing fits at design size.
// And the keyboard reaches each control by an access key of its own.
#include "app/scripted_ui.h"
#include "dialogs/mod_params_dialog.h"
#include "dialogs/new_2d_table_dialog.h"
#include "dialogs/new_3d_table_dialog.h"
#include "dialogs/tune_history_window.h"
#include "dialogs/gpio_params_dialog.h"
#include "held_document.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
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

// Every check box and option has an access key, and no two controls of the
// window share one (buttons, frames and the labels of fields).
void expectOwnAccessKeys(const QWidget &window)
{
    const std::string name = window.objectName().toStdString();
    QStringList keys;
    const auto take = [&keys](const QString &text) {
        const QString key = QKeySequence::mnemonic(text).toString();
        if (!key.isEmpty())
            keys << key;
        return key;
    };
    for (const QAbstractButton *b : window.findChildren<QAbstractButton *>()) {
        const QString key = take(b->text());
        if (qobject_cast<const QCheckBox *>(b) || qobject_cast<const QRadioButton *>(b)) {
            EXPECT_FALSE(key.isEmpty()) << name << ": " << b->text().toStdString();
        }
    }
    for (const QGroupBox *g : window.findChildren<QGroupBox *>())
        take(g->title());
    for (const QLabel *l : window.findChildren<QLabel *>()) {
        if (l->buddy()) {
            EXPECT_FALSE(take(l->text()).isEmpty()) << name << ": " << l->text().toStdString();
        }
    }
    QStringList seen;
    for (const QString &key : keys) {
        EXPECT_FALSE(seen.contains(key)) << name << " uses " << key.toStdString() << " twice";
        seen << key;
    }
}

TEST(AccessKeys, EachDialogGivesItsControlsKeysOfTheirOwn)
{
    HeldDocument held;
    held.data.image.DataBufferEmpty = false;
    ModuleDocument &document = held.ready();
    ScriptedUserInterface ui;
    expectOwnAccessKeys(dialogs::frmModParams(document, nullptr, &ui));
    expectOwnAccessKeys(dialogs::frmGPIOParams(document, ui));
    Host2D host2D;
    expectOwnAccessKeys(wizards::frmNew2DTable(host2D));
    Host3D host3D;
    expectOwnAccessKeys(wizards::frmNew3DTable(host3D));
    expectOwnAccessKeys(ui::TuneHistoryWindow());
}

}  // namespace
}  // namespace tunara::test
