#include "app/core/creation/CreationConstraints.h"

namespace {

constexpr std::int32_t SideBits = LeftPageBit | RightPageBit;

// The constraint on path, or null.
CreationConstraint *existing(CreationConstraintList &constraints, const QString &path)
{
    const std::int32_t index = FindConstraint(constraints, path);
    return index < 0 ? nullptr : &constraints[std::size_t(index)];
}

} // namespace

std::int32_t FindConstraint(const CreationConstraintList &constraints, const QString &path)
{
    for (std::size_t i = 0; i < constraints.size(); ++i)
        if (constraints[i].File == path)
            return std::int32_t(i);
    return -1;
}

void AddConstraint(CreationConstraintList &constraints, const QString &path, NumberingKind kind,
                   std::int32_t value)
{
    constraints.push_back({path, kind, value});
}

void DeleteConstraint(CreationConstraintList &constraints, std::int32_t index)
{
    if (index >= 0 && std::size_t(index) < constraints.size())
        constraints.erase(constraints.begin() + index);
}

void SetConstraintKind(CreationConstraintList &constraints, const QString &path, NumberingKind kind)
{
    if (CreationConstraint *constraint = existing(constraints, path))
        constraint->Kind = kind;
    else
        AddConstraint(constraints, path, kind, ImposedCounterMask);
}

void ImposeConstraintCounter(CreationConstraintList &constraints, const QString &path,
                             std::int32_t n)
{
    if (CreationConstraint *constraint = existing(constraints, path)) {
        if (n != ImposedCounterMask)
            constraint->Value = n | (constraint->Value & SideBits);
    } else {
        AddConstraint(constraints, path, KeepCurrentKind, n);
    }
}

void SetConstraintSide(CreationConstraintList &constraints, const QString &path, std::int32_t side)
{
    if (CreationConstraint *constraint = existing(constraints, path))
        constraint->Value = (constraint->Value & ImposedCounterMask) | side;
    else
        AddConstraint(constraints, path, KeepCurrentKind, side);
}

std::optional<std::int32_t> ImposedCounterOfEntry(const QString &text)
{
    bool ok = false;
    const int entry = text.trimmed().toInt(&ok, 10);
    if (!ok || entry < 0 || entry > MaxImposedEntry)
        return std::nullopt;
    return entry - 1;
}
