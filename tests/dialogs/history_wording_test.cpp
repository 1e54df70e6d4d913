// Tune History's wording: the two points of an upload told apart, the
// dialogs' captions for parameters and the user's decimal mark.
#include "compare/difference_summary.h"
#include "dialogs/history_wording.h"
#include "image/image_layout.h"

#include <gtest/gtest.h>

using namespace tunara;

namespace {

compare::ParameterDifference change(const ModuleParameters &a, const ModuleParameters &b, const char *name)
{
    const auto pick = [name](const ModuleParameters &p) {
        for (const ParameterField &f : parameterFields(p))
            if (QLatin1String(f.name) == QLatin1String(name))
                return f;
        throw std::logic_error(name);
    };
    return {pick(a), pick(b)};
}

TEST(HistoryWording, ReadsAsAWorkshopLog)
{
    using restore::Event;
    EXPECT_NE(ui::history::eventWording(Event::BeforeUpload), ui::history::eventWording(Event::ModuleBeforeUpload));
    EXPECT_TRUE(ui::history::eventWording(Event::ModuleBeforeUpload).contains(QStringLiteral("module")));
    restore::Entry failed;
    failed.event = Event::BeforeUpload;
    failed.uploadEnd = QStringLiteral("failed");
    EXPECT_EQ(ui::history::pointWording(failed), QStringLiteral("Upload: image sent (upload failed)"));
    failed.uploadEnd.clear();
    EXPECT_EQ(ui::history::pointWording(failed), QStringLiteral("Upload: image sent"));

    ModuleParameters a;
    ModuleParameters b;
    a.CrankPulses = 4;
    b.CrankPulses = 6;
    a.MultiSparkEnable = true;
    b.MultiSparkEnable = false;
    a.OptionFlags = 0x10;
    b.OptionFlags = 0x00;  // the byte of the multi-spark switch: said by the switch alone
    a.RetardComp = 4;      // 0.35° rounds to the half degree 0.5°
    b.RetardComp = 0;
    a.MaxRPMLimit = 9500;
    b.MaxRPMLimit = 12000;
    a.DataLogFlags = 0x40;  // a bit no setting names: the byte is said
    b.DataLogFlags = 0x41;
    const QLocale french(QStringLiteral("fr_FR"));
    const QStringList lines = ui::history::parameterLines(
        {change(a, b, "CrankPulses"), change(a, b, "OptionFlags"), change(a, b, "MultiSparkEnable"),
         change(a, b, "RetardComp"), change(a, b, "MaxRPMLimit"), change(a, b, "DataLogFlags")},
        french);
    EXPECT_EQ(lines, (QStringList{QStringLiteral("Cranking Pulses 4 → 6"), QStringLiteral("Disable Multi-Spark: off → on"),
                                  QStringLiteral("Retard Comp 0,5° → 0,0°"), QStringLiteral("RPM Limit 9500 RPM → 12000 RPM"),
                                  QStringLiteral("Other data log bits 0x40 → 0x41")}));

    compare::DifferenceSummary summary;
    summary.parameters = 1;
    summary.cells = 14;
    summary.largest = 2.5;
    EXPECT_EQ(summary.text(french), QStringLiteral("1 parameter, 14 cells, up to 2,5°"));
    EXPECT_EQ(summary.text(), QStringLiteral("1 parameter, 14 cells, up to 2.5°"));
}

}  // namespace
