#include "tests/app/WindowFixture.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include <gtest/gtest.h>

namespace {

// Each action as "caption" (submenu entries indented by "- "), "-" for a separator, with
// " [disabled]" or " [hidden]" when so.
void listMenu(const QList<QAction *> &actions, const QString &indent, QStringList &out)
{
    for (QAction *action : actions) {
        QString line = indent + (action->isSeparator() ? QStringLiteral("-") : action->text());
        if (!action->isEnabled())
            line += QStringLiteral(" [disabled]");
        if (!action->isVisible())
            line += QStringLiteral(" [hidden]");
        out << line;
        if (action->menu())
            listMenu(action->menu()->actions(), indent + QStringLiteral("- "), out);
    }
}

TEST(MainWindow, MenuBarInOrderWithItsCaptions)
{
    Window window;
    QStringList menu;
    listMenu(window.form.menuBar()->actions(), QString(), menu);
    // Commands that are not built yet are present and disabled.
    const QStringList expected = {
        "Fichier",
        "- Ouvrir...",
        "- Imprimer [disabled]",
        "- - A4... (une image par page)",
        "- - A5... (deux images par pages)",
        "- Quitter",
        "Description [disabled] [hidden]",
        "Visionneuse",
        "Plein écran",
        "Outils",
        "- Extraire les pages...",
        "- Ajouter/Remplacer la description...",
        "- -",
        "- Convertir en JPG...",
        "- Création d'une BD...",
        "- Doc -> Pdf...",
        "- Pdf -> BD...", // the console program is installed here
        "- -",
        "- Associer l'extension .bd",
        "- Désassocier l'extension .bd",
        "?",
    };
    EXPECT_EQ(menu, expected);
    EXPECT_EQ(window.form.windowTitle(), QStringLiteral("Quirelle"));
}

} // namespace
