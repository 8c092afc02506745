#include "app/core/pages/Numbering.h"

NumberingKind CurrentType = 0;

const QString BlankPageLabel = QStringLiteral("Page blanche");

namespace {

std::int32_t countDivisions(std::int64_t x, std::int64_t base)
{
    if (base >= -1 && base <= 1)
        return 0; // x div base would never reach 0 (or divide by zero)
    std::int32_t count = 0;
    while (x / base != 0) {
        ++count;
        x /= base;
    }
    return count;
}

// Bijective base 26: 0 is A, 25 Z, 26 AA, 701 ZZ, 702 AAA.
QString letterLabel(std::int64_t x, char first)
{
    QString label;
    if (x < 0)
        return label;
    std::int64_t limit = 26;
    std::int64_t power = 26;
    int letters = 1;
    while (x >= limit) {
        power *= 26;
        limit += power;
        ++letters;
    }
    for (int i = 0; i < letters; ++i) {
        label.prepend(QChar(first + static_cast<char>(x % 26)));
        x = x / 26 - 1;
    }
    return label;
}

std::int64_t base26Value(const QString &start, char first)
{
    std::int64_t value = 0;
    for (const QChar ch : start)
        value = value * 26 + (ch.unicode() - first);
    return value;
}

} // namespace

QString ToRoman(std::int64_t n)
{
    static const char *const units[] = {"", "I", "II", "III", "IV", "V", "VI", "VII", "VIII", "IX"};
    static const char *const tens[] = {"", "X", "XX", "XXX", "XL", "L", "LX", "LXX", "LXXX", "XC"};
    static const char *const hundreds[] = {"",  "C",  "CC",  "CCC",  "CD",
                                           "D", "DC", "DCC", "DCCC", "CM"};
    if (n <= 0)
        return {};
    QString numeral(static_cast<qsizetype>(n / 1000), QChar('M'));
    numeral += QLatin1StringView(hundreds[n / 100 % 10]);
    numeral += QLatin1StringView(tens[n / 10 % 10]);
    numeral += QLatin1StringView(units[n % 10]);
    return numeral;
}

std::int32_t CountDivisions(std::int32_t x, std::int32_t base)
{
    return countDivisions(x, base);
}

void FormatPageNumber(std::int32_t Index, std::int32_t Total, NumberingKind Kind,
                      const QString &Start, QString &result)
{
    switch (Kind) {
    case 0: {
        const std::int64_t b = Start.toInt();
        result = QString::number(Index + b);
        const std::int32_t width = countDivisions(Total - 1 + b, 10);
        if (width >= result.size())
            result.prepend(QString(width - result.size() + 1, QChar('0')));
        break;
    }
    case 1:
    case 2: {
        const char first = Kind == 1 ? 'A' : 'a';
        result = letterLabel(Index + base26Value(Start, first), first);
        break;
    }
    case 3: result = ToRoman(std::int64_t{Index} - Start.toInt() + 1); break;
    case 4: result = ToRoman(std::int64_t{Index} - Start.toInt() + 1).toLower(); break;
    default: break;
    }
}

NumberingRun::NumberingRun(PlacementPolicy policy) : policy_(policy)
{
    CurrentType = 0;
}

void NumberingRun::place(std::int32_t item)
{
    static const std::array<QString, NumberingKindCount> starts = [] {
        std::array<QString, NumberingKindCount> texts;
        for (std::size_t kind = 0; kind < texts.size(); ++kind)
            texts[kind] = QString(QChar(StartChars[kind]));
        return texts;
    }();
    QString label;
    FormatPageNumber(KindCounters[CurrentType], 1, CurrentType, starts[CurrentType], label);
    slots_.push_back({std::move(label), item});
    ++KindCounters[CurrentType];
}

void NumberingRun::placeBlank()
{
    place(-1);
    ++blankCount_;
}

void NumberingRun::applySide(bool wanted, bool needsBlank, bool imposed,
                             const std::function<void()> &onConflict)
{
    if (!wanted || !needsBlank)
        return;
    if (imposed) {
        onConflict();
        if (!policy_.blankAfterSideConflict)
            return;
    }
    placeBlank();
}

void NumberingRun::placePage(std::int32_t item, const NumberingConstraint *constraint,
                             const std::function<void()> &onConflict)
{
    if (constraint) {
        const NumberingKind kind = constraint->Kind;
        const std::int32_t value = constraint->Value;
        if (kind < NumberingKindCount && kind != CurrentType) {
            if (KindCounters[CurrentType] % 2 == 1)
                placeBlank();
            CurrentType = kind;
        }
        if (!(policy_.minusOneIsKindOnly && value == -1)) {
            if (value == -1)
                onConflict();
            const std::int32_t imposedCounter = value & ImposedCounterMask;
            const bool imposed = imposedCounter != 0 && imposedCounter != ImposedCounterMask;
            if (imposed) {
                const std::int32_t current = KindCounters[CurrentType];
                if (imposedCounter < current || imposedCounter > MaxImposedCounter)
                    onConflict();
                else
                    while (KindCounters[CurrentType] < imposedCounter)
                        placeBlank();
            }
            applySide(value & LeftPageBit, !onLeft(), imposed, onConflict);
            applySide(value & RightPageBit, onLeft(), imposed, onConflict);
        }
    }
    place(item);
}

void NumberingRun::closeInterior(std::int32_t backCoverCount, bool hasInteriorPage)
{
    if ((std::int64_t{KindCounters[CurrentType]} + backCoverCount) % 2 == 1)
        placeBlank();
    if (hasInteriorPage && backCoverCount == 0 && !slots_.empty() && !slots_.back().isBlank()) {
        placeBlank();
        placeBlank();
    }
}
