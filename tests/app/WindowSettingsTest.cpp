#include "platform/PlatformRoot.h"
#include "platform/Registry.h"
#include "tests/app/WindowFixture.h"
#include "tests/support/BookFixture.h"
#include "tests/support/TempDir.h"

#include <QComboBox>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <optional>
#include <random>

#include <sys/stat.h>
#include <unistd.h>

namespace {

std::unique_ptr<platform::RegistryKey> SettingsKey()
{
    return platform::RegistryKey::open(platform::Hive::CurrentUser, "Software\\Quirelle", true);
}

void StorePlacement(platform::RegistryKey &key, const char *state, int x, int y, int width,
                    int height)
{
    key.writeString("Agrandissement", state);
    key.writeInteger("X", x);
    key.writeInteger("Y", y);
    key.writeInteger("Largeur", width);
    key.writeInteger("Hauteur", height);
}

// A book of two pages in its own folder.
struct TwoPageBook {
    TempDir folder;
    QString path = QString::fromStdString((folder / "Livre.bd").string());

    TwoPageBook()
    {
        const std::vector<Bytes> images{MakeJpeg(40, 60), MakeJpeg(40, 60, Qt::blue)};
        std::vector<Bytes> records = images;
        records.push_back(MakeMetaRecord("{\\rtf1 }", StandardMetaLines(images)));
        WriteFileBytes(folder / "Livre.bd", AssembleBook(records));
    }
};

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
             StorePlacement(k, "Normal", 10, 10, 500, 400);
             k.writeString("Hauteur", "quatre cents");
         },
         true},
        {"off every screen",
         [](platform::RegistryKey &k) { StorePlacement(k, "Normal", 9000, -9000, 300, 200); },
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
    const TwoPageBook book;
    Window window(book.path);
    ASSERT_TRUE(window.start());
    EXPECT_EQ(window.form.state.CurrentFile, book.path);
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

// The screens bound whatever placement the settings hold; "Max" stays maximized.
TEST(WindowSettings, AbsurdPlacementsGiveAWindowOnTheScreen)
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    struct Case {
        const char *name;
        const char *state;
        int x, y, width, height;
        bool maximized;
    };
    const Case cases[] = {
        {"all maximum", "Normal", INT_MAX, INT_MAX, INT_MAX, INT_MAX, false},
        {"all 100000", "Normal", 100000, 100000, 100000, 100000, false},
        {"covering the screen", "Normal", 0, 0, 100000, 100000, false},
        {"barely on the screen", "Normal", screen.right() - 9, screen.bottom() - 9, 400, 300,
         false},
        {"all minimum", "Normal", INT_MIN, INT_MIN, INT_MIN, INT_MIN, true},
        {"maximized", "Max", INT_MAX, INT_MAX, INT_MAX, INT_MAX, true},
    };
    for (const Case &c : cases) {
        StorePlacement(*SettingsKey(), c.state, c.x, c.y, c.width, c.height);
        Window window;
        ASSERT_TRUE(window.start()) << c.name;
        EXPECT_EQ(window.form.isMaximized(), c.maximized) << c.name;
        const QRect placed = window.form.geometry();
        EXPECT_LE(placed.width(), screen.width()) << c.name;
        EXPECT_LE(placed.height(), screen.height()) << c.name;
        // The title bar above the window: its top edge and a 100 x 30 px strip on the screen.
        if (!c.maximized) {
            const QRect strip(placed.left(), placed.top() - 30, std::min(100, placed.width()), 30);
            EXPECT_TRUE(screen.contains(strip)) << c.name;
        }
        EXPECT_TRUE(window.prompter.messages.empty()) << c.name;
    }
}

namespace {

// A registry that cannot be used, and what the program makes of it.
struct UnusableRegistry {
    const char *name;
    std::optional<Bytes> file;                                   // written as the registry file
    std::function<void(const std::filesystem::path &root)> make; // or made in the settings folder
    QString message; // %1: the registry's path; empty: no message
    std::vector<std::string> filesAfterClosing;
    bool needsPermissions = false; // meaningless as root, who may write in any folder
};

void PrintTo(const UnusableRegistry &c, std::ostream *out)
{
    *out << c.name;
}

const std::string Registry = "registry.txt";
const std::string Lock = "registry.txt.lock";
const std::string Kept = "registry.txt.endommagé";

QString DamagedAtLine(int line)
{
    return QStringLiteral("Le registre est endommagé : %1 (ligne ") + QString::number(line) +
           QStringLiteral("). Il est gardé sous le nom registry.txt.endommagé et les réglages "
                          "par défaut sont utilisés.");
}

const QString CannotAccess =
    QStringLiteral("Impossible d'accéder au registre : %1. Les réglages par défaut sont utilisés.");

Bytes RandomBytes()
{
    std::mt19937 generator(32);
    Bytes bytes(4096);
    for (std::uint8_t &byte : bytes)
        byte = static_cast<std::uint8_t>(generator());
    bytes[0] = 0xA5; // neither a comment, a blank line nor a key: line 1 is damaged
    return bytes;
}

const UnusableRegistry UnusableRegistries[] = {
    {"RandomBytes", RandomBytes(), {}, DamagedAtLine(1), {Registry, Kept, Lock}},
    {"ZeroBytes", Bytes(4096, 0), {}, DamagedAtLine(1), {Registry, Kept, Lock}},
    {"ValueOutOfRange",
     ToBytes("[HKEY_CURRENT_USER\\Software\\Quirelle]\n\"X\"=int:99999999999\n"),
     {},
     DamagedAtLine(2),
     {Registry, Kept, Lock}},
    {"TruncatedLine",
     ToBytes("[HKEY_CURRENT_USER\\Software\\Quirelle]\n\"Zoom\"=int:1\n\"Agrandis"),
     {},
     DamagedAtLine(3),
     {Registry, Kept, Lock}},
    {"EmptyFile", Bytes{}, {}, {}, {Registry, Lock}},
    {"AFolderInItsPlace",
     std::nullopt,
     [](const auto &root) {
         std::filesystem::create_directory(root / Registry);
         WriteFileBytes(root / Registry / "dedans", ToBytes("x"));
     },
     QStringLiteral("Impossible de lire le registre : %1. Les réglages par défaut sont utilisés."),
     {Registry, Lock}},
    {"ItsLockAFolder",
     std::nullopt,
     [](const auto &root) { std::filesystem::create_directory(root / Lock); },
     CannotAccess,
     {Lock}},
    {"AFolderThatMayNotBeWritten",
     std::nullopt,
     [](const auto &root) { std::filesystem::permissions(root, std::filesystem::perms(0555)); },
     CannotAccess,
     {},
     true},
};

class UnusableSettings : public ::testing::TestWithParam<UnusableRegistry> {};

} // namespace

// Whatever the registry, the book named on the command line opens with the default settings,
// after at most one message for the whole run; a damaged file is kept aside, and the settings
// saved on closing go to a new registry.
TEST_P(UnusableSettings, TheBookOpensWithTheDefaultsAfterOneMessage)
{
    const UnusableRegistry &c = GetParam();
    if (c.needsPermissions && geteuid() == 0)
        GTEST_SKIP() << "run as root, who may write in a folder that denies writing";
    const std::filesystem::path root = platform::PlatformRoot();
    const TwoPageBook book;
    if (c.file)
        WriteFileBytes(root / Registry, *c.file);
    if (c.make)
        c.make(root);
    std::vector<QString> told;
    {
        Window window(book.path);
        ASSERT_TRUE(window.start());
        EXPECT_EQ(window.form.state.CurrentFile, book.path);
        EXPECT_EQ(window.form.state.PageCountCache, 2);
        EXPECT_TRUE(window.form.isMaximized());
        window.form.Zoom->setCurrentIndex(2);
        EXPECT_TRUE(window.form.close());
        told = window.prompter.texts();
    }
    std::filesystem::permissions(root, std::filesystem::perms::owner_all);

    std::vector<QString> expected;
    if (!c.message.isEmpty())
        expected.push_back(c.message.arg(QString::fromStdString((root / Registry).string())));
    EXPECT_EQ(told, expected);
    EXPECT_EQ(FileNamesIn(root), c.filesAfterClosing);
    if (std::filesystem::exists(root / Kept)) {
        EXPECT_EQ(ReadFileBytes(root / Kept), c.file);
    }
    if (std::filesystem::is_regular_file(root / Registry)) {
        EXPECT_EQ(SettingsKey()->readString("Agrandissement"), "Max");
        EXPECT_EQ(SettingsKey()->readInteger("Zoom"), 2);
    }
    if (std::filesystem::is_directory(root / Registry)) {
        EXPECT_EQ(FileNamesIn(root / Registry), std::vector<std::string>{"dedans"});
    }
}

INSTANTIATE_TEST_SUITE_P(Registries, UnusableSettings, ::testing::ValuesIn(UnusableRegistries),
                         [](const auto &test) { return std::string(test.param.name); });
