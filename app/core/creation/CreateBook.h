#pragma once

#include "app/core/creation/CreationMeta.h"
#include "app/core/seams/Prompter.h"

#include <QString>

// The destination of a new book as the save dialog chose it: kept when its extension is
// ".bd" in any letter case, else with ".bd" appended.
QString BookDestinationName(const QString &chosen);

// Where "Créer le fichier" writes and what it must not replace.
struct CreationTarget {
    QString destination;
    QString openBook;              // the book open in the viewer; empty when none
    bool replaceConfirmed = false; // the save dialog chose this very destination
};

// "Créer le fichier": checks what the window holds, asks before replacing a file that the
// save dialog did not confirm, writes the book in one step and reports the outcome in a
// message box. Refuses the open book, the description file and the book's own images as
// destination, before any question, and a file whose name may name another file
// (FileNames.h). True when the book was written.
bool CreateBook(const CreationContent &content, const CreationTarget &target, Prompter &prompter);
