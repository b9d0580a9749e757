// The frame pass: spin-rate and start-angle setters, angle advance, the nine
// coefficients, the far-to-near sort and when the model is rebuilt.
#include "EngineTestSupport.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <cfloat>
#include <climits>
#include <cmath>
#include <limits>
#include <random>

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double Inf = std::numeric_limits<double>::infinity();

struct TAxis
{
    const char *Name;
    void (TLumitra::*SetRate)(double);
    void (TLumitra::*SetStart)(int);
    int &(TLumitraProbe::*Step)();
    int &(TLumitraProbe::*Angle)();
};

const TAxis Axes[] = {
    {"X", &TLumitra::SetRotX, &TLumitra::SetIRotX, &TLumitraProbe::StepX, &TLumitraProbe::AngleX},
    {"Y", &TLumitra::SetRotY, &TLumitra::SetIRotY, &TLumitraProbe::StepY, &TLumitraProbe::AngleY},
    {"Z", &TLumitra::SetRotZ, &TLumitra::SetIRotZ, &TLumitraProbe::StepZ, &TLumitraProbe::AngleZ},
};

TEST(SpinRate, StepsInAngleUnits)
{
    // In-range rates follow the 32-bit rule; rates beyond one turn per frame
    // are reduced modulo one turn; NaN and infinities stand still.
    const struct
    {
        double Rate;
        int Step;
    } Cases[] = {
        {-3.0, 91392}, {0.1, 25},     {-0.1, 92135},  {1.5, 384}, {360.0, 92160}, {-360.0, 0},
        {-0.001, 0},   {720.5, 128},  {-1000.0, 20480}, {NaN, 0},  {Inf, 0},       {-Inf, 0},
    };
    for (const auto &A : Axes) {
        for (const auto &C : Cases) {
            SCOPED_TRACE(testing::Message() << A.Name << " " << C.Rate);
            TLumitra Clock;
            TLumitraProbe P(Clock);
            (Clock.*A.SetRate)(0.5); // away from the construction value
            (Clock.*A.SetRate)(C.Rate);
            EXPECT_EQ((P.*A.Step)(), C.Step);
        }
    }
    for (const double Huge : {1e300, -1e300, 1e15 + 0.5, -DBL_MAX, DBL_MAX}) {
        TLumitra Clock;
        TLumitraProbe P(Clock);
        Clock.SetRotX(Huge);
        EXPECT_GE(P.StepX(), 0);
        EXPECT_LE(P.StepX(), 92160);
    }
}

TEST(SpinRate, SameValueChangesNothing)
{
    TLumitra Clock;
    TLumitraProbe P(Clock);
    Clock.SetRotX(1.5);
    P.StepX() = 7;
    Clock.SetRotX(1.5);
    EXPECT_EQ(P.StepX(), 7);
    Clock.SetRotX(2.0);
    EXPECT_EQ(P.StepX(), 512);
    EXPECT_EQ(Clock.RotX(), 2.0);
}

TEST(StartAngle, AngleUnitsReplaceTheCurrentAngle)
{
    // In-range angles follow the 32-bit rule (one turn added when negative);
    // others are reduced modulo one turn.
    const struct
    {
        int Degrees;
        int Angle;
    } Cases[] = {
        {30, 7680},    {-90, 69120}, {360, 92160},     {-360, 0},        {0, 0},
        {361, 256},    {-361, 91904}, {720, 0},        {-1000, 20480},   {INT_MAX, 32512},
        {INT_MIN, 59392},
    };
    for (const auto &A : Axes) {
        for (const auto &C : Cases) {
            SCOPED_TRACE(testing::Message() << A.Name << " " << C.Degrees);
            TLumitra Clock;
            TLumitraProbe P(Clock);
            (Clock.*A.SetStart)(7);
            (P.*A.Angle)() = 12345;
            (Clock.*A.SetStart)(C.Degrees);
            EXPECT_EQ((P.*A.Angle)(), C.Angle);
        }
    }
}

struct TFrameClock
{
    TLumitra Clock;
    TLumitraProbe P{Clock};
    TFrameClock() { ShowTime(Clock, 12, 0, 5); }
    void Frame() { P.CalculateClockTimeDots(); }
};

TEST(FramePass, AnglesAdvanceAndWrap)
{
    TFrameClock F;
    F.Frame();
    EXPECT_EQ(F.P.AngleY(), 91392);
    EXPECT_EQ(F.P.AngleZ(), 7680);
    F.Frame();
    EXPECT_EQ(F.P.AngleY(), 90624);
    EXPECT_EQ(F.P.AngleZ(), 7680);

    // Exactly one turn stays one turn for that frame.
    F.Clock.SetRotX(0.1);
    F.P.AngleX() = 92160 - 25;
    F.Frame();
    EXPECT_EQ(F.P.AngleX(), 92160);
    F.Frame();
    EXPECT_EQ(F.P.AngleX(), 25);
}

TEST(FramePass, SlowSpinGainsADegreeEveryTenFrames)
{
    TFrameClock F;
    F.Clock.SetRotX(0.1);
    for (int I = 0; I < 10; ++I)
        F.Frame();
    EXPECT_EQ(F.P.AngleX() >> 8, 0);
    F.Frame();
    EXPECT_EQ(F.P.AngleX() >> 8, 1);

    F.Clock.SetRotX(-0.001);
    const int Before = F.P.AngleX();
    F.Frame();
    EXPECT_EQ(F.P.AngleX(), Before);
}

// Quarter turns about one axis at a time: the coefficients reduce to
// exchanges and sign changes of the model axes.
TEST(FramePass, RotationAboutEachAxis)
{
    const struct
    {
        int X, Y, Z;
        TPoint3 (*View)(const TPoint3 &);
    } Cases[] = {
        {0, 0, 0, [](const TPoint3 &D) { return TPoint3{D[0], D[1], D[2] + 15000}; }},
        // The picture turns counter-clockwise: right of centre moves up.
        {0, 0, 90, [](const TPoint3 &D) { return TPoint3{D[1], -D[0], D[2] + 15000}; }},
        {0, 90, 0, [](const TPoint3 &D) { return TPoint3{-D[2], D[1], D[0] + 15000}; }},
        {90, 0, 0, [](const TPoint3 &D) { return TPoint3{D[0], D[2], -D[1] + 15000}; }},
    };
    for (const auto Layout : {TLumitra::csRingShapedClock, TLumitra::csTwistedClock}) {
        for (const auto &C : Cases) {
            SCOPED_TRACE(testing::Message() << C.X << " " << C.Y << " " << C.Z << " layout " << int(Layout));
            TFrameClock F;
            F.Clock.SetClockStyle(Layout);
            F.Clock.SetRotY(0.0);
            F.Clock.SetIRotX(C.X);
            F.Clock.SetIRotY(C.Y);
            F.Clock.SetIRotZ(C.Z);
            F.Frame();
            ASSERT_GT(F.P.DotCount(), 0);
            for (int I = 0; I < F.P.DotCount(); ++I) {
                const TPoint3 View{F.P.ViewX()[I], F.P.ViewY()[I], F.P.ViewZ()[I]};
                ASSERT_EQ(View, C.View({F.P.DotX()[I], F.P.DotY()[I], F.P.DotZ()[I]})) << "dot " << I;
            }
        }
    }
}

// At 30 degrees the products are shifted, and the shift floors: a plain
// division would give -3888 where the frame gives -3889.
TEST(FramePass, ShiftsRoundTowardMinusInfinity)
{
    TFrameClock F;
    ShowTime(F.Clock, 0, 0, 0);
    F.Clock.SetClockStyle(TLumitra::csTwistedClock);
    F.Clock.SetRotY(0.0);
    F.Frame();
    ASSERT_EQ(F.P.DotX()[0], -312);
    EXPECT_EQ(F.P.ViewX()[0], -3889);
    EXPECT_EQ(F.P.ViewY()[0], -6144);
    EXPECT_EQ(F.P.ViewZ()[0], 15699);
}

// The exchange sort, run over a poked model at rest (all angles zero, so
// the depth is FDotZ + ClockDistance) without a rebuild between frames.
struct TSortClock : TFrameClock
{
    TSortClock()
    {
        Clock.SetRotY(0.0);
        Clock.SetIRotZ(0);
        Frame();
    }
    std::vector<int> Sort(const std::vector<int> &Depths, const std::vector<int> &Order)
    {
        const int N = int(Depths.size());
        P.DotCount() = N;
        for (int I = 0; I < N; ++I) {
            P.DotX()[I] = P.DotY()[I] = 0;
            P.DotZ()[I] = Depths[I] - 15000;
            P.DrawOrder()[I] = Order[I];
        }
        Frame();
        return {P.DrawOrder(), P.DrawOrder() + N};
    }
};

TEST(FramePass, ExchangeSortExamples)
{
    TSortClock S;
    EXPECT_EQ(S.Sort({5, 9, 9, 1}, {0, 1, 2, 3}), (std::vector<int>{1, 2, 0, 3}));
    EXPECT_EQ(S.Sort({1, 5, 5, 9}, {0, 1, 2, 3}), (std::vector<int>{3, 2, 1, 0}));
    EXPECT_EQ(S.Sort({7}, {0}), (std::vector<int>{0}));
}

// The frame's sort must make exactly the exchanges of the plain double loop,
// whatever order it starts from; ties are where a shortcut would show.
TEST(FramePass, ExchangeSortMatchesThePlainLoop)
{
    TSortClock S;
    std::mt19937 Random(7);
    for (int Round = 0; Round < 300; ++Round) {
        const int N = 1 + int(Random() % 141);
        const int Spread = 1 + int(Random() % 40);
        std::vector<int> Depths(N), Order(N);
        for (int &D : Depths)
            D = 15000 + int(Random() % Spread) - Spread / 2;
        for (int I = 0; I < N; ++I)
            Order[I] = I;
        if (Round % 3)
            std::shuffle(Order.begin(), Order.end(), Random);
        else
            std::sort(Order.begin(), Order.end(), [&](int A, int B) { return Depths[A] > Depths[B]; });
        std::vector<int> Expected = Order;
        for (int I = 0; I < N - 1; ++I)
            for (int J = I + 1; J < N; ++J)
                if (Depths[Expected[J]] > Depths[Expected[I]])
                    std::swap(Expected[I], Expected[J]);
        ASSERT_EQ(S.Sort(Depths, Order), Expected) << "round " << Round;
    }
}

// A minute or an hour later at the same second, the model shows the new
// time: the rebuild compares the whole sampled time, not only its second.
TEST(ModelRebuild, SameSecondOfAnotherMinuteOrHour)
{
    const struct
    {
        int H, M;
    } Later[] = {{12, 1}, {13, 0}, {0, 0}};
    for (const auto &L : Later) {
        TFrameClock F;
        F.Frame();
        ShowTime(F.Clock, L.H, L.M, 5);
        F.Frame();
        EXPECT_EQ(F.P.Hour(), L.H);
        EXPECT_EQ(F.P.Minute(), L.M);

        TFrameClock Fresh;
        ShowTime(Fresh.Clock, L.H, L.M, 5);
        Fresh.Frame();
        EXPECT_EQ(Model(F.P), Model(Fresh.P));
    }
}

TEST(ModelRebuild, FirstFrameInSecondZeroDrawsTheTime)
{
    TLumitra Clock;
    TLumitraProbe P(Clock);
    ShowTime(Clock, 10, 0, 0);
    P.CalculateClockTimeDots();
    EXPECT_EQ(P.DotCount(), 10 + 19 + 4 * 19 + 4);
}

// In 12-hour time the shown hour differs from the sampled one; comparing
// with it would rebuild on every frame.
TEST(ModelRebuild, UnchangedTimeKeepsTheModel)
{
    for (const auto Hours : {TLumitra::hs24HourTime, TLumitra::hs12HourTime}) {
        TFrameClock F;
        F.Clock.SetClockHourStyle(Hours);
        ShowTime(F.Clock, 13, 0, 0);
        F.Frame();
        F.P.DotX()[0] = 424242;
        F.Frame();
        EXPECT_EQ(F.P.DotX()[0], 424242);
    }
}

// A setter that changes the layout makes the next frame rebuild the model,
// even at the same second; ClockDistance needs no rebuild.
TEST(ModelRebuild, LayoutSettersMarkTheModelStale)
{
    const struct
    {
        const char *Name;
        void (*Set)(TLumitra &);
    } Setters[] = {
        {"ClockStyle", [](TLumitra &C) { C.SetClockStyle(TLumitra::csTwistedClock); }},
        {"ClockHourStyle", [](TLumitra &C) { C.SetClockHourStyle(TLumitra::hs12HourTime); }},
        {"PixDistance", [](TLumitra &C) { C.SetPixDistance(30); }},
        {"PixelAngle", [](TLumitra &C) { C.SetPixelAngle(4); }},
        {"ClockRadius", [](TLumitra &C) { C.SetClockRadius(20); }},
    };
    for (const auto &S : Setters) {
        SCOPED_TRACE(S.Name);
        TFrameClock F;
        F.Frame();
        const auto Before = Model(F.P);
        S.Set(F.Clock);
        F.Frame();
        EXPECT_NE(Model(F.P), Before);

        TFrameClock Fresh;
        S.Set(Fresh.Clock);
        Fresh.Frame();
        EXPECT_EQ(Model(F.P), Model(Fresh.P));
    }

    TFrameClock F;
    F.Frame();
    F.P.DotX()[0] = 424242;
    F.Clock.SetClockDistance(20000);
    F.Frame();
    EXPECT_EQ(F.P.DotX()[0], 424242);
}

} // namespace
