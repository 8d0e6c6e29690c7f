#include "core/Units.h"

namespace
{
constexpr double kMillimetresPerInch = 25.4;
constexpr double kPointsPerInch = 72.0;
} // namespace

float ConvertLength(float value, DWORD from, DWORD to)
{
    if (from == to)
        return value;
    // Through inches, in double precision: an inch is exact in every unit.
    const double v = value;
    const double inches = from == kUnitInches        ? v
                          : from == kUnitMillimetres ? v / kMillimetresPerInch
                                                     : v / kPointsPerInch;
    if (to == kUnitInches)
        return static_cast<float>(inches);
    return static_cast<float>(inches * (to == kUnitMillimetres ? kMillimetresPerInch : kPointsPerInch));
}

double OneInchIn(DWORD unit)
{
    return unit == kUnitInches ? 1.0 : unit == kUnitPoints ? kPointsPerInch : kMillimetresPerInch;
}

float MillimetresToPixels(float millimetres)
{
    return millimetres / 10.0f / 2.54f * kPixelsPerInch;
}

int PointsToPixels(int points)
{
    return points * static_cast<int>(kPixelsPerInch) / static_cast<int>(kPointsPerInch);
}
