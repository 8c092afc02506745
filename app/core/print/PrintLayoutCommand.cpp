#include "app/core/print/PrintLayoutCommand.h"

#include "app/core/print/PrintPadding.h"

#include <optional>

namespace {

// The shape of the pages: the first page of the list that has a picture.
std::optional<QSize> FirstPageSize(const PrintState &state, const PageLoader &loadPage)
{
    for (const PageEntry &entry : state.PageList) {
        if (entry.Image < 0)
            continue;
        const std::optional<QImage> bitmap = loadPage(entry.Image);
        if (bitmap && !bitmap->isNull())
            return bitmap->size();
    }
    return std::nullopt;
}

bool CheckPrinter(const PrinterGeometry &printer, Prompter &prompter)
{
    if (printer == PrinterGeometry{}) {
        prompter.error(QStringLiteral("Aucune imprimante n'est disponible."));
        return false;
    }
    if (!printer.isUsable()) {
        prompter.error(QStringLiteral(
            "L'imprimante sélectionnée n'indique pas les dimensions de sa page. Veuillez en "
            "choisir une autre."));
        return false;
    }
    return true;
}

} // namespace

QSize UpdateMarginsPreview(PrintState &state, const PrinterGeometry &printer,
                           const MarginsMm &margins)
{
    const DotsPerMm dpm = PrinterDotsPerMm(printer);
    state.DotsPerMmX = dpm.x;
    state.DotsPerMmY = dpm.y;
    return RecommendedImageSize(printer, dpm, margins, state.PrintLayout);
}

void DefinitMinMax(PrintState &state, LayoutCommandEnv &env)
{
    const PrinterGeometry printer = env.job.target.geometry();
    const DotsPerMm dpm = PrinterDotsPerMm(printer);
    state.DotsPerMmX = dpm.x;
    state.DotsPerMmY = dpm.y;
    if (printer.LogPixelsX != printer.LogPixelsY)
        env.job.prompter.information(QStringLiteral(
            "Attention, votre imprimante ne possède pas la même résolution en verticale et en "
            "horizontale. Il est possible qu'à l'impression, l'image soit déformée."));
    env.margins.setMinima(MarginMinima(printer, dpm));
    env.margins.refresh();
    env.margins.showModal();
    const MarginDots dots = ToDots(env.margins.values(), {state.DotsPerMmX, state.DotsPerMmY});
    state.MarginTopDots = dots.top;
    state.MarginLeftDots = dots.left;
    state.MarginMiddleDots = dots.middle;
}

bool PrepareLayout(PrintState &state, const QString &layout, LayoutCommandEnv &env)
{
    const bool a5 = layout == QLatin1String("A5");
    state.PrintLayout = layout;
    const std::optional<QSize> pageSize = FirstPageSize(state, env.job.loadPage);
    if (!pageSize) {
        env.job.prompter.error(QStringLiteral("Aucune page de ce livre ne contient d'image."));
        return false;
    }
    env.job.target.setOrientation(a5 ? PaperOrientation::Landscape : PaperOrientation::Portrait);
    env.margins.setMiddleEnabled(a5);
    env.job.prompter.information(
        QStringLiteral("Veuillez sélectionner l'imprimante qui sera utilisée. Choisir un format A4 "
                       "en mode ") +
        (a5 ? QStringLiteral("paysage.") : QStringLiteral("portrait.")));
    if (!env.choosePrinter() || !CheckPrinter(env.job.target.geometry(), env.job.prompter))
        return false;

    DefinitMinMax(state, env);

    const PrinterGeometry printer = env.job.target.geometry();
    const DotsPerMm dpm{state.DotsPerMmX, state.DotsPerMmY};
    const MarginsMm margins = env.margins.values();
    const MarginDots dots{state.MarginTopDots, state.MarginLeftDots, state.MarginMiddleDots};
    if (const QSize area = PrintArea(printer, dpm, margins, a5);
        area.width() <= 0 || area.height() <= 0) {
        env.job.prompter.error(QStringLiteral(
            "Les marges sont trop grandes : il ne reste plus de place pour les images."));
        return false;
    }
    if (a5)
        std::tie(state.PrintRect1, state.PrintRect2) =
            A5PrintRects(printer, dpm, margins, dots, *pageSize);
    else
        state.PrintRect1 = A4PrintRect(printer, dpm, margins, dots, *pageSize);

    PadPageList(state, layout);
    return true;
}
