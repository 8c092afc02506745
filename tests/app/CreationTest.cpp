#include "app/Creation.h"
#include "app/Forms.h"
#include "app/widgets/GlyphButton.h"
#include "controls/GradButton.h"

#include "tests/app/WindowFixture.h"
#include "tests/support/BookFixture.h"
#include "tests/support/QtPath.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

const QString Success = QStringLiteral("La création a été effectuée avec succès.");

// A creation window driven offscreen, with JPEG files to put in it.
struct CreationWindow {
    TempDir dir;
    RecordingPrompter prompter;
    ScriptedDialogs dialogs;
    QString openBook;
    TCreeBD form{{prompter, dialogs, [this] { return openBook; }}};

    CreationWindow() { form.show(); }
    ~CreationWindow() { form.reject(); }

    // A JPEG of its own for each name, in the test's folder.
    QString image(const std::string &name)
    {
        const auto path = dir / name;
        if (!std::filesystem::exists(path))
            WriteFileBytes(path, MakeJpeg(8 + int(std::filesystem::hash_value(path) % 16), 8));
        return QtPath(path);
    }

    void add(TGradButton *button, const std::vector<std::string> &names)
    {
        QStringList files;
        for (const std::string &name : names)
            files << image(name);
        dialogs.choose(files);
        button->Click();
    }

    static QStringList rows(const QListWidget *list)
    {
        QStringList texts;
        for (int row = 0; row < list->count(); ++row)
            texts << list->item(row)->text();
        return texts.replaceInStrings(QStringLiteral(".jpg"), QString());
    }

    static std::vector<int> selectedRows(const QListWidget *list)
    {
        std::vector<int> selected;
        for (int row = 0; row < list->count(); ++row)
            if (list->item(row)->isSelected())
                selected.push_back(row);
        return selected;
    }

    static void select(QListWidget *list, const std::vector<int> &rows)
    {
        list->clearSelection();
        for (int row : rows)
            list->setCurrentRow(row, QItemSelectionModel::Select);
    }

    // Right click on row: the menu opens for its list with the row focused and selected.
    void openMenuOn(QListWidget *list, int row)
    {
        select(list, {row});
        form.PremsContextPopup(list, list->visualItemRect(list->item(row)).center());
    }

    // Chooses item in the menu opened on row.
    void choose(QListWidget *list, int row, QAction *item)
    {
        openMenuOn(list, row);
        item->trigger();
        form.PopupMenu1->close();
    }

    void impose(QListWidget *list, int row, const QString &entry)
    {
        dialogs.choose({entry});
        choose(list, row, form.Imposerlapage1);
    }
};

} // namespace

TEST(CreationWindow, ControlsAndTheirPlacesFollowTheWidth)
{
    CreationWindow window;
    TCreeBD &form = window.form;
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Création"));
    EXPECT_EQ(form.ListePages->geometry(), QRect(10, 81, 451, 193));
    EXPECT_EQ(form.Quatrs->geometry(), QRect(10, 306, 451, 61));
    EXPECT_EQ(form.MenuPage->geometry(), QRect(461, 80, 17, 17));
    EXPECT_EQ(form.GradButton3->Caption(), QStringLiteral("Créer le fichier"));
    EXPECT_EQ(form.GradButton3->ColorScheme(), csNeoSilver);
    EXPECT_FALSE(form.VersBasFus->Glyph().isNull());
    EXPECT_EQ(form.OpenPictureDialog1.Filter, QStringLiteral("JPG Images|*.jpg;*.jpeg;*.jpe"));
    EXPECT_TRUE(form.OpenPictureDialog1.Picture);
    EXPECT_EQ(form.SaveDialog1.Filter, QStringLiteral("Bande dessinée (*.bd)|*.bd"));
    EXPECT_EQ(form.DescriptDialog.Filter, QStringLiteral("Fichier rtf (*.rtf)|*.rtf"));
    // Cover, back covers and description start disabled, until their boxes are checked;
    // the preview is empty and allows creating.
    const std::initializer_list<QWidget *> governed = {
        form.Reliure,      form.GradButton4, form.GradButton5, form.Quatrs,
        form.MenuQuatrs,   form.GradButton6, form.GradButton7, form.GradButton11,
        form.GradButton10, form.Descript,    form.GradButton1};
    for (QWidget *control : governed)
        EXPECT_FALSE(control->isEnabled()) << control->metaObject()->className();
    EXPECT_TRUE(form.GradButton3->isEnabled());
    for (QCheckBox *box : {form.ReliureCheck, form.QuatrsCheck, form.DescriptCheck})
        box->setChecked(true);
    for (QWidget *control : governed)
        EXPECT_TRUE(control->isEnabled()) << control->metaObject()->className();

    form.resize(700, form.height());
    for (QWidget *field : std::initializer_list<QWidget *>{
             form.Reliure, form.ListePages, form.Quatrs, form.Descript, form.DestinationBD})
        EXPECT_EQ(field->width(), 580);
    EXPECT_EQ(form.GradButton3->x(), 212);
    EXPECT_EQ(form.Fermer->x(), 307);
    EXPECT_EQ(form.RAZ->x(), 402);
    EXPECT_EQ(form.Ajouter->x(), 608);
    EXPECT_EQ(form.GradButton10->x(), 650);
    EXPECT_EQ(form.MenuQuatrs->x(), 590);

    form.resize(300, form.height());
    EXPECT_EQ(form.width(), 360);
}

TEST(CreationWindow, AddsImagesInOrderButNeverTheSameTwice)
{
    CreationWindow window;
    TCreeBD &form = window.form;
    form.QuatrsCheck->setChecked(true);
    window.add(form.Ajouter, {"a.jpg", "b.jpg"});
    window.add(form.GradButton6, {"q.jpg"});
    EXPECT_EQ(window.dialogs.requests.back().dialog.Filter,
              QStringLiteral("JPG Images|*.jpg;*.jpeg;*.jpe"));
    EXPECT_TRUE(window.dialogs.requests.back().dialog.AllowMultiSelect);

    // A page again, or a back cover as a page: refused whole.
    window.add(form.Ajouter, {"c.jpg", "a.jpg"});
    window.add(form.Ajouter, {"q.jpg"});
    EXPECT_EQ(window.prompter.texts(),
              std::vector<QString>(2, QStringLiteral("Impossible d'insérer une même image "
                                                     "plusieurs fois.")));
    EXPECT_EQ(window.prompter.messages.back().icon, MessageIcon::Error);
    // Another file whose name differs only in letter case is another image.
    window.add(form.Ajouter, {"A.jpg"});
    // The cover may also be a page.
    form.ReliureCheck->setChecked(true);
    window.dialogs.choose({window.image("a.jpg")});
    form.GradButton4->Click();
    EXPECT_EQ(form.Reliure->text(), window.image("a.jpg"));

    EXPECT_EQ(form.PageFiles,
              (QStringList{window.image("a.jpg"), window.image("b.jpg"), window.image("A.jpg")}));
    EXPECT_EQ(CreationWindow::rows(form.ListePages), (QStringList{"1 a", "2 b", "3 A"}));
    EXPECT_EQ(CreationWindow::rows(form.Quatrs), QStringList{"4 q"});
    form.GradButton5->Click();
    EXPECT_TRUE(form.Reliure->text().isEmpty());
}

TEST(CreationWindow, ConstraintMenuEditsThePreview)
{
    CreationWindow window;
    TCreeBD &form = window.form;
    // On an empty list the menu's items do nothing.
    form.PremsContextPopup(form.ListePages, QPoint(5, 5));
    EXPECT_FALSE(form.Supprimerlacontrainte1->isVisible());
    for (QAction *item : {form.Supprimerlacontrainte1, form.N1231, form.Adroite1})
        item->trigger();
    form.PopupMenu1->close();
    EXPECT_TRUE(window.prompter.messages.empty());
    EXPECT_TRUE(form.CreationConstraints.empty());

    window.add(form.Ajouter, {"a.jpg", "b.jpg", "c.jpg", "d.jpg"});

    window.choose(form.ListePages, 1, form.IIIIII2);
    EXPECT_EQ(CreationWindow::rows(form.ListePages),
              (QStringList{"1 a", "2 Page blanche", "*I b", "II c", "III d", "IV Page blanche"}));

    // "A droite" is checked when the menu opens again, and "Supprimer la contrainte" shown.
    window.choose(form.ListePages, 2, form.Adroite1);
    window.openMenuOn(form.ListePages, 2);
    EXPECT_TRUE(form.Adroite1->isChecked());
    EXPECT_FALSE(form.Agauche1->isChecked());
    EXPECT_TRUE(form.Supprimerlacontrainte1->isVisible());
    form.PopupMenu1->close();
    window.openMenuOn(form.ListePages, 3);
    EXPECT_FALSE(form.Adroite1->isChecked());
    EXPECT_FALSE(form.Supprimerlacontrainte1->isVisible());
    form.PopupMenu1->close();

    // A number, then "Imposer..." cancelled or given no number: nothing changes.
    window.impose(form.ListePages, 4, QStringLiteral("3"));
    const QStringList imposed = {"1 a",  "2 Page blanche", "*I b",
                                 "II c", "*III d",         "IV Page blanche"};
    EXPECT_EQ(CreationWindow::rows(form.ListePages), imposed);
    EXPECT_EQ(window.dialogs.requests.back().dialog.Title, QStringLiteral("Pagination"));
    EXPECT_EQ(window.dialogs.requests.back().prompt, QStringLiteral("Numérotation :"));
    window.dialogs.cancel();
    window.choose(form.ListePages, 4, form.Imposerlapage1);
    window.impose(form.ListePages, 4, QStringLiteral("trois"));
    window.impose(form.ListePages, 4, QStringLiteral("-2"));
    EXPECT_EQ(CreationWindow::rows(form.ListePages), imposed);
    EXPECT_EQ(window.prompter.texts(),
              std::vector<QString>(2, QStringLiteral("Le numéro de la page doit être un nombre "
                                                     "entier de 0 à 16777216.")));

    // A blank row takes no constraint.
    window.prompter.messages.clear();
    window.choose(form.ListePages, 1, form.abc1);
    EXPECT_EQ(window.prompter.texts(),
              std::vector<QString>{QStringLiteral("Impossible d'affecter une contrainte à la "
                                                  "page sélectionnée.")});
    EXPECT_EQ(CreationWindow::rows(form.ListePages), imposed);

    window.choose(form.ListePages, 2, form.Supprimerlacontrainte1);
    EXPECT_EQ(CreationWindow::rows(form.ListePages),
              (QStringList{"1 a", "2 b", "3 c", "*4 d", "5 Page blanche", "6 Page blanche"}));
    EXPECT_EQ(form.CreationConstraints.size(), 1u);
}

TEST(CreationWindow, ConflictsAreReportedAndBlockTheCreationUntilMended)
{
    CreationWindow window;
    TCreeBD &form = window.form;
    window.add(form.Ajouter, {"a.jpg", "b.jpg", "c.jpg", "d.jpg"});
    window.impose(form.ListePages, 3, QStringLiteral("3"));
    window.impose(form.ListePages, 0, QStringLiteral("2"));
    const QString conflict = QStringLiteral("La contrainte concernant la numérotation sur le "
                                            "fichier %1 ne peut être respectée.");
    // The preview of each edit meets the number on d, which cannot be met.
    EXPECT_EQ(window.prompter.texts(), (std::vector<QString>{conflict.arg(window.image("d.jpg")),
                                                             conflict.arg(window.image("d.jpg"))}));
    EXPECT_FALSE(form.GradButton3->isEnabled());

    window.choose(form.ListePages, 4, form.Supprimerlacontrainte1);
    EXPECT_TRUE(form.GradButton3->isEnabled());
}

TEST(CreationWindow, MovesAndDeletesTheSelectedRows)
{
    CreationWindow window;
    TCreeBD &form = window.form;
    window.add(form.Ajouter, {"a.jpg", "b.jpg", "c.jpg"});
    window.choose(form.ListePages, 1, form.Adroite1); // a blank row before b

    CreationWindow::select(form.ListePages, {2});
    form.VersHautFus->Click();
    EXPECT_EQ(CreationWindow::rows(form.ListePages),
              (QStringList{"*1 b", "2 a", "3 c", "4 Page blanche"}));
    EXPECT_EQ(CreationWindow::selectedRows(form.ListePages), std::vector<int>{0});

    CreationWindow::select(form.ListePages, {1});
    form.VersBasFus->Click();
    EXPECT_EQ(CreationWindow::rows(form.ListePages),
              (QStringList{"*1 b", "2 c", "3 a", "4 Page blanche"}));
    EXPECT_EQ(CreationWindow::selectedRows(form.ListePages), std::vector<int>{2});

    CreationWindow::select(form.ListePages, {0, 1, 3});
    form.SupprFus->Click();
    EXPECT_EQ(CreationWindow::rows(form.ListePages), (QStringList{"1 a", "2 Page blanche"}));
    EXPECT_TRUE(form.CreationConstraints.empty());
    EXPECT_TRUE(CreationWindow::selectedRows(form.ListePages).empty());
}

TEST(CreationWindow, MenuButtonOpensTheMenuOnlyOverASelection)
{
    CreationWindow window;
    TCreeBD &form = window.form;
    window.add(form.Ajouter, {"a.jpg"});
    form.ListePages->clearSelection();
    form.MenuPage->click();
    EXPECT_FALSE(form.PopupMenu1->isVisible());

    CreationWindow::select(form.ListePages, {0});
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 6), QPointF(5, 6), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(form.MenuPage, &move);
    form.MenuPage->click();
    EXPECT_TRUE(form.PopupMenu1->isVisible());
    EXPECT_EQ(form.PopupMenu1->pos(), form.MenuPage->mapToGlobal(QPoint(5, 6)));
    form.PopupMenu1->close();
}

TEST(CreationWindow, EachShowingStartsWithEmptyListsAndKeepsTheFields)
{
    CreationWindow window;
    TCreeBD &form = window.form;
    form.ReliureCheck->setChecked(true);
    form.DescriptCheck->setChecked(true);
    form.Descript->setText(QStringLiteral("/bd/desc.rtf"));
    form.DestinationBD->setText(QStringLiteral("/bd/livre.bd"));
    window.add(form.Ajouter, {"a.jpg"});
    window.choose(form.ListePages, 0, form.N1231);

    form.Fermer->Click();
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(form.PageFiles.isEmpty());
    form.show();
    EXPECT_EQ(form.ListePages->count(), 0);
    EXPECT_TRUE(form.CreationConstraints.empty());
    EXPECT_EQ(form.DestinationBD->text(), QStringLiteral("/bd/livre.bd"));
    EXPECT_TRUE(form.ReliureCheck->isChecked());
    EXPECT_TRUE(form.Descript->isEnabled());

    window.add(form.Ajouter, {"a.jpg", "b.jpg", "c.jpg"});
    form.QuatrsCheck->setChecked(true);
    window.impose(form.ListePages, 2, QStringLiteral("2"));
    EXPECT_FALSE(form.GradButton3->isEnabled());
    window.prompter.messages.clear();
    form.RAZ->Click();
    EXPECT_TRUE(window.prompter.messages.empty()) << "the lists are emptied before any preview";
    for (QLineEdit *field : {form.Reliure, form.Descript, form.DestinationBD})
        EXPECT_TRUE(field->text().isEmpty());
    for (QCheckBox *box : {form.ReliureCheck, form.QuatrsCheck, form.DescriptCheck})
        EXPECT_FALSE(box->isChecked());
    EXPECT_FALSE(form.Descript->isEnabled());
    EXPECT_FALSE(form.GradButton4->isEnabled());
    EXPECT_FALSE(form.Quatrs->isEnabled());
    EXPECT_EQ(form.ListePages->count(), 0);
    EXPECT_TRUE(form.PageFiles.isEmpty());
    EXPECT_TRUE(form.CreationConstraints.empty());
    EXPECT_TRUE(form.GradButton3->isEnabled());
}

TEST(CreationWindow, BackCoversCountOnlyWhileTheirBoxIsChecked)
{
    CreationWindow window;
    TCreeBD &form = window.form;
    form.QuatrsCheck->setChecked(true);
    window.add(form.Ajouter, {"a.jpg", "b.jpg"});
    window.add(form.GradButton6, {"q.jpg"});
    EXPECT_EQ(CreationWindow::rows(form.ListePages), (QStringList{"1 a", "2 b", "3 Page blanche"}));

    form.QuatrsCheck->setChecked(false);
    EXPECT_EQ(CreationWindow::rows(form.ListePages),
              (QStringList{"1 a", "2 b", "3 Page blanche", "4 Page blanche"}));
    EXPECT_EQ(CreationWindow::rows(form.Quatrs), QStringList{"q"});
    form.QuatrsCheck->setChecked(true);
    EXPECT_EQ(CreationWindow::rows(form.Quatrs), QStringList{"4 q"});
}

TEST(CreationWindow, DestinationGetsTheBookExtensionAndAnUnconfirmedReplaceIsAsked)
{
    CreationWindow window;
    TCreeBD &form = window.form;
    window.add(form.Ajouter, {"a.jpg"});
    WriteFileBytes(window.dir / "livre.bd", ToBytes("avant"));
    const QString chosen = QtPath(window.dir / "livre");

    // The dialog confirmed "livre", not "livre.bd", which exists.
    window.dialogs.choose({chosen});
    form.GradButton2->Click();
    EXPECT_EQ(form.DestinationBD->text(), chosen + QStringLiteral(".bd"));
    form.GradButton3->Click();
    EXPECT_EQ(window.prompter.texts(),
              std::vector<QString>{QStringLiteral("Le fichier ") + chosen +
                                   QStringLiteral(".bd existe déjà. Voulez-vous le "
                                                  "remplacer ?")});
    EXPECT_EQ(ReadFileBytes(window.dir / "livre.bd"), ToBytes("avant"));

    // Chosen in the dialog under its own name: replaced without a question.
    window.prompter.messages.clear();
    window.dialogs.choose({chosen + QStringLiteral(".bd")});
    form.GradButton2->Click();
    form.GradButton3->Click();
    EXPECT_EQ(window.prompter.texts(), std::vector<QString>{Success});
    EXPECT_NE(ReadFileBytes(window.dir / "livre.bd"), ToBytes("avant"));
}

// The save dialog asks only about a file it sees: a link leading nowhere is asked about when
// the book is written.
TEST(CreationWindow, ALinkLeadingNowhereChosenInTheDialogIsAskedAbout)
{
    CreationWindow window;
    TCreeBD &form = window.form;
    window.add(form.Ajouter, {"a.jpg"});
    std::filesystem::create_symlink("ailleurs.bd", window.dir / "lien.bd");
    const QString link = QtPath(window.dir / "lien.bd");
    window.prompter.answer(MessageAnswer::Yes);

    window.dialogs.choose({link});
    form.GradButton2->Click();
    form.GradButton3->Click();

    EXPECT_EQ(window.prompter.texts(),
              (std::vector<QString>{QStringLiteral("Le fichier ") + link +
                                        QStringLiteral(" existe déjà. Voulez-vous le remplacer ?"),
                                    Success}));
    EXPECT_TRUE(std::filesystem::is_symlink(window.dir / "lien.bd"));
    const Bytes written = ReadFileBytes(window.dir / "ailleurs.bd");
    EXPECT_TRUE(!written.empty() && written.front() == 0xFF);
}

TEST(CreationWindow, OpensFromTheMainWindowAndNeverReplacesTheOpenBook)
{
    Program program;
    Forms &forms = program.forms;
    const TempDir &dir = program.dir;
    WriteFileBytes(dir / "page.jpg", MakeJpeg(8, 8));
    WriteFileBytes(dir / "ouvert.bd", AssembleBook({MakeJpeg(8, 8)}));
    forms.Form1.state.CurrentFile = QtPath(dir / "ouvert.bd");

    bool shownModally = false;
    QTimer::singleShot(0, [&] {
        TCreeBD &creation = forms.CreeBD;
        shownModally = creation.isVisible() && creation.isModal();
        program.dialogs.choose({QtPath(dir / "page.jpg")});
        creation.Ajouter->Click();
        creation.DestinationBD->setText(QtPath(dir / "ouvert.bd"));
        creation.GradButton3->Click();
        creation.Fermer->Click();
    });
    ASSERT_TRUE(forms.Form1.CrationduneBD1->isEnabled());
    forms.Form1.CrationduneBD1->trigger();

    EXPECT_TRUE(shownModally);
    EXPECT_EQ(program.prompter.texts(),
              std::vector<QString>{QStringLiteral("Le fichier ") + QtPath(dir / "ouvert.bd") +
                                   QStringLiteral(" est la bande dessinée ouverte : il ne peut "
                                                  "pas être remplacé.")});
    EXPECT_EQ(ReadFileBytes(dir / "ouvert.bd"), AssembleBook({MakeJpeg(8, 8)}));
}

// A book made in the window opens in the viewer with the pages and blank pages the preview
// showed, and its images pass their checks.
TEST(CreationWindow, BookOpensAsPreviewed)
{
    CreationWindow creation;
    TCreeBD &form = creation.form;
    form.ReliureCheck->setChecked(true);
    form.QuatrsCheck->setChecked(true);
    creation.dialogs.choose({creation.image("couverture.jpg")});
    form.GradButton4->Click();
    creation.add(form.Ajouter, {"p1.jpg", "p2.jpg", "p3.jpg", "p4.jpg", "p5.jpg"});
    creation.add(form.GradButton6, {"q1.jpg", "q2.jpg"});
    creation.choose(form.ListePages, 0, form.IIIIII1);
    creation.choose(form.ListePages, 2, form.N1231);
    creation.choose(form.ListePages, 3, form.Agauche1);
    creation.impose(form.ListePages, 4, QStringLiteral("5"));
    creation.choose(form.Quatrs, 1, form.IIIIII2);
    const QStringList pageRows = {"*i p1",          "ii p2",          "*1 p3", "*2 p4",
                                  "3 Page blanche", "4 Page blanche", "*5 p5", "6 Page blanche"};
    const QStringList quatrRows = {"7 q1", "8 Page blanche", "*I q2"};
    ASSERT_EQ(CreationWindow::rows(form.ListePages), pageRows);
    ASSERT_EQ(CreationWindow::rows(form.Quatrs), quatrRows);

    creation.dialogs.choose({QtPath(creation.dir / "album.bd")});
    form.GradButton2->Click();
    form.GradButton3->Click();
    ASSERT_EQ(creation.prompter.texts(), std::vector<QString>{Success});

    Window viewer;
    viewer.form.Charge(QtPath(creation.dir / "album.bd"));
    EXPECT_TRUE(viewer.prompter.messages.empty()) << viewer.prompter.texts().front().toStdString();
    QStringList shown;
    for (const PageEntry &entry : viewer.form.state.PageList)
        shown << entry.Name + (entry.Image == -1 ? QStringLiteral(" blank") : QString());
    QStringList previewed;
    for (const QString &row : pageRows + quatrRows) {
        const QString label = row.section(QLatin1Char(' '), 0, 0).remove(QLatin1Char('*'));
        const bool blank = row.endsWith(QStringLiteral("Page blanche"));
        previewed << label + (blank ? QStringLiteral(" blank") : QString());
    }
    EXPECT_EQ(shown.join(QStringLiteral(", ")), previewed.join(QStringLiteral(", ")));
    EXPECT_EQ(viewer.form.state.LeadCount, 1);
}
