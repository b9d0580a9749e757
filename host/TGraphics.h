// TGraphic, TBitmap and TPicture: an image held by a control (its background
// picture), over QImage.
#pragma once

#include "HostGlobal.h"
#include "TCanvas.h"

#include <QtGui/QImage>
#include <QtGui/QPixmap>
#include <memory>

namespace LumitraHost {

class LUMITRA_EXPORT TGraphic
{
public:
    TGraphic() = default;
    explicit TGraphic(QImage Image) : FImage(std::move(Image)) {}
    virtual ~TGraphic() = default;

    bool Empty() const { return FImage.isNull(); }
    int Width() const { return FImage.width(); }
    int Height() const { return FImage.height(); }
    const QImage &Image() const { return FImage; }

protected:
    QImage FImage;
};

// A graphic converted to a plain bitmap, with a canvas to copy from.
class LUMITRA_EXPORT TBitmap : public TGraphic
{
public:
    TBitmap();
    TBitmap(const TBitmap &) = delete;
    TBitmap &operator=(const TBitmap &) = delete;

    void Assign(const TGraphic *Source);
    TCanvas *GetCanvas() { return &FCanvas; }

private:
    TCanvas FCanvas;
};

class LUMITRA_EXPORT TPicture
{
public:
    TPicture() = default;
    TPicture(const TPicture &) = delete;
    TPicture &operator=(const TPicture &) = delete;

    // Null when the picture holds no graphic.
    const TGraphic *Graphic() const { return FGraphic.get(); }
    // Copies Source's graphic (or its emptiness) into this picture.
    void Assign(const TPicture *Source);
    void SetImage(const QImage &Image);
    void SetPixmap(const QPixmap &Pixmap);
    QPixmap ToPixmap() const;
    // Counts every change of the graphic, so holders can tell whether a
    // conversion they keep is still of the same picture.
    quint64 Revision() const { return FRevision; }

private:
    std::unique_ptr<TGraphic> FGraphic;
    quint64 FRevision = 0;
};

} // namespace LumitraHost
