#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace zorvek {

// Nanoseconds of the monotonic clock (CLOCK_MONOTONIC), the same in every process: a child
// reports its steps on it and the parent subtracts the moment of the spawn.
std::int64_t MonotonicNs();

// One run of a start-up child: started with posix_spawn (the same way for every child),
// timed from just before the spawn, its "key value" lines of standard output collected.
struct ChildRun
{
    bool ok = false;            // ran to its end with status 0
    std::string problem;        // why not
    std::int64_t spawnedNs = 0; // the monotonic clock just before the spawn
    std::map<std::string, long long> values;
    std::string errorText; // its standard error

    // A "*_ns" value of the child as milliseconds since the spawn; -1 when it is missing.
    double msAfterSpawn(const std::string& key) const;
    long long value(const std::string& key, long long otherwise = -1) const;
};

// Runs program with the arguments and the process's environment, over which the "NAME=value"
// entries of `environment` are set; kills it after timeoutMs.
ChildRun RunChild(const std::string& program, const std::vector<std::string>& arguments, int timeoutMs,
                  const std::vector<std::string>& environment = {});

} // namespace zorvek
