#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class LinkOpener;
class OutsidePrograms;
class Prompter;
class UiHooks;

// LibreOffice stands in for the word processor and its PDF printer: the printer counts as
// present when its program soffice is found on PATH. Empty when it is not.
QString LibreOfficePath();

// Where the user can get it when it is missing.
inline constexpr char PdfPrinterDownloadAddress[] =
    "https://www.libreoffice.org/download/download-libreoffice/";

// soffice's arguments that convert document to PDF into outputDir, without a window and
// with its own user profile in profileDir, so that an instance the user has open is never
// touched.
QStringList LibreOfficeArguments(const QString &profileDir, const QString &outputDir,
                                 const QString &document);

struct DocumentToPdfEnv {
    Prompter &prompter;
    UiHooks &ui;
    OutsidePrograms &programs;
    LinkOpener &links;
    std::function<std::optional<QString>()> chooseDocument; // nothing: cancelled
    std::function<bool()> keepWaiting;                      // false: stop, the window is gone
};

// Converts the document the user chooses to PDF. The PDF is written beside the document,
// under its name with the extension ".pdf" (an existing file only when the user agrees to
// replace it), and the user is told where. LibreOffice works in a private temporary folder,
// removed on every path; a conversion that fails gets an error box and writes nothing.
void DocumentToPdf(const DocumentToPdfEnv &env);
