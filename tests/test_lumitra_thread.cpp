// The animation worker: when it asks for repaints, how Active, Priority and
// FramesPerSecond reach it, and destruction at any moment.
#include "ClockThread.h"
#include "LumitraProbe.h"

#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <gtest/gtest.h>

#include <pthread.h>
#include <sched.h>

#include <chrono>
#include <memory>
#include <thread>

namespace {

using namespace std::chrono_literals;
using LumitraHost::TThreadPriority;

// Generous: these only bound how long a test may wait for something that
// must happen, never how fast it happens.
constexpr auto Patience = 10s;

// Looks at Ready between rounds of the event loop. Unlike QTest::qWaitFor,
// each round handles only what is pending, so a clock that asks for frames
// back to back cannot keep one round going until the time is up.
template <class TPred>
bool WaitUntil(TPred Ready, std::chrono::milliseconds Limit = Patience)
{
    const auto Deadline = std::chrono::steady_clock::now() + Limit;
    while (!Ready()) {
        if (std::chrono::steady_clock::now() > Deadline)
            return false;
        QCoreApplication::processEvents();
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

struct TShownClock
{
    std::unique_ptr<TLumitra> Clock = std::make_unique<TLumitra>();
    TLumitraProbe Probe{*Clock};
    TLumitra::TClockThread &Thread() { return *Probe.Thread(); }

    TShownClock()
    {
        Clock->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(Clock.get()));
    }
    bool WaitParked() { return WaitUntil([&] { return Thread().Parked(); }); }
    bool WaitFrames(std::uint64_t Count)
    {
        return WaitUntil([&] { return Thread().Frames() >= Count; });
    }
};

TEST(ClockThread, NeverActiveNeverAsks)
{
    TShownClock C;
    ASSERT_TRUE(C.WaitParked());
    QTest::qWait(200);
    EXPECT_EQ(C.Thread().Frames(), 0u);
    EXPECT_EQ(C.Thread().Stats().WakeUps, 0u);
    EXPECT_EQ(C.Thread().Stats().Resumes, 0u);
    EXPECT_FALSE(C.Clock->RepaintPending());
}

TEST(ClockThread, ActiveFalseTrueResumesAndSuspendsOncePerChange)
{
    TShownClock C;
    C.Clock->SetActive(true);
    C.Clock->SetActive(true);
    ASSERT_TRUE(C.WaitFrames(3));

    C.Clock->SetActive(false);
    C.Clock->SetActive(false);
    ASSERT_TRUE(C.WaitParked());
    const std::uint64_t Frames = C.Thread().Frames();
    const std::uint64_t WakeUps = C.Thread().Stats().WakeUps;
    QTest::qWait(200);
    EXPECT_EQ(C.Thread().Frames(), Frames);
    EXPECT_EQ(C.Thread().Stats().WakeUps, WakeUps) << "a suspended worker must not wake";

    C.Clock->SetActive(true);
    EXPECT_TRUE(C.WaitFrames(Frames + 3));

    const auto S = C.Thread().Stats();
    EXPECT_EQ(S.Resumes, 2u);
    EXPECT_EQ(S.Suspends, 1u);
}

TEST(ClockThread, NewPeriodTakesEffectFromTheNextFrame)
{
    TShownClock C;
    C.Clock->SetActive(true);
    ASSERT_TRUE(C.WaitFrames(3));
    EXPECT_EQ(C.Thread().LastDelay(), 38);
    // Frames cannot start closer together than the period.
    EXPECT_GE(C.Thread().LastInterval(), 38000);

    C.Clock->SetFramesPerSecond(10);
    ASSERT_TRUE(WaitUntil([&] { return C.Thread().LastDelay() == 100; }));
    const std::uint64_t Frames = C.Thread().Frames();
    ASSERT_TRUE(C.WaitFrames(Frames + 2));
    EXPECT_EQ(C.Thread().LastDelay(), 100);
    EXPECT_GE(C.Thread().LastInterval(), 100000);
}

TEST(ClockThread, PriorityMapsToTheThreadAndUnchangedLevelIsOnlyRead)
{
    TShownClock C;
    const auto Policy = [&] {
        int P = -1;
        sched_param Param{};
        pthread_getschedparam(C.Thread().NativeHandle(), &P, &Param);
        return P;
    };
    EXPECT_EQ(C.Clock->GetPriority(), LumitraHost::tpIdle);
    EXPECT_EQ(Policy(), SCHED_IDLE);

    // Setting the level already held writes nothing.
    std::uint64_t Writes = C.Thread().Stats().PriorityWrites;
    C.Clock->SetPriority(LumitraHost::tpIdle);
    EXPECT_EQ(C.Thread().Stats().PriorityWrites, Writes) << "the level held must only be read";

    const bool MayRaise = geteuid() == 0;
    for (int Level = 1; Level < LumitraHost::ThreadPriorityCount; ++Level) {
        SCOPED_TRACE(Level);
        const auto Value = TThreadPriority(Level);
        C.Clock->SetPriority(Value);
        EXPECT_EQ(C.Clock->GetPriority(), Value);
        EXPECT_EQ(C.Thread().Stats().PriorityWrites, ++Writes);
        C.Clock->SetPriority(Value);
        EXPECT_EQ(C.Thread().Stats().PriorityWrites, Writes);
        if (MayRaise) {
            EXPECT_EQ(Policy(), SCHED_OTHER);
        }
    }
    C.Clock->SetPriority(LumitraHost::tpIdle);
    EXPECT_EQ(Policy(), SCHED_IDLE);
    // A value outside the enumeration falls back to idle.
    C.Clock->SetPriority(LumitraHost::tpNormal);
    C.Clock->SetPriority(TThreadPriority(9));
    EXPECT_EQ(C.Clock->GetPriority(), LumitraHost::tpIdle);
    EXPECT_EQ(Policy(), SCHED_IDLE);
}

TEST(ClockThread, HiddenOrMinimisedMakesNoRequestsAndDoesNotWake)
{
    QWidget Window;
    auto *Clock = new TLumitra(&Window);
    TLumitraProbe Probe(*Clock);
    auto &Thread = *Probe.Thread();
    Clock->SetActive(true);
    QTest::qWait(100);
    EXPECT_EQ(Thread.Frames(), 0u) << "never shown yet";

    Window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Window));
    ASSERT_TRUE(WaitUntil([&] { return Thread.Frames() >= 2; }));

    const auto ExpectIdleWhile = [&](const char *What) {
        SCOPED_TRACE(What);
        ASSERT_TRUE(WaitUntil([&] { return Thread.Parked(); }));
        const std::uint64_t Frames = Thread.Frames();
        const std::uint64_t WakeUps = Thread.Stats().WakeUps;
        QTest::qWait(200);
        EXPECT_EQ(Thread.Frames(), Frames);
        EXPECT_EQ(Thread.Stats().WakeUps, WakeUps);
    };
    const auto ExpectRunning = [&](const char *What) {
        SCOPED_TRACE(What);
        const std::uint64_t Frames = Thread.Frames();
        EXPECT_TRUE(WaitUntil([&] { return Thread.Frames() >= Frames + 2; }));
    };

    Window.showMinimized();
    ExpectIdleWhile("minimised");
    Window.showNormal();
    ExpectRunning("restored");

    Clock->hide();
    ExpectIdleWhile("hidden");
    Clock->show();
    ExpectRunning("shown again");

    Window.hide();
    ExpectIdleWhile("window hidden");
    EXPECT_EQ(Thread.Stats().Suspends, 0u) << "visibility is not Active";
}

// A GUI thread that does not look at its events for a while finds at most
// one request waiting, even with no pause between frames, and the worker
// does not spin meanwhile.
TEST(ClockThread, BlockedGuiThreadLeavesAtMostOneRequest)
{
    TShownClock C;
    C.Clock->SetFramesPerSecond(2000);
    EXPECT_EQ(C.Probe.FrameDelay(), 0);
    C.Clock->SetActive(true);
    ASSERT_TRUE(C.WaitFrames(20));

    const std::uint64_t Frames = C.Thread().Frames();
    const std::uint64_t Taken = C.Thread().Taken();
    const std::uint64_t WakeUps = C.Thread().Stats().WakeUps;
    std::this_thread::sleep_for(300ms);
    EXPECT_LE(C.Thread().Frames() - Frames, 1u);
    EXPECT_LE(C.Thread().Stats().WakeUps - WakeUps, 1u);
    EXPECT_EQ(C.Thread().Taken(), Taken);

    QCoreApplication::processEvents();
    EXPECT_LE(C.Thread().Taken() - Taken, 2u);
    EXPECT_TRUE(C.WaitFrames(Frames + 10)) << "the loop goes on once the GUI thread is back";
}

// Counts the paints of clocks of this class; a paint after destruction would
// be a use after free, which the sanitizers report.
class TCountingClock : public TLumitra
{
public:
    static inline int Paints = 0;

protected:
    void Paint() override
    {
        ++Paints;
        TLumitra::Paint();
    }
};

TEST(ClockThread, DestroyingAtAnyMomentEndsTheWorker)
{
    for (int I = 0; I < 200; ++I) {
        auto Clock = std::make_unique<TCountingClock>();
        TLumitraProbe Probe(*Clock);
        const int Mode = I % 4;
        Clock->show();
        if (Mode >= 1) {
            Clock->SetFramesPerSecond(Mode == 3 ? 2000 : 200);
            Clock->SetActive(true);
        }
        if (Mode == 2)
            Clock->SetActive(false);
        if (Mode == 3)
            // Destroyed with a request posted and not yet taken.
        {
            // Not looking at events, so the first request stays pending.
            const auto Deadline = std::chrono::steady_clock::now() + Patience;
            while (!Clock->RepaintPending() && std::chrono::steady_clock::now() < Deadline)
                std::this_thread::sleep_for(1ms);
            EXPECT_TRUE(Clock->RepaintPending()) << I;
        }
        else if (I % 3 == 0)
            QCoreApplication::processEvents();
        Clock.reset();
    }
    const int Paints = TCountingClock::Paints;
    QTest::qWait(50);
    EXPECT_EQ(TCountingClock::Paints, Paints) << "a request outlived its clock";
}

TEST(ClockThread, DestroyingWhileSuspendedBeforeEverRunning)
{
    for (int I = 0; I < 100; ++I) {
        TLumitra Clock;
        if (I % 2)
            Clock.SetPriority(LumitraHost::tpLowest);
    }
}

} // namespace
