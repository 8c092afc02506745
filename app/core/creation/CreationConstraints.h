#pragma once

#include "app/core/pages/Numbering.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

// A numbering constraint of the book-creation window, keyed by the full path of the image
// file it applies to, exactly as that path stands in the window's file lists.
struct CreationConstraint {
    QString File;
    NumberingKind Kind = KeepCurrentKind;
    std::int32_t Value = 0;
    bool operator==(const CreationConstraint &) const = default;
};

using CreationConstraintList = std::vector<CreationConstraint>;

// Index of the first constraint on path (compared exactly, letter case included), or -1.
std::int32_t FindConstraint(const CreationConstraintList &constraints, const QString &path);
// Appends a constraint without looking for an existing one.
void AddConstraint(CreationConstraintList &constraints, const QString &path, NumberingKind kind,
                   std::int32_t value);
// Removes the constraint at index; -1 does nothing.
void DeleteConstraint(CreationConstraintList &constraints, std::int32_t index);

// The edits of the constraint menu. Each adds a constraint on path when it has none.
// A numbering kind from 0 to 4; the value is kept.
void SetConstraintKind(CreationConstraintList &constraints, const QString &path,
                       NumberingKind kind);
// The imposed counter n (the page number typed, less 1), keeping the side asked for;
// 0xFFFFFF leaves an existing constraint as it was.
void ImposeConstraintCounter(CreationConstraintList &constraints, const QString &path,
                             std::int32_t n);
// A left-hand (LeftPageBit) or right-hand (RightPageBit) page, in place of the other side;
// the imposed counter is kept.
void SetConstraintSide(CreationConstraintList &constraints, const QString &path, std::int32_t side);

// The highest page number that "Imposer..." takes: 16777216, which imposes nothing.
inline constexpr std::int32_t MaxImposedEntry = 0x1000000;

// The counter that the page number typed into "Imposer..." stands for (the number less 1),
// or nothing when the text is not a whole number from 0 to MaxImposedEntry.
std::optional<std::int32_t> ImposedCounterOfEntry(const QString &text);
