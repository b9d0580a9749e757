// TCanvas: the drawing surface a control paints on, a thin wrapper over the
// QPainter that is active during one paint (or over a bitmap's image).
#pragma once

#include "HostGlobal.h"
#include "TColor.h"

#include <QtCore/QRect>
#include <functional>
#include <mutex>

class QPainter;
class QImage;

namespace LumitraHost {

class TGraphic;

enum TBrushStyle : std::uint8_t { bsSolid = 0, bsClear = 1 };

class LUMITRA_EXPORT TBrush
{
public:
    TColor Color() const { return FColor; }
    // Choosing a colour makes the brush solid, whatever its style was.
    void SetColor(TColor Value)
    {
        FColor = Value;
        FStyle = bsSolid;
    }
    TBrushStyle Style() const { return FStyle; }
    void SetStyle(TBrushStyle Value) { FStyle = Value; }

private:
    TColor FColor = MakeTColor(0xFFFFFF);
    TBrushStyle FStyle = bsSolid;
};

class LUMITRA_EXPORT TPen
{
public:
    TColor Color() const { return FColor; }
    void SetColor(TColor Value) { FColor = Value; }

private:
    TColor FColor = MakeTColor(0);
};

class LUMITRA_EXPORT TCanvas
{
public:
    // Sees every Ellipse call with its rectangle and brush colour; used by
    // the trace of the command-line renderer and by tests.
    using EllipseObserver = std::function<void(int X1, int Y1, int X2, int Y2, TColor BrushColor)>;
    // Draws one filled disc in place of the painter, for callers that keep
    // prepared disc images. Returns false to fall back to the painter.
    using DiscPainter = std::function<bool(QPainter &Painter, int Left, int Top, int Diameter, TColor Color)>;

    TCanvas() = default;
    TCanvas(const TCanvas &) = delete;
    TCanvas &operator=(const TCanvas &) = delete;

    // Recursive: the thread that holds the lock may take it again.
    void Lock() { FLock.lock(); }
    void Unlock() { FLock.unlock(); }

    TBrush &Brush() { return FBrush; }
    TPen &Pen() { return FPen; }

    // The painter drawn on; null outside a paint. Not owned.
    QPainter *Painter() const { return FPainter; }
    void SetPainter(QPainter *Value) { FPainter = Value; }

    // The image behind a bitmap's canvas, the source of CopyRect. Not owned.
    const QImage *SourceImage() const { return FImage; }
    void SetSourceImage(const QImage *Value) { FImage = Value; }

    void SetEllipseObserver(EllipseObserver Value) { FObserver = std::move(Value); }
    void SetDiscPainter(DiscPainter Value) { FDiscPainter = std::move(Value); }

    // The ellipse inscribed in the rectangle (X1, Y1)-(X2, Y2), right and
    // bottom just outside; filled with the brush, outlined with the pen.
    void Ellipse(int X1, int Y1, int X2, int Y2);
    void Draw(int X, int Y, const TGraphic *Graphic);
    void StretchDraw(const QRect &Dest, const TGraphic *Graphic);
    // Copies Source of SourceCanvas onto Dest, scaled to Dest's size.
    void CopyRect(const QRect &Dest, const TCanvas *SourceCanvas, const QRect &Source);

private:
    std::recursive_mutex FLock;
    TBrush FBrush;
    TPen FPen;
    QPainter *FPainter = nullptr;
    const QImage *FImage = nullptr;
    EllipseObserver FObserver;
    DiscPainter FDiscPainter;
};

// Rectangles are given as left, top, right, bottom with right and bottom just
// outside; this builds the QRect for them without overflowing.
LUMITRA_EXPORT QRect RectFromEdges(int Left, int Top, int Right, int Bottom);

} // namespace LumitraHost
