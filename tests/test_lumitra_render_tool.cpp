// lumitra-render end to end: real paints of a real control, seen through the
// trace of every dot drawn; and its errors.
#include <QtCore/QProcess>
#include <QtCore/QRegularExpression>
#include <QtCore/QTemporaryDir>
#include <QtGui/QImage>
#include <gtest/gtest.h>
#include <map>

namespace {

struct TRun
{
    int Status = -1;
    QStringList Out;
    QStringList Err;
};

TRun Render(const QStringList &Args)
{
    QProcess Process;
    Process.start(QStringLiteral(LUMITRA_RENDER_PATH), Args);
    EXPECT_TRUE(Process.waitForFinished(60000));
    TRun R;
    R.Status = Process.exitStatus() == QProcess::NormalExit ? Process.exitCode() : -1;
    R.Out = QString::fromLocal8Bit(Process.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    R.Err = QString::fromLocal8Bit(Process.readAllStandardError()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    return R;
}

// Two frames of the ring at midnight, at rest: both show the 118 dots of
// 00:00:00 alike; the nearest dot of the hour tens (model point (0, -768,
// -6144), depth 8856) is a 5 pixel dot in ClockColor.
TEST(LumitraRender, TraceOfTwoFramesAtRest)
{
    const TRun R = Render({"--time", "00:00:00", "--set", "IRotZ=0", "--set", "RotY=0", "--set",
                           "Color=#000000", "--frames", "2", "--trace"});
    ASSERT_EQ(R.Status, 0) << R.Err.join(QLatin1Char('\n')).toStdString();
    static const QRegularExpression Line(QStringLiteral("^(\\d+) (-?\\d+) (-?\\d+) (-?\\d+) (-?\\d+) #[0-9A-F]{6}$"));
    std::map<int, QStringList> Frames;
    for (const QString &L : R.Out) {
        const auto M = Line.match(L);
        ASSERT_TRUE(M.hasMatch()) << L.toStdString();
        Frames[M.captured(1).toInt()].append(L.section(QLatin1Char(' '), 1));
    }
    ASSERT_EQ(Frames.size(), 2u);
    EXPECT_EQ(Frames[0].size(), 118);
    EXPECT_EQ(Frames[0], Frames[1]);
    EXPECT_TRUE(Frames[0].contains(QStringLiteral("62 51 67 56 #88FF55")));
    // Far to near: the last dot is among the nearest, the first among the
    // farthest (3 pixels, the far end of the ramp).
    EXPECT_TRUE(Frames[0].last().endsWith(QStringLiteral("#88FF55")));
    const QStringList First = Frames[0].first().split(QLatin1Char(' '));
    EXPECT_EQ(First[2].toInt() - First[0].toInt(), 3);
}

// Frame i sees the start time plus i steps; the step defaults to the frame
// period.
TEST(LumitraRender, FramesStepThroughTime)
{
    const struct
    {
        QStringList Args;
        int Dots0, Dots1;
    } Cases[] = {
        {{"--time", "00:00:00", "--set", "FramesPerSecond=1"}, 118, 109}, // 00:00:01
        {{"--time", "00:00:00.950", "--set", "FramesPerSecond=0"}, 118, 109}, // 55 ms
        {{"--time", "00:00:00.950"}, 118, 118},                            // 38 ms
        {{"--time", "00:00:00", "--step-ms", "0"}, 118, 118},
        {{"--time", "00:00:00", "--step-ms", "61000"}, 118, 100},          // 00:01:01
        {{"--time", "23:59:59.999", "--step-ms", "1"}, 96, 118},           // past midnight
    };
    for (const auto &C : Cases) {
        SCOPED_TRACE(C.Args.join(QLatin1Char(' ')).toStdString());
        const TRun R = Render(QStringList{"--frames", "2", "--trace"} + C.Args);
        ASSERT_EQ(R.Status, 0);
        EXPECT_EQ(R.Out.filter(QRegularExpression(QStringLiteral("^0 "))).size(), C.Dots0);
        EXPECT_EQ(R.Out.filter(QRegularExpression(QStringLiteral("^1 "))).size(), C.Dots1);
    }
}

TEST(LumitraRender, WritesTheLastFrameAsPng)
{
    QTemporaryDir Dir;
    const QString File = Dir.filePath(QStringLiteral("clock.png"));
    const TRun R = Render({"--size", "200x150", "--set", "ClockStyle=csTwistedClock", "--set",
                           "ClockHourStyle=hs12HourTime", "--set", "Color=#102030", "--set", "Priority=tpLowest",
                           "--set", "Stretched=true", "--set", "RotX=1.5", "--time", "12:34:56", "--frames", "3",
                           "--png", File});
    ASSERT_EQ(R.Status, 0) << R.Err.join(QLatin1Char('\n')).toStdString();
    const QImage Image(File);
    ASSERT_EQ(Image.size(), QSize(200, 150));
    EXPECT_EQ(Image.pixelColor(0, 0), QColor(0x10, 0x20, 0x30));
    int Lit = 0;
    for (int Y = 0; Y < 150; ++Y)
        for (int X = 0; X < 200; ++X)
            Lit += Image.pixelColor(X, Y).green() > 0x60;
    EXPECT_GT(Lit, 100);
}

TEST(LumitraRender, BackgroundImageFromAFile)
{
    QTemporaryDir Dir;
    const QString Picture = Dir.filePath(QStringLiteral("back.png"));
    QImage Red(10, 10, QImage::Format_RGB32);
    Red.fill(QColor(255, 0, 0));
    ASSERT_TRUE(Red.save(Picture));
    const QString File = Dir.filePath(QStringLiteral("clock.png"));
    const TRun R = Render({"--set", "Color=#000000", "--set", "BackgroundImage=" + Picture, "--png", File});
    ASSERT_EQ(R.Status, 0) << R.Err.join(QLatin1Char('\n')).toStdString();
    const QImage Image(File);
    EXPECT_EQ(Image.pixelColor(5, 5), QColor(255, 0, 0));
    EXPECT_EQ(Image.pixelColor(20, 5), QColor(0, 0, 0));
}

TEST(LumitraRender, ErrorsNameTheCulpritAndExitWithTwo)
{
    const struct
    {
        QStringList Args;
        const char *Named;
    } Cases[] = {
        {{"--set", "NoSuchThing=1"}, "NoSuchThing"},
        {{"--set", "enabled=true"}, "enabled"},
        {{"--set", "ClockStyle=csSquare"}, "csSquare"},
        {{"--set", "PixDistance=twelve"}, "twelve"},
        {{"--set", "Active=yes"}, "yes"},
        {{"--set", "ClockColor=#12345"}, "#12345"},
        {{"--set", "About=1"}, "About"},
        {{"--set", "BackgroundImage=/no/such/file.png"}, "/no/such/file.png"},
        {{"--set", "RotX"}, "RotX"},
        {{"--size", "0x10"}, "0x10"},
        {{"--time", "24:00:00"}, "24:00:00"},
        {{"--frames", "0"}, "--frames"},
        {{"--step-ms", "-5"}, "-5"},
        {{"--png"}, "--png"},
        {{"--colour"}, "--colour"},
    };
    for (const auto &C : Cases) {
        SCOPED_TRACE(C.Args.join(QLatin1Char(' ')).toStdString());
        const TRun R = Render(C.Args);
        EXPECT_EQ(R.Status, 2);
        ASSERT_EQ(R.Err.size(), 1);
        EXPECT_TRUE(R.Err[0].contains(QLatin1String(C.Named))) << R.Err[0].toStdString();
    }
    const TRun Help = Render({"--help"});
    EXPECT_EQ(Help.Status, 0);
    EXPECT_TRUE(Help.Out.join(QLatin1Char('\n')).contains(QLatin1String("--trace")));
}

} // namespace
