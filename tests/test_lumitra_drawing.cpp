// Projection, depth shading and the dots themselves: the shade ramp, where
// each dot lands, its size and colour, and how a disc looks in pixels.
#include "EngineTestSupport.h"
#include "DiscCache.h"

#include <QtGui/QPainter>
#include <gtest/gtest.h>
#include <cmath>
#include <optional>
#include <vector>

using LumitraHost::MakeTColor;
using LumitraHost::RGBToTColor;
using LumitraHost::TColor;

namespace {

struct TRgb
{
    int R, G, B;
    bool operator==(const TRgb &) const = default;
};

TRgb Rgb(TColor C)
{
    return {LumitraHost::RedOf(C), LumitraHost::GreenOf(C), LumitraHost::BlueOf(C)};
}

std::ostream &operator<<(std::ostream &Out, const TRgb &C)
{
    return Out << "(" << C.R << ", " << C.G << ", " << C.B << ")";
}

TEST(ShadeRamp, EntriesTowardBlackAndWhite)
{
    const struct
    {
        QColor Background;
        TRgb Entries[7];
    } Cases[] = {
        {QColor(0, 0, 0),
         {{134, 252, 84}, {133, 250, 83}, {116, 217, 72}, {96, 180, 60}, {77, 146, 48}, {58, 108, 36}, {56, 106, 35}}},
        {QColor(255, 255, 255),
         {{137, 255, 86},
          {138, 255, 88},
          {153, 255, 109},
          {170, 255, 134},
          {186, 255, 157},
          {204, 255, 182},
          {205, 255, 183}}},
    };
    const int Index[7] = {1, 2, 16, 32, 47, 63, 64};
    for (const auto &C : Cases) {
        TLumitra Clock;
        TLumitraProbe P(Clock);
        Clock.SetColorValue(C.Background);
        EXPECT_EQ(P.ShadeColors()[0], MakeTColor(0x55FF88));
        for (int I = 0; I < 7; ++I)
            EXPECT_EQ(Rgb(P.ShadeColors()[Index[I]]), C.Entries[I]) << "entry " << Index[I];
    }
}

// Entry 0 keeps all 32 bits of ClockColor; the others carry no high byte.
TEST(ShadeRamp, SameColourThroughout)
{
    TLumitra Clock;
    TLumitraProbe P(Clock);
    Clock.SetColorValue(QColor(0x12, 0x34, 0x56));
    Clock.SetClockColor(MakeTColor(0x05563412));
    EXPECT_EQ(P.ShadeColors()[0], MakeTColor(0x05563412));
    for (int K = 1; K < TLumitra::RampSize; ++K)
        ASSERT_EQ(P.ShadeColors()[K], MakeTColor(0x563412)) << "entry " << K;
}

// The channel is the truncation of the exact sum, not of the single-precision
// accumulator: entry 11's sum lies just below 5 but rounds to 5.0f.
TEST(ShadeRamp, SinglePrecisionAccumulator)
{
    TLumitra Clock;
    TLumitraProbe P(Clock);
    Clock.SetClockColor(MakeTColor(0));
    Clock.SetColorValue(QColor(50, 0, 0));
    const int Red[4] = {4, 4, 4, 5};
    for (int K = 9; K <= 12; ++K)
        EXPECT_EQ(Rgb(P.ShadeColors()[K]), (TRgb{Red[K - 9], 0, 0})) << "entry " << K;
}

struct TEllipse
{
    int X1, Y1, X2, Y2;
    TColor Color;
    bool operator==(const TEllipse &) const = default;
};

std::ostream &operator<<(std::ostream &Out, const TEllipse &E)
{
    return Out << "Ellipse(" << E.X1 << ", " << E.Y1 << ", " << E.X2 << ", " << E.Y2 << ") colour 0x"
               << std::hex << unsigned(E.Color) << std::dec;
}

// A clock whose view arrays are poked and drawn into a canvas that only
// records.
struct TDrawClock
{
    TLumitra Clock;
    TLumitraProbe P{Clock};
    std::vector<TEllipse> Drawn;

    TDrawClock()
    {
        Clock.SetColorValue(QColor(0, 0, 0));
        Clock.Canvas()->SetEllipseObserver(
            [this](int X1, int Y1, int X2, int Y2, TColor C) { Drawn.push_back({X1, Y1, X2, Y2, C}); });
    }
    std::optional<TEllipse> DrawOne(int X, int Y, int Z)
    {
        Drawn.clear();
        P.DotCount() = 1;
        P.DrawOrder()[0] = 0;
        P.ViewX()[0] = X;
        P.ViewY()[0] = Y;
        P.ViewZ()[0] = Z;
        P.DrawClockDots();
        if (Drawn.empty())
            return std::nullopt;
        EXPECT_EQ(Drawn.size(), 1u);
        return Drawn[0];
    }
};

TEST(DrawClockDots, ProjectionSizeAndRampIndex)
{
    const struct
    {
        int Width;
        int X, Y, Z;
        int Left, Top, D;
        int Entry;
    } Cases[] = {
        {128, 0, 0, 15000, 63, 63, 3, 32},
        {128, 6144, 0, 15000, 115, 63, 3, 32},  // 52.4 px right
        {128, -6144, 0, 15000, 11, 63, 3, 32},  // 52 px left, not 53
        {128, -1000, -1000, 15000, 55, 55, 3, 32}, // -8.5 truncates to -8
        {101, 0, 0, 15000, 49, 63, 3, 32},
        {128, 0, 0, 8856, 62, 62, 5, 0},
        {128, 0, 0, 21272, 63, 63, 3, 64},
        {128, 0, 0, 8727, 62, 62, 5, 0},        // -129 / 192 truncates to 0
        {128, 0, 0, 8000, 62, 62, 5, 0},        // nearer than the band: clamped
        {128, 0, 0, 40000, 63, 63, 3, 64},      // farther than the band: clamped
        {128, 0, 0, 1, 64 - 23040, 64 - 23040, 46080, 0},
    };
    for (const auto &C : Cases) {
        SCOPED_TRACE(testing::Message() << C.Width << " " << C.X << " " << C.Y << " " << C.Z);
        TDrawClock T;
        T.Clock.SetWidth(C.Width);
        const auto E = T.DrawOne(C.X, C.Y, C.Z);
        ASSERT_TRUE(E);
        EXPECT_EQ(*E, (TEllipse{C.Left, C.Top, C.Left + C.D, C.Top + C.D, T.P.ShadeColors()[C.Entry]}));
    }
}

TEST(DrawClockDots, DotsAtOrBehindTheViewerAreSkipped)
{
    TDrawClock T;
    for (const int Z : {0, -1, -15000, INT_MIN})
        EXPECT_FALSE(T.DrawOne(100, 100, Z)) << Z;
}

TEST(DrawClockDots, PenFollowsBrushAndNoDotsTouchNothing)
{
    TDrawClock T;
    T.DrawOne(0, 0, 8856);
    EXPECT_EQ(T.Clock.Canvas()->Brush().Color(), T.P.ShadeColors()[0]);
    EXPECT_EQ(T.Clock.Canvas()->Pen().Color(), T.P.ShadeColors()[0]);

    T.Drawn.clear();
    T.Clock.Canvas()->Brush().SetColor(MakeTColor(0x123456));
    T.P.DotCount() = 0;
    T.P.DrawClockDots();
    EXPECT_TRUE(T.Drawn.empty());
    EXPECT_EQ(T.Clock.Canvas()->Brush().Color(), MakeTColor(0x123456));
}

TEST(DrawClockDots, ExtremeViewsWrapWithoutFault)
{
    TDrawClock T;
    T.Clock.SetWidth(16777215);
    for (const int V : {INT_MIN, INT_MAX, -1, 0})
        for (const int Z : {1, 2, INT_MAX})
            T.DrawOne(V, V, Z);
    T.P.ShadeNear() = INT_MIN;
    T.P.ShadeStep() = 0;
    T.DrawOne(0, 0, INT_MAX);
    T.P.ShadeStep() = -1;
    ASSERT_TRUE(T.DrawOne(0, 0, INT_MAX));
}

// Pixels of one disc drawn on a dark background, at a pixel scale.
struct TDiscPicture
{
    static constexpr int Pad = 4;
    QImage Image;
    int Scale;
    int D;

    TDiscPicture(int Diameter, int PixelScale, TColor Color, bool Prepared) : Scale(PixelScale), D(Diameter)
    {
        const int Side = (D + 2 * Pad) * Scale;
        Image = QImage(Side, Side, QImage::Format_ARGB32_Premultiplied);
        Image.fill(QColor(0, 0, 0));
        Image.setDevicePixelRatio(Scale);
        QPainter Painter(&Image);
        if (Prepared) {
            TDiscCache Cache;
            Cache.Build(&Color, 1, Scale);
            EXPECT_TRUE(Cache.Draw(Painter, Pad, Pad, D, Color));
        } else {
            LumitraHost::TCanvas Canvas;
            Canvas.SetPainter(&Painter);
            Canvas.Brush().SetColor(Color);
            Canvas.Pen().SetColor(Color);
            Canvas.Ellipse(Pad, Pad, Pad + D, Pad + D);
        }
    }
    QRgb At(int X, int Y) const { return Image.pixel(X, Y); }
};

// A 3 to 8 pixel disc is antialiased: round, not a plus sign or a square;
// it stays inside its square and is the dot's colour in the middle. The
// prepared discs look like the ones the painter draws itself.
TEST(DotPixels, DiscsAreRoundAndStayInTheirSquare)
{
    const TColor Color = RGBToTColor(136, 255, 85);
    const QRgb Full = qRgb(136, 255, 85), Background = qRgb(0, 0, 0);
    for (const int Scale : {1, 2}) {
        for (int D = 3; D <= 8; ++D) {
            const TDiscPicture Prepared(D, Scale, Color, true), Direct(D, Scale, Color, false);
            for (const TDiscPicture *Pic : {&Prepared, &Direct}) {
                SCOPED_TRACE(testing::Message() << "d " << D << " scale " << Scale
                                                << (Pic == &Prepared ? " prepared" : " direct"));
                const int Lo = TDiscPicture::Pad * Scale, Hi = (TDiscPicture::Pad + D) * Scale - 1;
                const int Side = Pic->Image.width();
                for (int Y = 0; Y < Side; ++Y) {
                    for (int X = 0; X < Side; ++X) {
                        if (X < Lo || X > Hi || Y < Lo || Y > Hi) {
                            ASSERT_EQ(Pic->At(X, Y), Background) << X << "," << Y;
                        }
                    }
                }
                EXPECT_EQ(Pic->At((Lo + Hi) / 2, (Lo + Hi) / 2), Full);
                // Corners partly covered: neither empty nor full.
                for (const auto &[X, Y] : {std::pair{Lo, Lo}, {Hi, Lo}, {Lo, Hi}, {Hi, Hi}}) {
                    EXPECT_NE(Pic->At(X, Y), Full);
                    EXPECT_LT(qGreen(Pic->At(X, Y)), 255);
                }
                // Symmetric under mirroring, to a rounding step.
                for (int Y = Lo; Y <= Hi; ++Y)
                    for (int X = Lo; X <= Hi; ++X) {
                        EXPECT_NEAR(qGreen(Pic->At(X, Y)), qGreen(Pic->At(Lo + Hi - X, Y)), 2);
                        EXPECT_NEAR(qGreen(Pic->At(X, Y)), qGreen(Pic->At(X, Lo + Hi - Y)), 2);
                    }
            }
            // Under a scaled painter Qt flattens the ellipse a little
            // differently from one drawn at device size: edge pixels differ
            // by a few levels.
            const int Tolerance = Scale == 1 ? 2 : 16;
            for (int Y = 0; Y < Prepared.Image.height(); ++Y)
                for (int X = 0; X < Prepared.Image.width(); ++X)
                    ASSERT_NEAR(qGreen(Prepared.At(X, Y)), qGreen(Direct.At(X, Y)), Tolerance) << X << "," << Y << " d " << D << " scale " << Scale;
        }
    }
}

// The corners of a 3 pixel disc are partly covered: a disc without
// antialiasing would leave them empty and show a plus sign.
TEST(DotPixels, SmallestDiscCornersAreLit)
{
    const TDiscPicture Pic(3, 1, RGBToTColor(0, 255, 0), true);
    const int Lo = TDiscPicture::Pad;
    EXPECT_GT(qGreen(Pic.At(Lo, Lo)), 40);
}

// Discs of hundreds of pixels and more (a clock seen from almost no
// distance) are cut to what the image can show: every pixel well inside the
// circle is the dot's colour, every pixel well outside untouched.
TEST(DotPixels, LargeDiscsAgreeWithTheCircle)
{
    const struct
    {
        long long Left, Top, D;
    } Cases[] = {
        {-300, -200, 700},   {20, 30, 600},         {-2000, 60, 2100},       {10, -5000, 5000},
        {64 - 1000000000LL, 20, 2000000000LL},      {-1000000000LL, -1000000000LL, 2000000000LL},
        {100, 100, 2000000000LL},                   {-2147483647LL, 0, 2147483647LL},
    };
    const TColor Color = RGBToTColor(136, 255, 85);
    for (const auto &C : Cases) {
        SCOPED_TRACE(testing::Message() << C.Left << " " << C.Top << " " << C.D);
        QImage Image(128, 96, QImage::Format_ARGB32_Premultiplied);
        Image.fill(QColor(0, 0, 0));
        {
            QPainter Painter(&Image);
            TDiscCache Cache;
            EXPECT_TRUE(Cache.Draw(Painter, int(C.Left), int(C.Top), int(C.D), Color));
        }
        const double R = C.D / 2.0, Cx = C.Left + R, Cy = C.Top + R;
        for (int Y = 0; Y < Image.height(); ++Y) {
            for (int X = 0; X < Image.width(); ++X) {
                const double Distance = std::hypot(X + 0.5 - Cx, Y + 0.5 - Cy);
                if (Distance < R - 1) {
                    ASSERT_EQ(Image.pixel(X, Y), qRgb(136, 255, 85)) << X << "," << Y;
                } else if (Distance > R + 1) {
                    ASSERT_EQ(Image.pixel(X, Y), qRgb(0, 0, 0)) << X << "," << Y;
                }
            }
        }
    }
}

// A whole frame through the control: every dot lands inside the control
// and its own colour is found in its square.
TEST(DotPixels, FramePaintsEveryDot)
{
    TLumitra Clock;
    TLumitraProbe P(Clock);
    Clock.SetColorValue(QColor(0, 0, 0));
    ShowTime(Clock, 0, 0, 0);
    std::vector<TEllipse> Drawn;
    Clock.Canvas()->SetEllipseObserver(
        [&](int X1, int Y1, int X2, int Y2, TColor C) { Drawn.push_back({X1, Y1, X2, Y2, C}); });
    QImage Image(128, 128, QImage::Format_ARGB32_Premultiplied);
    Clock.RenderTo(&Image);
    ASSERT_EQ(Drawn.size(), 118u);
    // The nearest dot is drawn last and nothing covers it.
    const TEllipse &Last = Drawn.back();
    const QRgb Centre = Image.pixel((Last.X1 + Last.X2) / 2, (Last.Y1 + Last.Y2) / 2);
    EXPECT_EQ(Centre, QColor(LumitraHost::TColorToQColor(Last.Color)).rgb());
}

} // namespace
