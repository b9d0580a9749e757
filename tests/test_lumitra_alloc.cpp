// The frame path allocates nothing: 1000 frames (sample, rebuild on each
// new second, rotate, sort, project, draw the dots onto an image through the
// painter) with every heap allocation of the program counted.
#include "EngineTestSupport.h"

#include <QtGui/QPainter>
#include <gtest/gtest.h>
#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<long> Allocations{0};

void *Allocate(std::size_t Size)
{
    Allocations.fetch_add(1, std::memory_order_relaxed);
    if (void *P = std::malloc(Size ? Size : 1))
        return P;
    throw std::bad_alloc();
}

void *AllocateAligned(std::size_t Size, std::align_val_t Align)
{
    Allocations.fetch_add(1, std::memory_order_relaxed);
    const std::size_t A = static_cast<std::size_t>(Align);
    if (void *P = std::aligned_alloc(A, (Size + A - 1) / A * A))
        return P;
    throw std::bad_alloc();
}

} // namespace

void *operator new(std::size_t Size) { return Allocate(Size); }
void *operator new[](std::size_t Size) { return Allocate(Size); }
void *operator new(std::size_t Size, const std::nothrow_t &) noexcept
{
    Allocations.fetch_add(1, std::memory_order_relaxed);
    return std::malloc(Size ? Size : 1);
}
void *operator new[](std::size_t Size, const std::nothrow_t &) noexcept
{
    Allocations.fetch_add(1, std::memory_order_relaxed);
    return std::malloc(Size ? Size : 1);
}
void *operator new(std::size_t Size, std::align_val_t Align) { return AllocateAligned(Size, Align); }
void *operator new[](std::size_t Size, std::align_val_t Align) { return AllocateAligned(Size, Align); }
void operator delete(void *P) noexcept { std::free(P); }
void operator delete[](void *P) noexcept { std::free(P); }
void operator delete(void *P, std::size_t) noexcept { std::free(P); }
void operator delete[](void *P, std::size_t) noexcept { std::free(P); }
void operator delete(void *P, std::align_val_t) noexcept { std::free(P); }
void operator delete[](void *P, std::align_val_t) noexcept { std::free(P); }
void operator delete(void *P, std::size_t, std::align_val_t) noexcept { std::free(P); }
void operator delete[](void *P, std::size_t, std::align_val_t) noexcept { std::free(P); }

namespace {

struct TAllocCase
{
    TLumitra::TClockStyle Style;
    TLumitra::THourStyle Hours;
    bool Painter;
};

TEST(FramePath, ThousandFramesAllocateNothing)
{
    const TAllocCase Cases[] = {
        {TLumitra::csRingShapedClock, TLumitra::hs24HourTime, false},
        {TLumitra::csTwistedClock, TLumitra::hs12HourTime, false},
        {TLumitra::csRingShapedClock, TLumitra::hs24HourTime, true},
        {TLumitra::csTwistedClock, TLumitra::hs12HourTime, true},
    };
    for (const auto &C : Cases) {
        SCOPED_TRACE(testing::Message() << "layout " << int(C.Style) << " hours " << int(C.Hours)
                                        << (C.Painter ? " painter" : " no painter"));
        TLumitra Clock;
        TLumitraProbe P(Clock);
        Clock.SetClockStyle(C.Style);
        Clock.SetClockHourStyle(C.Hours);
        Clock.SetRotX(1.3);
        Clock.SetRotZ(-0.7);
        // A clock running at 26 frames a second from 11:59:59 PM: new
        // seconds, minutes, hours and a new day within the run.
        long long Frame = 0;
        const LumitraHost::TDateTime Start = TimeOfDay(23, 59, 59);
        Clock.SetTimeSource([&Frame, Start] { return Start + double(Frame * 38) / LumitraHost::MSecsPerDay; });
        QImage Image(128, 128, QImage::Format_ARGB32_Premultiplied);
        Image.fill(Qt::black);
        QPainter Painter(&Image);
        if (C.Painter)
            Clock.Canvas()->SetPainter(&Painter);

        // The first paint after a ramp change prepares the discs; every frame
        // after it must allocate nothing.
        P.CalculateClockTimeDots();
        P.DrawClockDots();
        const long Before = Allocations.load();
        for (Frame = 0; Frame < 1000; ++Frame) {
            P.CalculateClockTimeDots();
            P.DrawClockDots();
        }
        const long After = Allocations.load();
        Clock.Canvas()->SetPainter(nullptr);
        EXPECT_EQ(After - Before, 0);
        EXPECT_GT(P.DotCount(), 0);
    }
}

} // namespace
