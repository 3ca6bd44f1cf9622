#include "MemoryUse.h"

#include <fstream>
#include <string>

namespace zorvek {

namespace {

long statusField(const std::string& name)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(name + ":", 0) == 0)
            return std::stol(line.substr(name.size() + 1));
    }
    return -1;
}

} // namespace

long PeakResidentKiB()
{
    return statusField("VmHWM");
}

long ResidentKiB()
{
    return statusField("VmRSS");
}

bool ResetPeakResident()
{
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    return static_cast<bool>(clear.flush());
}

} // namespace zorvek
