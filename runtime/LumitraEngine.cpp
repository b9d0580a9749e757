// The clock engine: time to dots, rotation and depth order, projection,
// depth shading and dot drawing. Integer formulas are 32-bit two's
// complement throughout (see Int32.h); nothing here allocates.
#include "Lumitra.h"
#include "DiscCache.h"
#include "Int32.h"

#include <algorithm>
#include <climits>
#include <cmath>

using namespace LumitraHost;
namespace I32 = LumitraInt32;

namespace {

constexpr int FullCircle = 92160;


// Layout column of the first column of each cell: hour tens, hour units,
// colon, minute tens, minute units, colon, second tens, second units, mark.
constexpr int CellOffsets[9] = {0, 6, 12, 14, 20, 26, 28, 34, 40};

// Column angle k x PixelAngle for the ring; angles past one turn are
// reduced into 1..360 so the table functions are read within their range
// (in-range angles, 0..360, are untouched).
int RingAngle(int Column, int PixelAngle)
{
    long long Theta = (long long)Column * PixelAngle;
    if (Theta > 360)
        Theta = (Theta - 1) % 360 + 1;
    return int(Theta);
}

// (u x PixelAngle + 3600) mod 360, taken without overflow and never
// negative.
int TwistAngle(int U, int PixelAngle)
{
    long long Phi = ((long long)U * PixelAngle + 3600) % 360;
    if (Phi < 0)
        Phi += 360;
    return int(Phi);
}

} // namespace

void TLumitra::FillDotLines()
{
    bool Pm = false;
    if (FClockHourStyle == hs12HourTime) {
        if (FHour == 12)
            Pm = true;
        if (FHour == 0) {
            FHour = 12;
            Pm = false;
        }
        if (FHour > 12) {
            FHour -= 12;
            Pm = true;
        }
    }
    const bool Ring = FClockStyle == csRingShapedClock;
    const int CellCount = FClockHourStyle == hs12HourTime ? 9 : 8;
    // Glyph per cell; -1 marks a colon. Times outside their ranges are
    // folded into them so the glyph index stays within the table.
    const auto Digit = [](int V, bool Tens) {
        const int D = Tens ? V / 10 % 10 : V % 10;
        return D < 0 ? -D : D;
    };
    const int Glyph[9] = {Digit(FHour, true), Digit(FHour, false), -1,
                          Digit(FMinute, true), Digit(FMinute, false), -1,
                          Digit(FSecond, true), Digit(FSecond, false), Pm ? 11 : 10};
    const int Half = FColumnCount / 2;
    int I = 0;
    const auto Emit = [&](int K, int Row) {
        if (I >= MaxDots)
            return;
        if (Ring) {
            const int Theta = RingAngle(K, FPixelAngle);
            FDotY[I] = I32::Mul(Row, FDotSpacing);
            FDotX[I] = I32::Mul(Sine(Theta), FClockRadius);
            FDotZ[I] = I32::Neg(I32::Mul(Cosine(Theta), FClockRadius));
        } else {
            const int U = K + 1 - Half;
            FDotY[I] = I32::Mul(U, FDotSpacing);
            const int Phi = TwistAngle(U, FPixelAngle);
            const int H = I32::Mul(Row, FDotSpacing);
            FDotZ[I] = I32::Sar(I32::Mul(Sine(Phi), H), 8);
            FDotX[I] = I32::Sar(I32::Neg(I32::Mul(Cosine(Phi), H)), 8);
        }
        ++I;
    };
    for (int Cell = 0; Cell < CellCount; ++Cell) {
        const int Offset = CellOffsets[Cell];
        if (Glyph[Cell] < 0) {
            Emit(Offset, -1);
            Emit(Offset, 1);
            continue;
        }
        const int *G = FGlyphs[Glyph[Cell]];
        for (int J = 1; J + 1 <= G[0] && J + 1 < GlyphSize; J += 2)
            Emit(Offset + G[J], G[J + 1]);
    }
    FDotCount = I;
    for (int J = 0; J < FDotCount; ++J)
        FDrawOrder[J] = J;
}

void TLumitra::CalculateClockTimeDots()
{
    FTime = SampleTime();
    const int Hour = HourOf(FTime), Minute = MinuteOf(FTime), Second = SecondOf(FTime);
    // Rebuild on any change of the sampled time since the last build (not
    // only of its second) and whenever a setter changed the layout.
    if (FModelStale || Hour != FBuiltHour || Minute != FBuiltMinute || Second != FBuiltSecond) {
        FSecond = Second;
        FMinute = Minute;
        FHour = Hour;
        FBuiltHour = Hour;
        FBuiltMinute = Minute;
        FBuiltSecond = Second;
        FModelStale = false;
        FillDotLines();
    }

    // The setters keep angles and steps within 0..FullCircle, so one
    // subtraction brings the sum back; the wrapping add keeps even a poked
    // field defined.
    const auto Advance = [](int &Angle, int Step) {
        Angle = I32::Add(Angle, Step);
        if (Angle > FullCircle)
            Angle -= FullCircle;
    };
    Advance(FAngleY, FStepY);
    Advance(FAngleX, FStepX);
    Advance(FAngleZ, FStepZ);

    const int Ax = I32::Sar(FAngleX, 8), Ay = I32::Sar(FAngleY, 8), Az = I32::Sar(FAngleZ, 8);
    const int SinX = Sine(Ax), CosX = Cosine(Ax);
    const int SinY = Sine(Ay), CosY = Cosine(Ay);
    const int SinZ = Sine(Az), CosZ = Cosine(Az);

    const int K1 = ((CosY * CosZ) >> 8) + ((SinY * SinX * SinZ) >> 16);
    const int K2 = (CosX * SinZ) >> 8;
    const int K3 = ((CosY * SinX * SinZ) >> 16) - ((SinY * CosZ) >> 8);
    const int K4 = ((SinY * SinX * CosZ) >> 16) - ((SinZ * CosY) >> 8);
    const int K5 = (CosX * CosZ) >> 8;
    const int K6 = ((SinY * SinZ) >> 8) + ((CosY * SinX * CosZ) >> 16);
    const int K7 = (SinY * CosX) >> 8;
    const int K8 = -SinX;
    const int K9 = (CosY * CosX) >> 8;

    const auto Dot3 = [](int X, int Y, int Z, int A, int B, int C) {
        return I32::Sar(I32::Add(I32::Add(I32::Mul(X, A), I32::Mul(Y, B)), I32::Mul(Z, C)), 8);
    };
    for (int I = 0; I < FDotCount; ++I) {
        const int X = FDotX[I], Y = FDotY[I], Z = FDotZ[I];
        FViewX[I] = Dot3(X, Y, Z, K1, K2, K3);
        FViewY[I] = Dot3(X, Y, Z, K4, K5, K6);
        FViewZ[I] = I32::Add(Dot3(X, Y, Z, K7, K8, K9), FClockDistance);
    }

    SortDrawOrder();
}

// Exchange sort, far to near, from the order the last frame left: for each
// i, every later dot strictly deeper than the one at i is exchanged with it.
// The depths are gathered along the order with the deepest of every suffix
// beside them; a position with nothing deeper after it (most of them, since
// the order carries over from frame to frame) is passed over at once, and
// a pass stops when the deepest has arrived. The exchanges made are exactly
// those of the plain double loop.
void TLumitra::SortDrawOrder()
{
    const int Count = std::clamp(FDotCount, 0, MaxDots);
    if (Count < 2)
        return;
    int Depth[MaxDots];
    int Deepest[MaxDots + 1]; // Deepest[j]: the greatest of Depth[j..Count)
    for (int I = 0; I < Count; ++I)
        Depth[I] = FViewZ[FDrawOrder[I]];
    Deepest[Count] = INT_MIN;
    for (int J = Count - 1; J >= 0; --J)
        Deepest[J] = std::max(Depth[J], Deepest[J + 1]);
    for (int I = 0; I < Count - 1; ++I) {
        int Current = Depth[I];
        const int Target = Deepest[I + 1];
        if (Target <= Current)
            continue;
        int Last = I + 1;
        for (int J = I + 1; Current != Target; ++J) {
            if (Depth[J] > Current) {
                std::swap(FDrawOrder[I], FDrawOrder[J]);
                const int Deeper = Depth[J];
                Depth[J] = Current;
                Depth[I] = Current = Deeper;
                Last = J;
            }
        }
        // Only entries up to the last exchange changed.
        for (int J = Last; J > I; --J)
            Deepest[J] = std::max(Depth[J], Deepest[J + 1]);
    }
}

void TLumitra::DrawClockDots()
{
    TCanvas *C = Canvas();
    const int Cx = Width() / 2, Cy = Height() / 2;
    for (int I = 0; I < FDotCount; ++I) {
        const int K = FDrawOrder[I];
        const int Z = FViewZ[K];
        // A dot at or behind the viewer has no projection.
        if (Z <= 0)
            continue;
        int D = I32::Div(FDotScale, Z);
        if (D < 3)
            D = 3;
        const int Left = I32::Sub(I32::Add(I32::Div(I32::Mul(FViewX[K], 128), Z), Cx), D / 2);
        const int Top = I32::Sub(I32::Add(I32::Div(I32::Mul(FViewY[K], 128), Z), Cy), D / 2);
        const int Index = std::clamp(I32::Div(I32::Sub(Z, FShadeNear), FShadeStep), 0, RampSize - 1);
        C->Brush().SetColor(FShadeColors[Index]);
        C->Pen().SetColor(C->Brush().Color());
        C->Ellipse(Left, Top, I32::Add(Left, D), I32::Add(Top, D));
    }
}

void TLumitra::SetColor()
{
    FShadeColors[0] = FClockColor;
    const TColor Target = Color();
    const int Start[3] = {RedOf(FClockColor), GreenOf(FClockColor), BlueOf(FClockColor)};
    const int End[3] = {RedOf(Target), GreenOf(Target), BlueOf(Target)};
    float Acc[3], Step[3];
    for (int Ch = 0; Ch < 3; ++Ch) {
        Acc[Ch] = float(Start[Ch]);
        // Both operands are exact in single precision, so this is the single
        // value nearest to the quotient.
        Step[Ch] = float(End[Ch] - Start[Ch]) / 110.0f;
    }
    for (int K = 1; K < RampSize; ++K) {
        int Channel[3];
        for (int Ch = 0; Ch < 3; ++Ch) {
            // The sum is exact in double; the channel is its truncation, the
            // accumulator its rounding to single precision.
            const double Sum = double(Acc[Ch]) + double(Step[Ch]);
            Channel[Ch] = int(std::trunc(Sum)) & 0xFF;
            Acc[Ch] = float(Sum);
        }
        FShadeColors[K] = RGBToTColor(Channel[0], Channel[1], Channel[2]);
    }
    PrepareDiscs();
    Invalidate();
}

void TLumitra::PrepareDiscs()
{
    if (!FDiscs) {
        FDiscs = std::make_unique<TDiscCache>();
        Canvas()->SetDiscPainter([this](QPainter &Painter, int Left, int Top, int Diameter, TColor Color) {
            return FDiscs->Draw(Painter, Left, Top, Diameter, Color);
        });
    }
    // Prepared at the screen's pixel scale; a painter at another scale has
    // the cache rebuilt at its own on first use.
    const double Ratio = devicePixelRatioF();
    FDiscs->Build(FShadeColors, RampSize, Ratio == std::floor(Ratio) ? int(Ratio) : 1);
}
