#pragma once

#include <string>
#include <string_view>

// "Impossible d'ouvrir le fichier <path>."
std::string CannotOpenFileMessage(std::string_view path);
// "Impossible de lire le fichier <path>."
std::string CannotReadFileMessage(std::string_view path);
// "Le fichier <path> a été modifié pendant l'enregistrement."
std::string FileChangedMessage(std::string_view path);
