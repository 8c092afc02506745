// The two picture commands of the "Outils" menu, driven from the main window's menu.
#include "tests/app/WindowFixture.h"

#include "app/jpeg/Jpeg.h"
#include "tests/support/BookFixture.h"

#include <QAction>

#include <gtest/gtest.h>

namespace {

TEST(PictureCommands, ConvertOffersEveryPictureFormatWithAPreview)
{
    Window w;
    TempDir dir;
    WriteFileBytes(dir / "album.bd", AssembleBook({MakeJpeg(30, 20), MakeJpeg(10, 10)}));
    w.dialogs.choose({QString::fromStdString((dir / "album.bd").string())});

    w.form.Convertir1->trigger();

    ASSERT_EQ(w.dialogs.requests.size(), 1u);
    const FileDialog &asked = w.dialogs.requests[0].dialog;
    EXPECT_EQ(w.dialogs.requests[0].kind, ScriptedDialogs::Kind::Open);
    EXPECT_TRUE(asked.Picture);
    EXPECT_TRUE(asked.Filter.isEmpty());
    EXPECT_TRUE(asked.AllowMultiSelect);
    EXPECT_TRUE(asked.FileMustExist);
    EXPECT_TRUE(w.prompter.messages.empty());
    EXPECT_EQ(jpeg::ReadDimensions(ReadFileBytes(dir / "album.jpg")).width, 30);
}

TEST(PictureCommands, ExtractAsksForTheDestinationFolder)
{
    Window w;
    TempDir dir;
    const std::vector<Bytes> images = {MakeJpeg(30, 20), MakeJpeg(10, 10)};
    WriteFileBytes(dir / "album.bd", AssembleBook(images));
    w.form.Charge(QString::fromStdString((dir / "album.bd").string()));
    w.dialogs.choose({QString::fromStdString(dir.path().string())});

    w.form.Extrairelespages1->trigger();

    ASSERT_EQ(w.dialogs.requests.size(), 1u);
    EXPECT_EQ(w.dialogs.requests[0].kind, ScriptedDialogs::Kind::Folder);
    EXPECT_EQ(w.dialogs.requests[0].dialog.Title, "Sélectionner le dossier de destination");
    EXPECT_TRUE(w.prompter.messages.empty());
    EXPECT_EQ(ReadFileBytes(dir / "album" / "1.jpg"), images[0]);
    EXPECT_EQ(ReadFileBytes(dir / "album" / "2.jpg"), images[1]);
}

} // namespace
