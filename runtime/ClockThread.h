// The animation worker of one clock: while the clock is active and showing,
// asks it for one repaint per frame period and sleeps for the rest of the
// period. It draws nothing and touches no engine state.
#pragma once

#include "Lumitra.h"
#include "TThread.h"

#include <atomic>
#include <cstdint>

class TLumitra::TClockThread : public LumitraHost::TThread
{
public:
    explicit TClockThread(TLumitra *Owner);
    // Ends the loop and joins the thread; no wait involved depends on the
    // GUI thread.
    ~TClockThread() override;

    // GUI thread: whether the clock can be seen; while it cannot, the worker
    // waits without waking.
    void SetShowing(bool Value);
    // GUI thread: the repaint request last made has been taken.
    void RequestTaken();

    // Frames whose repaint was requested, and the frame period (ms) the last
    // of them used.
    std::uint64_t Frames() const { return FFrames.load(std::memory_order_relaxed); }
    int LastDelay() const { return FLastDelay.load(std::memory_order_relaxed); }
    // Requests taken up by the GUI thread (read on the GUI thread).
    std::uint64_t Taken() const { return FTaken; }
    // Microseconds between the starts of the last two frames; 0 before that.
    std::int64_t LastInterval() const { return FLastInterval.load(std::memory_order_relaxed); }

protected:
    void Execute() override;
    bool CanRun() const override { return FShowing; }

private:
    TLumitra *const FOwner;
    bool FShowing = false;
    std::uint64_t FTaken = 0;
    std::atomic<std::uint64_t> FFrames{0};
    std::atomic<int> FLastDelay{0};
    std::atomic<std::int64_t> FLastInterval{0};
};
