// Small helpers the engine tests share: a fixed clock and a model snapshot.
#pragma once

#include "LumitraProbe.h"

#include <array>
#include <vector>

// A local time on an arbitrary fixed day; only the time of day matters.
inline LumitraHost::TDateTime TimeOfDay(int H, int M, int S, int Ms = 0)
{
    return 45000.0 + double(((H * 60 + M) * 60 + S) * 1000 + Ms) / LumitraHost::MSecsPerDay;
}

// Makes the clock see the given time from now on.
inline void ShowTime(TLumitra &Clock, int H, int M, int S, int Ms = 0)
{
    const LumitraHost::TDateTime T = TimeOfDay(H, M, S, Ms);
    Clock.SetTimeSource([T] { return T; });
}

using TPoint3 = std::array<int, 3>;

// The model as (FDotX, FDotY, FDotZ) per dot.
inline std::vector<TPoint3> Model(TLumitraProbe &P)
{
    std::vector<TPoint3> Out;
    for (int I = 0; I < P.DotCount(); ++I)
        Out.push_back({P.DotX()[I], P.DotY()[I], P.DotZ()[I]});
    return Out;
}
