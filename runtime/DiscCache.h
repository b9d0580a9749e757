// TDiscCache: antialiased discs prepared once per shade ramp, so that a frame
// draws each dot as one small image blit instead of rasterising an ellipse.
// Prepared once after each ramp change (and when the painter's pixel scale
// changes), never per frame; drawing from it allocates nothing.
#pragma once

#include "HostGlobal.h"
#include "TColor.h"

#include <QtGui/QImage>

class QPainter;

class LUMITRA_EXPORT TDiscCache
{
public:
    static constexpr int MinDiameter = 3;
    static constexpr int MaxDiameter = 16;
    static constexpr int MaxColors = 65;

    // Takes the Count colours whose discs, every diameter from MinDiameter to
    // MaxDiameter, are prepared at the next draw, at Scale device pixels per
    // logical pixel (or the painter's own whole-number scale).
    void Build(const LumitraHost::TColor *Colors, int Count, int Scale);

    // Draws the disc inscribed in the square (Left, Top, Diameter) in Color.
    // Returns false when the disc is not prepared (size, colour or a painter
    // transform that is not a whole-number scale), so the caller draws it
    // itself. Discs of hundreds of pixels and more are drawn here too, cut to
    // what the device can show.
    bool Draw(QPainter &Painter, int Left, int Top, int Diameter, LumitraHost::TColor Color);


private:
    int ColorIndex(LumitraHost::TColor Color);
    void Rasterise(int Scale);

    // One band per diameter, one cell per colour: band d starts at row
    // FBandTop[d] (in device pixels) and holds cells Scale x d wide.
    QImage FAtlas;
    LumitraHost::TColor FColors[MaxColors] = {};
    int FCount = 0;
    int FScale = 0;
    int FHint = 0;
    int FBandTop[MaxDiameter + 1] = {};
};
