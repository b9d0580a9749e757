#include "ClockThread.h"

using namespace LumitraHost;

TLumitra::TClockThread::TClockThread(TLumitra *Owner) : TThread(true), FOwner(Owner)
{
    SetPriority(tpIdle);
}

TLumitra::TClockThread::~TClockThread()
{
    Terminate();
    WaitFor();
}

void TLumitra::TClockThread::SetShowing(bool Value)
{
    ChangeRunState([this, Value] { FShowing = Value; });
}

void TLumitra::TClockThread::RequestTaken()
{
    ++FTaken;
    WakeReady();
}

void TLumitra::TClockThread::Execute()
{
    TClock::time_point LastStart{};
    while (WaitWhileSuspended()) {
        // At most one request is ever pending: while the GUI thread has not
        // taken the last one, wait for it instead of asking again, then look
        // at suspension and visibility once more.
        if (FOwner->RepaintPending()) {
            WaitUntilReady([this] { return !FOwner->RepaintPending(); });
            continue;
        }
        const TClock::time_point Start = TClock::now();
        const int Delay = FOwner->FFrameDelay.load(std::memory_order_relaxed);
        FOwner->Repaint();
        FFrames.fetch_add(1, std::memory_order_relaxed);
        FLastDelay.store(Delay, std::memory_order_relaxed);
        if (LastStart != TClock::time_point{})
            FLastInterval.store(
                std::chrono::duration_cast<std::chrono::microseconds>(Start - LastStart).count(),
                std::memory_order_relaxed);
        LastStart = Start;
        // The monotonic clock makes the sleep independent of midnight and of
        // changes to the time of day; it never exceeds one period.
        if (Delay > 0)
            SleepUntil(Start + std::chrono::milliseconds(Delay));
    }
}
