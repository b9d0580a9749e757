// The host layer: colours, time decoding, the control's colour state and
// its two colour notifications, the canvas lock.
#include "DateUtils.h"
#include "TCanvas.h"
#include "TColor.h"
#include "TCustomControl.h"

#include <QtCore/QCoreApplication>
#include <gtest/gtest.h>

#include <QtGui/QImage>
#include <QtGui/QPainter>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <climits>
#include <cmath>
#include <limits>
#include <thread>
#include <vector>

using namespace LumitraHost;

namespace {

TEST(HostColor, TColorAndQColorConvertBothWays)
{
    struct Row
    {
        std::uint32_t Value;
        int R, G, B;
    } const Rows[] = {
        {0x55FF88, 136, 255, 85}, {0x000000, 0, 0, 0}, {0xFFFFFF, 255, 255, 255},
        {0x0000FF, 255, 0, 0},    {0x00FF00, 0, 255, 0}, {0xFF0000, 0, 0, 255},
        {0x123456, 0x56, 0x34, 0x12},
    };
    for (const Row &Rw : Rows) {
        SCOPED_TRACE(Rw.Value);
        const TColor C = MakeTColor(Rw.Value);
        EXPECT_EQ(RedOf(C), Rw.R);
        EXPECT_EQ(GreenOf(C), Rw.G);
        EXPECT_EQ(BlueOf(C), Rw.B);
        EXPECT_EQ(RGBToTColor(Rw.R, Rw.G, Rw.B), C);
        EXPECT_EQ(TColorToQColor(C), QColor(Rw.R, Rw.G, Rw.B));
        EXPECT_EQ(QColorToTColor(QColor(Rw.R, Rw.G, Rw.B)), C);
    }
    // Alpha and other colour models play no part; the high byte is dropped.
    EXPECT_EQ(QColorToTColor(QColor(1, 2, 3, 4)), MakeTColor(0x030201));
    EXPECT_EQ(QColorToTColor(QColor::fromHsv(0, 255, 255)), MakeTColor(0x0000FF));
    EXPECT_EQ(TColorToQColor(MakeTColor(0x80000005)), QColor(5, 0, 0));
}

constexpr double MsPerDay = 86400000.0;

// A value the way a clock reading arrives: days plus a fraction computed in
// double, which is rarely exact.
double At(double Day, int H, int M, int S, int Ms)
{
    return Day + ((H * 60.0 + M) * 60.0 + S) / 86400.0 + Ms / MsPerDay;
}

TEST(HostTime, FieldsDecodedThroughWholeMilliseconds)
{
    struct Row
    {
        double Value;
        int Ms, H, M, S;
    } const Rows[] = {
        {At(45000, 12, 0, 1, 0), 43201000, 12, 0, 1},
        // Every whole second of one hour decodes to itself, never to the
        // second before (the double lies a hair below it).
        {0.5 + 1.0 / 86400.0, 43201000, 12, 0, 1},
        {At(45000, 23, 59, 59, 999), 86399999, 23, 59, 59},
        {At(45000, 0, 0, 0, 0), 0, 0, 0, 0},
        {At(45000, 0, 0, 0, 1), 1, 0, 0, 0},
        {At(45000, 7, 30, 15, 500), 27015500, 7, 30, 15},
        // Half a millisecond before midnight rounds to the next day's start.
        {45001.0 - 0.4 / MsPerDay, 0, 0, 0, 0},
        {45000.0 + 0.4 / MsPerDay, 0, 0, 0, 0},
        {std::nextafter(45001.0, 0.0), 0, 0, 0, 0},
        {0.0, 0, 0, 0, 0},
        // Absurd values decode to a defined time of day.
        {std::numeric_limits<double>::quiet_NaN(), 0, 0, 0, 0},
        {std::numeric_limits<double>::infinity(), 0, 0, 0, 0},
        {-std::numeric_limits<double>::infinity(), 0, 0, 0, 0},
        {1e300, 0, 0, 0, 0},
    };
    for (const Row &R : Rows) {
        SCOPED_TRACE(R.Value);
        EXPECT_EQ(MilliSecondOfTheDay(R.Value), R.Ms);
        EXPECT_EQ(HourOf(R.Value), R.H);
        EXPECT_EQ(MinuteOf(R.Value), R.M);
        EXPECT_EQ(SecondOf(R.Value), R.S);
    }
    for (int S = 0; S < 86400; ++S) {
        const double V = 45000.0 + S / 86400.0;
        ASSERT_EQ(MilliSecondOfTheDay(V), S * 1000) << S;
        ASSERT_EQ(SecondOf(V), S % 60) << S;
    }
    for (const double V : {-1e300, -0.25, -45000.5, 1e15 + 0.5}) {
        const int Ms = MilliSecondOfTheDay(V);
        EXPECT_GE(Ms, 0);
        EXPECT_LT(Ms, 86400000);
    }
}

TEST(HostTime, DateTimeAndQDateTime)
{
    const QDateTime Stamp(QDate(2024, 2, 29), QTime(13, 14, 15, 16));
    const TDateTime V = DateTimeFromQDateTime(Stamp);
    EXPECT_EQ(std::floor(V), 45351.0);
    EXPECT_EQ(MilliSecondOfTheDay(V), ((13 * 60 + 14) * 60 + 15) * 1000 + 16);
    EXPECT_EQ(QDateTimeFromDateTime(V), Stamp);
    EXPECT_EQ(DateTimeFromQDateTime(QDateTime(QDate(1899, 12, 30), QTime(0, 0))), 0.0);
    EXPECT_EQ(QDateTimeFromDateTime(std::numeric_limits<double>::quiet_NaN()),
              QDateTime(QDate(1899, 12, 30), QTime(0, 0)));
    // Now is the local wall clock.
    const double Diff = Now() - DateTimeFromQDateTime(QDateTime::currentDateTime());
    EXPECT_LT(std::fabs(Diff), 5.0 / 86400.0);
}

// Records the notifications a control receives.
class TRecordingControl : public TCustomControl
{
public:
    using TCustomControl::TCustomControl;
    std::vector<unsigned> Messages;
    int Count(unsigned Msg) const { return int(std::count(Messages.begin(), Messages.end(), Msg)); }

protected:
    void WndProc(TMessage &Message) override
    {
        TCustomControl::WndProc(Message);
        Messages.push_back(Message.Msg);
    }
};

void SetWindowColor(QWidget &W, const QColor &C)
{
    QPalette P = W.palette();
    P.setColor(QPalette::Window, C);
    W.setPalette(P);
}

TEST(HostControl, ColorIsThePaletteAndParentColorItsInheritance)
{
    QWidget Parent;
    SetWindowColor(Parent, QColor(10, 20, 30));
    TRecordingControl Control(&Parent);
    EXPECT_TRUE(Control.autoFillBackground());
    EXPECT_TRUE(Control.ParentColor());
    EXPECT_EQ(Control.Color(), RGBToTColor(10, 20, 30));

    // An inherited colour follows the parent.
    SetWindowColor(Parent, QColor(40, 50, 60));
    EXPECT_EQ(Control.ColorValue(), QColor(40, 50, 60));

    // An own colour ends the inheritance and survives the parent's changes.
    Control.SetColorValue(MakeTColor(0x0000FF));
    EXPECT_FALSE(Control.ParentColor());
    SetWindowColor(Parent, QColor(70, 80, 90));
    EXPECT_EQ(Control.Color(), MakeTColor(0x0000FF));

    // Back to the parent's colour.
    Control.SetParentColor(true);
    EXPECT_TRUE(Control.ParentColor());
    EXPECT_EQ(Control.ColorValue(), QColor(70, 80, 90));

    // Leaving the inheritance keeps the colour shown, now as the control's own.
    Control.SetParentColor(false);
    EXPECT_FALSE(Control.ParentColor());
    SetWindowColor(Parent, QColor(1, 2, 3));
    EXPECT_EQ(Control.ColorValue(), QColor(70, 80, 90));

    // The same state by property name.
    EXPECT_TRUE(Control.setProperty("Color", QColor(9, 8, 7)));
    EXPECT_EQ(Control.property("Color").value<QColor>(), QColor(9, 8, 7));
    EXPECT_TRUE(Control.setProperty("ParentColor", true));
    EXPECT_EQ(Control.property("Color").value<QColor>(), QColor(1, 2, 3));

    Control.SetWidth(70);
    Control.SetHeight(40);
    EXPECT_EQ(Control.Width(), 70);
    EXPECT_EQ(Control.Height(), 40);
}

TEST(HostControl, ColourNotificationsReachWndProc)
{
    QWidget Parent;
    SetWindowColor(Parent, QColor(10, 20, 30));
    TRecordingControl Control;

    // Placed in a parent.
    Control.setParent(&Parent);
    EXPECT_GE(Control.Count(CM_PARENTCOLORCHANGED), 1);
    EXPECT_EQ(Control.Count(CM_COLORCHANGED), 0);

    // The parent's colour changes while inherited.
    Control.Messages.clear();
    SetWindowColor(Parent, QColor(40, 50, 60));
    EXPECT_GE(Control.Count(CM_PARENTCOLORCHANGED), 1);
    EXPECT_EQ(Control.Count(CM_COLORCHANGED), 0);

    // Its own colour changes.
    Control.Messages.clear();
    Control.SetColorValue(MakeTColor(0x00FF00));
    EXPECT_GE(Control.Count(CM_COLORCHANGED), 1);
    EXPECT_EQ(Control.Count(CM_PARENTCOLORCHANGED), 0);

    // Returning to the inherited colour is a parent-colour change.
    Control.Messages.clear();
    Control.SetParentColor(true);
    EXPECT_GE(Control.Count(CM_PARENTCOLORCHANGED), 1);

    // Other events bring no colour notification.
    Control.Messages.clear();
    Control.resize(50, 50);
    Control.setToolTip("x");
    QCoreApplication::processEvents();
    EXPECT_TRUE(Control.Messages.empty());
}

TEST(HostCanvas, LockIsRecursiveAndExclusive)
{
    TCanvas Canvas;
    Canvas.Lock();
    Canvas.Lock();
    Canvas.Unlock();
    // Still held once: another thread must wait.
    std::atomic<bool> Taken{false};
    std::thread Other([&] {
        Canvas.Lock();
        Taken = true;
        Canvas.Unlock();
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(Taken);
    Canvas.Unlock();
    Other.join();
    EXPECT_TRUE(Taken);
}

TEST(HostCanvas, EllipseFillsTheInscribedDisc)
{
    QImage Image(20, 20, QImage::Format_ARGB32_Premultiplied);
    Image.fill(Qt::white);
    QPainter Painter(&Image);
    TCanvas Canvas;
    Canvas.SetPainter(&Painter);
    int Observed = 0;
    Canvas.SetEllipseObserver([&](int, int, int, int, TColor) { ++Observed; });
    // Offered every solid disc, declines them all: the painter draws.
    std::vector<int> Offered;
    Canvas.SetDiscPainter([&](QPainter &, int, int, int Diameter, TColor) {
        Offered.push_back(Diameter);
        return false;
    });
    Canvas.Brush().SetStyle(bsClear);
    // Choosing a colour makes the brush solid again.
    Canvas.Brush().SetColor(MakeTColor(0x0000FF));
    Canvas.Pen().SetColor(MakeTColor(0x0000FF));
    EXPECT_EQ(Canvas.Brush().Style(), bsSolid);
    Canvas.Ellipse(4, 4, 16, 16);
    EXPECT_EQ(Image.pixelColor(10, 10), QColor(Qt::red));
    EXPECT_EQ(Image.pixelColor(4, 4), QColor(Qt::white));
    EXPECT_EQ(Image.pixelColor(16, 10), QColor(Qt::white));
    // Rectangles outside the device, or inside out, draw nothing.
    Canvas.Brush().SetColor(MakeTColor(0xFF0000));
    Canvas.Pen().SetColor(MakeTColor(0xFF0000));
    Canvas.Ellipse(INT_MIN, INT_MIN, INT_MIN + 10, INT_MIN + 10);
    Canvas.Ellipse(INT_MAX - 10, 0, INT_MAX, 10);
    Canvas.Ellipse(15, 15, 5, 5);
    EXPECT_EQ(Image.pixelColor(10, 10), QColor(Qt::red));
    // The disc of the widest rectangle covers the whole device.
    Canvas.Ellipse(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
    Painter.end();
    EXPECT_EQ(Observed, 5);
    EXPECT_EQ(Offered, std::vector<int>{12});
    EXPECT_EQ(Image.pixelColor(0, 0), QColor(Qt::blue));
    EXPECT_EQ(Image.pixelColor(19, 19), QColor(Qt::blue));
}

} // namespace
