// The document commands: a PDF made into a book, a word-processor document into a PDF.
#include "app/Unit1.h"

#include "app/core/tools/DocumentToPdf.h"
#include "app/core/tools/PdfToBook.h"
#include "app/widgets/WaitAnimation.h"

#include <functional>
#include <optional>

namespace {

// The file a dialog gave, nothing when it was cancelled.
std::function<std::optional<QString>()> fileDialog(const std::function<bool(FileDialog &)> &run,
                                                   FileDialog &dialog)
{
    return [run, &dialog]() -> std::optional<QString> {
        if (!run(dialog))
            return std::nullopt;
        return dialog.FileName;
    };
}

// False once the window has been closed since the command began; a window that was not shown
// (driven offscreen) stays open.
std::function<bool()> windowStaysOpen(const QWidget &window)
{
    return [&window, shown = window.isVisible()] { return !shown || window.isVisible(); };
}

} // namespace

void TForm1::PDFBD1Click()
{
    if (!services.dialogs.openFile(OpenDialogPDF))
        return;
    WaitAnimation wait(Client);
    PdfToBook(
        OpenDialogPDF.FileName,
        {services.prompter, services.ui, services.programs, state.GhostscriptDir,
         [&wait](int frame) { wait.showFrame(frame); }, windowStaysOpen(*this),
         fileDialog([this](FileDialog &d) { return services.dialogs.saveFile(d); }, SaveDialogBD)});
}

void TForm1::DocBD1Click()
{
    DocumentToPdf(
        {services.prompter, services.ui, services.programs, services.links,
         fileDialog([this](FileDialog &d) { return services.dialogs.openFile(d); }, DocDialog),
         windowStaysOpen(*this)});
}
