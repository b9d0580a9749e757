#include "TThread.h"

#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace LumitraHost {

namespace {

// Nice offsets from the creating thread's level; tpIdle uses the idle
// scheduling class instead, where nice has no meaning.
constexpr int NiceOffset[ThreadPriorityCount] = {0, 10, 5, 0, -5, -10, -20};

} // namespace

TThread::TThread(bool CreateSuspended) : FSuspended(CreateSuspended)
{
    errno = 0;
    const int Nice = getpriority(PRIO_PROCESS, 0);
    FNormalNice = errno == 0 ? Nice : 0;
    FThread = std::thread([this] { Run(); });
    FHandle = FThread.native_handle();
    // The priority is applied through the kernel thread id, which only the
    // thread itself can tell; it publishes it before anything else.
    {
        std::unique_lock<std::mutex> Lock(FMutex);
        FWake.wait(Lock, [this] { return FStarted; });
    }
    ApplyPriority(tpIdle);
}

TThread::~TThread()
{
    Terminate();
    WaitFor();
}

void TThread::Run()
{
    {
        std::lock_guard<std::mutex> Lock(FMutex);
        FSystemId = long(syscall(SYS_gettid));
        FStarted = true;
    }
    FWake.notify_all();
    if (WaitWhileSuspended())
        Execute();
}

void TThread::Resume()
{
    ChangeRunState([this] {
        ++FResumes;
        FSuspended = false;
    });
}

void TThread::Suspend()
{
    std::lock_guard<std::mutex> Lock(FMutex);
    ++FSuspends;
    FSuspended = true;
}

bool TThread::Suspended() const
{
    std::lock_guard<std::mutex> Lock(FMutex);
    return FSuspended;
}

void TThread::Terminate()
{
    {
        std::lock_guard<std::mutex> Lock(FMutex);
        FTerminated.store(true, std::memory_order_release);
    }
    FWake.notify_all();
}

void TThread::WaitFor()
{
    if (FThread.joinable() && FThread.get_id() != std::this_thread::get_id())
        FThread.join();
}

void TThread::WakeReady()
{
    std::lock_guard<std::mutex> Lock(FMutex);
    if (FWaiting == wkReady)
        FWake.notify_all();
}

void TThread::WaitLocked(std::unique_lock<std::mutex> &Lock)
{
    FWake.wait(Lock);
    FWakeUps.fetch_add(1, std::memory_order_relaxed);
}

bool TThread::WaitWhileSuspended()
{
    std::unique_lock<std::mutex> Lock(FMutex);
    while (!Terminated() && (FSuspended || !CanRun())) {
        FWaiting = wkParked;
        WaitLocked(Lock);
    }
    FWaiting = wkNone;
    return !Terminated();
}

void TThread::SleepUntil(TClock::time_point Deadline)
{
    std::unique_lock<std::mutex> Lock(FMutex);
    FWaiting = wkSleeping;
    while (!Terminated() && TClock::now() < Deadline) {
        FWake.wait_until(Lock, Deadline);
        FWakeUps.fetch_add(1, std::memory_order_relaxed);
    }
    FWaiting = wkNone;
}

void TThread::SetPriority(TThreadPriority Value)
{
    if (unsigned(Value) >= unsigned(ThreadPriorityCount))
        Value = tpIdle;
    FPriority = Value;
    ApplyPriority(Value);
}

void TThread::ApplyPriority(TThreadPriority Value)
{
    {
        std::lock_guard<std::mutex> Lock(FMutex);
        ++FPriorityWrites;
    }
    // Refusals (raising a level without the right to) leave the thread where
    // it was; the level asked for is still what Priority reports.
    sched_param Param{};
    Param.sched_priority = 0;
    const pthread_t Handle = FHandle;
    if (Value == tpIdle) {
        pthread_setschedparam(Handle, SCHED_IDLE, &Param);
        return;
    }
    pthread_setschedparam(Handle, SCHED_OTHER, &Param);
    const int Nice = std::clamp(FNormalNice + NiceOffset[Value], -20, 19);
    setpriority(PRIO_PROCESS, id_t(FSystemId), Nice);
}

TThread::TStats TThread::Stats() const
{
    std::lock_guard<std::mutex> Lock(FMutex);
    TStats S;
    S.WakeUps = FWakeUps.load(std::memory_order_relaxed);
    S.Resumes = FResumes;
    S.Suspends = FSuspends;
    S.PriorityWrites = FPriorityWrites;
    return S;
}

bool TThread::Parked() const
{
    std::lock_guard<std::mutex> Lock(FMutex);
    return FWaiting == wkParked;
}

std::chrono::nanoseconds TThread::CpuTime() const
{
    // Only meaningful while the thread exists: after WaitFor the handle is
    // gone.
    if (!FThread.joinable())
        return std::chrono::nanoseconds(-1);
    clockid_t Clock;
    timespec Ts;
    if (pthread_getcpuclockid(FHandle, &Clock) != 0
        || clock_gettime(Clock, &Ts) != 0)
        return std::chrono::nanoseconds(-1);
    return std::chrono::seconds(Ts.tv_sec) + std::chrono::nanoseconds(Ts.tv_nsec);
}

} // namespace LumitraHost
