#pragma once

#include <QString>

#include <filesystem>

// A path as the program's Qt side takes it.
inline QString QtPath(const std::filesystem::path &path)
{
    return QString::fromStdString(path.string());
}
