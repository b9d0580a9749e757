#include "DateUtils.h"

#include <cmath>

namespace LumitraHost {

namespace {
// Julian day number of day 0 (1899-12-30).
constexpr qint64 JulianDayOfEpoch = 2415019;
} // namespace

TDateTime DateTimeFromQDateTime(const QDateTime &Value)
{
    const qint64 Day = Value.date().toJulianDay() - JulianDayOfEpoch;
    const int Ms = Value.time().msecsSinceStartOfDay();
    return double(Day) + double(Ms) / double(MSecsPerDay);
}

QDateTime QDateTimeFromDateTime(TDateTime Value)
{
    if (!std::isfinite(Value) || std::fabs(Value) > 1e9)
        return QDateTime(QDate(1899, 12, 30), QTime(0, 0));
    double Day = std::floor(Value);
    auto Ms = static_cast<qint64>(std::llround((Value - Day) * MSecsPerDay));
    if (Ms >= MSecsPerDay) {
        Ms -= MSecsPerDay;
        Day += 1.0;
    }
    const QDate Date = QDate::fromJulianDay(qint64(Day) + JulianDayOfEpoch);
    return QDateTime(Date, QTime::fromMSecsSinceStartOfDay(int(Ms)));
}

TDateTime Now()
{
    return DateTimeFromQDateTime(QDateTime::currentDateTime());
}

int MilliSecondOfTheDay(TDateTime Value)
{
    if (!std::isfinite(Value))
        return 0;
    const double Fraction = Value - std::floor(Value);
    auto Ms = static_cast<long long>(std::llround(Fraction * MSecsPerDay));
    if (Ms >= MSecsPerDay)
        Ms -= MSecsPerDay; // a hair before midnight rounds up to the next day
    if (Ms < 0)
        Ms = 0;
    return int(Ms);
}

int HourOf(TDateTime Value) { return MilliSecondOfTheDay(Value) / 3600000; }
int MinuteOf(TDateTime Value) { return MilliSecondOfTheDay(Value) / 60000 % 60; }
int SecondOf(TDateTime Value) { return MilliSecondOfTheDay(Value) / 1000 % 60; }
int MilliSecondOf(TDateTime Value) { return MilliSecondOfTheDay(Value) % 1000; }

} // namespace LumitraHost
