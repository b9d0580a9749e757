// lumitra-clock-load: runs N animated clocks in one window on the offscreen
// platform and measures, per clock, the frame rate achieved against the
// target, processor time, and how often each worker wakes up while inactive,
// active and hidden.
#include "ClockThread.h"
#include "LumitraProbe.h"

#include <QtCore/QEventLoop>
#include <QtCore/QMetaEnum>
#include <QtCore/QTimer>
#include <QtWidgets/QApplication>
#include <QtWidgets/QGridLayout>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

const char Usage[] =
    "Usage: lumitra-clock-load [--clocks N[,N...]] [--seconds S] [--fps F] [--priority P]\n"
    "\n"
    "Runs N Lumitra clocks (default 1, 10 and 100, one run each) in one window on\n"
    "the offscreen platform. Each run has three phases of S seconds (default 3):\n"
    "shown but inactive, active, and active in a hidden window. Prints, per clock\n"
    "(mean, and min..max over the clocks where useful):\n"
    "  fps        paints per second achieved, against the target 1000 / period\n"
    "  worker     processor time of the clock's worker thread, ms per second\n"
    "  process    processor time of the whole process divided by N, ms per second\n"
    "             (painting happens on the GUI thread and is counted here)\n"
    "  wake-ups   returns of the worker from a wait or a sleep, per second\n"
    "\n"
    "Options:\n"
    "  --clocks LIST  clock counts to run, comma-separated (1..400)\n"
    "  --seconds S    length of each phase in seconds (1..600)\n"
    "  --fps F        FramesPerSecond of every clock (default 26: period 38 ms)\n"
    "  --priority P   Priority of every worker, 0 (tpIdle, the default) to 6\n"
    "                 (tpTimeCritical)\n"
    "  --help         this text\n";

class TCountingClock : public TLumitra
{
public:
    std::uint64_t Paints = 0;

protected:
    void Paint() override
    {
        ++Paints;
        TLumitra::Paint();
    }
};

double Seconds(clockid_t Clock)
{
    timespec Ts{};
    clock_gettime(Clock, &Ts);
    return double(Ts.tv_sec) + double(Ts.tv_nsec) * 1e-9;
}

struct TSnapshot
{
    double Wall = 0, Process = 0;
    std::vector<std::uint64_t> Paints, WakeUps, Frames;
    std::vector<double> WorkerCpu;
};

TSnapshot Take(const std::vector<TCountingClock *> &Clocks)
{
    TSnapshot S;
    S.Wall = Seconds(CLOCK_MONOTONIC);
    S.Process = Seconds(CLOCK_PROCESS_CPUTIME_ID);
    for (TCountingClock *C : Clocks) {
        TLumitra::TClockThread &T = *TLumitraProbe(*C).Thread();
        S.Paints.push_back(C->Paints);
        S.WakeUps.push_back(T.Stats().WakeUps);
        S.Frames.push_back(T.Frames());
        S.WorkerCpu.push_back(std::chrono::duration<double>(T.CpuTime()).count());
    }
    return S;
}

struct TRange
{
    double Mean = 0, Min = 0, Max = 0;
};

template <class TValue>
TRange PerSecond(const std::vector<TValue> &A, const std::vector<TValue> &B, double Wall)
{
    TRange R;
    R.Min = 1e300;
    R.Max = -1e300;
    for (size_t I = 0; I < A.size(); ++I) {
        const double V = double(B[I] - A[I]) / Wall;
        R.Mean += V;
        R.Min = std::min(R.Min, V);
        R.Max = std::max(R.Max, V);
    }
    R.Mean /= double(A.size());
    return R;
}

void Run(int Seconds_)
{
    QEventLoop Loop;
    QTimer::singleShot(Seconds_ * 1000, &Loop, &QEventLoop::quit);
    Loop.exec();
}

void Report(const char *Phase, const TSnapshot &A, const TSnapshot &B, double Target, bool ShowFps)
{
    const double Wall = B.Wall - A.Wall;
    const int N = int(A.Paints.size());
    const TRange Fps = PerSecond(A.Paints, B.Paints, Wall);
    const TRange Requests = PerSecond(A.Frames, B.Frames, Wall);
    const TRange Wake = PerSecond(A.WakeUps, B.WakeUps, Wall);
    const TRange Worker = PerSecond(A.WorkerCpu, B.WorkerCpu, Wall);
    const double Process = (B.Process - A.Process) / Wall / N;
    std::printf("  %-9s", Phase);
    if (ShowFps && Target > 0)
        std::printf(" fps %6.1f (%5.1f..%5.1f) of %5.1f", Fps.Mean, Fps.Min, Fps.Max, Target);
    else if (ShowFps)
        std::printf(" fps %6.1f (%5.1f..%5.1f), no pause", Fps.Mean, Fps.Min, Fps.Max);
    else
        std::printf(" fps %6.1f %-24s", Fps.Mean, "");
    std::printf("  requests/s %6.1f  worker %6.3f ms/s  process %7.2f ms/s  wake-ups/s %6.1f (%.1f..%.1f)\n",
                Requests.Mean, Worker.Mean * 1000.0, Process * 1000.0, Wake.Mean, Wake.Min, Wake.Max);
}

bool ParseInt(const char *Text, int Min, int Max, int &Out)
{
    char *End = nullptr;
    errno = 0;
    const long V = std::strtol(Text, &End, 10);
    if (errno || End == Text || *End || V < Min || V > Max)
        return false;
    Out = int(V);
    return true;
}

int Fail(const std::string &Message)
{
    std::fprintf(stderr, "lumitra-clock-load: %s (see --help)\n", Message.c_str());
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    std::vector<int> Counts{1, 10, 100};
    int Seconds_ = 3;
    int Fps = 26;
    int Priority = 0;
    for (int I = 1; I < argc; ++I) {
        const std::string Arg = argv[I];
        const bool HasValue = I + 1 < argc;
        if (Arg == "--help" || Arg == "-h") {
            std::fputs(Usage, stdout);
            return 0;
        } else if (Arg == "--clocks" && HasValue) {
            Counts.clear();
            std::string List = argv[++I];
            size_t Pos = 0;
            while (Pos <= List.size()) {
                const size_t Comma = std::min(List.find(',', Pos), List.size());
                int N = 0;
                if (!ParseInt(List.substr(Pos, Comma - Pos).c_str(), 1, 400, N))
                    return Fail("--clocks wants numbers from 1 to 400, got '" + List + "'");
                Counts.push_back(N);
                Pos = Comma + 1;
            }
        } else if (Arg == "--seconds" && HasValue) {
            if (!ParseInt(argv[++I], 1, 600, Seconds_))
                return Fail(std::string("--seconds wants 1 to 600, got '") + argv[I] + "'");
        } else if (Arg == "--fps" && HasValue) {
            if (!ParseInt(argv[++I], -1000000, 1000000, Fps))
                return Fail(std::string("--fps wants a whole number, got '") + argv[I] + "'");
        } else if (Arg == "--priority" && HasValue) {
            if (!ParseInt(argv[++I], 0, LumitraHost::ThreadPriorityCount - 1, Priority))
                return Fail(std::string("--priority wants 0 to 6, got '") + argv[I] + "'");
        } else {
            return Fail("unknown or incomplete argument '" + Arg + "'");
        }
    }

    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication App(argc, argv);

    const auto Level = LumitraHost::TThreadPriority(Priority);
    std::printf("lumitra-clock-load: platform %s, %d s per phase, FramesPerSecond %d, Priority %s, "
                "%d processors\n",
                qPrintable(QGuiApplication::platformName()), Seconds_, Fps,
                QMetaEnum::fromType<LumitraHost::TThreadPriority>().valueToKey(Level),
                int(std::thread::hardware_concurrency()));
    for (int N : Counts) {
        QWidget Window;
        Window.setWindowTitle(QStringLiteral("lumitra-clock-load"));
        auto *Grid = new QGridLayout(&Window);
        Grid->setSpacing(0);
        Grid->setContentsMargins(0, 0, 0, 0);
        const int Columns = int(std::ceil(std::sqrt(double(N))));
        std::vector<TCountingClock *> Clocks;
        for (int I = 0; I < N; ++I) {
            auto *C = new TCountingClock;
            C->setFixedSize(128, 128);
            C->SetFramesPerSecond(Fps);
            C->SetPriority(Level);
            Grid->addWidget(C, I / Columns, I % Columns);
            Clocks.push_back(C);
        }
        const int Delay = TLumitraProbe(*Clocks.front()).FrameDelay();
        const double Target = Delay > 0 ? 1000.0 / Delay : 0.0;
        Window.show();
        if (Delay > 0)
            std::printf("%d clock%s, period %d ms, target %.1f fps\n", N, N == 1 ? "" : "s", Delay, Target);
        else
            std::printf("%d clock%s, period 0: frames back to back, paced by the GUI thread\n", N,
                        N == 1 ? "" : "s");
        std::fflush(stdout);
        Run(1); // settle: first exposure and paints

        TSnapshot A = Take(Clocks);
        Run(Seconds_);
        TSnapshot B = Take(Clocks);
        Report("inactive", A, B, Target, false);

        for (TCountingClock *C : Clocks)
            C->SetActive(true);
        Run(1);
        A = Take(Clocks);
        Run(Seconds_);
        B = Take(Clocks);
        Report("active", A, B, Target, true);

        Window.hide();
        Run(1);
        A = Take(Clocks);
        Run(Seconds_);
        B = Take(Clocks);
        Report("hidden", A, B, Target, false);
        std::fflush(stdout);
    }
    return 0;
}
