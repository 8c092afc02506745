#pragma once

#include "platform/Com.h"

#include <optional>

namespace platform {

// The shell's task allocator, over malloc and free: the memory that a shell extension hands
// to the shell (an info tip) is allocated with it and freed by the shell with it. The
// allocator lives as long as the process; AddRef and Release only count.
com::HRESULT SHGetMalloc(com::IMalloc **allocator);

// For tests: SHGetMalloc hands out `allocator`, or fails with E_FAIL when it is nullptr,
// until reset with nothing.
void OverrideShellAllocator(std::optional<com::IMalloc *> allocator);

} // namespace platform
