#pragma once

#include <optional>
#include <string>

namespace platform {

// The user's decimal separator (UTF-8): the radix character of the numeric locale that the
// environment names (LC_ALL, LC_NUMERIC, LANG), "." when that locale is not installed.
std::string DecimalSeparator();

// For tests: DecimalSeparator answers `separator` until reset with nothing.
void OverrideDecimalSeparator(std::optional<std::string> separator);

} // namespace platform
