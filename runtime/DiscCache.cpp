#include "DiscCache.h"

#include <QtGui/QPainter>
#include <algorithm>
#include <cmath>

using namespace LumitraHost;

namespace {

// Painter scales the cache serves; others (fractional or huge) are drawn by
// the caller.
constexpr int MaxScale = 4;

} // namespace

void TDiscCache::Build(const TColor *Colors, int Count, int Scale)
{
    Count = std::clamp(Count, 0, MaxColors);
    if (Colors != FColors)
        std::copy(Colors, Colors + Count, FColors);
    FCount = Count;
    FScale = std::clamp(Scale, 1, MaxScale);
    FHint = 0;
    if (Count == 0) {
        FAtlas = QImage();
        return;
    }
    int Height = 0;
    for (int D = MinDiameter; D <= MaxDiameter; ++D) {
        FBandTop[D] = Height;
        Height += FScale * D;
    }
    QImage Atlas(Count * FScale * MaxDiameter, Height, QImage::Format_ARGB32_Premultiplied);
    Atlas.fill(Qt::transparent);
    {
        QPainter P(&Atlas);
        P.setRenderHint(QPainter::Antialiasing, true);
        P.setPen(Qt::NoPen);
        for (int C = 0; C < Count; ++C) {
            P.setBrush(TColorToQColor(FColors[C]));
            for (int D = MinDiameter; D <= MaxDiameter; ++D) {
                const int Side = FScale * D;
                P.drawEllipse(QRectF(C * Side, FBandTop[D], Side, Side));
            }
        }
    }
    Atlas.setDevicePixelRatio(FScale);
    FAtlas = std::move(Atlas);
}

int TDiscCache::ColorIndex(TColor Color)
{
    // Dots come far to near, so the colour mostly repeats or moves to a
    // neighbouring ramp entry.
    if (FHint < FCount && FColors[FHint] == Color)
        return FHint;
    for (int I = 0; I < FCount; ++I) {
        if (FColors[I] == Color) {
            FHint = I;
            return I;
        }
    }
    return -1;
}

bool TDiscCache::Draw(QPainter &Painter, int Left, int Top, int Diameter, TColor Color)
{
    if (Diameter < MinDiameter || Diameter > MaxDiameter || FCount == 0)
        return false;
    // The prepared discs are blitted pixel for pixel: only a whole-number
    // scale with a whole-pixel offset keeps them exact.
    const QTransform &T = Painter.deviceTransform();
    if (T.type() > QTransform::TxScale || T.m11() != T.m22() || T.dx() != std::floor(T.dx())
        || T.dy() != std::floor(T.dy()))
        return false;
    const double S = T.m11();
    if (S < 1.0 || S > MaxScale || S != std::floor(S))
        return false;
    const int C = ColorIndex(Color);
    if (C < 0)
        return false;
    if (int(S) != FScale)
        Rebuild(int(S));
    const int Side = FScale * Diameter;
    Painter.drawImage(QPointF(Left, Top), FAtlas, QRectF(C * Side, FBandTop[Diameter], Side, Side));
    return true;
}
