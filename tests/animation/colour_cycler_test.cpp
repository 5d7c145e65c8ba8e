#include <gtest/gtest.h>

#include "colour_cycler.h"

namespace {

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};

std::ostream& operator<<(std::ostream& out, const Rgb& c)
{
    return out << "(" << c.r << ", " << c.g << ", " << c.b << ")";
}

Rgb Base(const ColourCycler& c) { return {c.Red(), c.Green(), c.Blue()}; }
Rgb Running(const ColourCycler& c) { return {c.PointRed(), c.PointGreen(), c.PointBlue()}; }

TEST(ColourCycler, FirstFrameAdvanceLeavesRedTowardsYellow)
{
    ColourCycler cycler(10);
    cycler.FrameAdvance();
    EXPECT_EQ(Base(cycler), (Rgb{255, 10, 0}));
    EXPECT_EQ(Running(cycler), (Rgb{255, 10, 0}));
}

// With step 10 each leg takes 26 advances and ends exactly on a corner.
TEST(ColourCycler, BaseColourVisitsEveryCornerEvery26Frames)
{
    const Rgb corners[] = {{255, 255, 0}, {0, 255, 0}, {0, 255, 255},
                           {0, 0, 255},   {255, 0, 255}, {255, 0, 0}};
    ColourCycler cycler(10);
    for (const Rgb& corner : corners) {
        for (int i = 0; i < 26; ++i) {
            cycler.FrameAdvance();
        }
        EXPECT_EQ(Base(cycler), corner);
    }
}

TEST(ColourCycler, TwentyFifthAdvanceOfALegIsStillShortOfTheCorner)
{
    ColourCycler cycler(10);
    for (int i = 0; i < 25; ++i) {
        cycler.FrameAdvance();
    }
    EXPECT_EQ(Base(cycler), (Rgb{255, 250, 0}));
    cycler.FrameAdvance();
    cycler.FrameAdvance();
    EXPECT_EQ(Base(cycler), (Rgb{245, 255, 0}));
}

TEST(ColourCycler, RunningColourTakes255StepsPerLegAndTurnsAtTheCorner)
{
    ColourCycler cycler(10);
    cycler.SetPointColour(255, 0, 0);
    for (int i = 0; i < 254; ++i) {
        cycler.PointAdvance();
    }
    EXPECT_EQ(Running(cycler), (Rgb{255, 254, 0}));
    cycler.PointAdvance();
    EXPECT_EQ(Running(cycler), (Rgb{255, 255, 0}));
    cycler.PointAdvance();
    EXPECT_EQ(Running(cycler), (Rgb{254, 255, 0}));
}

TEST(ColourCycler, RunningColourRevolutionIs1530Steps)
{
    ColourCycler cycler(10);
    cycler.SetPointColour(255, 0, 0);
    for (int i = 0; i < 1529; ++i) {
        cycler.PointAdvance();
        ASSERT_FALSE(Running(cycler) == (Rgb{255, 0, 0})) << "back at red after " << i + 1;
    }
    cycler.PointAdvance();
    EXPECT_EQ(Running(cycler), (Rgb{255, 0, 0}));
}

// Each leg's rule, from a point inside the leg, and the clamp at its end.
TEST(ColourCycler, EachLegMovesOneComponentTheRightWay)
{
    struct Case {
        Rgb from, to;
    } const cases[] = {
        {{100, 0, 255}, {101, 0, 255}},  // blue towards magenta
        {{255, 0, 100}, {255, 0, 99}},   // magenta towards red
        {{255, 100, 0}, {255, 101, 0}},  // red towards yellow
        {{100, 255, 0}, {99, 255, 0}},   // yellow towards green
        {{0, 255, 100}, {0, 255, 101}},  // green towards cyan
        {{0, 100, 255}, {0, 99, 255}},   // cyan towards blue
        {{0, 1, 255}, {0, 0, 255}},      // cyan's last step lands on blue
        {{254, 0, 255}, {255, 0, 255}},  // and blue's on magenta
    };
    for (const Case& c : cases) {
        ColourCycler cycler(10);
        cycler.SetPointColour(c.from.r, c.from.g, c.from.b);
        cycler.PointAdvance();
        EXPECT_EQ(Running(cycler), c.to) << "from " << c.from;
    }
}

// Off the rim no rule matches; only the clamp acts.
TEST(ColourCycler, ColourOffTheRimOnlyGetsClamped)
{
    struct Case {
        Rgb from, to;
    } const cases[] = {
        {{128, 128, 128}, {128, 128, 128}},
        {{128, 128, 300}, {128, 128, 255}},
        {{0, 128, -7}, {0, 128, 0}},
        {{-1, -1, -1}, {0, 0, 0}},
    };
    for (const Case& c : cases) {
        ColourCycler cycler(10);
        cycler.SetPointColour(c.from.r, c.from.g, c.from.b);
        cycler.PointAdvance();
        EXPECT_EQ(Running(cycler), c.to) << "from " << c.from;
    }
}

TEST(ColourCycler, PointAdvancesNeverMoveTheBase)
{
    ColourCycler cycler(10);
    cycler.FrameAdvance();
    for (int i = 0; i < 599; ++i) {
        cycler.PointAdvance();
    }
    EXPECT_EQ(Base(cycler), (Rgb{255, 10, 0}));
    cycler.FrameAdvance();
    EXPECT_EQ(Running(cycler), (Rgb{255, 20, 0}));
}

}  // namespace
