#include "MemoryUse.h"

#include <cctype>
#include <fstream>
#include <sstream>
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

// A mapping's header: "start-end perms offset dev inode [path]".
bool isMappingHeader(const std::string& line)
{
    const std::size_t dash = line.find('-');
    return dash != std::string::npos && dash > 0 && std::isxdigit(static_cast<unsigned char>(line[0])) &&
           line.find(':') > dash + 1;
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

int ThreadCount()
{
    return static_cast<int>(statusField("Threads"));
}

bool ResetPeakResident()
{
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    return static_cast<bool>(clear.flush());
}

std::map<std::string, long> ResidentByMapping()
{
    std::map<std::string, long> resident;
    std::ifstream smaps("/proc/self/smaps");
    std::string line;
    std::string name = "[anon]";
    while (std::getline(smaps, line)) {
        if (line.rfind("Rss:", 0) == 0) {
            resident[name] += std::stol(line.substr(4));
        } else if (isMappingHeader(line)) {
            std::istringstream fields(line);
            std::string range, perms, offset, device, inode, path;
            fields >> range >> perms >> offset >> device >> inode;
            std::getline(fields >> std::ws, path);
            name = path.empty() ? "[anon]" : path;
        }
    }
    return resident;
}

} // namespace zorvek
