#include "TCanvas.h"
#include "TGraphics.h"

#include <QtGui/QPainter>
#include <algorithm>
#include <climits>

namespace LumitraHost {

QRect RectFromEdges(int Left, int Top, int Right, int Bottom)
{
    // QRect keeps the inclusive right edge; Right - 1 cannot overflow past
    // INT_MIN because QRect stores int, so clamp the edges first.
    const auto Clamp = [](long long V) {
        return int(std::clamp<long long>(V, INT_MIN / 2, INT_MAX / 2));
    };
    const int L = Clamp(Left), T = Clamp(Top);
    const int R = Clamp(Right), B = Clamp(Bottom);
    return QRect(QPoint(L, T), QPoint(R - 1, B - 1));
}

void TCanvas::Ellipse(int X1, int Y1, int X2, int Y2)
{
    if (FObserver)
        FObserver(X1, Y1, X2, Y2, FBrush.Color());
    if (!FPainter)
        return;
    const long long W = (long long)X2 - X1, H = (long long)Y2 - Y1;
    if (W <= 0 || H <= 0)
        return;
    // Nothing outside the device is drawn; this also keeps absurd rectangles
    // away from the rasteriser.
    const QRect Device = FPainter->viewport();
    if ((long long)X1 > Device.right() + 1LL || (long long)Y1 > Device.bottom() + 1LL
        || (long long)X2 < Device.left() || (long long)Y2 < Device.top())
        return;
    // A prepared disc only for a diameter an int can hold.
    if (W == H && W <= INT_MAX && FBrush.Style() == bsSolid && FPen.Color() == FBrush.Color() && FDiscPainter
        && FDiscPainter(*FPainter, X1, Y1, int(W), FBrush.Color()))
        return;
    FPainter->save();
    FPainter->setRenderHint(QPainter::Antialiasing, true);
    FPainter->setPen(Qt::NoPen);
    if (FBrush.Style() == bsSolid)
        FPainter->setBrush(TColorToQColor(FBrush.Color()));
    else
        FPainter->setBrush(Qt::NoBrush);
    // A disc filling the square: fill and outline share one colour here, so
    // the whole square's inscribed circle is covered.
    FPainter->drawEllipse(QRectF(X1, Y1, double(W), double(H)));
    if (FPen.Color() != FBrush.Color() || FBrush.Style() != bsSolid) {
        FPainter->setBrush(Qt::NoBrush);
        FPainter->setPen(QPen(TColorToQColor(FPen.Color()), 1.0));
        FPainter->drawEllipse(QRectF(X1 + 0.5, Y1 + 0.5, double(W) - 1.0, double(H) - 1.0));
    }
    FPainter->restore();
}

void TCanvas::Draw(int X, int Y, const TGraphic *Graphic)
{
    if (!FPainter || !Graphic || Graphic->Empty())
        return;
    FPainter->drawImage(QPoint(X, Y), Graphic->Image());
}

void TCanvas::StretchDraw(const QRect &Dest, const TGraphic *Graphic)
{
    if (!FPainter || !Graphic || Graphic->Empty() || Dest.isEmpty())
        return;
    FPainter->save();
    FPainter->setRenderHint(QPainter::SmoothPixmapTransform, true);
    FPainter->drawImage(Dest, Graphic->Image());
    FPainter->restore();
}

void TCanvas::CopyRect(const QRect &Dest, const TCanvas *SourceCanvas, const QRect &Source)
{
    if (!FPainter || !SourceCanvas || !SourceCanvas->FImage || Dest.isEmpty())
        return;
    // A source with no positive width or height shows nothing; parts of the
    // source outside the image stay transparent.
    if (Source.width() <= 0 || Source.height() <= 0)
        return;
    FPainter->save();
    FPainter->setRenderHint(QPainter::SmoothPixmapTransform, true);
    FPainter->drawImage(QRectF(Dest), *SourceCanvas->FImage, QRectF(Source));
    FPainter->restore();
}

TBitmap::TBitmap()
{
    FCanvas.SetSourceImage(&FImage);
}

void TBitmap::Assign(const TGraphic *Source)
{
    FImage = Source ? Source->Image().convertToFormat(QImage::Format_ARGB32_Premultiplied) : QImage();
}

void TPicture::Assign(const TPicture *Source)
{
    if (Source == this)
        return;
    if (Source && Source->FGraphic)
        FGraphic = std::make_unique<TGraphic>(Source->FGraphic->Image());
    else
        FGraphic.reset();
    ++FRevision;
}

void TPicture::SetImage(const QImage &Image)
{
    if (Image.isNull())
        FGraphic.reset();
    else
        FGraphic = std::make_unique<TGraphic>(Image);
    ++FRevision;
}

void TPicture::SetPixmap(const QPixmap &Pixmap)
{
    SetImage(Pixmap.isNull() ? QImage() : Pixmap.toImage());
}

QPixmap TPicture::ToPixmap() const
{
    return FGraphic ? QPixmap::fromImage(FGraphic->Image()) : QPixmap();
}

} // namespace LumitraHost
