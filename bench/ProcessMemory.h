#pragma once
// This process's memory as the kernel counts it.

#include <cstring>
#include <fstream>
#include <string>

namespace mirelo::bench {

// A "/proc/self/status" field in kilobytes ("VmRSS:", "VmHWM:"), or -1.
inline long processKilobytes(const char* field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field, 0) == 0) return std::stol(line.substr(std::strlen(field)));
    return -1;
}

} // namespace mirelo::bench
