#include "Lumitra.h"
#include "ClockThread.h"
#include "DiscCache.h"
#include "Int32.h"

#include <cmath>

using namespace LumitraHost;
namespace I32 = LumitraInt32;

namespace {

// One full turn in angle units (1/256 degree).
constexpr int FullCircle = 92160;

// A start angle in whole degrees as angle units within 0..92160. Values from
// -360 to 360 follow the 32-bit rule (product, then one turn added when
// negative); others are reduced modulo one turn.
int StartAngleOf(int Degrees)
{
    if (Degrees >= -360 && Degrees <= 360) {
        const int Angle = Degrees * 256;
        return Angle < 0 ? Angle + FullCircle : Angle;
    }
    long long Angle = (long long)Degrees * 256 % FullCircle;
    if (Angle < 0)
        Angle += FullCircle;
    return int(Angle);
}

// A spin rate in degrees per frame as a step within 0..92160: truncated
// angle units, one turn added when negative. NaN and infinities stand still;
// rates beyond one turn per frame are reduced modulo one turn.
int StepOf(double Rate)
{
    if (!std::isfinite(Rate))
        return 0;
    double Units = std::trunc(Rate * 256.0);
    if (!std::isfinite(Units))
        return 0;
    if (Units < -FullCircle || Units > FullCircle)
        Units = std::fmod(Units, double(FullCircle));
    int Step = int(Units);
    if (Step < 0)
        Step += FullCircle;
    return Step;
}

// A spin rate and the step it derives; the new rate shows from the next
// frame, so nothing is repainted.
void StoreRate(double &Rate, int &Step, double Value)
{
    if (Value == Rate)
        return;
    Rate = Value;
    Step = StepOf(Value);
}

// A start angle replaces the current angle; false when it is unchanged.
bool StoreStartAngle(int &Degrees, int &Angle, int Value)
{
    if (Value == Degrees)
        return false;
    Degrees = Value;
    Angle = StartAngleOf(Value);
    return true;
}

} // namespace

TLumitra::TLumitra(QWidget *Parent) : TCustomControl(Parent)
{
    FTime = 0.0;
    FThread = new TClockThread(this);
    FBackgroundImage = new TPicture();
    FAbout = 256;
    BuildGlyphs();
    SetHeight(128);
    SetWidth(128);
    FClockColor = MakeTColor(0x55FF88);
    // Built here as well as on every colour notification, so that a clock
    // painted before its first notification does not draw black dots.
    SetColor();
    Canvas()->Brush().SetStyle(bsClear);
    SetFramesPerSecond(26);
    FClockStyle = csRingShapedClock;
    FClockHourStyle = hs24HourTime;
    SetPixDistance(24);
    FPixelAngle = 6;
    FClockRadius = 24;
    FClockDistance = 15000;
    SetStyle();
    SetRotX(0.0);
    SetRotY(-3.0);
    SetRotZ(0.0);
    SetIRotX(0);
    SetIRotY(0);
    SetIRotZ(30);
    BuildSinTable();
    FTime = SampleTime();
}

TLumitra::~TLumitra()
{
    // The worker must be gone before any of the state it may reach.
    if (FThread) {
        FThread->Terminate();
        delete FThread;
        FThread = nullptr;
    }
    delete FBackgroundImage;
    FBackgroundImage = nullptr;
}

void TLumitra::SetTimeSource(TTimeSource Source)
{
    FTimeSource = std::move(Source);
}

TDateTime TLumitra::SampleTime() const
{
    return FTimeSource ? FTimeSource() : Now();
}

QColor TLumitra::GetClockColor() const
{
    return TColorToQColor(FClockColor);
}

QPixmap TLumitra::GetBackgroundImage() const
{
    return FBackgroundImage->ToPixmap();
}

TLumitra::TThreadPriority TLumitra::GetPriority() const
{
    return FThread->Priority();
}

void TLumitra::SetActive(bool Value)
{
    if (Value == FActive)
        return;
    FActive = Value;
    if (Value)
        FThread->Resume();
    else
        FThread->Suspend();
}

void TLumitra::SetFramesPerSecond(int Value)
{
    if (Value == FFramesPerSecond)
        return;
    FFramesPerSecond = Value;
    FFrameDelay.store(Value > 0 ? 1000 / Value : 55, std::memory_order_relaxed);
}

void TLumitra::SetClockStyle(TClockStyle Value)
{
    if (Value == FClockStyle)
        return;
    FClockStyle = Value;
    FModelStale = true;
    SetStyle();
}

void TLumitra::SetClockHourStyle(THourStyle Value)
{
    if (Value == FClockHourStyle)
        return;
    FClockHourStyle = Value;
    FModelStale = true;
    SetStyle();
}

void TLumitra::SetPixDistance(int Value)
{
    if (Value == FPixDistance)
        return;
    FPixDistance = Value;
    FDotSpacing = Value > 0 ? I32::Mul(Value, 16) : 480;
    FDotScale = I32::Mul(FDotSpacing, 120);
    FModelStale = true;
    SetStyle();
}

void TLumitra::SetPixelAngle(int Value)
{
    if (Value == FPixelAngle)
        return;
    FPixelAngle = Value > 0 ? Value : 6;
    FModelStale = true;
    Invalidate();
}

void TLumitra::SetClockRadius(int Value)
{
    if (Value == FClockRadius)
        return;
    FClockRadius = Value > 0 ? Value : 24;
    FModelStale = true;
    SetStyle();
}

void TLumitra::SetClockDistance(int Value)
{
    if (Value == FClockDistance)
        return;
    FClockDistance = Value > 0 ? Value : 15000;
    SetStyle();
}

void TLumitra::SetRotX(double Value)
{
    StoreRate(FRotX, FStepX, Value);
}

void TLumitra::SetRotY(double Value)
{
    StoreRate(FRotY, FStepY, Value);
}

void TLumitra::SetRotZ(double Value)
{
    StoreRate(FRotZ, FStepZ, Value);
}

void TLumitra::SetIRotX(int Value)
{
    if (StoreStartAngle(FIRotX, FAngleX, Value))
        Invalidate();
}

void TLumitra::SetIRotY(int Value)
{
    if (StoreStartAngle(FIRotY, FAngleY, Value))
        Invalidate();
}

void TLumitra::SetIRotZ(int Value)
{
    if (StoreStartAngle(FIRotZ, FAngleZ, Value))
        Invalidate();
}

void TLumitra::SetClockColor(TColor Value)
{
    if (Value == FClockColor)
        return;
    FClockColor = Value;
    SetColor();
}

void TLumitra::SetClockColor(const QColor &Value)
{
    SetClockColor(QColorToTColor(Value));
}

void TLumitra::SetBackgroundImage(const TPicture *Value)
{
    FBackgroundImage->Assign(Value);
    Invalidate();
}

void TLumitra::SetBackgroundImage(const QPixmap &Value)
{
    TPicture Picture;
    Picture.SetPixmap(Value);
    SetBackgroundImage(&Picture);
}

void TLumitra::SetImageSourcePointX(int Value)
{
    if (Value == FImageSourcePointX)
        return;
    FImageSourcePointX = Value;
    Invalidate();
}

void TLumitra::SetImageSourcePointY(int Value)
{
    if (Value == FImageSourcePointY)
        return;
    FImageSourcePointY = Value;
    Invalidate();
}

void TLumitra::SetStretched(bool Value)
{
    if (Value == FStretched)
        return;
    FStretched = Value;
    Invalidate();
}

void TLumitra::SetPriority(TThreadPriority Value)
{
    if (std::uint8_t(Value) == std::uint8_t(FThread->Priority()))
        return;
    FThread->SetPriority(Value);
}

void TLumitra::SetStyle()
{
    FColumnCount = FClockHourStyle == hs12HourTime ? 51 : 40;
    const int Band = FClockStyle == csRingShapedClock ? I32::Mul(FClockRadius, 256)
                                                      : I32::Mul(FDotSpacing, FColumnCount);
    FShadeNear = I32::Sub(FClockDistance, Band);
    FShadeStep = Band / 32;
    Invalidate();
}
