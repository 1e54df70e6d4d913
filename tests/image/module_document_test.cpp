// The module document announces each kind of change once, and a change that
// changes nothing announces nothing.
#include "module/module_document.h"
#include "module/parameter_codec.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace tunara;

namespace {

struct Spies {
    explicit Spies(ModuleDocument &d)
        : replaced(&d, &ModuleDocument::imageReplaced), parameters(&d, &ModuleDocument::parametersChanged),
          tables(&d, &ModuleDocument::tablesChanged), mode(&d, &ModuleDocument::tableModeChanged),
          modified(&d, &ModuleDocument::modifiedChanged), source(&d, &ModuleDocument::sourceChanged)
    {
    }
    // How often each signal came, in declaration order.
    std::vector<qsizetype> counts() const
    {
        return {replaced.count(), parameters.count(), tables.count(), mode.count(), modified.count(), source.count()};
    }
    QSignalSpy replaced, parameters, tables, mode, modified, source;
};

ModuleImage imageWith2DTable()
{
    ModuleData data;
    data.params.TimingTable2D = true;
    data.image.DataBufferEmpty = false;
    UpdateEEPROM(data);
    return data.image;
}

TEST(ModuleDocument, EachChangeAnnouncesItselfOnceAndNoChangeNothing)
{
    ModuleDocument document;
    Spies spies(document);
    const DataSource file = DataSource::file(QStringLiteral("/tmp/a.dat"), QStringLiteral("a.dat"));

    document.replaceImage(imageWith2DTable(), file);
    EXPECT_EQ(spies.counts(), (std::vector<qsizetype>{1, 0, 0, 1, 0, 1}));
    EXPECT_FALSE(document.isModified());
    EXPECT_TRUE(document.data().filledThisRun.table2D);
    EXPECT_EQ(document.source(), file);

    // A parameter edit: the parameters and the unsaved state, once each,
    // also when edits nest.
    {
        auto outer = document.edit();
        outer->params.CrankPulses = 4;
        document.edit()->params.RetardComp = 10;
    }
    EXPECT_EQ(spies.counts(), (std::vector<qsizetype>{1, 1, 0, 1, 1, 1}));
    EXPECT_TRUE(spies.modified.last().at(0).toBool());

    // Writing what is there already, or the same source: nothing.
    document.edit()->params.CrankPulses = 4;
    document.setSource(file);
    EXPECT_EQ(spies.counts(), (std::vector<qsizetype>{1, 1, 0, 1, 1, 1}));

    // The table mode, a table, and a save.
    document.edit()->params.TimingTable3D = true;
    document.edit()->tables.table2D(3, 1) = 12;
    document.markSaved();
    EXPECT_EQ(spies.counts(), (std::vector<qsizetype>{1, 2, 1, 2, 2, 1}));
    EXPECT_FALSE(document.isModified());

    document.clear();
    EXPECT_TRUE(document.isEmpty());
    EXPECT_FALSE(document.isModified());
    EXPECT_EQ(spies.replaced.count(), 2);
    EXPECT_EQ(spies.mode.count(), 3);
}

}  // namespace
