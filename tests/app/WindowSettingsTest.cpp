#include "app/core/program/Settings.h"
#include "platform/Registry.h"
#include "tests/app/WindowFixture.h"
#include "tests/support/BookFixture.h"
#include "tests/support/TempDir.h"

#include <QFile>
#include <QGuiApplication>
#include <QScreen>

#include <gtest/gtest.h>

#include <functional>

namespace {

std::unique_ptr<platform::RegistryKey> SettingsKey()
{
    return platform::RegistryKey::open(platform::Hive::CurrentUser, "Software\\Quirelle", true);
}

} // namespace

TEST(WindowSettings, PlacementRoundTripThroughTheRegistry)
{
    {
        Window first;
        ASSERT_TRUE(first.start()); // nothing saved yet: it stays maximized
        EXPECT_TRUE(first.form.isMaximized());
        first.form.showNormal();
        first.form.move(40, 30);
        first.form.resize(500, 400);
        EXPECT_TRUE(first.form.close());
    }
    EXPECT_EQ(SettingsKey()->readString("Agrandissement"), "Normal");

    Window second;
    ASSERT_TRUE(second.start());
    EXPECT_FALSE(second.form.isMaximized());
    EXPECT_EQ(second.form.pos(), QPoint(40, 30));
    EXPECT_EQ(second.form.size(), QSize(500, 400));

    // Closed maximized: "Max", and the earlier bounds stay for the next normal window.
    second.form.showMaximized();
    EXPECT_TRUE(second.form.close());
    EXPECT_EQ(SettingsKey()->readString("Agrandissement"), "Max");
    EXPECT_EQ(SettingsKey()->readInteger("Largeur"), 500);
    Window third;
    ASSERT_TRUE(third.start());
    EXPECT_TRUE(third.form.isMaximized());
}

TEST(WindowSettings, DamagedOrLostPlacementsStillGiveAUsableWindow)
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    struct Case {
        const char *name;
        std::function<void(platform::RegistryKey &)> store;
        bool maximized;
    };
    const Case cases[] = {
        {"X missing",
         [](platform::RegistryKey &k) {
             k.writeString("Agrandissement", "Normal");
             k.writeInteger("Largeur", 500);
         },
         true},
        {"Hauteur as text",
         [](platform::RegistryKey &k) {
             SaveWindowPlacement({false, QRect(10, 10, 500, 400)});
             k.writeString("Hauteur", "quatre cents");
         },
         true},
        {"off every screen",
         [](platform::RegistryKey &) {
             SaveWindowPlacement({false, QRect(9000, -9000, 300, 200)});
         },
         false},
    };
    for (const Case &c : cases) {
        platform::RegistryKey::deleteTree(platform::Hive::CurrentUser, "Software\\Quirelle");
        c.store(*SettingsKey());
        Window window;
        ASSERT_TRUE(window.start()) << c.name;
        EXPECT_EQ(window.form.isMaximized(), c.maximized) << c.name;
        EXPECT_TRUE(window.form.frameGeometry().intersects(screen)) << c.name;
        EXPECT_TRUE(window.prompter.messages.empty()) << c.name;
    }
}

TEST(CommandLine, AFileNamedOnTheCommandLineOpensOnTheFirstPaint)
{
    TempDir folder;
    const std::vector<Bytes> images{MakeJpeg(40, 60), MakeJpeg(40, 60, Qt::blue)};
    std::vector<Bytes> records = images;
    records.push_back(MakeMetaRecord("{\\rtf1 }", StandardMetaLines(images)));
    const std::filesystem::path book = folder / "Livre.bd";
    WriteFileBytes(book, AssembleBook(records));

    Window window(QString::fromStdString(book.string()));
    ASSERT_TRUE(window.start());
    EXPECT_EQ(window.form.state.CurrentFile, QString::fromStdString(book.string()));
    EXPECT_FALSE(window.form.state.CommandLinePending);
}

TEST(CommandLine, AnArgumentNamingNothingOpensNothingAndSaysNothing)
{
    TempDir folder;
    Window window(QString::fromStdString((folder / "absent.bd").string()));
    ASSERT_TRUE(window.start());
    EXPECT_TRUE(window.form.state.CurrentFile.isEmpty());
    EXPECT_TRUE(window.form.state.CommandLinePending);
    EXPECT_TRUE(window.prompter.messages.empty());
}

// "quirelle caf\xe9.bd" in a UTF-8 locale: the argument as Qt gives it reads as the name spelled
// with U+FFFD, which is never opened in its place.
TEST(CommandLine, AnArgumentThatDoesNotDecodeOpensNoOtherFile)
{
    for (const bool twin : {false, true}) {
        SCOPED_TRACE(twin ? "twin beside it" : "alone");
        TempDir folder;
        const Bytes book = AssembleBook({MakeJpeg(40, 60)});
        WriteFileBytes(folder / "caf\xe9.bd", book);
        if (twin)
            WriteFileBytes(folder / "caf\xef\xbf\xbd.bd", book);
        const QString argument =
            QFile::decodeName(QByteArray::fromStdString((folder / "caf\xe9.bd").string()));

        Window window(argument);
        ASSERT_TRUE(window.start());
        EXPECT_EQ(window.prompter.texts(),
                  std::vector<QString>{QStringLiteral("Impossible d'ouvrir le fichier ") +
                                       argument + QStringLiteral(".")});
        EXPECT_TRUE(window.form.state.CurrentFile.isEmpty());
        EXPECT_FALSE(window.form.state.CommandLinePending);
    }
}
