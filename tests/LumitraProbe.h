// The one door through which tests reach TLumitra's private state.
#pragma once

#include "Lumitra.h"

class TLumitraProbe
{
public:
    explicit TLumitraProbe(TLumitra &C) : L(C) {}

    int &DotCount() { return L.FDotCount; }
    double &Time() { return L.FTime; }
    int FrameDelay() const { return L.FFrameDelay.load(); }
    int &DotSpacing() { return L.FDotSpacing; }
    int &ShadeStep() { return L.FShadeStep; }
    int &ShadeNear() { return L.FShadeNear; }
    int &DotScale() { return L.FDotScale; }
    int *DotX() { return L.FDotX; }
    int *DotY() { return L.FDotY; }
    int *DotZ() { return L.FDotZ; }
    int *DrawOrder() { return L.FDrawOrder; }
    int *ViewX() { return L.FViewX; }
    int *ViewY() { return L.FViewY; }
    int *ViewZ() { return L.FViewZ; }
    int &Hour() { return L.FHour; }
    int &Minute() { return L.FMinute; }
    int &Second() { return L.FSecond; }
    int &AngleX() { return L.FAngleX; }
    int &AngleY() { return L.FAngleY; }
    int &AngleZ() { return L.FAngleZ; }
    int &StepX() { return L.FStepX; }
    int &StepY() { return L.FStepY; }
    int &StepZ() { return L.FStepZ; }
    int &ColumnCount() { return L.FColumnCount; }
    LumitraHost::TColor *ShadeColors() { return L.FShadeColors; }
    int (*Glyphs())[TLumitra::GlyphSize] { return L.FGlyphs; }
    int *SinTable() { return L.FSinTable; }
    int &PixelAngle() { return L.FPixelAngle; }
    int &ClockRadius() { return L.FClockRadius; }
    int &ClockDistance() { return L.FClockDistance; }
    TLumitra::TClockStyle &ClockStyle() { return L.FClockStyle; }
    TLumitra::THourStyle &ClockHourStyle() { return L.FClockHourStyle; }

    bool &ModelStale() { return L.FModelStale; }
    TLumitra::TClockThread *Thread() { return L.FThread; }
    const LumitraHost::TBitmap *SourceBitmap() const { return L.FSourceBitmap.get(); }
    quint64 SourceRevision() const { return L.FSourceRevision; }
    void WndProc(LumitraHost::TMessage &Message) { L.WndProc(Message); }

    void SetStyle() { L.SetStyle(); }
    void SetColor() { L.SetColor(); }
    void FillDotLines() { L.FillDotLines(); }
    void CalculateClockTimeDots() { L.CalculateClockTimeDots(); }
    void DrawClockDots() { L.DrawClockDots(); }

private:
    TLumitra &L;
};
