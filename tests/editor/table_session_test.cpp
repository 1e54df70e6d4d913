// The open table's session: which table, open / save / discard, and the
// wizard transaction, without any widget.
#include "editor/table_session.h"
#include "image/image_layout.h"
#include "tables/table_codec.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace tunara;
using namespace tunara::editor;

namespace {

ModuleData dataWith(bool table2D, bool table3D, int trig = 30)
{
    ModuleData data;
    data.params.TimingTable2D = table2D;
    data.params.TimingTable3D = table3D;
    data.params.TrigTiming = trig;
    data.image.DataBufferEmpty = false;
    for (int p = 1; p <= SpeedPoints; ++p) {
        data.tables.table2D(p, 1) = 20;
        for (int m = 1; m <= PressureRows; ++m)
            data.tables.table3D(p, m) = 15 + p / 10.0;
    }
    encodeTable2D(data.tables.table2D, trig, data.image);
    encodeTable3D(data.tables.table3D, trig, data.image);
    return data;
}

// A document holding the given data.
struct Held {
    explicit Held(const ModuleData &data) { *document.edit() = data; }
    ModuleDocument document;
};

TEST(TableSession, TheParametersChooseOneOfThreeAndOnlyAnOpenTableIsOpen)
{
    EXPECT_EQ(activeTable(dataWith(false, false).params), TableKind::None);
    EXPECT_EQ(activeTable(dataWith(true, false).params), TableKind::Curve2D);
    EXPECT_EQ(activeTable(dataWith(true, true).params), TableKind::Map3D);

    Held none(dataWith(false, false));
    TableSession idle(none.document);
    EXPECT_FALSE(idle.openActive());
    EXPECT_FALSE(idle.save());
    EXPECT_FALSE(idle.isOpen());

    Held held(dataWith(false, true));
    TableSession session(held.document);
    QSignalSpy opened(&session, &TableSession::opened);
    QSignalSpy closed(&session, &TableSession::closed);
    ASSERT_TRUE(session.openActive());
    EXPECT_EQ(session.openKind(), TableKind::Map3D);
    ASSERT_EQ(opened.count(), 1);
    EXPECT_EQ(opened[0][0].value<TableKind>(), TableKind::Map3D);
    session.discard();
    EXPECT_FALSE(session.isOpen());
    EXPECT_EQ(closed.count(), 1);
    session.discard();  // nothing open: nothing announced
    EXPECT_EQ(closed.count(), 1);
}

TEST(TableSession, SaveWritesTheOpenTableIntoItsRegionAndDiscardKeepsTheImage)
{
    Held held_data(dataWith(true, false));
    const ModuleData &data = held_data.document.data();
    const ModuleImage before = data.image;
    TableSession session(held_data.document);
    session.openActive();
    session.model().setValue(0, 4, 25, QStringLiteral("Edit"));
    session.discard();
    EXPECT_EQ(data.image.EEPROMBuffer, before.EEPROMBuffer);
    EXPECT_EQ(data.tables.table2D(5, 1), 20);

    session.openActive();
    session.model().setValue(0, 4, 25, QStringLiteral("Edit"));
    // What the report and the CSV export see is what the save writes.
    const Table2D shown = session.shownTable2D();
    ASSERT_TRUE(session.save());
    EXPECT_FALSE(session.isOpen());
    EXPECT_TRUE(data.filledThisRun.table2D);
    EXPECT_FALSE(data.filledThisRun.table3D);
    EXPECT_EQ(data.image.EEPROMBuffer[layout::Table2D.at(4)], encodeAdvance(30, 25));
    EXPECT_EQ(data.tables.table2D(5, 1), shown(5, 1));
    // Closed, the table is shown as it would open: as the module stores it.
    EXPECT_EQ(session.shownTable2D()(1, 1), storedValue(TableKind::Curve2D, 30, 20));
    EXPECT_NE(session.shownTable2D()(1, 1), 20);
}

TEST(TableSession, AWizardsTableIsRolledBackUnlessSavedAndItsTriggerMovesTheOtherRegion)
{
    Held held_data(dataWith(true, false, 30));
    const ModuleData &data = held_data.document.data();
    const TimingTables tablesBefore = data.tables;
    TableSession session(held_data.document);
    Table2D flat;
    for (int p = 1; p <= SpeedPoints; ++p)
        flat(p, 1) = 12;

    // Declined: the working arrays and the trigger timing come back.
    session.openNew2D(flat, 26);
    EXPECT_EQ(data.params.TrigTiming, 26);
    EXPECT_TRUE(session.wizardPending());
    session.discard();
    EXPECT_FALSE(session.wizardPending());
    EXPECT_EQ(data.params.TrigTiming, 30);
    EXPECT_EQ(data.tables.table2D, tablesBefore.table2D);
    EXPECT_EQ(data.tables.table3D, tablesBefore.table3D);

    // Re-opened for editing, the wizard's table stays pending.
    session.openNew2D(flat, 26);
    session.closeKeepingWizard();
    EXPECT_TRUE(session.wizardPending());
    session.openActive();
    EXPECT_EQ(session.model().trigTiming(), 26);

    // Saved: the 3D region keeps the advance it stood for under the new
    // trigger timing, limited to the new window.
    const std::uint8_t map3DFirst = data.image.EEPROMBuffer[layout::Table3D.first];
    ASSERT_TRUE(session.save());
    EXPECT_FALSE(session.wizardPending());
    EXPECT_EQ(data.params.TrigTiming, 26);
    ModuleImage expected;
    expected.EEPROMBuffer[layout::Table3D.first] = map3DFirst;
    rebaseTableRegions(expected, 30, 26);
    EXPECT_EQ(data.image.EEPROMBuffer[layout::Table3D.first], expected.EEPROMBuffer[layout::Table3D.first]);
    EXPECT_EQ(data.image.EEPROMBuffer[layout::Table2D.first], encodeAdvance(26, 12));
}

}  // namespace
