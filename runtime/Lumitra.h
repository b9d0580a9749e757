// TLumitra: a digital clock whose digits are dots standing in 3-D around a
// ring or along a twisted ribbon, spinning, seen in perspective and shaded by
// depth. Drop it on a form, set its properties, set Active to animate it.
#pragma once

#include "DateUtils.h"
#include "TCanvas.h"
#include "TColor.h"
#include "TCustomControl.h"
#include "TGraphics.h"
#include "TThreadPriority.h"

#include <QtGui/QPixmap>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

class TLumitraProbe;
class TDiscCache;

class LUMITRA_EXPORT TLumitra : public LumitraHost::TCustomControl
{
    Q_OBJECT
    // Published properties, in the order in which a form writes and reads
    // them: Active first, before the properties that shape the clock.
    Q_PROPERTY(bool Active READ Active WRITE SetActive)
    Q_PROPERTY(int FramesPerSecond READ FramesPerSecond WRITE SetFramesPerSecond)
    Q_PROPERTY(TClockStyle ClockStyle READ ClockStyle WRITE SetClockStyle)
    Q_PROPERTY(THourStyle ClockHourStyle READ ClockHourStyle WRITE SetClockHourStyle)
    Q_PROPERTY(int PixDistance READ PixDistance WRITE SetPixDistance)
    Q_PROPERTY(int PixelAngle READ PixelAngle WRITE SetPixelAngle)
    Q_PROPERTY(int ClockRadius READ ClockRadius WRITE SetClockRadius)
    Q_PROPERTY(int ClockDistance READ ClockDistance WRITE SetClockDistance)
    Q_PROPERTY(double RotX READ RotX WRITE SetRotX)
    Q_PROPERTY(double RotY READ RotY WRITE SetRotY)
    Q_PROPERTY(double RotZ READ RotZ WRITE SetRotZ)
    Q_PROPERTY(int IRotX READ IRotX WRITE SetIRotX)
    Q_PROPERTY(int IRotY READ IRotY WRITE SetIRotY)
    Q_PROPERTY(int IRotZ READ IRotZ WRITE SetIRotZ)
    Q_PROPERTY(QColor ClockColor READ GetClockColor WRITE SetClockColor)
    Q_PROPERTY(QPixmap BackgroundImage READ GetBackgroundImage WRITE SetBackgroundImage)
    Q_PROPERTY(int ImageSourcePointX READ ImageSourcePointX WRITE SetImageSourcePointX)
    Q_PROPERTY(int ImageSourcePointY READ ImageSourcePointY WRITE SetImageSourcePointY)
    Q_PROPERTY(bool Stretched READ Stretched WRITE SetStretched)
    Q_PROPERTY(LumitraHost::TThreadPriority Priority READ GetPriority WRITE SetPriority)
    // A version value (major in the high byte, minor in the low byte) for the
    // design-time About editor; read-only and never written to a form.
    Q_PROPERTY(qint16 About READ About STORED false)

public:
    using TColor = LumitraHost::TColor;
    using TDateTime = LumitraHost::TDateTime;
    using TThreadPriority = LumitraHost::TThreadPriority;
    using TPicture = LumitraHost::TPicture;

    enum TClockStyle : std::uint8_t { csRingShapedClock = 0, csTwistedClock = 1 };
    Q_ENUM(TClockStyle)
    enum THourStyle : std::uint8_t { hs24HourTime = 0, hs12HourTime = 1 };
    Q_ENUM(THourStyle)

    class TClockThread;

    // Where the clock takes the local time from; the default (an empty
    // function) is the local wall clock. Set it to show another time zone or
    // a fixed time.
    using TTimeSource = std::function<TDateTime()>;

    static constexpr int MaxDots = 150;
    static constexpr int RampSize = 65;
    static constexpr int GlyphCount = 12;
    static constexpr int GlyphSize = 51;
    static constexpr int SinTableSize = 180;

    Q_INVOKABLE explicit TLumitra(QWidget *Parent = nullptr);
    ~TLumitra() override;

    bool Active() const { return FActive; }
    int FramesPerSecond() const { return FFramesPerSecond; }
    TClockStyle ClockStyle() const { return FClockStyle; }
    THourStyle ClockHourStyle() const { return FClockHourStyle; }
    int PixDistance() const { return FPixDistance; }
    int PixelAngle() const { return FPixelAngle; }
    int ClockRadius() const { return FClockRadius; }
    int ClockDistance() const { return FClockDistance; }
    double RotX() const { return FRotX; }
    double RotY() const { return FRotY; }
    double RotZ() const { return FRotZ; }
    int IRotX() const { return FIRotX; }
    int IRotY() const { return FIRotY; }
    int IRotZ() const { return FIRotZ; }
    TColor ClockColor() const { return FClockColor; }
    QColor GetClockColor() const;
    QPixmap GetBackgroundImage() const;
    const TPicture *BackgroundImage() const { return FBackgroundImage; }
    int ImageSourcePointX() const { return FImageSourcePointX; }
    int ImageSourcePointY() const { return FImageSourcePointY; }
    bool Stretched() const { return FStretched; }
    TThreadPriority GetPriority() const;
    qint16 About() const { return FAbout; }

    void SetActive(bool Value);
    void SetFramesPerSecond(int Value);
    void SetClockStyle(TClockStyle Value);
    void SetClockHourStyle(THourStyle Value);
    void SetPixDistance(int Value);
    void SetPixelAngle(int Value);
    void SetClockRadius(int Value);
    void SetClockDistance(int Value);
    void SetRotX(double Value);
    void SetRotY(double Value);
    void SetRotZ(double Value);
    void SetIRotX(int Value);
    void SetIRotY(int Value);
    void SetIRotZ(int Value);
    void SetClockColor(TColor Value);
    void SetClockColor(const QColor &Value);
    // The picture is copied in, never adopted.
    void SetBackgroundImage(const TPicture *Value);
    void SetBackgroundImage(const QPixmap &Value);
    void SetImageSourcePointX(int Value);
    void SetImageSourcePointY(int Value);
    void SetStretched(bool Value);
    void SetPriority(TThreadPriority Value);

    // Qt-style spellings of the setters, which code generated from .ui files
    // calls.
    void setActive(bool V) { SetActive(V); }
    void setFramesPerSecond(int V) { SetFramesPerSecond(V); }
    void setClockStyle(TClockStyle V) { SetClockStyle(V); }
    void setClockHourStyle(THourStyle V) { SetClockHourStyle(V); }
    void setPixDistance(int V) { SetPixDistance(V); }
    void setPixelAngle(int V) { SetPixelAngle(V); }
    void setClockRadius(int V) { SetClockRadius(V); }
    void setClockDistance(int V) { SetClockDistance(V); }
    void setRotX(double V) { SetRotX(V); }
    void setRotY(double V) { SetRotY(V); }
    void setRotZ(double V) { SetRotZ(V); }
    void setIRotX(int V) { SetIRotX(V); }
    void setIRotY(int V) { SetIRotY(V); }
    void setIRotZ(int V) { SetIRotZ(V); }
    void setClockColor(const QColor &V) { SetClockColor(V); }
    void setBackgroundImage(const QPixmap &V) { SetBackgroundImage(V); }
    void setImageSourcePointX(int V) { SetImageSourcePointX(V); }
    void setImageSourcePointY(int V) { SetImageSourcePointY(V); }
    void setStretched(bool V) { SetStretched(V); }
    void setPriority(TThreadPriority V) { SetPriority(V); }

    void SetTimeSource(TTimeSource Source);

    // Table trigonometry in whole degrees, scaled by 256. Arguments outside
    // 0..360 are reduced modulo 360 first.
    int Sine(int Degrees) const;
    int Cosine(int Degrees) const;

protected:
    void Paint() override;
    void WndProc(LumitraHost::TMessage &Message) override;
    void RepaintRequestTaken() override;
    // Hidden, or its window minimised: the worker asks for nothing meanwhile.
    void showEvent(QShowEvent *Event) override;
    void hideEvent(QHideEvent *Event) override;

private:
    friend class ::TLumitraProbe;

    void SetStyle();
    void SetColor();
    void FillDotLines();
    void CalculateClockTimeDots();
    void DrawClockDots();
    void SortDrawOrder();
    void PrepareDiscs();
    TDateTime SampleTime() const;
    void BuildSinTable();
    void BuildGlyphs();

    int FDotCount = 0;
    TDateTime FTime = 0.0;
    std::atomic<int> FFrameDelay{0};
    int FDotSpacing = 0;
    int FShadeStep = 0;
    int FShadeNear = 0;
    int FDotScale = 0;
    int FDotZ[MaxDots] = {};
    int FDotY[MaxDots] = {};
    int FDotX[MaxDots] = {};
    int FDrawOrder[MaxDots] = {};
    int FViewZ[MaxDots] = {};
    int FViewY[MaxDots] = {};
    int FViewX[MaxDots] = {};
    int FHour = 0;
    int FMinute = 0;
    int FSecond = 0;
    int FAngleY = 0;
    int FAngleX = 0;
    int FAngleZ = 0;
    int FStepX = 0;
    int FStepY = 0;
    int FStepZ = 0;
    int FColumnCount = 0;
    TColor FShadeColors[RampSize] = {};
    int FGlyphs[GlyphCount][GlyphSize] = {};
    TClockThread *FThread = nullptr;
    int FSinTable[SinTableSize] = {};
    TClockStyle FClockStyle = csRingShapedClock;
    THourStyle FClockHourStyle = hs24HourTime;
    int FFramesPerSecond = 0;
    int FPixDistance = 0;
    int FPixelAngle = 0;
    int FClockRadius = 0;
    int FClockDistance = 0;
    double FRotX = 0.0;
    double FRotY = 0.0;
    double FRotZ = 0.0;
    int FIRotX = 0;
    int FIRotY = 0;
    int FIRotZ = 0;
    TColor FClockColor = LumitraHost::MakeTColor(0);
    TPicture *FBackgroundImage = nullptr;
    int FImageSourcePointX = 0;
    int FImageSourcePointY = 0;
    bool FActive = false;
    bool FStretched = false;
    qint16 FAbout = 0;

    // The time the dot model was last built from, and whether a setter has
    // changed its layout since; a frame rebuilds the model when either says
    // so, so a stale hour or layout never survives a frame.
    bool FModelStale = true;
    int FBuiltHour = -1;
    int FBuiltMinute = -1;
    int FBuiltSecond = -1;
    TTimeSource FTimeSource;
    // The dots as prepared images, rebuilt with the shade ramp; the canvas
    // draws from it.
    std::unique_ptr<TDiscCache> FDiscs;

    // The background picture converted for copying from a source point,
    // kept between frames while the picture stays the same.
    std::unique_ptr<LumitraHost::TBitmap> FSourceBitmap;
    quint64 FSourceRevision = 0;
};
