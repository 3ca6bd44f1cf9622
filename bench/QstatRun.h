#pragma once

#include <string>
#include <vector>

namespace zorvek {

// One run of quakestat, the command-line server query tool, over a file of servers:
// its whole-process wall time and how many servers it showed with a map.
class QstatRun
{
public:
    struct Result
    {
        double micros = 0;
        int answered = 0; // servers shown with a map
        int exitCode = -1;
        std::string firstServerLine;
    };

    // extraArguments go before the server file, e.g. {"-maxsim", "255", "-sendinterval", "0"}.
    QstatRun(std::string hostsFile, std::vector<std::string> extraArguments, std::string outputFile);

    // Runs `quakestat -default cod4s -P -R <extra> -f <hosts>`, its output into outputFile.
    Result run() const;
    static bool available();

private:
    std::string m_hostsFile;
    std::vector<std::string> m_extraArguments;
    std::string m_outputFile;
};

// Wall time of starting /bin/true and waiting for it: what any whole-process figure
// pays before its program does anything.
double ProcessStartMicros();

// The system's 1-minute load average, from /proc/loadavg.
double LoadAverage();

} // namespace zorvek
