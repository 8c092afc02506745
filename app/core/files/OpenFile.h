#pragma once

#include <QString>

// A document whose extension is ".pdf" in any letter case; every other file is a book file.
bool IsPdfFile(const QString &path);

// "Impossible d'ouvrir le fichier <path>."
QString CannotOpenFileMessage(const QString &path);
