#include "ClockThread.h"

// Holds the priority until the frame loop runs on a thread of its own.
TLumitra::TClockThread::TClockThread(TLumitra *Owner) : FOwner(Owner)
{
    SetPriority(LumitraHost::tpIdle);
}

TLumitra::TClockThread::~TClockThread() = default;

void TLumitra::TClockThread::Resume() {}
void TLumitra::TClockThread::Suspend() {}
void TLumitra::TClockThread::Terminate() {}

void TLumitra::TClockThread::SetPriority(TThreadPriority Value)
{
    FPriority = Value;
}
