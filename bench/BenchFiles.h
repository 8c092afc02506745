#pragma once

// What the benchmarks share to make their files.

#include "tests/support/QtPath.h"

#include <QProcess>
#include <QString>
#include <QStringList>

#include <filesystem>
#include <stdexcept>
#include <string>

// Runs an outside program to its end, its output dropped; throws when it fails.
inline void RunProgram(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.start(program, arguments);
    if (!process.waitForFinished(600000) || process.exitCode() != 0)
        throw std::runtime_error(program.toStdString() + " failed");
}

// An A4 PDF written by Ghostscript whose pages hold lettering in grey levels and a coloured
// disc, as a scanned album might.
inline void MakeLetteringPdf(const std::filesystem::path &file, int pages)
{
    const QString page = "/Helvetica findfont 28 scalefont setfont "
                         "0 1 30 { /i exch def i 30 div setgray 60 i 24 mul 60 add moveto "
                         "(Quirelle : planche de test, ligne de texte) show } for "
                         "0.8 0.2 0.2 setrgbcolor newpath 300 420 150 0 360 arc fill showpage";
    RunProgram("gs", {"-q", "-dNOPAUSE", "-dBATCH", "-dSAFER", "-sDEVICE=pdfwrite",
                      "-sPAPERSIZE=a4", "-sOutputFile=" + QtPath(file), "-c",
                      QStringLiteral("1 1 %1 { pop %2 } for").arg(pages).arg(page)});
}
