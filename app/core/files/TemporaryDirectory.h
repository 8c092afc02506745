#pragma once

#include <QString>

// The system temporary directory, without trailing separators.
QString GetTempDir();

// Removes the leading and trailing characters of code 32 or less, then the trailing path
// separators; a path made only of separators keeps one, the root "/".
QString TrimTrailingBackslashes(const QString &text);
