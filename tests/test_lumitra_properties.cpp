// TLumitra's state and published properties: defaults, the meta-object
// (order, types, enumeration names, About), fallbacks and derived values,
// which setters repaint the clock, and absurd inputs.
#include "LumitraProbe.h"

#include <QtCore/QMetaEnum>
#include <QtCore/QMetaProperty>
#include <QtGui/QImage>
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

using LumitraHost::MakeTColor;
using LumitraHost::TColor;
using LumitraHost::TDateTime;

namespace {

// 10:20:30 on some day: painting in these tests never waits on the wall
// clock.
constexpr TDateTime FixedTime = 45000.0 + (10 * 3600 + 20 * 60 + 30) / 86400.0;

constexpr double Nan = std::numeric_limits<double>::quiet_NaN();
constexpr double Inf = std::numeric_limits<double>::infinity();

TEST(LumitraDefaults, StateAfterConstruction)
{
    TLumitra C;
    TLumitraProbe P(C);
    EXPECT_EQ(C.Width(), 128);
    EXPECT_EQ(C.Height(), 128);
    EXPECT_FALSE(C.Active());
    EXPECT_EQ(C.FramesPerSecond(), 26);
    EXPECT_EQ(P.FrameDelay(), 38);
    EXPECT_EQ(C.ClockStyle(), TLumitra::csRingShapedClock);
    EXPECT_EQ(C.ClockHourStyle(), TLumitra::hs24HourTime);
    EXPECT_EQ(C.PixDistance(), 24);
    EXPECT_EQ(P.DotSpacing(), 384);
    EXPECT_EQ(P.DotScale(), 46080);
    EXPECT_EQ(C.PixelAngle(), 6);
    EXPECT_EQ(C.ClockRadius(), 24);
    EXPECT_EQ(C.ClockDistance(), 15000);
    EXPECT_EQ(P.ColumnCount(), 40);
    EXPECT_EQ(P.ShadeNear(), 8856);
    EXPECT_EQ(P.ShadeStep(), 192);
    EXPECT_EQ(C.RotX(), 0.0);
    EXPECT_EQ(C.RotY(), -3.0);
    EXPECT_EQ(C.RotZ(), 0.0);
    EXPECT_EQ(C.IRotX(), 0);
    EXPECT_EQ(C.IRotY(), 0);
    EXPECT_EQ(C.IRotZ(), 30);
    EXPECT_EQ(P.StepX(), 0);
    EXPECT_EQ(P.StepY(), 91392);
    EXPECT_EQ(P.StepZ(), 0);
    EXPECT_EQ(P.AngleX(), 0);
    EXPECT_EQ(P.AngleY(), 0);
    EXPECT_EQ(P.AngleZ(), 7680);
    EXPECT_EQ(C.ClockColor(), MakeTColor(0x55FF88));
    EXPECT_EQ(C.GetClockColor(), QColor(136, 255, 85));
    EXPECT_EQ(C.ImageSourcePointX(), 0);
    EXPECT_EQ(C.ImageSourcePointY(), 0);
    EXPECT_FALSE(C.Stretched());
    EXPECT_EQ(C.About(), 256);
    EXPECT_EQ(C.GetPriority(), LumitraHost::tpIdle);
    EXPECT_EQ(P.DotCount(), 0);
    ASSERT_NE(C.BackgroundImage(), nullptr);
    EXPECT_EQ(C.BackgroundImage()->Graphic(), nullptr);
    EXPECT_TRUE(C.GetBackgroundImage().isNull());
    EXPECT_EQ(C.Canvas()->Brush().Style(), LumitraHost::bsClear);
    EXPECT_TRUE(C.ParentColor());
    // The time of construction, not zero.
    EXPECT_NEAR(P.Time(), LumitraHost::Now(), 1.0);
}

// The order is the one in which a form writes and reads them; Active comes
// first.
TEST(LumitraMetaObject, PublishedPropertiesInOrderWithDefaults)
{
    struct Row
    {
        const char *Name;
        QMetaType Type;
        QVariant Default;
    };
    const Row Expected[] = {
        {"Active", QMetaType::fromType<bool>(), false},
        {"FramesPerSecond", QMetaType::fromType<int>(), 26},
        {"ClockStyle", QMetaType::fromType<TLumitra::TClockStyle>(),
         QVariant::fromValue(TLumitra::csRingShapedClock)},
        {"ClockHourStyle", QMetaType::fromType<TLumitra::THourStyle>(),
         QVariant::fromValue(TLumitra::hs24HourTime)},
        {"PixDistance", QMetaType::fromType<int>(), 24},
        {"PixelAngle", QMetaType::fromType<int>(), 6},
        {"ClockRadius", QMetaType::fromType<int>(), 24},
        {"ClockDistance", QMetaType::fromType<int>(), 15000},
        {"RotX", QMetaType::fromType<double>(), 0.0},
        {"RotY", QMetaType::fromType<double>(), -3.0},
        {"RotZ", QMetaType::fromType<double>(), 0.0},
        {"IRotX", QMetaType::fromType<int>(), 0},
        {"IRotY", QMetaType::fromType<int>(), 0},
        {"IRotZ", QMetaType::fromType<int>(), 30},
        {"ClockColor", QMetaType::fromType<QColor>(), QVariant::fromValue(QColor(136, 255, 85))},
        {"BackgroundImage", QMetaType::fromType<QPixmap>(), QVariant()},
        {"ImageSourcePointX", QMetaType::fromType<int>(), 0},
        {"ImageSourcePointY", QMetaType::fromType<int>(), 0},
        {"Stretched", QMetaType::fromType<bool>(), false},
        {"Priority", QMetaType::fromType<LumitraHost::TThreadPriority>(),
         QVariant::fromValue(LumitraHost::tpIdle)},
        {"About", QMetaType::fromType<qint16>(), QVariant::fromValue(qint16(256))},
    };
    const QMetaObject &M = TLumitra::staticMetaObject;
    ASSERT_EQ(M.propertyCount() - M.propertyOffset(), int(std::size(Expected)));
    TLumitra C;
    for (int I = 0; I < int(std::size(Expected)); ++I) {
        const Row &R = Expected[I];
        const QMetaProperty Prop = M.property(M.propertyOffset() + I);
        SCOPED_TRACE(R.Name);
        EXPECT_STREQ(Prop.name(), R.Name);
        EXPECT_EQ(Prop.metaType(), R.Type);
        const QVariant Value = C.property(R.Name);
        EXPECT_EQ(Value.metaType(), R.Type);
        if (R.Type == QMetaType::fromType<QPixmap>())
            EXPECT_TRUE(Value.value<QPixmap>().isNull());
        else
            EXPECT_EQ(Value, R.Default);
        // Every own property but About is written by Designer and stored.
        const bool IsAbout = std::string(R.Name) == "About";
        EXPECT_EQ(Prop.isWritable(), !IsAbout);
        EXPECT_EQ(Prop.isStored(), !IsAbout);
    }
    // The base publishes the colour pair under the same names.
    EXPECT_EQ(C.property("Color").metaType(), QMetaType::fromType<QColor>());
    EXPECT_EQ(C.property("ParentColor"), QVariant(true));
}

TEST(LumitraMetaObject, EnumerationsShowTheirValueNames)
{
    struct Row
    {
        const char *Property;
        std::vector<const char *> Keys; // values 0, 1, 2 ...
    };
    const Row Rows[] = {
        {"ClockStyle", {"csRingShapedClock", "csTwistedClock"}},
        {"ClockHourStyle", {"hs24HourTime", "hs12HourTime"}},
        {"Priority",
         {"tpIdle", "tpLowest", "tpLower", "tpNormal", "tpHigher", "tpHighest", "tpTimeCritical"}},
    };
    const QMetaObject &M = TLumitra::staticMetaObject;
    for (const Row &R : Rows) {
        SCOPED_TRACE(R.Property);
        const QMetaProperty Prop = M.property(M.indexOfProperty(R.Property));
        ASSERT_TRUE(Prop.isEnumType());
        const QMetaEnum E = Prop.enumerator();
        ASSERT_EQ(E.keyCount(), int(R.Keys.size()));
        for (int V = 0; V < int(R.Keys.size()); ++V) {
            EXPECT_STREQ(E.valueToKey(V), R.Keys[V]);
            EXPECT_EQ(E.keyToValue(R.Keys[V]), V);
        }
    }
    // A .ui file sets enumerations by name.
    TLumitra C;
    EXPECT_TRUE(C.setProperty("ClockStyle", "csTwistedClock"));
    EXPECT_EQ(C.ClockStyle(), TLumitra::csTwistedClock);
    EXPECT_TRUE(C.setProperty("Priority", "tpHigher"));
    EXPECT_EQ(C.GetPriority(), LumitraHost::tpHigher);
}

TEST(LumitraMetaObject, AboutCannotBeWritten)
{
    TLumitra C;
    EXPECT_FALSE(C.setProperty("About", 5));
    EXPECT_EQ(C.About(), 256);
    EXPECT_EQ(C.property("About").toInt(), 256);
}

// Designer creates the control through the meta-object's constructor.
TEST(LumitraMetaObject, InvokableConstructorTakesTheParent)
{
    QWidget Parent;
    QObject *O = TLumitra::staticMetaObject.newInstance(Q_ARG(QWidget *, &Parent));
    auto *C = qobject_cast<TLumitra *>(O);
    ASSERT_NE(C, nullptr);
    EXPECT_EQ(C->parentWidget(), &Parent);
    EXPECT_EQ(C->Width(), 128);
}

// The shade ramp exists before any colour notification: a top-level clock
// never receives one, and its dots must not be black.
TEST(LumitraShadeRamp, BuiltAtConstruction)
{
    const auto Blends = [](TColor Entry, TColor From, TColor To) {
        const auto Between = [](int V, int A, int B) { return V >= std::min(A, B) && V <= std::max(A, B); };
        return Between(LumitraHost::RedOf(Entry), LumitraHost::RedOf(From), LumitraHost::RedOf(To))
            && Between(LumitraHost::GreenOf(Entry), LumitraHost::GreenOf(From), LumitraHost::GreenOf(To))
            && Between(LumitraHost::BlueOf(Entry), LumitraHost::BlueOf(From), LumitraHost::BlueOf(To));
    };
    {
        TLumitra C;
        TLumitraProbe P(C);
        const TColor Far = P.ShadeColors()[TLumitra::RampSize - 1];
        EXPECT_EQ(P.ShadeColors()[0], MakeTColor(0x55FF88));
        EXPECT_NE(Far, MakeTColor(0));
        EXPECT_TRUE(Blends(Far, C.ClockColor(), C.Color()));
        std::vector<TColor> Built(P.ShadeColors(), P.ShadeColors() + TLumitra::RampSize);
        P.SetColor();
        EXPECT_EQ(Built, std::vector<TColor>(P.ShadeColors(), P.ShadeColors() + TLumitra::RampSize));
    }
    {
        // Created inside a coloured parent: the ramp fades toward that colour.
        QWidget Parent;
        QPalette Pal = Parent.palette();
        Pal.setColor(QPalette::Window, QColor(0, 0, 200));
        Parent.setPalette(Pal);
        TLumitra C(&Parent);
        TLumitraProbe P(C);
        EXPECT_EQ(C.Color(), MakeTColor(0xC80000));
        EXPECT_TRUE(Blends(P.ShadeColors()[TLumitra::RampSize - 1], C.ClockColor(), MakeTColor(0xC80000)));
        EXPECT_GT(LumitraHost::BlueOf(P.ShadeColors()[TLumitra::RampSize - 1]), 85);
    }
}

TEST(LumitraSetters, FramesPerSecondKeepsItsValueAndDerivesTheDelay)
{
    struct Row
    {
        int Fps, Delay;
    } const Rows[] = {
        {26, 38}, {30, 33}, {1, 1000}, {999, 1}, {1000, 1}, {1001, 0}, {2000, 0},
        {INT_MAX, 0}, {0, 55}, {-5, 55}, {INT_MIN, 55},
    };
    for (const Row &R : Rows) {
        SCOPED_TRACE(R.Fps);
        TLumitra C;
        C.SetFramesPerSecond(R.Fps);
        EXPECT_EQ(C.FramesPerSecond(), R.Fps);
        EXPECT_EQ(TLumitraProbe(C).FrameDelay(), R.Delay);
    }
}

// Spacing and scale are 32-bit products: beyond 1118481 the scale wraps, and
// that wrapped value is what the clock keeps.
TEST(LumitraSetters, PixDistanceKeepsItsValueAndDerivesSpacingAndScale)
{
    struct Row
    {
        int Pix, Spacing, Scale;
    } const Rows[] = {
        {24, 384, 46080},
        {1, 16, 1920},
        {0, 480, 57600},
        {-5, 480, 57600},
        {INT_MIN, 480, 57600},
        {1118481, 17895696, 2147483520},
        {1118482, 17895712, -2147481856},
        {INT_MAX, -16, -1920},
    };
    for (const Row &R : Rows) {
        SCOPED_TRACE(R.Pix);
        TLumitra C;
        TLumitraProbe P(C);
        C.SetPixDistance(R.Pix);
        EXPECT_EQ(C.PixDistance(), R.Pix);
        EXPECT_EQ(P.DotSpacing(), R.Spacing);
        EXPECT_EQ(P.DotScale(), R.Scale);
    }
}

TEST(LumitraSetters, PositiveOnlyPropertiesStoreTheirFallback)
{
    struct Row
    {
        const char *Name;
        void (TLumitra::*Set)(int);
        int (TLumitra::*Get)() const;
        int Fallback;
    } const Rows[] = {
        {"PixelAngle", &TLumitra::SetPixelAngle, &TLumitra::PixelAngle, 6},
        {"ClockRadius", &TLumitra::SetClockRadius, &TLumitra::ClockRadius, 24},
        {"ClockDistance", &TLumitra::SetClockDistance, &TLumitra::ClockDistance, 15000},
    };
    for (const Row &R : Rows) {
        for (const int Value : {0, -1, INT_MIN}) {
            SCOPED_TRACE(std::string(R.Name) + " " + std::to_string(Value));
            TLumitra C;
            (C.*R.Set)(7);
            (C.*R.Set)(Value);
            EXPECT_EQ((C.*R.Get)(), R.Fallback);
        }
        TLumitra C;
        (C.*R.Set)(INT_MAX);
        EXPECT_EQ((C.*R.Get)(), INT_MAX);
    }
}

// Column count and depth band from the layout: the ring's band is the
// radius x 256, the ribbon's the spacing x the column count; near = distance
// - band, step = band / 32 truncated toward zero; all 32-bit.
TEST(LumitraSetters, SetStyleDerivesColumnsAndDepthBand)
{
    struct Row
    {
        const char *Name;
        TLumitra::TClockStyle Style;
        TLumitra::THourStyle Hours;
        int Pix, Radius, Distance;
        int Columns, Near, Step;
    } const Rows[] = {
        {"defaults", TLumitra::csRingShapedClock, TLumitra::hs24HourTime, 24, 24, 15000, 40, 8856, 192},
        {"ring radius 30", TLumitra::csRingShapedClock, TLumitra::hs24HourTime, 24, 30, 15000, 40, 7320, 240},
        {"ring 12-hour", TLumitra::csRingShapedClock, TLumitra::hs12HourTime, 24, 24, 15000, 51, 8856, 192},
        {"ring ignores spacing", TLumitra::csRingShapedClock, TLumitra::hs24HourTime, 50, 24, 15000, 40, 8856, 192},
        {"twisted", TLumitra::csTwistedClock, TLumitra::hs24HourTime, 24, 24, 15000, 40, -360, 480},
        {"twisted 12-hour", TLumitra::csTwistedClock, TLumitra::hs12HourTime, 24, 24, 15000, 51, -4584, 612},
        {"twisted ignores radius", TLumitra::csTwistedClock, TLumitra::hs24HourTime, 24, 99, 15000, 40, -360, 480},
        {"twisted fallback spacing", TLumitra::csTwistedClock, TLumitra::hs24HourTime, -5, 24, 15000, 40, -4200, 600},
        {"distance", TLumitra::csRingShapedClock, TLumitra::hs24HourTime, 24, 24, 20000, 40, 13856, 192},
        {"largest ring band", TLumitra::csRingShapedClock, TLumitra::hs24HourTime, 24, 8388607, 15000, 40,
         -2147468392, 67108856},
        {"ring band wraps", TLumitra::csRingShapedClock, TLumitra::hs24HourTime, 24, 8388608, 15000, 40,
         -2147468648, -67108864},
        {"negative band truncates toward zero", TLumitra::csTwistedClock, TLumitra::hs12HourTime, 2631721, 24,
         15000, 51, -2147469336, -67108842},
    };
    for (const Row &R : Rows) {
        SCOPED_TRACE(R.Name);
        TLumitra C;
        TLumitraProbe P(C);
        C.SetClockStyle(R.Style);
        C.SetClockHourStyle(R.Hours);
        C.SetPixDistance(R.Pix);
        C.SetClockRadius(R.Radius);
        C.SetClockDistance(R.Distance);
        EXPECT_EQ(P.ColumnCount(), R.Columns);
        EXPECT_EQ(P.ShadeNear(), R.Near);
        EXPECT_EQ(P.ShadeStep(), R.Step);
    }
}

// Spin rates become per-frame steps and start angles become angles, both in
// 1/256 degree within one turn (0..92160). Values within +-360 follow the
// plain rule; others are reduced modulo one turn.
TEST(LumitraSetters, RotationPropertiesBecomeAnglesWithinOneTurn)
{
    struct RateRow
    {
        double Rate;
        int Step;
    } const Rates[] = {
        {-3.0, 91392}, {0.1, 25}, {-0.1, 92135}, {1.5, 384}, {360.0, 92160}, {-360.0, 0},
        {-0.001, 0}, {361.0, 256}, {-361.0, 91904}, {720.0, 0}, {Nan, 0}, {Inf, 0}, {-Inf, 0},
        {std::numeric_limits<double>::max(), 0}, {std::numeric_limits<double>::denorm_min(), 0},
    };
    for (const RateRow &R : Rates) {
        SCOPED_TRACE(R.Rate);
        TLumitra C;
        TLumitraProbe P(C);
        C.SetRotX(R.Rate);
        C.SetRotY(R.Rate);
        C.SetRotZ(R.Rate);
        for (const int Step : {P.StepX(), P.StepY(), P.StepZ()})
            EXPECT_EQ(Step, R.Step);
        if (std::isnan(R.Rate))
            EXPECT_TRUE(std::isnan(C.RotX()));
        else
            EXPECT_EQ(C.RotX(), R.Rate);
    }
    for (const double Rate : {1e300, -1e300, 1e20, -123456.789}) {
        SCOPED_TRACE(Rate);
        TLumitra C;
        TLumitraProbe P(C);
        C.SetRotY(Rate);
        EXPECT_GE(P.StepY(), 0);
        EXPECT_LE(P.StepY(), 92160);
    }

    struct AngleRow
    {
        int Degrees, Angle;
    } const Angles[] = {
        {30, 7680}, {-90, 69120}, {360, 92160}, {-360, 0}, {1, 256}, {-1, 91904},
        {361, 256}, {-361, 91904}, {720, 0}, {8388608, 63488}, {INT_MAX, 32512},
        {INT_MIN, 59392},
    };
    for (const AngleRow &R : Angles) {
        SCOPED_TRACE(R.Degrees);
        TLumitra C;
        TLumitraProbe P(C);
        C.SetIRotX(R.Degrees);
        C.SetIRotY(R.Degrees);
        C.SetIRotZ(R.Degrees);
        for (const int Angle : {P.AngleX(), P.AngleY(), P.AngleZ()})
            EXPECT_EQ(Angle, R.Angle);
        EXPECT_EQ(C.IRotX(), R.Degrees);
    }
}

TEST(LumitraSetters, ValuesStoredAsGiven)
{
    TLumitra C;
    C.SetImageSourcePointX(-7);
    C.SetImageSourcePointY(INT_MIN);
    EXPECT_EQ(C.ImageSourcePointX(), -7);
    EXPECT_EQ(C.ImageSourcePointY(), INT_MIN);
    // Any colour is kept, including the high byte.
    C.SetClockColor(MakeTColor(0x80000005));
    EXPECT_EQ(C.ClockColor(), MakeTColor(0x80000005));
    C.SetPriority(LumitraHost::tpTimeCritical);
    EXPECT_EQ(C.GetPriority(), LumitraHost::tpTimeCritical);
    C.SetActive(true);
    EXPECT_TRUE(C.Active());
    C.SetActive(false);
    EXPECT_FALSE(C.Active());
}

// The picture is copied in: changing or dropping the original later does
// not reach the clock.
TEST(LumitraSetters, BackgroundImageIsCopied)
{
    TLumitra C;
    {
        LumitraHost::TPicture Source;
        QImage Image(4, 3, QImage::Format_ARGB32);
        Image.fill(Qt::red);
        Source.SetImage(Image);
        C.SetBackgroundImage(&Source);
        Image.fill(Qt::blue);
        Source.SetImage(Image);
    }
    ASSERT_NE(C.BackgroundImage()->Graphic(), nullptr);
    EXPECT_EQ(C.BackgroundImage()->Graphic()->Image().pixelColor(0, 0), QColor(Qt::red));
    C.SetBackgroundImage(static_cast<const LumitraHost::TPicture *>(nullptr));
    EXPECT_EQ(C.BackgroundImage()->Graphic(), nullptr);
}

// Counts the paints a clock shown on the offscreen platform really gets.
class TPaintCounter : public QObject
{
public:
    int Count = 0;

protected:
    bool eventFilter(QObject *, QEvent *Event) override
    {
        if (Event->type() == QEvent::Paint)
            ++Count;
        return false;
    }
};

class LumitraRepaint : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Clock.SetTimeSource([] { return FixedTime; });
        Clock.installEventFilter(&Paints);
        Clock.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&Clock));
        Settle();
    }
    // Paints what is pending and starts counting afresh.
    void Settle()
    {
        QCoreApplication::processEvents();
        Paints.Count = 0;
    }
    int PaintsNow()
    {
        QCoreApplication::processEvents();
        return Paints.Count;
    }

    TLumitra Clock;
    TPaintCounter Paints;
};

TEST_F(LumitraRepaint, OnlySettersThatChangeThePictureRepaint)
{
    LumitraHost::TPicture Empty;
    struct Row
    {
        const char *Name;
        std::function<void(TLumitra &)> Set;
        bool Repaints;
        bool RunsSetStyle;
    };
    const Row Rows[] = {
        {"FramesPerSecond new", [](TLumitra &C) { C.SetFramesPerSecond(30); }, false, false},
        {"FramesPerSecond same", [](TLumitra &C) { C.SetFramesPerSecond(26); }, false, false},
        {"FramesPerSecond 0", [](TLumitra &C) { C.SetFramesPerSecond(0); }, false, false},
        {"ClockStyle new", [](TLumitra &C) { C.SetClockStyle(TLumitra::csTwistedClock); }, true, true},
        {"ClockStyle same", [](TLumitra &C) { C.SetClockStyle(TLumitra::csRingShapedClock); }, false, false},
        {"ClockHourStyle new", [](TLumitra &C) { C.SetClockHourStyle(TLumitra::hs12HourTime); }, true, true},
        {"ClockHourStyle same", [](TLumitra &C) { C.SetClockHourStyle(TLumitra::hs24HourTime); }, false, false},
        {"PixDistance new", [](TLumitra &C) { C.SetPixDistance(25); }, true, true},
        {"PixDistance same", [](TLumitra &C) { C.SetPixDistance(24); }, false, false},
        {"PixelAngle new", [](TLumitra &C) { C.SetPixelAngle(7); }, true, false},
        {"PixelAngle same", [](TLumitra &C) { C.SetPixelAngle(6); }, false, false},
        // A non-positive value never equals the held one: the fallback is
        // stored and the setter goes on, even though 6 is held already.
        {"PixelAngle 0 over 6", [](TLumitra &C) { C.SetPixelAngle(0); }, true, false},
        {"PixelAngle -1 over 6", [](TLumitra &C) { C.SetPixelAngle(-1); }, true, false},
        {"ClockRadius new", [](TLumitra &C) { C.SetClockRadius(30); }, true, true},
        {"ClockRadius same", [](TLumitra &C) { C.SetClockRadius(24); }, false, false},
        {"ClockRadius 0 over 24", [](TLumitra &C) { C.SetClockRadius(0); }, true, true},
        {"ClockDistance new", [](TLumitra &C) { C.SetClockDistance(16000); }, true, true},
        {"ClockDistance same", [](TLumitra &C) { C.SetClockDistance(15000); }, false, false},
        {"ClockDistance 0 over 15000", [](TLumitra &C) { C.SetClockDistance(0); }, true, true},
        {"RotX new", [](TLumitra &C) { C.SetRotX(1.5); }, false, false},
        {"RotY same", [](TLumitra &C) { C.SetRotY(-3.0); }, false, false},
        {"RotZ NaN", [](TLumitra &C) { C.SetRotZ(Nan); }, false, false},
        {"IRotX new", [](TLumitra &C) { C.SetIRotX(10); }, true, false},
        {"IRotY new", [](TLumitra &C) { C.SetIRotY(-90); }, true, false},
        {"IRotZ same", [](TLumitra &C) { C.SetIRotZ(30); }, false, false},
        {"ClockColor new", [](TLumitra &C) { C.SetClockColor(MakeTColor(0x0000FF)); }, true, false},
        {"ClockColor same", [](TLumitra &C) { C.SetClockColor(MakeTColor(0x55FF88)); }, false, false},
        {"BackgroundImage", [&](TLumitra &C) { C.SetBackgroundImage(&Empty); }, true, false},
        {"ImageSourcePointX new", [](TLumitra &C) { C.SetImageSourcePointX(5); }, true, false},
        {"ImageSourcePointX same", [](TLumitra &C) { C.SetImageSourcePointX(0); }, false, false},
        {"ImageSourcePointY new", [](TLumitra &C) { C.SetImageSourcePointY(-5); }, true, false},
        {"ImageSourcePointY same", [](TLumitra &C) { C.SetImageSourcePointY(0); }, false, false},
        {"Stretched new", [](TLumitra &C) { C.SetStretched(true); }, true, false},
        {"Stretched same", [](TLumitra &C) { C.SetStretched(false); }, false, false},
        {"Priority new", [](TLumitra &C) { C.SetPriority(LumitraHost::tpNormal); }, false, false},
        {"Priority same", [](TLumitra &C) { C.SetPriority(LumitraHost::tpIdle); }, false, false},
    };
    TLumitraProbe P(Clock);
    constexpr int Sentinel = 12345;
    for (const Row &R : Rows) {
        SCOPED_TRACE(R.Name);
        // Start every row from the defaults.
        Clock.SetFramesPerSecond(26);
        Clock.SetClockStyle(TLumitra::csRingShapedClock);
        Clock.SetClockHourStyle(TLumitra::hs24HourTime);
        Clock.SetPixDistance(24);
        Clock.SetPixelAngle(6);
        Clock.SetClockRadius(24);
        Clock.SetClockDistance(15000);
        Clock.SetRotY(-3.0);
        Clock.SetIRotZ(30);
        Clock.SetClockColor(MakeTColor(0x55FF88));
        Clock.SetImageSourcePointX(0);
        Clock.SetImageSourcePointY(0);
        Clock.SetStretched(false);
        Clock.SetPriority(LumitraHost::tpIdle);
        Settle();
        // A SetStyle run shows in the band fields being recomputed.
        P.ShadeNear() = Sentinel;
        R.Set(Clock);
        EXPECT_EQ(PaintsNow() > 0, R.Repaints);
        EXPECT_EQ(P.ShadeNear() != Sentinel, R.RunsSetStyle);
    }
}

// The non-positive fallback equal to the held value still re-runs SetStyle
// and so restores the band fields.
TEST_F(LumitraRepaint, FallbackEqualToHeldValueStillRunsSetStyle)
{
    TLumitraProbe P(Clock);
    for (const auto &Set : {std::function<void()>([&] { Clock.SetClockRadius(-3); }),
                            std::function<void()>([&] { Clock.SetClockDistance(INT_MIN); })}) {
        P.ShadeNear() = 1;
        P.ShadeStep() = 1;
        Settle();
        Set();
        EXPECT_EQ(P.ShadeNear(), 8856);
        EXPECT_EQ(P.ShadeStep(), 192);
        EXPECT_GT(PaintsNow(), 0);
    }
    EXPECT_EQ(Clock.ClockRadius(), 24);
    EXPECT_EQ(Clock.ClockDistance(), 15000);
}

// Whatever int or double a caller passes, the clock stays within its
// invariants and still paints: no undefined behaviour (the sanitizer build
// checks that), no read outside a table.
TEST(LumitraAbsurdInput, ExtremeValuesKeepADefinedState)
{
    const int Ints[] = {INT_MIN, INT_MIN + 1, -1000000, -361, -1, 0, 1, 361, 1118482, 8388608, INT_MAX - 1, INT_MAX};
    const double Doubles[] = {Nan, Inf, -Inf, 1e300, -1e300, 1e-300, -0.0,
                              std::numeric_limits<double>::max(), std::numeric_limits<double>::lowest()};
    using IntSetter = void (TLumitra::*)(int);
    const IntSetter IntSetters[] = {
        &TLumitra::SetFramesPerSecond, &TLumitra::SetPixDistance, &TLumitra::SetPixelAngle,
        &TLumitra::SetClockRadius, &TLumitra::SetClockDistance, &TLumitra::SetIRotX,
        &TLumitra::SetIRotY, &TLumitra::SetIRotZ, &TLumitra::SetImageSourcePointX,
        &TLumitra::SetImageSourcePointY,
    };
    QImage Frame(128, 128, QImage::Format_ARGB32_Premultiplied);
    for (const auto Style : {TLumitra::csRingShapedClock, TLumitra::csTwistedClock}) {
        for (const auto Hours : {TLumitra::hs24HourTime, TLumitra::hs12HourTime}) {
            for (const int V : Ints) {
                const double D = Doubles[unsigned(V) % std::size(Doubles)];
                SCOPED_TRACE(std::to_string(int(Style)) + "/" + std::to_string(int(Hours)) + " " + std::to_string(V));
                TLumitra C;
                TLumitraProbe P(C);
                C.SetTimeSource([] { return FixedTime; });
                C.SetClockStyle(Style);
                C.SetClockHourStyle(Hours);
                for (const IntSetter Set : IntSetters)
                    (C.*Set)(V);
                C.SetRotX(D);
                C.SetRotY(-D);
                C.SetRotZ(D);
                // A picture makes the background paths run as well.
                QImage Picture(16, 16, QImage::Format_RGB32);
                Picture.fill(Qt::darkCyan);
                C.SetBackgroundImage(QPixmap::fromImage(Picture));
                C.SetStretched(V % 2 != 0);
                for (int Frames = 0; Frames < 3; ++Frames)
                    C.RenderTo(&Frame);

                EXPECT_GE(P.FrameDelay(), 0);
                EXPECT_GT(C.PixelAngle(), 0);
                EXPECT_GT(C.ClockRadius(), 0);
                EXPECT_GT(C.ClockDistance(), 0);
                for (const int A : {P.AngleX(), P.AngleY(), P.AngleZ(), P.StepX(), P.StepY(), P.StepZ()}) {
                    EXPECT_GE(A, 0);
                    EXPECT_LE(A, 92160);
                }
                EXPECT_GE(P.DotCount(), 0);
                EXPECT_LE(P.DotCount(), TLumitra::MaxDots);
            }
        }
    }
}

} // namespace
