// The animation worker of one clock: asks its clock for one repaint per frame
// period while the clock is active.
#pragma once

#include "Lumitra.h"

class TLumitra::TClockThread
{
public:
    explicit TClockThread(TLumitra *Owner);
    ~TClockThread();
    TClockThread(const TClockThread &) = delete;
    TClockThread &operator=(const TClockThread &) = delete;

    void Resume();
    void Suspend();
    void Terminate();
    TThreadPriority Priority() const { return FPriority; }
    void SetPriority(TThreadPriority Value);

private:
    TLumitra *FOwner;
    TThreadPriority FPriority = LumitraHost::tpIdle;
};
