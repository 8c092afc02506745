#pragma once

#include <cstdint>

// 0 decimal, 1 upper-case letters, 2 lower-case letters, 3 upper-case roman numerals,
// 4 lower-case roman numerals; 5, in a constraint, keeps the current kind.
using NumberingKind = std::uint8_t;

#pragma pack(push, 1)
struct NumberingConstraint {
    std::int32_t Key = 0;  // main window: 0-based position among pages and back covers
    NumberingKind Kind = 5;
    std::int32_t Value = 0; // bits 0-23 imposed counter, bit 29 left page, bit 30 right page
};
#pragma pack(pop)
