#include "TThreadPriority.h"

namespace LumitraHost {

QThread::Priority ToQThreadPriority(TThreadPriority Value)
{
    switch (Value) {
    case tpIdle: return QThread::IdlePriority;
    case tpLowest: return QThread::LowestPriority;
    case tpLower: return QThread::LowPriority;
    case tpNormal: return QThread::NormalPriority;
    case tpHigher: return QThread::HighPriority;
    case tpHighest: return QThread::HighestPriority;
    case tpTimeCritical: return QThread::TimeCriticalPriority;
    }
    return QThread::IdlePriority;
}

} // namespace LumitraHost
