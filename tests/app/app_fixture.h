#pragma once

#include "app/fake_serial_port.h"
#include "app/main_window.h"
#include "editor/table_session.h"
#include "app/scripted_ui.h"
#include "files/stored_settings.h"
#include "held_document.h"
#include "support/process_state.h"
#include "support/virtual_clock.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace tunara::test {

// Each test gets its own program folder (with the shipped companion files
// unless it asks otherwise), its own settings file, its own port double, its
// own scripted user and a virtual clock for the link. What the window
// changes for the whole process (the application's name) is put back.
class AppTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    QString programFolder() const { return m_dir.path() + QStringLiteral("/program"); }
    QString programFile(const QString &name) const;
    // Copies one shipped file (or folder) from resources/ into the program folder.
    void install(const QString &name);
    void installAll();
    void writeProgramFile(const QString &name, const QByteArray &content);
    void removeProgramFile(const QString &name);

    // The window, with CompanyInfo as given (default: the built-in lists).
    ui::frmTunara_Main &makeWindow(const QStringList &companyInfo = config::defaults().CompanyInfo);
    // makeWindow + Form_Load.
    ui::frmTunara_Main &loadWindow(const QStringList &companyInfo = config::defaults().CompanyInfo);
    // The window's menu items; choose() picks one as the user does, so it
    // must be enabled.
    const ui::MainActions &actions() const { return window->actions(); }
    void choose(QAction *item);

    ProcessStateKeeper m_processState;
    VirtualClock clock;  // outlives the window and any simulated module
    QTemporaryDir m_dir;
    ScriptedUserInterface ui;
    FakeSerialPort port;
    // The window's document; `data` is its own data, which a test arranges
    // before the window is made (written later it announces nothing).
    HeldDocument held;
    ModuleData &data = held.data;
    std::unique_ptr<StoredSettings> settings;
    std::unique_ptr<ui::frmTunara_Main> window;
    QString m_savedCwd;
};

}  // namespace tunara::test
