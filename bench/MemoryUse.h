#pragma once

namespace zorvek {

// The process's resident memory in KiB from /proc/self/status: VmHWM (the peak) and VmRSS.
long PeakResidentKiB();
long ResidentKiB();
// Starts the peak over from the current resident size (Linux clear_refs "5").
bool ResetPeakResident();

} // namespace zorvek
