#include "app/Forms.h"
#include "app/adapters/QtDialogs.h"
#include "app/book/BookLayout.h"
#include "app/core/creation/CreationMeta.h"
#include "app/core/description/Rtf.h"
#include "app/core/files/BookWriter.h"
#include "app/text/UserError.h"

#include "tests/app/WindowFixture.h"
#include "tests/support/BookFixture.h"
#include "tests/support/ConcurrentWriter.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/QtPath.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>

namespace {

// The RTF that the editor writes for a document with the given paragraphs of plain text.
Bytes rtfOf(const QString &text)
{
    QTextDocument document;
    document.setPlainText(text);
    return WriteRtf(document);
}

// The page list as "label:image" entries.
QStringList pagesOf(const MainWindowState &state)
{
    QStringList pages;
    for (const PageEntry &entry : state.PageList)
        pages << entry.Name + ':' + QString::number(entry.Image);
    return pages;
}

// Where record index of a book starts.
std::int64_t metaRecordOffset(const std::filesystem::path &book, std::int32_t index)
{
    std::ifstream stream(book, std::ios::binary);
    return BookLayout::Read(stream).record(index).offset;
}

// The position of the four bytes "%EOF" in bytes, or npos.
std::size_t eofIn(const Bytes &bytes)
{
    const std::string text(bytes.begin(), bytes.end());
    return text.find("%EOF");
}

class Description : public testing::Test, protected Program {
protected:
    Description() { form.show(); }

    TForm1 &form = forms.Form1;
    TDesc &desc = forms.Desc;

    // A book as the creation window makes it: a cover, three pages, two back covers, a
    // numbering constraint and the description.
    std::filesystem::path creationBook(const Bytes &description)
    {
        CreationContent content;
        const auto image = [&](const std::string &name, QColor colour) {
            WriteFileBytes(dir / name, MakeJpeg(40, 60, colour));
            return QtPath(dir / name);
        };
        content.Cover = image("cover.jpg", Qt::gray);
        content.CoverChecked = true;
        content.PageFiles = {image("p1.jpg", Qt::red), image("p2.jpg", Qt::green),
                             image("p3.jpg", Qt::blue)};
        content.QuatrsFiles = {image("q1.jpg", Qt::cyan), image("q2.jpg", Qt::yellow)};
        content.QuatrsChecked = true;
        content.Constraints.push_back({content.PageFiles[1], 3, 7});
        WriteFileBytes(dir / "description.rtf", description);
        content.Description = QtPath(dir / "description.rtf");
        content.DescriptionChecked = true;
        const auto book = dir / "Album.bd";
        WriteCreatedBook(content, QtPath(book));
        return book;
    }

    // A book of two images and, when given, a meta record.
    std::filesystem::path plainBook(const std::optional<Bytes> &meta)
    {
        std::vector<Bytes> records = {MakeJpeg(40, 60, Qt::red), MakeJpeg(40, 60, Qt::blue)};
        if (meta)
            records.push_back(*meta);
        const auto book = dir / "Simple.bd";
        WriteFileBytes(book, AssembleBook(records));
        return book;
    }

    // Chooses the editor command; while the editor is shown, whileShown runs, and then the
    // editor is closed without saving if it is still open. False when it never showed.
    bool runEditor(const std::function<void()> &whileShown = [] {})
    {
        bool shown = false;
        QTimer::singleShot(0, &desc, [&] {
            shown = QApplication::activeModalWidget() == &desc;
            whileShown();
            if (desc.isVisible())
                desc.QuitterClick();
        });
        form.AjouterRemplacerladescription1->trigger();
        QCoreApplication::processEvents();
        return shown;
    }

    // Chooses the viewer command; the text it shows, nothing when no viewer opened. While it
    // is shown, whileShown looks at its text area.
    std::optional<QString> runViewer(const std::function<void(const QTextEdit &)> &whileShown =
                                         [](const QTextEdit &) {})
    {
        std::optional<QString> shown;
        QTimer::singleShot(0, &form, [&] {
            QWidget *viewer = QApplication::activeModalWidget();
            if (!viewer)
                return;
            EXPECT_EQ(viewer->windowTitle(), QStringLiteral("Description"));
            EXPECT_EQ(viewer->size(), QSize(400, 300));
            const auto *text = viewer->findChild<QTextEdit *>();
            EXPECT_TRUE(text && text->isReadOnly());
            shown = text ? text->toPlainText() : QString();
            if (text)
                whileShown(*text);
            viewer->close();
        });
        form.Description->trigger();
        QCoreApplication::processEvents();
        return shown;
    }

    // Selects the characters from..to of the editor's text.
    void select(int from, int to)
    {
        QTextCursor cursor = desc.RichEdit1->textCursor();
        cursor.setPosition(from);
        cursor.setPosition(to, QTextCursor::KeepAnchor);
        desc.RichEdit1->setTextCursor(cursor);
    }

    QTextCharFormat formatAt(int position)
    {
        QTextCursor cursor(desc.RichEdit1->document());
        cursor.setPosition(position);
        return cursor.charFormat();
    }
};

} // namespace

TEST_F(Description, EditorCommandWithoutABook)
{
    EXPECT_TRUE(form.AjouterRemplacerladescription1->isEnabled());
    EXPECT_FALSE(runEditor());
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, QStringLiteral("Aucun fichier chargé."));
    EXPECT_EQ(prompter.messages[0].icon, MessageIcon::Information);
    EXPECT_EQ(prompter.messages[0].buttons, MessageButtons::Ok);

    // A PDF document has no description: the command does nothing.
    prompter.messages.clear();
    form.state.CurrentFile = QtPath(dir / "Album.PDF");
    EXPECT_FALSE(runEditor());
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(Description, SavingAnUnchangedDescriptionLeavesTheBookAsItWas)
{
    QTextDocument rich;
    QTextCursor cursor(&rich);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    cursor.insertText(QStringLiteral("Une histoire "), bold);
    cursor.insertText(QStringLiteral("d'été"));
    const Bytes description = WriteRtf(rich);
    const auto book = creationBook(description);
    const Bytes before = ReadFileBytes(book);
    form.Charge(QtPath(book));
    ASSERT_TRUE(prompter.messages.empty());
    const QStringList pages = pagesOf(form.state);
    EXPECT_TRUE(pages.contains(QStringLiteral("2:-1"))) << "numbered with blank pages";
    EXPECT_TRUE(form.Description->isVisible());

    QString edited;
    EXPECT_TRUE(runEditor([&] {
        edited = desc.RichEdit1->toPlainText();
        desc.Sauver->click();
    }));
    EXPECT_EQ(edited, QStringLiteral("Une histoire d'été"));
    EXPECT_FALSE(desc.isVisible());
    EXPECT_EQ(ReadFileBytes(book), before);

    // The shared stream reads the book again: pages, MD5 checks and numbering are the same.
    form.Charge(QtPath(book));
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(pagesOf(form.state), pages);
}

TEST_F(Description, EditedDescriptionKeepsTheMetadataLinesAndThePages)
{
    const auto book = creationBook(ToBytes("{\\rtf1 Ancien texte}\r\n"));
    const Bytes before = ReadFileBytes(book);
    WriteFileBytes(dir / "before.bd", before);
    form.Charge(QtPath(book));
    const QStringList pages = pagesOf(form.state);

    EXPECT_TRUE(runEditor([&] {
        desc.RichEdit1->selectAll();
        QTest::keyClicks(desc.RichEdit1, QStringLiteral("Nouveau 100 %EOF"));
        desc.SauverClick();
    }));

    const Bytes after = ReadFileBytes(book);
    // The images are unchanged up to the meta record's length, the lines from "%EOF" on too.
    const auto meta = std::ptrdiff_t(metaRecordOffset(book, 6));
    EXPECT_EQ(meta, metaRecordOffset(dir / "before.bd", 6));
    EXPECT_TRUE(std::equal(before.begin(), before.begin() + meta - 4, after.begin()));
    const Bytes tailBefore(before.begin() + std::ptrdiff_t(eofIn(before)), before.end());
    const Bytes tailAfter(after.begin() + std::ptrdiff_t(eofIn(after)), after.end());
    EXPECT_EQ(tailAfter, tailBefore);
    const Bytes stored(after.begin() + meta, after.begin() + std::ptrdiff_t(eofIn(after)));
    EXPECT_EQ(stored, WriteRtf(*desc.RichEdit1->document()));

    form.Charge(QtPath(book));
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(pagesOf(form.state), pages);
    EXPECT_TRUE(runEditor(
        [&] { EXPECT_EQ(desc.RichEdit1->toPlainText(), QStringLiteral("Nouveau 100 %EOF")); }));
}

TEST_F(Description, ABookWithoutMetaRecordGetsOneHoldingOnlyTheDescription)
{
    const auto book = plainBook(std::nullopt);
    const Bytes before = ReadFileBytes(book);
    form.Charge(QtPath(book));
    EXPECT_FALSE(form.Description->isVisible());

    EXPECT_TRUE(runEditor([&] {
        EXPECT_TRUE(desc.RichEdit1->toPlainText().isEmpty());
        desc.RichEdit1->insertPlainText(QStringLiteral("Première ligne"));
        desc.Sauver->click();
    }));

    EXPECT_TRUE(form.Description->isVisible());
    const Bytes expected = AssembleBook({MakeJpeg(40, 60, Qt::red), MakeJpeg(40, 60, Qt::blue),
                                         WriteRtf(*desc.RichEdit1->document())});
    EXPECT_EQ(ReadFileBytes(book), expected);
    EXPECT_EQ(runViewer(), QStringLiteral("Première ligne"));

    form.Charge(QtPath(book));
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(pagesOf(form.state), (QStringList{"1:0", "2:1"}));
    EXPECT_TRUE(form.Description->isVisible());
}

TEST_F(Description, WhatTheEditorAndTheViewerLoad)
{
    const std::vector<std::string> lines = {"%EOF", "%MD5", Md5TextOf(MakeJpeg(40, 60, Qt::red)),
                                            Md5TextOf(MakeJpeg(40, 60, Qt::blue))};
    const struct {
        const char *name;
        Bytes meta;
        const char *editor;
        std::optional<QString> viewer;
    } cases[] = {
        {"a description", MakeMetaRecord("{\\rtf1 \\b Bonjour}\r\n", lines), "Bonjour",
         QStringLiteral("Bonjour")},
        {"no %EOF: the whole record", ToBytes("{\\rtf1 Tout}\r\nla suite"), "Tout",
         QStringLiteral("Tout")},
        {"%EOF inside the text", MakeMetaRecord("{\\rtf1 avant %EOF apr\\'e8s}\r\n", lines),
         "avant ", QStringLiteral("avant %EOF après")},
        {"plain text", MakeMetaRecord("Texte simple\r\n", lines), "Texte simple\n", std::nullopt},
        {"two documents: the viewer reads the first", ToBytes("{\\rtf1 a}{\\rtf1 b}"), "a",
         QStringLiteral("a")},
        {"no \"}\": the viewer shows nothing", ToBytes("x"), "x", std::nullopt},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        form.Charge(QtPath(plainBook(c.meta)));
        ASSERT_TRUE(form.Description->isVisible());
        prompter.messages.clear();
        EXPECT_TRUE(runEditor(
            [&] { EXPECT_EQ(desc.RichEdit1->toPlainText(), QString::fromUtf8(c.editor)); }));
        EXPECT_EQ(runViewer(), c.viewer);
        EXPECT_TRUE(prompter.messages.empty());
    }
}

TEST_F(Description, EditorReplacesTheTextOfTheLastShowing)
{
    form.Charge(QtPath(plainBook(MakeMetaRecord("{\\rtf1 Premier}\r\n", {"%EOF"}))));
    EXPECT_TRUE(runEditor([&] { QTest::keyClicks(desc.RichEdit1, QStringLiteral("abandon")); }));
    EXPECT_TRUE(
        runEditor([&] { EXPECT_EQ(desc.RichEdit1->toPlainText(), QStringLiteral("Premier")); }));

    // Undo does not bring back the text of another showing.
    EXPECT_TRUE(runEditor([&] {
        desc.AnnulerClick();
        EXPECT_EQ(desc.RichEdit1->toPlainText(), QStringLiteral("Premier"));
    }));
}

TEST_F(Description, ToolBarInOrder)
{
    const struct {
        QWidget *item;
        int left;
        int width;
    } items[] = {
        {desc.Gras, 0, 23},
        {desc.Italique, 23, 23},
        {desc.Souligne, 46, 23},
        {desc.Barre, 69, 23},
        {desc.Couleur, 100, 23},
        {desc.Polive, 123, 23},
        {desc.Gauche, 154, 23},
        {desc.Milieu, 177, 23},
        {desc.Droite, 200, 23},
        {desc.Couper, 231, 23},
        {desc.copier, 254, 23},
        {desc.Coller, 277, 23},
        {desc.Label1, 308, desc.Label1->width()},
    };
    for (const auto &i : items) {
        EXPECT_EQ(i.item->geometry(), QRect(i.left, 2, i.width, 22)) << i.left;
        if (auto *button = qobject_cast<QToolButton *>(i.item)) {
            EXPECT_FALSE(button->icon().isNull()) << i.left;
        }
    }
    // The size box, undo and the two push buttons follow the label without gaps.
    int x = desc.Label1->geometry().right() + 1;
    for (const auto &[item, width] : std::initializer_list<std::pair<QWidget *, int>>{
             {desc.Taille, 48}, {desc.Annuler, 23}, {desc.Sauver, 75}, {desc.Quitter, 75}}) {
        EXPECT_EQ(item->geometry(), QRect(x, 2, width, 22));
        x += width;
    }
    EXPECT_EQ(desc.Label1->text(), QStringLiteral("Taille"));
    EXPECT_EQ(desc.Sauver->text(), QStringLiteral("Enregistrer"));
    EXPECT_EQ(desc.Quitter->text(), QStringLiteral("Quitter"));
    EXPECT_EQ(desc.Taille->minimum(), 10);
    EXPECT_EQ(desc.Taille->maximum(), 100);

    desc.show();
    desc.resize(700, 500);
    EXPECT_EQ(desc.ToolBar1->geometry(), QRect(0, 0, 700, 29));
    EXPECT_EQ(desc.RichEdit1->geometry(), QRect(0, 29, 700, 471));
}

TEST_F(Description, StyleButtonsToggleTheSelectionAndFollowIt)
{
    desc.show();
    desc.loadDescription(ToBytes("{\\rtf1 un {\\b deux} trois}"));
    const struct {
        QToolButton *button;
        std::function<void()> click;
        std::function<bool(const QTextCharFormat &)> holds;
    } styles[] = {
        {desc.Gras, [&] { desc.GrasClick(); },
         [](const QTextCharFormat &f) { return f.fontWeight() >= QFont::Bold; }},
        {desc.Italique, [&] { desc.ItaliqueClick(); },
         [](const QTextCharFormat &f) { return f.fontItalic(); }},
        {desc.Souligne, [&] { desc.SouligneClick(); },
         [](const QTextCharFormat &f) { return f.fontUnderline(); }},
        {desc.Barre, [&] { desc.BarreClick(); },
         [](const QTextCharFormat &f) { return f.fontStrikeOut(); }},
    };
    for (const auto &s : styles) {
        SCOPED_TRACE(s.button->toolTip().toStdString());
        // "un deux": only part of it has the style, so the first click gives it to all.
        select(0, 7);
        const bool boldAlready = s.button == desc.Gras;
        EXPECT_FALSE(s.button->isChecked());
        s.click();
        EXPECT_TRUE(s.button->isChecked());
        EXPECT_TRUE(s.holds(formatAt(1)) && s.holds(formatAt(7)));
        EXPECT_FALSE(s.holds(formatAt(9))) << "trois keeps its style";
        s.click();
        EXPECT_FALSE(s.button->isChecked());
        EXPECT_FALSE(s.holds(formatAt(1)) || s.holds(formatAt(7)));
        // The other styles are kept: "deux" stays bold unless bold was toggled.
        EXPECT_EQ(formatAt(5).fontWeight() >= QFont::Bold, !boldAlready);

        // Moving the selection shows the style of what it covers.
        select(4, 6);
        EXPECT_EQ(s.button->isChecked(), s.holds(formatAt(5)));
        desc.loadDescription(ToBytes("{\\rtf1 un {\\b deux} trois}"));
    }

    // Without a selection the style applies to what is typed next.
    desc.RichEdit1->moveCursor(QTextCursor::End);
    desc.GrasClick();
    QTest::keyClicks(desc.RichEdit1, QStringLiteral("X"));
    EXPECT_GE(formatAt(desc.RichEdit1->toPlainText().size()).fontWeight(), QFont::Bold);
    EXPECT_TRUE(desc.Gras->isChecked());
}

TEST_F(Description, SizeBoxFollowsTheSelectionAndSetsItsSize)
{
    desc.show();
    desc.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&desc));
    desc.loadDescription(ToBytes("{\\rtf1 \\fs16 petit \\fs40 moyen \\fs400 grand}"));
    const struct {
        int from;
        int shown;
    } sizes[] = {{1, 10}, {8, 20}, {15, 100}};
    for (const auto &s : sizes) {
        select(s.from, s.from + 2);
        EXPECT_EQ(desc.Taille->value(), s.shown) << s.from;
    }
    EXPECT_EQ(formatAt(16).fontPointSize(), 200) << "showing a size changes nothing";

    // Typed sizes apply at once, also outside the box's range, until the box is left.
    select(0, 5);
    desc.Taille->setFocus();
    desc.Taille->selectAll();
    QTest::keyClicks(desc.Taille, QStringLiteral("250"));
    EXPECT_EQ(formatAt(3).fontPointSize(), 250);
    desc.RichEdit1->setFocus();
    EXPECT_EQ(desc.Taille->text(), QStringLiteral("100"));
    EXPECT_EQ(formatAt(3).fontPointSize(), 100);

    // An empty box counts as 10; the arrows step within the range.
    select(6, 11);
    desc.Taille->setFocus();
    desc.Taille->selectAll();
    QTest::keyClick(desc.Taille, Qt::Key_Backspace);
    EXPECT_EQ(formatAt(8).fontPointSize(), 10);
    QTest::keyClick(desc.Taille, Qt::Key_Up);
    EXPECT_EQ(formatAt(8).fontPointSize(), 10) << "the first step brings the box into its range";
    QTest::keyClick(desc.Taille, Qt::Key_Up);
    EXPECT_EQ(formatAt(8).fontPointSize(), 11);
    EXPECT_EQ(formatAt(3).fontPointSize(), 100) << "the first word is not selected";
}

TEST_F(Description, ColourFontAndAlignment)
{
    desc.loadDescription(ToBytes("{\\rtf1 premier\\par second}"));
    select(0, 3);
    dialogs.choose({QStringLiteral("#1080f0")});
    desc.CouleurClick();
    EXPECT_EQ(formatAt(2).foreground().color(), QColor(0x10, 0x80, 0xf0));
    dialogs.cancel();
    desc.CouleurClick();
    EXPECT_EQ(formatAt(2).foreground().color(), QColor(0x10, 0x80, 0xf0));

    // The font dialog starts from the selection's font and gives it the chosen one.
    QFont chosen(QStringLiteral("DejaVu Serif"), 18);
    chosen.setItalic(true);
    dialogs.choose({chosen.toString()});
    desc.PoliveClick();
    ASSERT_EQ(dialogs.requests.size(), 3u);
    QFont shownFont;
    shownFont.fromString(dialogs.requests[2].dialog.FileName);
    EXPECT_EQ(shownFont.pointSizeF(), 12);
    EXPECT_EQ(formatAt(2).font().family(), QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(formatAt(2).fontPointSize(), 18);
    EXPECT_TRUE(formatAt(2).fontItalic());
    EXPECT_EQ(formatAt(2).foreground().color(), QColor(0x10, 0x80, 0xf0)) << "colour kept";
    EXPECT_EQ(desc.Taille->value(), 18);
    dialogs.cancel();
    desc.PoliveClick();
    EXPECT_EQ(formatAt(2).fontPointSize(), 18);

    // Alignment changes the paragraphs that the selection touches.
    select(3, 10);
    const struct {
        std::function<void()> click;
        Qt::Alignment alignment;
    } alignments[] = {{[&] { desc.MilieuClick(); }, Qt::AlignHCenter},
                      {[&] { desc.DroiteClick(); }, Qt::AlignRight},
                      {[&] { desc.GaucheClick(); }, Qt::AlignLeft}};
    for (const auto &a : alignments) {
        a.click();
        QTextDocument *document = desc.RichEdit1->document();
        EXPECT_EQ(document->firstBlock().blockFormat().alignment() & Qt::AlignHorizontal_Mask,
                  a.alignment);
        EXPECT_EQ(document->lastBlock().blockFormat().alignment() & Qt::AlignHorizontal_Mask,
                  a.alignment);
    }
}

namespace {

// The face a font shows in.
std::string faceOf(const QFont &font)
{
    return QFontInfo(font).family().toStdString();
}

// The face a text area shows the character at position in.
std::string faceAt(const QTextEdit &text, int position)
{
    QTextCursor at(text.document());
    at.setPosition(position);
    return faceOf(at.charFormat().font().resolve(text.document()->defaultFont()));
}

// The face the system gives a family, as fc-match does.
std::string faceOf(const QString &family)
{
    QFont font;
    font.setFamilies({family});
    return faceOf(font);
}

} // namespace

// The editor, the viewer and the font dialog show a described font in the face the system
// gives its name (a metric-compatible one for these, when installed).
TEST_F(Description, DescribedFontsShowInTheFacesTheSystemGivesThem)
{
    const std::vector<std::string> lines = {"%EOF", "%MD5", Md5TextOf(MakeJpeg(40, 60, Qt::red)),
                                            Md5TextOf(MakeJpeg(40, 60, Qt::blue))};
    form.Charge(QtPath(plainBook(MakeMetaRecord("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\froman "
                                                "Times New Roman;}{\\f1\\fswiss Arial;}}"
                                                "\\f0 Romain \\f1 Suisse}\r\n",
                                                lines))));
    const std::string roman = faceOf(QStringLiteral("Times New Roman"));
    const std::string swiss = faceOf(QStringLiteral("Arial"));
    EXPECT_TRUE(runEditor([&] {
        EXPECT_EQ(faceAt(*desc.RichEdit1, 1), roman);
        EXPECT_EQ(faceAt(*desc.RichEdit1, 8), swiss);
        select(0, 6);
        dialogs.cancel();
        desc.PoliveClick();
    }));
    ASSERT_EQ(dialogs.requests.size(), 1u);
    QFont start;
    start.fromString(dialogs.requests[0].dialog.FileName);
    EXPECT_EQ(faceOf(start), roman) << "the font dialog starts from the face shown";
    runViewer([&](const QTextEdit &text) {
        EXPECT_EQ(faceAt(text, 1), roman);
        EXPECT_EQ(faceAt(text, 8), swiss);
    });
}

// A font chosen in the dialog is saved with the class its face gives; a change of size alone
// keeps the font and its class.
TEST_F(Description, ChosenFontsAreSavedWithTheirClass)
{
    const QStringList families = QFontDatabase::families();
    const auto fixed = std::find_if(families.cbegin(), families.cend(), [](const QString &family) {
        return QFontInfo(QFont(family)).fixedPitch(); // of the face shown, for an alias too
    });
    struct Choice {
        QFont font;
        std::string written;
    };
    std::vector<Choice> choices = {
        {QFont(QStringLiteral("Times New Roman"), 20), "\\froman\\fcharset0 Times New Roman;"},
        {QFont(QStringLiteral("DejaVu Sans"), 12), "\\fswiss\\fcharset0 DejaVu Sans;"},
    };
    if (fixed != families.cend())
        choices.push_back(
            {QFont(*fixed, 12), "\\fmodern\\fcharset0 " + fixed->toStdString() + ';'});
    for (const Choice &choice : choices) {
        SCOPED_TRACE(choice.written);
        desc.loadDescription(ToBytes("{\\rtf1{\\fonttbl{\\f0\\froman Times New Roman;}}\\f0 mot}"));
        select(0, 3);
        dialogs.choose({choice.font.toString()});
        desc.PoliveClick();
        const Bytes saved = WriteRtf(*desc.RichEdit1->document());
        const std::string text(saved.begin(), saved.end());
        EXPECT_NE(text.find("{\\f0" + choice.written + '}'), std::string::npos) << text;
        EXPECT_EQ(text.find("\\f1"), std::string::npos) << text;
    }
}

// With the program's own font dialog: OK without a change leaves a bold word as it was.
TEST_F(Description, FontDialogKeepsTheSelectionsFont)
{
    QtDialogs qtDialogs;
    TDesc editor(form.state, prompter, qtDialogs);
    editor.loadDescription(ToBytes("{\\rtf1 un {\\b gras} mot}"));
    QTextCursor cursor = editor.RichEdit1->textCursor();
    cursor.setPosition(3);
    cursor.setPosition(7, QTextCursor::KeepAnchor);
    editor.RichEdit1->setTextCursor(cursor);
    const auto fontAt = [&](int position) {
        QTextCursor at(editor.RichEdit1->document());
        at.setPosition(position);
        return at.charFormat().font().resolve(editor.RichEdit1->document()->defaultFont());
    };
    const QFont before = fontAt(5);
    ASSERT_TRUE(before.bold());

    QTimer::singleShot(0, [] {
        if (QWidget *box = QApplication::activeModalWidget())
            qobject_cast<QDialog *>(box)->accept();
    });
    editor.PoliveClick();
    const QFont after = fontAt(5);
    EXPECT_EQ(after.families().join(',').toStdString(), before.families().join(',').toStdString());
    EXPECT_EQ(after.pointSizeF(), before.pointSizeF());
    EXPECT_TRUE(after.bold());
    EXPECT_TRUE(editor.Gras->isChecked());
}

TEST_F(Description, CutCopyPasteAndUndo)
{
    desc.loadDescription(ToBytes("{\\rtf1 abc def}"));
    select(0, 4);
    desc.CouperClick();
    EXPECT_EQ(desc.RichEdit1->toPlainText(), QStringLiteral("def"));
    desc.RichEdit1->moveCursor(QTextCursor::End);
    desc.CollerClick();
    EXPECT_EQ(desc.RichEdit1->toPlainText(), QStringLiteral("defabc "));
    select(0, 3);
    desc.copierClick();
    desc.RichEdit1->moveCursor(QTextCursor::End);
    desc.CollerClick();
    EXPECT_EQ(desc.RichEdit1->toPlainText(), QStringLiteral("defabc def"));
    desc.AnnulerClick();
    EXPECT_EQ(desc.RichEdit1->toPlainText(), QStringLiteral("defabc "));
}

TEST_F(Description, PastingLeavesOutPicturesAndObjects)
{
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(Qt::red);
    using Fill = std::function<void(QMimeData &)>;
    const struct {
        const char *name;
        Fill fill;
        QString pasted;
    } cases[] = {
        {"a picture alone", [&](QMimeData &m) { m.setImageData(picture); }, QString()},
        {"a page with a picture, as a browser copies it",
         [&](QMimeData &m) {
             m.setImageData(picture);
             m.setHtml(QStringLiteral("<b>x</b><img src=\"data:image/png;base64,"
                                      "iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAIAAACQd1PeAAAADElEQVR4"
                                      "nGP4z8AAAAMBAQDJ/pLvAAAAAElFTkSuQmCC\">y"));
             m.setText(QStringLiteral("xy"));
         },
         QStringLiteral("xy")},
        {"text holding the object replacement character",
         [](QMimeData &m) { m.setText(QStringLiteral("x\uFFFCy")); }, QStringLiteral("xy")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        desc.loadDescription(ToBytes("{\\rtf1 d\\'e9but}"));
        desc.RichEdit1->moveCursor(QTextCursor::End);
        auto *data = new QMimeData;
        c.fill(*data);
        QGuiApplication::clipboard()->setMimeData(data);

        desc.CollerClick();
        EXPECT_EQ(desc.RichEdit1->document()->toRawText(), QStringLiteral("début") + c.pasted);
        if (c.pasted.isEmpty())
            continue;
        desc.AnnulerClick();
        EXPECT_EQ(desc.RichEdit1->toPlainText(), QStringLiteral("début")) << "one undo";
    }
}

TEST_F(Description, FailedSavesLeaveTheBookAndTheSharedStreamUsable)
{
    const auto book = plainBook(MakeMetaRecord("{\\rtf1 Ancien}\r\n", {"%EOF"}));

    // The book became unreadable: the error box, the editor closes, nothing is written.
    form.Charge(QtPath(book));
    EXPECT_TRUE(runEditor([&] {
        WriteFileBytes(book, ToBytes("xy"));
        desc.Sauver->click();
        EXPECT_FALSE(desc.isVisible());
    }));
    EXPECT_EQ(prompter.texts(),
              std::vector<QString>{"Impossible d'ouvrir le fichier " + QtPath(book) + "."});
    EXPECT_EQ(ReadFileBytes(book), ToBytes("xy"));

    // The book cannot be written: the error reaches the crash report, the editor stays open
    // with its text, and the book, unchanged, is open again.
    const auto other = plainBook(MakeMetaRecord("{\\rtf1 Ancien}\r\n", {"%EOF"}));
    const Bytes before = ReadFileBytes(other);
    form.Charge(QtPath(other));
    desc.loadDescription(rtfOf(QStringLiteral("Nouveau")));
    desc.show();
    {
        const FileSizeLimit limit(before.size() / 2);
        EXPECT_THROW(desc.SauverClick(), FileWriteError);
    }
    EXPECT_TRUE(desc.isVisible());
    EXPECT_EQ(desc.RichEdit1->toPlainText(), QStringLiteral("Nouveau"));
    EXPECT_EQ(ReadFileBytes(other), before);
    ASSERT_TRUE(form.state.Book.isOpen());
    EXPECT_EQ(ReadBookRecord(form.state.Book.stream(), nullptr, INT32_MAX), 3);
}

// Another program renames new versions over the book while its description is saved again
// and again: a save refused because the book changed shows its message and leaves the editor
// open with its text; one that went through closes it.
TEST_F(Description, ASaveRefusedForABookChangedMeanwhileKeepsTheEditorOpen)
{
    const Bytes page = MakeJpeg(40, 60, Qt::red);
    const auto book = plainBook(MakeMetaRecord("{\\rtf1 Ancien}\r\n", {"%EOF"}));
    form.Charge(QtPath(book));
    std::vector<Bytes> versions;
    for (int k = 1; k < 400; ++k) {
        Bytes first = page;
        first.resize(first.size() + std::size_t(k), 0);
        versions.push_back(AssembleBook({first, page, ToBytes("%EOF\r\n")}));
    }
    ConcurrentWriter writer(book, versions, ConcurrentWriter::Way::RenamedOver);
    ASSERT_TRUE(writer.started());

    const QString changed =
        "Le fichier " + QtPath(book) + " a été modifié pendant l'enregistrement.";
    while (writer.running()) {
        prompter.messages.clear();
        desc.loadDescription(rtfOf(QStringLiteral("Nouveau")));
        desc.show();
        desc.SauverClick();
        if (prompter.texts() == std::vector<QString>{changed}) {
            EXPECT_EQ(prompter.messages[0].icon, MessageIcon::Error);
            EXPECT_TRUE(desc.isVisible());
            EXPECT_EQ(desc.RichEdit1->toPlainText(), QStringLiteral("Nouveau"));
        } else {
            EXPECT_TRUE(prompter.messages.empty()) << prompter.messages[0].text.toStdString();
            EXPECT_FALSE(desc.isVisible());
        }
    }
    EXPECT_TRUE(writer.succeeded());
    desc.hide();
}

TEST_F(Description, PdfDocumentDisablesTheEditorCommand)
{
    const auto book = plainBook(MakeMetaRecord("{\\rtf1 x}\r\n", {"%EOF"}));
    form.Charge(QtPath(book));
    EXPECT_TRUE(form.AjouterRemplacerladescription1->isEnabled());
    // A PDF that cannot be counted still tells the command what it is.
    WriteFileBytes(dir / "Album.pdf", ToBytes("%PDF-1.4\n"));
    form.Charge(QtPath(dir / "Album.pdf"));
    EXPECT_FALSE(form.AjouterRemplacerladescription1->isEnabled());
    EXPECT_FALSE(form.Description->isVisible());
}
