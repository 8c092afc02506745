#include "app/core/tools/DocumentToPdf.h"

#include "app/core/files/OpenFile.h"
#include "app/core/files/OutputFile.h"
#include "app/core/files/ReadOnlyFile.h"
#include "app/core/files/TemporaryDirectory.h"
#include "app/core/seams/LinkOpener.h"
#include "app/core/seams/OutsidePrograms.h"
#include "app/core/seams/Prompter.h"
#include "app/core/seams/UiHooks.h"
#include "platform/AtomicWrite.h"

#include <QDir>
#include <QFileInfo>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>

QString LibreOfficePath()
{
    return QStandardPaths::findExecutable(QStringLiteral("soffice"));
}

QStringList LibreOfficeArguments(const QString &profileDir, const QString &outputDir,
                                 const QString &document)
{
    return {QStringLiteral("--headless"),
            QStringLiteral("-env:UserInstallation=") +
                QUrl::fromLocalFile(profileDir).toString(QUrl::FullyEncoded),
            QStringLiteral("--convert-to"),
            QStringLiteral("pdf"),
            QStringLiteral("--outdir"),
            outputDir,
            document};
}

void DocumentToPdf(const DocumentToPdfEnv &env)
{
    if (LibreOfficePath().isEmpty() &&
        env.prompter.askYesNo(QStringLiteral("Impossible de détecter l'imprimante PDFCreator. "
                                             "Souhaitez-vous la télécharger ?")))
        env.links.open(QUrl(QLatin1String(PdfPrinterDownloadAddress)));

    const std::optional<QString> chosen = env.chooseDocument();
    if (!chosen)
        return;
    const QFileInfo document(*chosen);
    const QString source = document.absoluteFilePath();
    const QString target = ReplaceExtension(source, QStringLiteral(".pdf"));
    if (!MayReplace(env.prompter, target))
        return;

    const QTemporaryDir work(GetTempDir() + QStringLiteral("/quirelle-doc-XXXXXX"));
    if (!work.isValid())
        throw FileWriteError("Impossible de créer un dossier dans " + GetTempDir().toStdString() +
                             ".");
    const QString outputDir = work.filePath(QStringLiteral("pdf"));
    QDir().mkpath(outputDir);

    const ProgramExit result = [&] {
        env.ui.setBusyCursor(true);
        const auto idle = qScopeGuard([&] { env.ui.setBusyCursor(false); });
        return env.programs.run(
            {LibreOfficePath(),
             LibreOfficeArguments(work.filePath(QStringLiteral("profil")), outputDir, source),
             work.path()},
            env.ui, env.keepWaiting);
    }();
    if (result.outcome == ProgramExit::Outcome::Stopped)
        return;
    if (result.outcome == ProgramExit::Outcome::NotStarted) {
        env.prompter.error(QStringLiteral("Impossible de lancer LibreOffice."));
        return;
    }
    // soffice reports a document it cannot load on its output, not by its exit status.
    const QFileInfo converted(outputDir + u'/' + document.completeBaseName() +
                              QStringLiteral(".pdf"));
    if (!result.succeeded() || !converted.isFile()) {
        env.prompter.error(QStringLiteral("Impossible de convertir le document ") + source +
                           QStringLiteral(" en PDF."));
        return;
    }

    const std::filesystem::path convertedPath = converted.absoluteFilePath().toStdString();
    const ReadOnlyFile pdf(convertedPath);
    const std::int64_t size = pdf.regularFileSize();
    if (size < 0)
        throw FileReadError(CannotOpenFileMessage(convertedPath.string()));
    platform::AtomicFileWriter out(target.toStdString());
    out.copyFrom(pdf.get(), convertedPath, size);
    out.commit();
    env.prompter.information(QStringLiteral("Le document a été converti en PDF : ") + target +
                             QLatin1Char('.'));
}
