// The five sliders of the module parameters dialog: value from position at
// both ends and in the middle, and the position that shows a value.
#include "dialogs/mod_param_sliders.h"

#include <gtest/gtest.h>

namespace tunara::test {
namespace {

using namespace dialogs::sliders;

TEST(ModParamSliders, EachSliderMapsBothEndsAndRoundsBetween)
{
    EXPECT_EQ(trigTimingFromPosition(0), 40);
    EXPECT_EQ(trigTimingFromPosition(40), 0);
    EXPECT_EQ(maxRPMLimitFromPosition(30), 10900);
    EXPECT_EQ(maxRPMLimitFromPosition(109), 3000);
    EXPECT_EQ(crankPulsesFromPosition(0), 12);
    EXPECT_EQ(crankPulsesFromPosition(10), 2);
    // Half-degree steps: Round((10 - v) / 0.1758).
    EXPECT_EQ(retardCompFromPosition(0), 57);
    EXPECT_EQ(retardCompFromPosition(5), 28);
    EXPECT_EQ(retardCompFromPosition(4), 34);
    EXPECT_EQ(retardCompFromPosition(10), 0);
    // Whole degrees: Round((10 - v) / 0.0879).
    EXPECT_EQ(startRetardFromPosition(0), 114);
    EXPECT_EQ(startRetardFromPosition(10), 0);
}

TEST(ModParamSliders, EveryPositionComesBackFromItsValue)
{
    const struct {
        SliderRange range;
        int (*from)(int);
        int (*to)(int);
    } sliders[] = {
        {TrigTiming, trigTimingFromPosition, positionForTrigTiming},
        {MaxRPMLimit, maxRPMLimitFromPosition, positionForMaxRPMLimit},
        {CrankPulses, crankPulsesFromPosition, positionForCrankPulses},
        {RetardComp, retardCompFromPosition, positionForRetardComp},
        {StartRetard, startRetardFromPosition, positionForStartRetard},
    };
    for (const auto &s : sliders)
        for (int v = s.range.minimum; v <= s.range.maximum; ++v)
            EXPECT_EQ(s.to(s.from(v)), v) << "position " << v << " of a slider up to " << s.range.maximum;
}

TEST(ModParamSliders, LabelsAndRangesOfTheParameters)
{
    // 30 units are 2.64 degrees: the label shows the half degree, 2.5.
    EXPECT_EQ(positionForRetardComp(30), 5);
    EXPECT_EQ(retardCompLabel(30), QStringLiteral("2.5"));
    EXPECT_EQ(retardCompLabel(34), QStringLiteral("3.0"));
    EXPECT_EQ(startRetardLabel(114), QStringLiteral("10"));
    // A 5050 RPM limit rounds to the even hundred, position 139 - 50.
    EXPECT_EQ(positionForMaxRPMLimit(5050), 89);

    // Values beyond the sliders: the position leaves the range and is
    // brought back to the nearest end for the thumb.
    EXPECT_EQ(positionForRetardComp(59), 0);
    EXPECT_EQ(positionForRetardComp(60), -1);
    EXPECT_EQ(MaxRPMLimit.place(119), 109);
    EXPECT_EQ(MaxRPMLimit.place(12), 30);
}

}  // namespace
}  // namespace tunara::test
