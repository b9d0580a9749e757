#include "DiscCache.h"

#include <QtGui/QPaintEngine>
#include <QtGui/QPainter>
#include <QtGui/QPolygonF>
#include <algorithm>
#include <cmath>
#include <numbers>

using namespace LumitraHost;

namespace {

// Painter scales the cache serves; others (fractional or huge) are drawn by
// the caller.
constexpr int MaxScale = 4;

// Discs up to this size are left to the painter's own ellipse.
constexpr int MaxPainterDiameter = 512;

// The part of the paint device that can show anything, in the painter's
// logical coordinates, with a margin. A widget's painter clips to the
// widget, which may be far larger than the image it is rendered into.
QRectF VisibleRect(QPainter &Painter)
{
    QPaintDevice *Device = Painter.paintEngine() ? Painter.paintEngine()->paintDevice() : Painter.device();
    if (!Device)
        return {};
    // Wide enough whether the device counts its size in pixels or in
    // logical units.
    const double Ratio = std::max(1.0, Device->devicePixelRatio());
    const QRectF Pixels(0, 0, Device->width() * Ratio, Device->height() * Ratio);
    bool Invertible = false;
    const QTransform ToLogical = Painter.deviceTransform().inverted(&Invertible);
    if (!Invertible)
        return {};
    return ToLogical.mapRect(Pixels).adjusted(-2, -2, 2, 2);
}

double DistanceToRect(double X, double Y, const QRectF &R)
{
    const double Dx = std::max({R.left() - X, 0.0, X - R.right()});
    const double Dy = std::max({R.top() - Y, 0.0, Y - R.bottom()});
    return std::hypot(Dx, Dy);
}

// Sutherland-Hodgman against one edge of the rectangle: keeps the side where
// Inside() holds.
template <typename TInside, typename TCross>
QPolygonF ClipEdge(const QPolygonF &In, TInside Inside, TCross Cross)
{
    QPolygonF Out;
    for (qsizetype I = 0; I < In.size(); ++I) {
        const QPointF &A = In[I], &B = In[(I + 1) % In.size()];
        const bool InA = Inside(A), InB = Inside(B);
        if (InA)
            Out << A;
        if (InA != InB)
            Out << Cross(A, B);
    }
    return Out;
}

QPolygonF ClipToRect(QPolygonF Poly, const QRectF &R)
{
    const auto AtX = [](const QPointF &A, const QPointF &B, double X) {
        return QPointF(X, A.y() + (B.y() - A.y()) * (X - A.x()) / (B.x() - A.x()));
    };
    const auto AtY = [](const QPointF &A, const QPointF &B, double Y) {
        return QPointF(A.x() + (B.x() - A.x()) * (Y - A.y()) / (B.y() - A.y()), Y);
    };
    Poly = ClipEdge(Poly, [&](const QPointF &P) { return P.x() >= R.left(); },
                    [&](const QPointF &A, const QPointF &B) { return AtX(A, B, R.left()); });
    Poly = ClipEdge(Poly, [&](const QPointF &P) { return P.x() <= R.right(); },
                    [&](const QPointF &A, const QPointF &B) { return AtX(A, B, R.right()); });
    Poly = ClipEdge(Poly, [&](const QPointF &P) { return P.y() >= R.top(); },
                    [&](const QPointF &A, const QPointF &B) { return AtY(A, B, R.top()); });
    Poly = ClipEdge(Poly, [&](const QPointF &P) { return P.y() <= R.bottom(); },
                    [&](const QPointF &A, const QPointF &B) { return AtY(A, B, R.bottom()); });
    return Poly;
}

// A disc far larger than a dot (a clock seen from almost no distance): only
// the part that can show is drawn, as a polygon whose vertices lie on the
// circle, dense where the edge is visible (chords within 0.02 pixel of the
// arc) and sparse elsewhere. The painter's own ellipse would flatten the
// whole huge curve.
void DrawLargeDisc(QPainter &Painter, int Left, int Top, int Diameter, TColor Color)
{
    const QRectF Visible = VisibleRect(Painter);
    if (Visible.isEmpty())
        return;
    const double R = Diameter / 2.0, Cx = Left + R, Cy = Top + R;
    if (DistanceToRect(Cx, Cy, Visible) >= R)
        return;
    Painter.save();
    Painter.setPen(Qt::NoPen);
    Painter.setBrush(TColorToQColor(Color));
    const auto Covers = [&](double X, double Y) { return std::hypot(X - Cx, Y - Cy) <= R; };
    if (Covers(Visible.left(), Visible.top()) && Covers(Visible.right(), Visible.top())
        && Covers(Visible.left(), Visible.bottom()) && Covers(Visible.right(), Visible.bottom())) {
        Painter.fillRect(Visible, Painter.brush());
    } else {
        Painter.setRenderHint(QPainter::Antialiasing, true);
        QPolygonF Poly;
        constexpr double Turn = 2 * std::numbers::pi;
        for (double Angle = 0; Angle < Turn && Poly.size() < 100000;) {
            const double X = Cx + R * std::cos(Angle), Y = Cy + R * std::sin(Angle);
            Poly << QPointF(X, Y);
            // A chord may miss its arc by half the distance to the visible
            // part, and no step may carry the arc into it unseen.
            const double Distance = DistanceToRect(X, Y, Visible);
            const double Fine = std::sqrt(8 * 0.02 / R);
            const double Sagitta = std::sqrt(8 * std::max(0.02, Distance / 2) / R);
            Angle += std::min({Sagitta, std::max(Distance / R, Fine), std::numbers::pi / 8});
        }
        Poly = ClipToRect(Poly, Visible);
        if (Poly.size() >= 3)
            Painter.drawPolygon(Poly);
    }
    Painter.restore();
}

} // namespace

void TDiscCache::Build(const TColor *Colors, int Count, int Scale)
{
    Count = std::clamp(Count, 0, MaxColors);
    if (Colors != FColors)
        std::copy(Colors, Colors + Count, FColors);
    FCount = Count;
    FScale = std::clamp(Scale, 1, MaxScale);
    FHint = 0;
    // Rasterised at the first draw: a clock that is built and thrown away
    // unpainted (as Designer does) never pays for it, and several ramp
    // changes before a paint cost one build.
    FAtlas = QImage();
}

void TDiscCache::Rasterise(int Scale)
{
    FScale = std::clamp(Scale, 1, MaxScale);
    int Height = 0;
    for (int D = MinDiameter; D <= MaxDiameter; ++D) {
        FBandTop[D] = Height;
        Height += FScale * D;
    }
    QImage Atlas(FCount * FScale * MaxDiameter, Height, QImage::Format_ARGB32_Premultiplied);
    Atlas.fill(Qt::transparent);
    {
        QPainter P(&Atlas);
        P.setRenderHint(QPainter::Antialiasing, true);
        P.setPen(Qt::NoPen);
        for (int C = 0; C < FCount; ++C) {
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
    if (Diameter > MaxPainterDiameter) {
        DrawLargeDisc(Painter, Left, Top, Diameter, Color);
        return true;
    }
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
    if (FAtlas.isNull() || int(S) != FScale)
        Rasterise(int(S));
    const int Side = FScale * Diameter;
    Painter.drawImage(QPointF(Left, Top), FAtlas, QRectF(C * Side, FBandTop[Diameter], Side, Side));
    return true;
}
