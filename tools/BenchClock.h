// The clock and the statistic every benchmark uses: seconds from the
// performance counter, and the median of a set of samples (the middle one;
// the median resists the spikes a shared machine adds to single rounds).
#pragma once

#include <windows.h>

#include <algorithm>
#include <vector>

inline double Now()
{
    static const double tickSeconds = [] {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        return 1.0 / static_cast<double>(frequency.QuadPart);
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * tickSeconds;
}

inline double Median(std::vector<double> samples)
{
    std::nth_element(samples.begin(), samples.begin() + samples.size() / 2, samples.end());
    return samples[samples.size() / 2];
}
