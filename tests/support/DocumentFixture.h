#pragma once

#include <QImage>
#include <QStringList>

#include <filesystem>

// A word-processor document (OpenDocument text) with one page per text, each text a
// paragraph, and the picture after the last one.
void MakeTextDocument(const std::filesystem::path &path, const QStringList &pages,
                      const QImage &picture);
