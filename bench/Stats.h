#pragma once

#include <vector>

namespace zorvek {

// Order statistics of a set of measurements (any unit).
struct Summary
{
    int count = 0;
    double min = 0;
    double median = 0;
    double p90 = 0;
    double p99 = 0;
    double max = 0;
};

Summary Summarize(std::vector<double> values);

} // namespace zorvek
