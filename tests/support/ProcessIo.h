#pragma once

#include <cstdint>
#include <fstream>
#include <string>

// Bytes this process has read through read() and its kin so far (rchar of /proc/self/io); -1
// when the system does not say.
inline std::int64_t BytesReadSoFar()
{
    std::ifstream io("/proc/self/io");
    std::string key;
    std::int64_t value = -1;
    while (io >> key >> value)
        if (key == "rchar:")
            return value;
    return -1;
}
