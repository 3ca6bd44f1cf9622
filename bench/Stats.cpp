#include "Stats.h"

#include <algorithm>
#include <cmath>

namespace zorvek {

namespace {

// The nearest-rank percentile of sorted values.
double rank(const std::vector<double>& sorted, double percent)
{
    const auto n = static_cast<double>(sorted.size());
    const auto k = static_cast<std::size_t>(std::max(1.0, std::ceil(percent / 100.0 * n)));
    return sorted[std::min(k, sorted.size()) - 1];
}

} // namespace

Summary Summarize(std::vector<double> values)
{
    Summary s;
    if (values.empty())
        return s;
    std::sort(values.begin(), values.end());
    s.count = static_cast<int>(values.size());
    s.min = values.front();
    s.max = values.back();
    const std::size_t mid = values.size() / 2;
    s.median = values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
    s.p90 = rank(values, 90);
    s.p99 = rank(values, 99);
    return s;
}

} // namespace zorvek
