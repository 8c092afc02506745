#pragma once

#include <string>
#include <string_view>

// "Impossible d'ouvrir le fichier <path>."
std::string CannotOpenFileMessage(std::string_view path);
