#include "app/text/FileMessages.h"

std::string CannotOpenFileMessage(std::string_view path)
{
    return "Impossible d'ouvrir le fichier " + std::string(path) + ".";
}

std::string CannotReadFileMessage(std::string_view path)
{
    return "Impossible de lire le fichier " + std::string(path) + ".";
}

std::string FileChangedMessage(std::string_view path)
{
    return "Le fichier " + std::string(path) + " a été modifié pendant l'enregistrement.";
}
