#pragma once

#include "app/core/pages/PageEntry.h"

#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

// 0 decimal, 1 upper-case letters, 2 lower-case letters, 3 upper-case roman numerals,
// 4 lower-case roman numerals; 5, in a constraint, keeps the current kind.
using NumberingKind = std::uint8_t;

inline constexpr int NumberingKindCount = 5;
inline constexpr NumberingKind KeepCurrentKind = 5;

#pragma pack(push, 1)
struct NumberingConstraint {
    std::int32_t Key = 0; // main window: 0-based position among pages and back covers
    NumberingKind Kind = 5;
    std::int32_t Value = 0; // bits 0-23 imposed counter, bit 29 left page, bit 30 right page
};
#pragma pack(pop)

inline constexpr std::int32_t ImposedCounterMask = 0x00FFFFFF;
inline constexpr std::int32_t LeftPageBit = 0x20000000;
inline constexpr std::int32_t RightPageBit = 0x40000000;

// Highest counter an imposed page number may ask for (label 9999): a higher one would make
// thousands of blank pages and is treated as a constraint that cannot be met.
inline constexpr std::int32_t MaxImposedCounter = 9998;

// The numbering kind of the last page placed, shared by the page list and the creation
// window's preview; every run of the placement rule starts by setting it to 0.
extern NumberingKind CurrentType;

// Start text handed to FormatPageNumber for each kind: counter 0 is the kind's first label.
inline constexpr std::array<char, NumberingKindCount> StartChars = {'1', 'A', 'a', '0', '0'};

// Shown by the creation window's preview after the number of an inserted blank page.
extern const QString BlankPageLabel;

// Writes into result the label of counter index of the given kind; kinds 5 and above leave
// result as it was. Decimal labels are padded with zeros to the width of total - 1 + start.
void FormatPageNumber(std::int32_t Index, std::int32_t Total, NumberingKind Kind,
                      const QString &Start, QString &result);

// Upper-case roman numeral of n; 0 (and below) gives the empty text, every thousand an M.
QString ToRoman(std::int64_t n);

// Number of truncating divisions of x by base before the quotient is 0.
std::int32_t CountDivisions(std::int32_t x, std::int32_t base);

// Where the two users of the placement rule differ.
struct PlacementPolicy {
    bool blankAfterSideConflict; // a side conflict still places the blank page
    // A Value of -1 only changes the kind. Otherwise it asks for both sides, and since the
    // page list will not place those blank pages, it is a conflict as well.
    bool minusOneIsKindOnly;
};
inline constexpr PlacementPolicy PageListPolicy{false, true};
inline constexpr PlacementPolicy PreviewPolicy{true, false};

// One run of the placement rule: numbers the pages in order and inserts the blank pages
// their constraints call for. Constructing a run sets CurrentType to 0.
class NumberingRun {
public:
    explicit NumberingRun(PlacementPolicy policy);

    // Room for that many entries, when the caller knows about how many it places.
    void reserve(std::size_t entries) { slots_.reserve(entries); }

    // Places the blank pages that constraint (may be null) asks for, then the page itself.
    // onConflict is called once for each part of the constraint that cannot be met.
    void placePage(std::int32_t item, const NumberingConstraint *constraint,
                   const std::function<void()> &onConflict);
    void placeBlank();
    // Blank pages that end the interior before the back covers.
    void closeInterior(std::int32_t backCoverCount, bool hasInteriorPage);

    // Each entry's Image is what the caller placed, -1 for a blank page.
    const std::vector<PageEntry> &entries() const { return slots_; }
    // The entries, moved out of the run.
    std::vector<PageEntry> takeEntries() { return std::move(slots_); }
    std::int32_t blankCount() const { return blankCount_; }

private:
    void place(std::int32_t item);
    bool onLeft() const { return slots_.size() % 2 == 1; }
    void applySide(bool wanted, bool needsBlank, bool imposed,
                   const std::function<void()> &onConflict);

    PlacementPolicy policy_;
    std::array<std::int32_t, NumberingKindCount> KindCounters{};
    std::vector<PageEntry> slots_;
    std::int32_t blankCount_ = 0;
};
