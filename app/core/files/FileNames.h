#pragma once

#include <QString>

// Whether path may name another file than the one meant. Qt reads a byte of a file name that
// the locale cannot decode as U+FFFD, so that such a name and the one spelled with U+FFFD read
// the same: a path is taken to be such a reading when a part of it holds U+FFFD and its folder
// holds a name that does not decode and reads as that part. Such a path is neither opened nor
// written.
bool MayNameAnotherFile(const QString &path);
