#pragma once
// The benchmarks' summary of several runs: the least and the median.
#include <algorithm>
#include <cstddef>
#include <vector>

struct Stats {
    double min = 0, median = 0;
};

inline Stats StatsOf(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    Stats s;
    if (values.empty()) return s;
    s.min = values.front();
    const std::size_t n = values.size();
    s.median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    return s;
}
