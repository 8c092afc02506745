#pragma once

#include "app/book/BookFile.h"

#include <QImage>
#include <QStringList>

#include <filesystem>
#include <string_view>

// A word-processor document (OpenDocument text) with one page per text, each text a
// paragraph, and the picture after the last one.
void MakeTextDocument(const std::filesystem::path &path, const QStringList &pages,
                      const QImage &picture);

// Whether LibreOffice (soffice) is installed.
bool HasLibreOffice();

// The RTF that LibreOffice writes from an HTML page, converted in folder with a private
// profile there; empty when the conversion fails.
Bytes RtfWrittenByLibreOffice(const std::filesystem::path &folder, std::string_view html);
