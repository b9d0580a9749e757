// Scheduling levels of a worker thread, lowest first.
#pragma once

#include "HostGlobal.h"

#include <QtCore/QObject>
#include <cstdint>

namespace LumitraHost {
Q_NAMESPACE_EXPORT(LUMITRA_EXPORT)

enum TThreadPriority : std::uint8_t {
    tpIdle = 0,
    tpLowest,
    tpLower,
    tpNormal,
    tpHigher,
    tpHighest,
    tpTimeCritical
};
Q_ENUM_NS(TThreadPriority)

inline constexpr int ThreadPriorityCount = 7;

} // namespace LumitraHost
