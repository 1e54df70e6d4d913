// What follows a new image into the window: the caption naming its source,
// and the 3D chart, set up only when the table is opened.
#include "app/data_fixture.h"

namespace tunara::test {
namespace {

using ui::Answer;

class DataSourceViews : public DataCommandsTest {
protected:
    void SetUp() override
    {
        DataCommandsTest::SetUp();
        linkedWindow();
    }
    void open(const QString &name)
    {
        ui.fileNames = {path(name)};
        ui.answers = {Answer::OK, Answer::OK, Answer::OK};  // overwrite when asked, loaded, a file check
        choose(actions().openFile);
    }
    void download()
    {
        ui.answers = {Answer::OK, Answer::OK, Answer::OK};  // overwrite, the firmware, downloaded
        choose(actions().download);
    }
};

TEST_F(DataSourceViews, EveryOpenSaveAndDownloadNamesTheSourceAgainAfterAWizard)
{
    sim.setMemory(memory2D());
    writeFile(QStringLiteral("a.dat"), transferBytes(memory2D()));
    open(QStringLiteral("a.dat"));
    const std::pair<std::function<void()>, QString> steps[] = {
        {[&] {
             ui.fileNames = {path(QStringLiteral("a.dat"))};
             ui.answers = {Answer::Yes};  // replace it
             choose(actions().saveFile);
         },
         QStringLiteral("a.dat")},
        {[&] { open(QStringLiteral("a.dat")); }, QStringLiteral("a.dat")},
        {[&] { download(); }, QStringLiteral("Downloaded Data")},
        {[&] { download(); }, QStringLiteral("Downloaded Data")}};
    for (const auto &[step, source] : steps) {
        choose(actions().newTable);  // the wizard leaves the bare main title
        ASSERT_EQ(caption(), window->mainTitle());
        step();
        EXPECT_EQ(caption(), titled(source));
    }
}

TEST_F(DataSourceViews, AMissingThreeDTemplateIsToldOnceWhenTheTableIsOpened)
{
    sim::SimulatedModule::Memory map3Bar = memory2D();
    map3Bar[50] = std::uint8_t((map3Bar[50] & ~0x40) | 0x80);
    map3Bar[55] = 2;
    sim.setMemory(map3Bar);
    writeFile(QStringLiteral("map.dat"), transferBytes(map3Bar));
    removeProgramFile(QStringLiteral("Torvik_3D_3Bar_Timing_Chart.oc3"));
    open(QStringLiteral("map.dat"));
    download();
    ui.answers = {Answer::OK};
    choose(actions().editTimingTable);
    QStringList told;
    for (const UiCall &m : ui.messages())
        if (m.text.startsWith(QStringLiteral("Chart template file")))
            told << m.title + u'|' + m.text;
    EXPECT_EQ(told, QStringList{QStringLiteral("Edit Timing Table|Chart template file "
                                               "Torvik_3D_3Bar_Timing_Chart.oc3 not found.")});
    EXPECT_FALSE(window->session().isOpen());
}

}  // namespace
}  // namespace tunara::test
