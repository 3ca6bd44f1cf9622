#pragma once

#include <map>
#include <string>

namespace zorvek {

// The process's resident memory in KiB from /proc/self/status: VmHWM (the peak) and VmRSS.
long PeakResidentKiB();
long ResidentKiB();
// Starts the peak over from the current resident size (Linux clear_refs "5").
bool ResetPeakResident();

// The threads of the process now.
int ThreadCount();

// Resident KiB of each mapping of the process (/proc/self/smaps), summed by what is mapped:
// a file's path, or "[heap]", "[stack]", "[anon]" (memory of no file).
std::map<std::string, long> ResidentByMapping();

} // namespace zorvek
