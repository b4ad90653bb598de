#pragma once

#include <algorithm>
#include <vector>

// Best and median of a set of wall-clock times: the best is the figure least
// disturbed by the rest of the machine, the median shows how typical it is.
struct BenchFigures
{
    double best = 0;
    double median = 0;
};

inline BenchFigures FiguresOf(std::vector<double> times)
{
    if (times.empty())
        return {};
    std::sort(times.begin(), times.end());
    const size_t n = times.size();
    const double median = n % 2 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2;
    return {times.front(), median};
}
