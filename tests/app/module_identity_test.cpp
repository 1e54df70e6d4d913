// The firmware the window names is the one the open image came with: a save
// keeps it, a module met in a download that fails does not change it, and a
// file opened forgets the module altogether.
#include "app/data_fixture.h"

#include <QLabel>

namespace tunara::test {
namespace {

using ui::Answer;

class ModuleIdentity : public DataCommandsTest {};

TEST_F(ModuleIdentity, TheOpenImageNamesTheFirmwareItCameWith)
{
    sim.setMemory(memory2D());
    ui::frmTunara_Main &w = linkedWindow();
    const auto firmwareShown = [&w] { return w.findChild<QLabel *>(QStringLiteral("lblStatusFirmware"))->text(); };
    const QString downloaded = QStringLiteral("Firmware: Torvik-1 Zoruro V2.1");
    ui.answers = {Answer::OK, Answer::OK};
    choose(actions().download);
    EXPECT_EQ(firmwareShown(), downloaded);

    ui.fileNames = {path(QStringLiteral("kept.dat"))};
    choose(actions().saveFile);
    ASSERT_TRUE(QFile::exists(path(QStringLiteral("kept.dat"))));
    EXPECT_EQ(firmwareShown(), downloaded);

    // Another module answers, then falls silent mid-read: the image stays,
    // and so does the firmware it names.
    sim.setFirmwareID("Torvik-1 Zoruro V3.0");
    sim::Faults silent{};
    silent.silenceAfterBytes = 60;
    sim.setFaults(silent);
    ui.answers = {Answer::OK, Answer::OK, Answer::Abort, Answer::OK};
    choose(actions().download);
    EXPECT_EQ(w.protocol().state().firmwareID(), QStringLiteral("Torvik-1 Zoruro V3.0"));
    EXPECT_EQ(firmwareShown(), downloaded);

    ui.answers = {Answer::OK, Answer::OK};
    w.fileCommands().openDataFile(path(QStringLiteral("kept.dat")));
    EXPECT_EQ(caption(), titled(QStringLiteral("kept.dat")));
    EXPECT_TRUE(w.protocol().state().firmwareID().isEmpty());
    EXPECT_EQ(firmwareShown(), QStringLiteral("Firmware: not read"));
}

}  // namespace
}  // namespace tunara::test
