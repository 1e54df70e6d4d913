// What follows a new image into the window: the caption that names where it
// came from, and the 3D chart that is set up only when the table is opened.
#include "app/data_fixture.h"

namespace tunara::test {
namespace {

using ui::Answer;
using ui::Buttons;
using ui::Icon;

class DataSourceViews : public DataCommandsTest {
protected:
    void SetUp() override
    {
        DataCommandsTest::SetUp();
        linkedWindow();
    }
    // A 3D map for the 3 bar sensor, every cell inside its window.
    static sim::SimulatedModule::Memory memory3D3Bar()
    {
        sim::SimulatedModule::Memory m = memory2D();
        m[50] = std::uint8_t((m[50] & ~0x40) | 0x80);
        m[55] = 2;
        for (int a = 112; a < 280; ++a)
            m[std::size_t(a)] = 20;
        return m;
    }
    void open(const QString &name)
    {
        ui.fileNames = {path(name)};
        ui.answers = {Answer::OK, Answer::OK};  // the overwrite question when asked, the loaded note
        choose(actions().openFile);
    }
    void download()
    {
        ui.answers = {Answer::OK, Answer::OK, Answer::OK};  // overwrite, the firmware, downloaded
        choose(actions().download);
    }
    // A new-table wizard closed at once: it leaves the bare main title.
    void runWizard()
    {
        choose(actions().newTable);
        ASSERT_EQ(caption().remove(QStringLiteral("[*]")), window->mainTitle());
    }
    int templateMessages() const
    {
        int count = 0;
        for (const UiCall &m : ui.messages())
            count += m.text.startsWith(QStringLiteral("Chart template file"));
        return count;
    }
};

TEST_F(DataSourceViews, EveryOpenSaveAndDownloadNamesTheSourceAgainAfterAWizard)
{
    sim.setMemory(memory2D());
    writeFile(QStringLiteral("engine.dat"), transferBytes(memory2D()));
    open(QStringLiteral("engine.dat"));
    const QString named = titled(QStringLiteral("engine.dat"));
    EXPECT_EQ(caption(), named);

    runWizard();
    ui.fileNames = {path(QStringLiteral("engine.dat"))};
    ui.answers = {Answer::Yes};  // replace the file it came from
    choose(actions().saveFile);
    EXPECT_EQ(caption(), named);

    runWizard();
    open(QStringLiteral("engine.dat"));
    EXPECT_EQ(caption(), named);

    for (int twice = 0; twice < 2; ++twice) {
        runWizard();
        download();
        EXPECT_EQ(caption(), titled(QStringLiteral("Downloaded Data")));
    }
}

// A 3D file or module whose sensor's template is missing opens and
// downloads without a word of it; opening the table tells it, once.
TEST_F(DataSourceViews, AMissingThreeDTemplateIsToldWhenTheTableIsOpened)
{
    removeProgramFile(QStringLiteral("Torvik_3D_3Bar_Timing_Chart.oc3"));
    sim.setMemory(memory3D3Bar());
    writeFile(QStringLiteral("map.dat"), transferBytes(memory3D3Bar()));
    open(QStringLiteral("map.dat"));
    download();
    ASSERT_TRUE(data.params.TimingTable3D);
    EXPECT_EQ(templateMessages(), 0);

    ui.answers = {Answer::OK};
    choose(actions().editTimingTable);
    ASSERT_EQ(templateMessages(), 1);
    const UiCall told = ui.messages().back();
    EXPECT_EQ(told.text, QStringLiteral("Chart template file Torvik_3D_3Bar_Timing_Chart.oc3 not found."));
    EXPECT_EQ(told.title, QStringLiteral("Edit Timing Table"));
    EXPECT_EQ(told.icon, Icon::Critical);
    EXPECT_FALSE(window->session().isOpen());
}

}  // namespace
}  // namespace tunara::test
