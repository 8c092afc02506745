// The Qt dialogs offscreen: the picture dialog's preview, what the font dialog gives back.
#include "app/adapters/QtDialogs.h"
#include "app/widgets/WindowStyle.h"

#include "tests/support/BookFixture.h"
#include "tests/support/TempDir.h"

#include <QApplication>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QLabel>
#include <QLibraryInfo>
#include <QScopeGuard>
#include <QTimer>
#include <QTranslator>

#include <gtest/gtest.h>

#include <functional>

namespace {

// The file chosen before is previewed at once; then the file under the cursor, and nothing
// for a folder or a file that is no picture.
TEST(PictureDialog, PreviewFollowsTheFileUnderTheCursor)
{
    TempDir dir;
    WriteFileBytes(dir / "album.bd", AssembleBook({MakeJpeg(300, 150), MakeJpeg(20, 40)}));
    WriteFileBytes(dir / "page.jpg", MakeJpeg(40, 80));
    WriteFileBytes(dir / "notes.jpg", ToBytes("not a picture"));
    const auto path = [&](const char *name) {
        return QString::fromStdString((dir / name).string());
    };
    FileDialog dialog;
    dialog.Picture = true;
    dialog.FileName = path("album.bd");

    QSize shown;
    QStringList captions;
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        const auto close = qScopeGuard([box] { box->reject(); });
        auto *preview = box->findChild<QLabel *>(QStringLiteral("PicturePreview"));
        auto *size = box->findChild<QLabel *>(QStringLiteral("PicturePreviewSize"));
        ASSERT_TRUE(preview && size);
        shown = preview->pixmap().size();
        captions << size->text();
        for (const char *name : {"page.jpg", "notes.jpg", "page.jpg", "."}) {
            emit box->currentChanged(path(name));
            captions << size->text() + (preview->pixmap().isNull() ? "" : " shown");
        }
    });
    QtDialogs dialogs;

    EXPECT_FALSE(dialogs.openFile(dialog));
    EXPECT_EQ(shown, QSize(200, 100)); // 300 x 150 shrunk into the 200 x 200 box
    EXPECT_EQ(captions, (QStringList{"300 x 150", "40 x 80 shown", "", "40 x 80 shown", ""}));
}

// Runs the font dialog on font; edit acts in it as the user would, then OK is pressed.
QFont chooseFont(QFont font, const std::function<void(QFontDialog &)> &edit)
{
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QFontDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        edit(*box);
        box->accept();
    });
    QtDialogs dialogs;
    EXPECT_TRUE(dialogs.chooseFont(font));
    return font;
}

// The installed face of family in style, as the dialog lists it.
QFont installedFace(const QString &family, const QString &style)
{
    return QFontDatabase::font(family, style, 12);
}

void expectSameFont(const QFont &actual, const QFont &expected)
{
    EXPECT_EQ(actual.families().join(',').toStdString(),
              expected.families().join(',').toStdString());
    EXPECT_EQ(actual.pointSizeF(), expected.pointSizeF());
    EXPECT_EQ(actual.bold(), expected.bold());
    EXPECT_EQ(actual.italic(), expected.italic());
    EXPECT_EQ(actual.underline(), expected.underline());
    EXPECT_EQ(actual.strikeOut(), expected.strikeOut());
}

// The font dialog speaks French, as in the program, where the style names it gives a font
// ("Gras") differ from those the fonts list ("Bold").
class FontDialog : public testing::Test {
protected:
    FontDialog()
    {
        if (!french_.load(QLocale(QLocale::French), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            ADD_FAILURE() << "no French translation of Qt";
        QApplication::installTranslator(&french_);
    }
    ~FontDialog() override { QApplication::removeTranslator(&french_); }

private:
    QTranslator french_;
};

// OK without a change gives the font back, also when none of its families is installed (the
// dialog then shows the installed face that stands in for it, in the style nearest the
// font's: a bold italic font shows bold where the family has no italic face); what is
// changed applies alone.
TEST_F(FontDialog, GivesBackWhatTheUserDidNotChange)
{
    QFont editor = FormFont();
    editor.setPointSize(10);
    editor.setBold(true);
    QFont missing(QStringLiteral("Police introuvable"), 14);
    missing.setBold(true);
    missing.setItalic(true);
    missing.setUnderline(true);
    QFont installed(QFontInfo(QFont()).family(), 12);
    installed.setStrikeOut(true);
    for (const QFont &font : {editor, missing, installed}) {
        SCOPED_TRACE(font.toString().toStdString());
        const QFontInfo standIn(font);
        const QFont face = installedFace(standIn.family(), standIn.styleName());
        expectSameFont(chooseFont(font,
                                  [&](QFontDialog &box) {
                                      EXPECT_EQ(box.currentFont().family().toStdString(),
                                                standIn.family().toStdString());
                                      EXPECT_EQ(box.currentFont().bold(), face.bold());
                                      EXPECT_EQ(box.currentFont().italic(), face.italic());
                                  }),
                       font);

        QFont larger = font;
        larger.setPointSize(20);
        expectSameFont(chooseFont(font,
                                  [](QFontDialog &box) {
                                      QFont shown = box.currentFont();
                                      shown.setPointSize(20);
                                      box.setCurrentFont(shown);
                                  }),
                       larger);
    }
}

// The face picked is one that is installed: not bold, as the font is, of another family when
// there is one, italic when there is such a face.
TEST_F(FontDialog, AppliesAnotherFamilyAndStyle)
{
    QFont bold = FormFont();
    bold.setBold(true);
    const QString shown = QFontInfo(bold).family();
    QString family;
    QString style;
    int best = -1;
    for (const QString &candidate : QFontDatabase::families())
        for (const QString &candidateStyle : QFontDatabase::styles(candidate)) {
            const QFont face = installedFace(candidate, candidateStyle);
            if (face.bold())
                continue;
            const int score = (candidate != shown ? 2 : 0) + (face.italic() ? 1 : 0);
            if (score > best) {
                best = score;
                family = candidate;
                style = candidateStyle;
            }
        }
    ASSERT_GE(best, 0) << "no installed face that is not bold";
    SCOPED_TRACE((family + ' ' + style).toStdString());

    const QFont chosen = chooseFont(bold, [&](QFontDialog &box) {
        QFont picked(family, 16);
        picked.setStyleName(style); // the style picked in the list
        picked.setUnderline(true);
        box.setCurrentFont(picked);
    });
    EXPECT_EQ(chosen.families().join(',').toStdString(),
              (family != shown ? family : bold.families().join(',')).toStdString());
    EXPECT_EQ(chosen.pointSize(), 16);
    EXPECT_FALSE(chosen.bold());
    EXPECT_EQ(chosen.italic(), installedFace(family, style).italic());
    EXPECT_TRUE(chosen.underline());
}

} // namespace
