// What a frame of the clock costs: the engine alone (sample, rotate, sort,
// project, into a canvas that only records) and a full paint of the control
// into an image, beside a QLCDNumber showing "12:34:56" at the same size,
// the plain widget a user would pick instead. Ends with the paint ratios.
#include "LumitraProbe.h"

#include <QtGui/QImage>
#include <QtWidgets/QApplication>
#include <QtWidgets/QLCDNumber>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <string>

namespace {

struct TLayout
{
    const char *Name;
    TLumitra::TClockStyle Style;
    TLumitra::THourStyle Hours;
};

const TLayout Layouts[] = {
    {"ring", TLumitra::csRingShapedClock, TLumitra::hs24HourTime},
    {"twisted12", TLumitra::csTwistedClock, TLumitra::hs12HourTime},
};

// A clock running at its frame rate from 12:34:56, one frame period per
// frame, so the model is rebuilt once a second as on screen.
struct TRunningClock
{
    TLumitra Clock;
    long long Frame = 0;

    explicit TRunningClock(const TLayout &L, int Side)
    {
        Clock.SetClockStyle(L.Style);
        Clock.SetClockHourStyle(L.Hours);
        Clock.SetColorValue(QColor(0x10, 0x18, 0x28));
        Clock.SetWidth(Side);
        Clock.SetHeight(Side);
        const double Start = 45000.0 + (12 * 3600 + 34 * 60 + 56) / 86400.0;
        Clock.SetTimeSource([this, Start] { return Start + double(Frame * 38) / LumitraHost::MSecsPerDay; });
    }
};

void EngineFrame(benchmark::State &State, TLayout L)
{
    TRunningClock R(L, 128);
    TLumitraProbe P(R.Clock);
    int Recorded[4 * TLumitra::MaxDots];
    int N = 0;
    R.Clock.Canvas()->SetEllipseObserver([&](int X1, int Y1, int X2, int Y2, LumitraHost::TColor C) {
        int *Slot = Recorded + 4 * (N++ % TLumitra::MaxDots);
        Slot[0] = X1;
        Slot[1] = Y1;
        Slot[2] = X2 ^ int(C);
        Slot[3] = Y2;
    });
    for (auto _ : State) {
        ++R.Frame;
        P.CalculateClockTimeDots();
        P.DrawClockDots();
        benchmark::DoNotOptimize(Recorded);
    }
    State.counters["dots"] = P.DotCount();
}

void FullPaint(benchmark::State &State, TLayout L, int Side)
{
    TRunningClock R(L, Side);
    QImage Image(Side, Side, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : State) {
        ++R.Frame;
        R.Clock.RenderTo(&Image);
        benchmark::DoNotOptimize(Image.constBits());
    }
}

void LcdPaint(benchmark::State &State, int Side)
{
    QLCDNumber Lcd;
    Lcd.setDigitCount(8);
    Lcd.display(QStringLiteral("12:34:56"));
    Lcd.resize(Side, Side);
    QImage Image(Side, Side, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : State) {
        Lcd.render(&Image);
        benchmark::DoNotOptimize(Image.constBits());
    }
}

// Collects the time per iteration of each benchmark (the median when runs
// are repeated) while printing as usual.
class TRatioReporter : public benchmark::ConsoleReporter
{
public:
    std::map<std::string, double> Ns;

    void ReportRuns(const std::vector<Run> &Runs) override
    {
        ConsoleReporter::ReportRuns(Runs);
        for (const Run &R : Runs) {
            if (R.error_occurred)
                continue;
            if (R.run_type == Run::RT_Iteration && R.repetitions <= 1)
                Ns[R.run_name.function_name] = R.GetAdjustedRealTime();
            else if (R.run_type == Run::RT_Aggregate && R.aggregate_name == "median")
                Ns[R.run_name.function_name] = R.GetAdjustedRealTime();
        }
    }
};

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication App(argc, argv);

    for (const TLayout &L : Layouts)
        benchmark::RegisterBenchmark((std::string("EngineFrame/") + L.Name).c_str(), EngineFrame, L)
            ->Unit(benchmark::kNanosecond);
    for (const int Side : {128, 512}) {
        benchmark::RegisterBenchmark(("QLCDNumber/" + std::to_string(Side)).c_str(), LcdPaint, Side)
            ->Unit(benchmark::kNanosecond);
        for (const TLayout &L : Layouts)
            benchmark::RegisterBenchmark((std::string("Paint/") + L.Name + "/" + std::to_string(Side)).c_str(),
                                         FullPaint, L, Side)
                ->Unit(benchmark::kNanosecond);
    }

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    TRatioReporter Reporter;
    benchmark::RunSpecifiedBenchmarks(&Reporter);

    std::printf("\nFull paint against QLCDNumber at the same size (at most 1.0 is the target):\n");
    for (const int Side : {128, 512}) {
        const std::string Lcd = "QLCDNumber/" + std::to_string(Side);
        if (!Reporter.Ns.count(Lcd))
            continue;
        for (const TLayout &L : Layouts) {
            const std::string Name = std::string("Paint/") + L.Name + "/" + std::to_string(Side);
            if (Reporter.Ns.count(Name))
                std::printf("  %-22s %10.0f ns  / %10.0f ns  = %.2f\n", Name.c_str(), Reporter.Ns[Name],
                            Reporter.Ns[Lcd], Reporter.Ns[Name] / Reporter.Ns[Lcd]);
        }
    }
    for (const TLayout &L : Layouts) {
        const std::string Name = std::string("EngineFrame/") + L.Name;
        if (Reporter.Ns.count(Name))
            std::printf("  %-22s %10.0f ns  (target 10000 ns)\n", Name.c_str(), Reporter.Ns[Name]);
    }
    benchmark::Shutdown();
    return 0;
}
