#include "app/core/print/PrintJob.h"

#include <algorithm>
#include <array>

namespace {

const QString CR_LF = QStringLiteral("\r\n");

// The program's own questions, kept as they stand: "cliquez" in the first, "cliquer" in the other
// two, and "au dessus?" and "au dessous?" without a hyphen or a blank.
const std::array<QString, 3> PaperPathQuestions = {
    QStringLiteral("Comme les systèmes de distribution de papier sont variables en fonction du "
                   "type d'imprimante, veuillez répondre à cette question :") +
        CR_LF +
        QStringLiteral("Lorsque les feuilles sont au repos (avant l'impression), la surface qui "
                       "va être imprimée est-elle au dessus? Lorsque les feuilles sont imprimées "
                       "(après l'impression) la surface qui est imprimée est-elle au dessus? Si "
                       "ces 2 conditions sont respectées, cliquez sur Oui."),
    QStringLiteral("Lorsque les feuilles sont au repos (avant l'impression), la surface qui va "
                   "être imprimée est-elle au dessus? Lorsque les feuilles sont imprimées (après "
                   "l'impression) la surface qui est imprimée est-elle au dessous? Si ces 2 "
                   "conditions sont respectées, cliquer sur Oui."),
    QStringLiteral("Lorsque les feuilles sont au repos (avant l'impression), la surface qui va "
                   "être imprimée est-elle au dessous? Lorsque les feuilles sont imprimées (après "
                   "l'impression) la surface qui est imprimée est-elle au dessus? Si ces 2 "
                   "conditions sont respectées, cliquer sur Oui."),
};

QString FirstPassMessage(PaperPath path)
{
    const QString position =
        path == PaperPath::FaceUpFaceDown ? QStringLiteral("dernière") : QStringLiteral("première");
    return QStringLiteral("Si vous utilisez une feuille plus épaisse pour la couverture, il faut "
                          "la mettre en ") +
           position + QStringLiteral(" position.") + CR_LF +
           QStringLiteral("Mettre les feuilles de telle sorte que l'imprimante imprime sur le "
                          "recto.");
}

QString SecondPassMessage(PaperPath path)
{
    const QString turn =
        QStringLiteral("Mettre les feuilles de telle sorte que l'imprimante imprime sur le verso.");
    if (path == PaperPath::FaceDownFaceUp)
        return turn;
    // "soit imprimées" is the program's own text, kept as it stands.
    return QStringLiteral("Attendre que toutes les feuilles soit imprimées. ") + turn;
}

std::optional<PaperPath> AskPaperPath(Prompter &prompter)
{
    for (std::size_t q = 0; q < PaperPathQuestions.size(); ++q)
        if (prompter.askYesNo(PaperPathQuestions[q]))
            return static_cast<PaperPath>(q + 1);
    return std::nullopt;
}

std::int32_t RoundUpTo(std::int32_t count, std::int32_t multiple)
{
    return (std::max(count, 0) + multiple - 1) / multiple * multiple;
}

void DrawPage(const PrintState &state, PrintJobEnv &env, std::int32_t index, const PrintRect &rect)
{
    if (index < 0 || index >= static_cast<std::int32_t>(state.PageList.size()))
        return;
    const std::optional<QImage> bitmap = env.loadPage(state.PageList[index].Image);
    if (bitmap && !bitmap->isNull())
        env.target.drawImage(rect, *bitmap);
}

void PrintPass(const PrintState &state, PrintJobEnv &env, PaperPath path, int pass)
{
    const bool a5 = state.PrintLayout == QLatin1String("A5");
    const std::vector<SheetSide> sides = SheetSides(path, pass, a5, state.PrintPageCount);
    env.target.beginDocument(pass);
    try {
        for (std::size_t k = 0; k < sides.size(); ++k) {
            if (k > 0)
                env.target.newPage();
            PrintSheet(state, env, sides[k].first - 1, sides[k].second - 1);
        }
    } catch (...) {
        env.target.abortDocument();
        throw;
    }
    env.target.endDocument();
}

} // namespace

std::vector<SheetSide> SheetSides(PaperPath path, int pass, bool a5, std::int32_t pageCount)
{
    // Sides with an odd i carry the odd page on the right (A5), those with an even i on the
    // left; the paper path decides which parity each pass prints and in which direction.
    struct Order {
        bool even, descending;
    };
    static const Order orders[3][2] = {
        {{false, false}, {true, false}}, // face up in, face up out
        {{true, true}, {false, false}},  // face up in, face down out
        {{true, false}, {false, true}},  // face down in, face up out
    };
    const Order order = orders[static_cast<int>(path) - 1][pass - 1];
    const std::int32_t sides = a5 ? pageCount / 2 : pageCount;

    std::vector<SheetSide> result;
    for (std::int32_t i = order.even ? 2 : 1; i <= sides; i += 2) {
        if (!a5)
            result.push_back({i, 0});
        else if (order.even)
            result.push_back({i, pageCount - i + 1});
        else
            result.push_back({pageCount - i + 1, i});
    }
    if (order.descending)
        std::reverse(result.begin(), result.end());
    return result;
}

void PrintSheet(const PrintState &state, PrintJobEnv &env, std::int32_t first, std::int32_t second)
{
    DrawPage(state, env, first, state.PrintRect1);
    if (state.PrintLayout == QLatin1String("A5"))
        DrawPage(state, env, second, state.PrintRect2);
}

void RunPrintJob(PrintState &state, PrintJobEnv &env)
{
    if (state.PrintLayout.isEmpty()) {
        env.prompter.information(
            QStringLiteral("Veuillez sélectionner la disposition des images (A4 ou A5)."));
        return;
    }
    const bool a5 = state.PrintLayout == QLatin1String("A5");
    state.PrintPageCount = RoundUpTo(state.PageCountCache, a5 ? 4 : 2);

    const std::optional<PaperPath> path = AskPaperPath(env.prompter);
    if (!path)
        return;
    // Printing lets window messages run; a close of the window meanwhile clears the file.
    const QString file = state.CurrentFile;
    try {
        env.prompter.information(FirstPassMessage(*path));
        PrintPass(state, env, *path, 1);
        if (state.CurrentFile != file)
            return;
        env.prompter.information(SecondPassMessage(*path));
        PrintPass(state, env, *path, 2);
    } catch (const PrintError &error) {
        env.prompter.error(QString::fromUtf8(error.what()));
    }
}
