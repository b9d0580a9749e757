// Painting: the background picture in its three placements, checked on
// rendered pixels; the colour notifications that rebuild the shade ramp; and
// drawing at device pixels on a high-density screen.
#include "LumitraProbe.h"

#include <QtGui/QPainter>
#include <QtWidgets/QApplication>
#include <gtest/gtest.h>

#include <cstdlib>

namespace {

using LumitraHost::RGBToTColor;
using LumitraHost::TColor;

const QColor Background(10, 20, 30);

// Red and green tell where a pixel came from: small(x, y) = (4x, 4y) on a
// 64 x 64 picture, big(x, y) = (x, y) on a 256 x 256 one.
QImage Gradient(int Size, int Scale, int Blue)
{
    QImage Image(Size, Size, QImage::Format_RGB32);
    for (int Y = 0; Y < Size; ++Y)
        for (int X = 0; X < Size; ++X)
            Image.setPixel(X, Y, qRgb(X * Scale, Y * Scale, Blue));
    return Image;
}

QImage Render(TLumitra &Clock, qreal Ratio = 1.0)
{
    QImage Image(QSize(Clock.Width(), Clock.Height()) * Ratio, QImage::Format_ARGB32_Premultiplied);
    Image.setDevicePixelRatio(Ratio);
    Image.fill(Qt::transparent);
    Clock.RenderTo(&Image);
    return Image;
}

std::unique_ptr<TLumitra> MakeClock()
{
    auto Clock = std::make_unique<TLumitra>();
    Clock->SetColorValue(Background);
    return Clock;
}

// Only the corners are looked at: the ring of dots stays within about 60
// pixels of the centre of a 128 x 128 control.
struct TSample
{
    int X, Y;
    QColor Expected;
};

struct TBackgroundCase
{
    const char *Name;
    int PictureSize; // 0: no graphic
    bool Stretched;
    int SourceX, SourceY;
    TSample Samples[4];
};

const QColor Bg = Background;
const TBackgroundCase BackgroundCases[] = {
    // 64 x 64 at its own size in the top-left quarter; the rest is Color.
    {"plain", 64, false, 0, 0,
     {{5, 5, QColor(20, 20, 200)}, {122, 5, Bg}, {5, 122, Bg}, {122, 122, Bg}}},
    // Scaled to fill the control: (x, y) shows about small(x / 2, y / 2).
    {"stretched", 64, true, 0, 0,
     {{5, 5, QColor(9, 9, 200)}, {122, 5, QColor(243, 9, 200)}, {5, 122, QColor(9, 243, 200)},
      {122, 122, QColor(243, 243, 200)}}},
    // (10, 0) to (128, 128), 118 x 128, scaled to 128 x 128: x shows about
    // 10 + x * 118 / 128 of the big picture.
    {"source point", 256, false, 10, 0,
     {{5, 5, QColor(15, 5, 100)}, {122, 5, QColor(122, 5, 100)}, {5, 122, QColor(15, 122, 100)},
      {122, 122, QColor(122, 122, 100)}}},
    // The source point wins over Stretched: (0, 20) to (128, 128) scaled.
    {"source point with Stretched", 256, true, 0, 20,
     {{5, 5, QColor(5, 24, 100)}, {122, 5, QColor(122, 24, 100)}, {5, 122, QColor(5, 123, 100)},
      {122, 122, QColor(122, 123, 100)}}},
    {"empty picture with source point", 0, true, 10, 10,
     {{5, 5, Bg}, {122, 5, Bg}, {5, 122, Bg}, {122, 122, Bg}}},
};

TEST(LumitraPaint, BackgroundPlacements)
{
    for (const TBackgroundCase &Case : BackgroundCases) {
        SCOPED_TRACE(Case.Name);
        auto Clock = MakeClock();
        TLumitraProbe Probe(*Clock);
        if (Case.PictureSize) {
            LumitraHost::TPicture Picture;
            Picture.SetImage(Case.PictureSize == 64 ? Gradient(64, 4, 200) : Gradient(256, 1, 100));
            Clock->SetBackgroundImage(&Picture);
        }
        Clock->SetStretched(Case.Stretched);
        Clock->SetImageSourcePointX(Case.SourceX);
        Clock->SetImageSourcePointY(Case.SourceY);
        const QImage Image = Render(*Clock);
        for (const TSample &S : Case.Samples) {
            const QColor Got = Image.pixelColor(S.X, S.Y);
            SCOPED_TRACE(testing::Message() << "at " << S.X << "," << S.Y << " got " << Got.red() << ","
                                            << Got.green() << "," << Got.blue());
            EXPECT_LE(std::abs(Got.red() - S.Expected.red()), 3);
            EXPECT_LE(std::abs(Got.green() - S.Expected.green()), 3);
            EXPECT_LE(std::abs(Got.blue() - S.Expected.blue()), 3);
        }
        if (!Case.PictureSize) {
            EXPECT_EQ(Probe.SourceBitmap(), nullptr) << "no bitmap without a graphic";
        }
    }
}

TEST(LumitraPaint, KeptSourceBitmapFollowsThePicture)
{
    auto Clock = MakeClock();
    TLumitraProbe Probe(*Clock);
    LumitraHost::TPicture Picture;
    Picture.SetImage(Gradient(256, 1, 100));
    Clock->SetBackgroundImage(&Picture);
    Clock->SetImageSourcePointX(10);
    EXPECT_EQ(Render(*Clock).pixelColor(5, 5).blue(), 100);
    const LumitraHost::TBitmap *Kept = Probe.SourceBitmap();
    ASSERT_NE(Kept, nullptr);
    Render(*Clock);
    EXPECT_EQ(Probe.SourceBitmap(), Kept) << "same picture, same bitmap";

    Picture.SetImage(Gradient(256, 1, 50));
    Clock->SetBackgroundImage(&Picture);
    EXPECT_EQ(Render(*Clock).pixelColor(5, 5).blue(), 50) << "a new picture must not show the old one";
    EXPECT_EQ(Probe.SourceRevision(), Clock->BackgroundImage()->Revision());

    Clock->SetBackgroundImage(static_cast<const LumitraHost::TPicture *>(nullptr));
    EXPECT_EQ(Render(*Clock).pixelColor(5, 5), Background);
    EXPECT_EQ(Probe.SourceBitmap(), nullptr);
}

// Entry 64 of the ramp for the default ClockColor blended toward black and
// toward white.
const TColor TowardBlack = RGBToTColor(56, 106, 35);
const TColor TowardWhite = RGBToTColor(205, 255, 183);

void ClearRamp(TLumitraProbe &Probe)
{
    for (int I = 0; I < TLumitra::RampSize; ++I)
        Probe.ShadeColors()[I] = TColor(0);
}

TEST(LumitraPaint, ColourNotificationsRebuildTheRamp)
{
    QWidget Parent;
    QPalette White = Parent.palette();
    White.setColor(QPalette::Window, Qt::white);
    QPalette Black = Parent.palette();
    Black.setColor(QPalette::Window, Qt::black);
    Parent.setPalette(Black);

    auto *Clock = new TLumitra();
    TLumitraProbe Probe(*Clock);

    // Placed in a parent: the ramp blends toward the parent's colour.
    ClearRamp(Probe);
    Clock->setParent(&Parent);
    EXPECT_EQ(Probe.ShadeColors()[0], Clock->ClockColor());
    EXPECT_EQ(Probe.ShadeColors()[64], TowardBlack);

    // The parent's colour, seen through ParentColor.
    ASSERT_TRUE(Clock->ParentColor());
    ClearRamp(Probe);
    Parent.setPalette(White);
    EXPECT_EQ(Probe.ShadeColors()[64], TowardWhite);

    // The control's own Color.
    ClearRamp(Probe);
    Clock->SetColorValue(QColor(Qt::black));
    EXPECT_FALSE(Clock->ParentColor());
    EXPECT_EQ(Probe.ShadeColors()[64], TowardBlack);

    // Back to the parent's colour.
    ClearRamp(Probe);
    Clock->SetParentColor(true);
    EXPECT_EQ(Probe.ShadeColors()[64], TowardWhite);

    // Both notifications rebuild even when nothing changed; others do not.
    for (unsigned Msg : {LumitraHost::CM_PARENTCOLORCHANGED, LumitraHost::CM_COLORCHANGED, 0xB00Au}) {
        SCOPED_TRACE(Msg);
        ClearRamp(Probe);
        LumitraHost::TMessage Message;
        Message.Msg = Msg;
        Probe.WndProc(Message);
        const bool Colour = Msg != 0xB00Au;
        EXPECT_EQ(Probe.ShadeColors()[64], Colour ? TowardWhite : TColor(0));
        EXPECT_EQ(Probe.ShadeColors()[0], Colour ? Clock->ClockColor() : TColor(0));
    }
}

// Aligned 2 x 2 blocks of device pixels that are not all one colour; a frame
// drawn at logical pixels and scaled up has none.
int MixedBlocks(const QImage &Image, const QRect &Area)
{
    int Mixed = 0;
    for (int Y = Area.top() & ~1; Y + 1 <= Area.bottom(); Y += 2)
        for (int X = Area.left() & ~1; X + 1 <= Area.right(); X += 2) {
            const QRgb P = Image.pixel(X, Y);
            if (Image.pixel(X + 1, Y) != P || Image.pixel(X, Y + 1) != P || Image.pixel(X + 1, Y + 1) != P)
                ++Mixed;
        }
    return Mixed;
}

TEST(LumitraPaint, HighDensityDrawsAtDevicePixels)
{
    auto Clock = MakeClock();
    TLumitraProbe Probe(*Clock);
    // Dots need a model: paint once in a second other than the first frame's.
    const QImage Dots = Render(*Clock, 2.0);
    ASSERT_EQ(Dots.size(), QSize(256, 256));
    EXPECT_GT(Probe.DotCount(), 0);
    EXPECT_GT(MixedBlocks(Dots, QRect(8, 8, 240, 240)), 20) << "dot edges";

    LumitraHost::TPicture Picture;
    Picture.SetImage(Gradient(64, 4, 200));
    Clock->SetBackgroundImage(&Picture);
    Clock->SetStretched(true);
    const QImage Stretched = Render(*Clock, 2.0);
    // The top-left corner is background only: a smooth gradient at device
    // resolution changes from one device pixel to the next.
    const QRect Corner(0, 0, 24, 24);
    EXPECT_GT(MixedBlocks(Stretched, Corner), 100);

    Clock->SetStretched(false);
    Clock->SetImageSourcePointX(1);
    EXPECT_GT(MixedBlocks(Render(*Clock, 2.0), Corner), 100);
}

} // namespace
