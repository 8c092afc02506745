#include "app/core/seams/Prompter.h"

const QString Prompter::ApplicationTitle = QStringLiteral("Quirelle");

namespace {
const QString OutOfMemoryMessage = QStringLiteral("Erreur, manque de mémoire.");
} // namespace

void Prompter::error(const QString &text)
{
    show(text, ApplicationTitle, MessageIcon::Error, MessageButtons::Ok);
}

void Prompter::information(const QString &text)
{
    show(text, ApplicationTitle, MessageIcon::Information, MessageButtons::Ok);
}

bool Prompter::askYesNo(const QString &text, MessageIcon icon)
{
    return show(text, ApplicationTitle, icon, MessageButtons::YesNo) == MessageAnswer::Yes;
}

void Prompter::outOfMemory()
{
    error(OutOfMemoryMessage);
}
