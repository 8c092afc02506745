#pragma once

#include "app/core/creation/CreationConstraints.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

// The numbering preview of the book-creation window: the rows of its page list and of its
// back-cover list, numbered as the book will be, with the blank pages that the numbering
// calls for. It depends only on the file lists and the constraints.
struct CreationPreview {
    QStringList PageTexts;
    std::vector<std::int32_t> PageRows; // per row: index in the page files, -1 for a blank page
    QStringList QuatrTexts;
    std::vector<std::int32_t> QuatrRows; // per row: index in the back-cover files, or -1
    QStringList Conflicts;               // the file of each constraint that cannot be met, in order
    bool CreateEnabled = true;           // "Créer le fichier" is offered: no conflict

    bool operator==(const CreationPreview &) const = default;
};

// Numbers the page files, then the back covers when they are used (the back covers that the
// book gets); back covers that are not used are listed by their file names alone and take
// no part in the numbering.
CreationPreview PreviewNumbering(const QStringList &pageFiles, const QStringList &quatrsFiles,
                                 bool quatrsUsed, const CreationConstraintList &constraints);

// "La contrainte concernant la numérotation sur le fichier <file> ne peut être respectée."
QString ConflictMessage(const QString &file);
