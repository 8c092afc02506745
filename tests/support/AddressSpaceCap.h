#pragma once

#include <algorithm>
#include <fstream>
#include <sys/resource.h>
#include <unistd.h>

// Caps the address space at what is in use plus 64 MiB, for the life of the object.
class AddressSpaceCap {
public:
    AddressSpaceCap()
    {
        std::ifstream statm("/proc/self/statm");
        rlim_t pages = 0;
        statm >> pages;
        getrlimit(RLIMIT_AS, &previous_);
        rlimit capped = previous_;
        capped.rlim_cur = std::min(previous_.rlim_max,
                                   pages * rlim_t(sysconf(_SC_PAGESIZE)) + (rlim_t{64} << 20));
        applied_ = pages > 0 && setrlimit(RLIMIT_AS, &capped) == 0;
    }
    ~AddressSpaceCap() { setrlimit(RLIMIT_AS, &previous_); }
    AddressSpaceCap(const AddressSpaceCap &) = delete;
    AddressSpaceCap &operator=(const AddressSpaceCap &) = delete;

    bool applied() const { return applied_; }

private:
    rlimit previous_{};
    bool applied_ = false;
};
