#include "platform/RegionalSettings.h"

#include <langinfo.h>
#include <locale.h>

namespace platform {

namespace {

std::optional<std::string> &overriddenSeparator()
{
    static std::optional<std::string> separator;
    return separator;
}

} // namespace

std::string DecimalSeparator()
{
    if (overriddenSeparator())
        return *overriddenSeparator();
    // A locale object of our own: the process's current locale is left alone.
    const locale_t locale = newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(nullptr));
    if (!locale)
        return ".";
    const char *radix = nl_langinfo_l(RADIXCHAR, locale);
    std::string separator = radix && *radix ? radix : ".";
    freelocale(locale);
    return separator;
}

void OverrideDecimalSeparator(std::optional<std::string> separator)
{
    overriddenSeparator() = std::move(separator);
}

} // namespace platform
