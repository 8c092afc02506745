#pragma once

#include <QString>

class Prompter;

// The path with the extension of its file name (from its last '.') replaced by extension,
// or with extension appended when it has none: "a/x.txt" gives "a/x.bd", "a/x" "a/x.bd".
QString ReplaceExtension(const QString &path, const QString &extension);

// True when a file may be written at path: nothing is there yet, or the user agrees to
// replace it.
bool MayReplace(Prompter &prompter, const QString &path);
