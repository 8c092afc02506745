#pragma once

#include <QString>

#include <cstdint>

// One entry of the page list: the printed label and the 0-based image record (or PDF
// page) index, -1 for a blank page.
struct PageEntry {
    QString Name;
    std::int32_t Image = -1;
    bool isBlank() const { return Image == -1; }
};
