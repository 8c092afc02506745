// The Qt picture dialog offscreen: its preview.
#include "app/adapters/QtDialogs.h"

#include "tests/support/BookFixture.h"
#include "tests/support/TempDir.h"

#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QScopeGuard>
#include <QTimer>

#include <gtest/gtest.h>

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

} // namespace
