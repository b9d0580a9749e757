// TThread: a worker thread object over std::thread, with suspension done as a
// wait inside the thread (no operating-system suspension), a terminate
// request, and the seven TThreadPriority scheduling levels.
#pragma once

#include "HostGlobal.h"
#include "TThreadPriority.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

namespace LumitraHost {

class LUMITRA_EXPORT TThread
{
public:
    using TClock = std::chrono::steady_clock;

    // What the thread has done so far, for measurements and tests.
    struct TStats
    {
        std::uint64_t WakeUps = 0;        // returns from a wait or a sleep
        std::uint64_t Resumes = 0;        // Resume calls that released a suspension
        std::uint64_t Suspends = 0;       // Suspend calls
        std::uint64_t PriorityWrites = 0; // levels handed to the operating system
    };

    // The operating-system thread starts at once; Execute runs only after the
    // first Resume when CreateSuspended is true. Starts at tpIdle.
    explicit TThread(bool CreateSuspended);
    // Ends and joins the thread if the owner has not done so. A derived class
    // whose Execute uses its own members must call Terminate and WaitFor in
    // its own destructor.
    virtual ~TThread();
    TThread(const TThread &) = delete;
    TThread &operator=(const TThread &) = delete;

    void Resume();
    void Suspend();
    bool Suspended() const;
    // Asks Execute to end and wakes every wait of the thread.
    void Terminate();
    bool Terminated() const { return FTerminated.load(std::memory_order_acquire); }
    // Joins the thread. Never call it from the thread itself.
    void WaitFor();

    // The level last set, also where the operating system refused it.
    TThreadPriority Priority() const { return FPriority; }
    void SetPriority(TThreadPriority Value);

    TStats Stats() const;
    // The thread is waiting for Resume (or for CanRun), making no progress.
    bool Parked() const;
    std::thread::native_handle_type NativeHandle() const { return FHandle; }
    // The thread's CPU time so far, or -1 where it cannot be read.
    std::chrono::nanoseconds CpuTime() const;

protected:
    virtual void Execute() = 0;

    // For Execute. Blocks without waking while the thread is suspended or
    // CanRun() says no; false once terminated.
    bool WaitWhileSuspended();
    // For Execute. Sleeps until Deadline or until terminated.
    void SleepUntil(TClock::time_point Deadline);
    // For Execute. Blocks until Ready() holds or the thread is terminated;
    // Ready is called with the lock held and is looked at again after each
    // WakeReady.
    template <class TPred>
    void WaitUntilReady(TPred Ready)
    {
        std::unique_lock<std::mutex> Lock(FMutex);
        while (!Ready() && !Terminated()) {
            FWaiting = wkReady;
            WaitLocked(Lock);
        }
        FWaiting = wkNone;
    }
    // Wakes a WaitUntilReady in progress, and nothing else.
    void WakeReady();
    // What besides Resume must hold for the thread to run; checked under the
    // lock. Change what it reads only inside ChangeRunState.
    virtual bool CanRun() const { return true; }
    // Runs Change under the lock, then wakes a WaitWhileSuspended in
    // progress when the thread may now run.
    template <class TChange>
    void ChangeRunState(TChange Change)
    {
        std::lock_guard<std::mutex> Lock(FMutex);
        Change();
        if (FWaiting == wkParked && !FSuspended && CanRun())
            FWake.notify_all();
    }

private:
    // Which wait the thread is in, so that a change wakes only the wait it
    // concerns: a woken wait costs a wake-up.
    enum TWaitKind { wkNone, wkParked, wkSleeping, wkReady };

    void Run();
    void WaitLocked(std::unique_lock<std::mutex> &Lock);
    void ApplyPriority(TThreadPriority Value);

    mutable std::mutex FMutex;
    std::condition_variable FWake;
    TWaitKind FWaiting = wkNone;
    bool FSuspended = false;
    bool FStarted = false;     // the thread has published its id
    std::atomic<bool> FTerminated{false};
    TThreadPriority FPriority = tpIdle;
    int FNormalNice = 0;       // the creating thread's nice value
    long FSystemId = 0;        // kernel thread id
    std::atomic<std::uint64_t> FWakeUps{0};
    std::uint64_t FResumes = 0;
    std::uint64_t FSuspends = 0;
    std::uint64_t FPriorityWrites = 0;
    std::thread FThread;
    std::thread::native_handle_type FHandle{};
};

} // namespace LumitraHost
