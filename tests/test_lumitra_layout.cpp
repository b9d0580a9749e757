// The time as a 3-D dot model: cells, glyphs, both layouts, both hour
// styles, and column angles beyond one turn.
#include "EngineTestSupport.h"

#include <gtest/gtest.h>
#include <cstdlib>

namespace {

constexpr int GlyphDots[12] = {19, 10, 14, 14, 14, 17, 15, 11, 17, 15, 25, 23};

struct TLayoutClock
{
    TLumitra Clock;
    TLumitraProbe P{Clock};

    void Fill(int H, int M, int S)
    {
        P.Hour() = H;
        P.Minute() = M;
        P.Second() = S;
        P.FillDotLines();
    }
};

// Dots of the model whose layout column lies in First..Last. In the twisted
// layout FDotY is the centred column times the spacing.
int DotsInColumns(TLumitraProbe &P, int First, int Last)
{
    const int Centre = P.ColumnCount() / 2 - 1;
    int N = 0;
    for (int I = 0; I < P.DotCount(); ++I) {
        const int K = P.DotY()[I] / P.DotSpacing() + Centre;
        N += K >= First && K <= Last;
    }
    return N;
}

struct THour12Case
{
    int Hour;
    int ShownHour;
    int Tens, Units;
    bool Pm;
};

TEST(FillDotLines, TwelveHourConversionPicksDigitsAndMark)
{
    const THour12Case Cases[] = {
        {0, 12, 1, 2, false}, {5, 5, 0, 5, false}, {11, 11, 1, 1, false},
        {12, 12, 1, 2, true}, {13, 1, 0, 1, true}, {23, 11, 1, 1, true},
    };
    for (const auto &C : Cases) {
        SCOPED_TRACE(C.Hour);
        TLayoutClock L;
        L.Clock.SetClockStyle(TLumitra::csTwistedClock);
        L.Clock.SetClockHourStyle(TLumitra::hs12HourTime);
        L.Fill(C.Hour, 0, 0);
        EXPECT_EQ(L.P.Hour(), C.ShownHour);
        EXPECT_EQ(DotsInColumns(L.P, 0, 4), GlyphDots[C.Tens]);
        EXPECT_EQ(DotsInColumns(L.P, 6, 10), GlyphDots[C.Units]);
        EXPECT_EQ(DotsInColumns(L.P, 40, 49), GlyphDots[C.Pm ? 11 : 10]);
        EXPECT_EQ(L.P.DotCount(), GlyphDots[C.Tens] + GlyphDots[C.Units] + 4 * 19 + 4 + GlyphDots[C.Pm ? 11 : 10]);
    }
}

TEST(FillDotLines, TwentyFourHourTimeKeepsTheHourAndHasNoMark)
{
    TLayoutClock L;
    L.Clock.SetClockStyle(TLumitra::csTwistedClock);
    L.Fill(23, 0, 0);
    EXPECT_EQ(L.P.Hour(), 23);
    EXPECT_EQ(DotsInColumns(L.P, 0, 4), GlyphDots[2]);
    EXPECT_EQ(DotsInColumns(L.P, 6, 10), GlyphDots[3]);
    EXPECT_EQ(L.P.DotCount(), 14 + 14 + 4 * 19 + 4);
}

struct TDotCase
{
    int Index;
    TPoint3 Dot;
};

TEST(FillDotLines, TwistedCoordinatesAtMidnight)
{
    TLayoutClock L;
    L.Clock.SetClockStyle(TLumitra::csTwistedClock);
    L.Fill(0, 0, 0);
    ASSERT_EQ(L.P.DotCount(), 118);
    // Index 39's depth is -257: the shift rounds toward minus infinity.
    const TDotCase Cases[] = {
        {0, {-312, -7296, 699}}, {38, {285, -2688, 256}}, {39, {-285, -2688, -257}}, {117, {312, 7296, 699}}};
    const auto M = Model(L.P);
    for (const auto &C : Cases)
        EXPECT_EQ(M[C.Index], C.Dot) << "dot " << C.Index;
}

TEST(FillDotLines, RingCoordinatesAtMidnight)
{
    TLayoutClock L;
    L.Fill(0, 0, 0);
    ASSERT_EQ(L.P.DotCount(), 118);
    const TDotCase Cases[] = {
        {0, {0, -768, -6144}}, {38, {5832, -384, -1896}}, {39, {5832, 384, -1896}}, {117, {-4560, 768, 4104}}};
    const auto M = Model(L.P);
    for (const auto &C : Cases)
        EXPECT_EQ(M[C.Index], C.Dot) << "dot " << C.Index;
}

struct TCountCase
{
    TLumitra::THourStyle Style;
    int H, M, S;
    int Dots;
};

TEST(FillDotLines, DotCountsAndIdentityOrder)
{
    const TCountCase Cases[] = {
        {TLumitra::hs24HourTime, 11, 11, 11, 64},  {TLumitra::hs24HourTime, 0, 0, 0, 118},
        {TLumitra::hs12HourTime, 23, 11, 11, 87},  {TLumitra::hs12HourTime, 5, 0, 0, 141},
        {TLumitra::hs12HourTime, 8, 0, 0, 141},    {TLumitra::hs12HourTime, 0, 0, 0, 129},
    };
    for (const auto Layout : {TLumitra::csRingShapedClock, TLumitra::csTwistedClock}) {
        for (const auto &C : Cases) {
            SCOPED_TRACE(testing::Message() << C.H << ":" << C.M << ":" << C.S << " layout " << int(Layout));
            TLayoutClock L;
            L.Clock.SetClockStyle(Layout);
            L.Clock.SetClockHourStyle(C.Style);
            // A scrambled order from an earlier frame must not survive.
            for (int I = 0; I < TLumitra::MaxDots; ++I)
                L.P.DrawOrder()[I] = TLumitra::MaxDots - 1 - I;
            L.Fill(C.H, C.M, C.S);
            ASSERT_EQ(L.P.DotCount(), C.Dots);
            for (int I = 0; I < C.Dots; ++I)
                ASSERT_EQ(L.P.DrawOrder()[I], I);
        }
    }
}

// Column angles beyond one turn are reduced modulo 360 degrees: a
// PixelAngle of 6 + 360 n lays out exactly like 6, even where k x PixelAngle
// no longer fits in 32 bits; and nothing is read outside the sine table
// (the sanitizer builds check that).
TEST(FillDotLines, ColumnAnglesBeyondOneTurnAreReduced)
{
    for (const auto Layout : {TLumitra::csRingShapedClock, TLumitra::csTwistedClock}) {
        for (const auto Hours : {TLumitra::hs24HourTime, TLumitra::hs12HourTime}) {
            TLayoutClock Reference;
            Reference.Clock.SetClockStyle(Layout);
            Reference.Clock.SetClockHourStyle(Hours);
            Reference.Fill(8, 8, 8);
            for (const int Angle : {366, 6 + 360 * 1000, 6 + 360 * 5965232}) {
                SCOPED_TRACE(testing::Message() << "layout " << int(Layout) << " hours " << int(Hours)
                                                << " angle " << Angle);
                TLayoutClock L;
                L.Clock.SetClockStyle(Layout);
                L.Clock.SetClockHourStyle(Hours);
                L.Clock.SetPixelAngle(Angle);
                L.Fill(8, 8, 8);
                EXPECT_EQ(Model(L.P), Model(Reference.P));
            }
        }
    }
}

// Angles past the bounds within which the table rules serve: the ring wraps
// round and the twisted ribbon's leftmost columns go negative before the
// reduction. Every model coordinate must still come from the table.
TEST(FillDotLines, LargePixelAnglesStayWithinTheTable)
{
    for (const auto Layout : {TLumitra::csRingShapedClock, TLumitra::csTwistedClock}) {
        for (const int Angle : {7, 10, 151, 190, 359, 360, 361, 1000, 2147483647}) {
            TLayoutClock L;
            L.Clock.SetClockStyle(Layout);
            L.Clock.SetClockHourStyle(TLumitra::hs12HourTime);
            L.Clock.SetPixelAngle(Angle);
            L.Fill(5, 0, 0);
            ASSERT_EQ(L.P.DotCount(), 141);
            const int Reach = Layout == TLumitra::csRingShapedClock ? 256 * 24 : 3 * 384;
            for (int I = 0; I < 141; ++I) {
                EXPECT_LE(std::abs(L.P.DotX()[I]), Reach);
                EXPECT_LE(std::abs(L.P.DotZ()[I]), Reach);
            }
        }
    }
}

TEST(FillDotLines, HugeSpacingAndRadiusWrapWithoutFault)
{
    for (const auto Layout : {TLumitra::csRingShapedClock, TLumitra::csTwistedClock}) {
        TLayoutClock L;
        L.Clock.SetClockStyle(Layout);
        L.Clock.SetPixDistance(2147483647);
        L.Clock.SetClockRadius(2147483647);
        L.Fill(5, 0, 0);
        EXPECT_EQ(L.P.DotCount(), 19 + 17 + 4 * 19 + 4);
    }
}

} // namespace
