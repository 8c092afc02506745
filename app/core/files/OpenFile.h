#pragma once

#include "app/text/FileMessages.h"

#include <QString>

// A document whose extension is ".pdf" in any letter case; every other file is a book file.
bool IsPdfFile(const QString &path);

// "Impossible d'ouvrir le fichier <path>." (app/text/FileMessages.h), for a path in a QString.
QString CannotOpenFileMessage(const QString &path);
