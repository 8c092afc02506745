#pragma once

#include <link.h>

#include <string>

// Whether a shared object whose file name holds `name` is loaded in this process.
inline bool LibraryLoaded(const std::string &name)
{
    struct Search {
        const std::string &name;
        bool found = false;
    } search{name};
    dl_iterate_phdr(
        [](dl_phdr_info *info, std::size_t, void *data) {
            auto &state = *static_cast<Search *>(data);
            state.found =
                state.found || std::string(info->dlpi_name).find(state.name) != std::string::npos;
            return 0;
        },
        &search);
    return search.found;
}
