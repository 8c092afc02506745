// vorstel-host, the stand-in for the file manager, run as a desktop thumbnailer would run it.
#include "platform/PlatformProfile.h"
#include "platform/Registry.h"
#include "platform/RegistryStore.h"
#include "platform/SystemServices.h"
#include "tests/support/BookFixture.h"
#include "tests/support/QtPath.h"
#include "tests/support/RunTool.h"
#include "tests/support/TempDir.h"

#include <QImage>
#include <QProcess>

#include <gtest/gtest.h>

#include <fstream>

namespace {

struct Outcome {
    int exitCode;
    QString output;
    QString errors;
};

Outcome runHost(const QStringList &arguments)
{
    QProcess host;
    host.start(VORSTEL_HOST, arguments);
    EXPECT_TRUE(host.waitForFinished(60000));
    return {host.exitCode(), QString::fromUtf8(host.readAllStandardOutput()),
            QString::fromUtf8(host.readAllStandardError())};
}

} // namespace

TEST(VorstelHost, WritesTheThumbnailAsPngAndPrintsTheInfoTip)
{
    TempDir dir;
    const Bytes page = MakeJpeg(60, 30, Qt::red);
    const Bytes meta =
        MakeMetaRecord("{\\rtf1 Caf\\'e9\\par\r\nau lait}", StandardMetaLines({page}));
    WriteFileBytes(dir / "livre.bd", AssembleBook({page, meta}));

    ASSERT_TRUE(RunTool(VORSTEL_HOST,
                        {"thumbnail", "64", QtPath(dir / "livre.bd"), QtPath(dir / "vignette")}));
    const QImage square(QtPath(dir / "vignette"), "PNG");
    ASSERT_EQ(square.size(), QSize(64, 64));
    EXPECT_GT(square.pixelColor(32, 32).red(), 230);
    EXPECT_LT(square.pixelColor(32, 32).green(), 30);
    EXPECT_EQ(square.pixelColor(32, 10), QColor(Qt::white)) << "above the landscape page";

    ASSERT_TRUE(RunTool(
        VORSTEL_HOST, {"thumbnail", "30x90", QtPath(dir / "livre.bd"), QtPath(dir / "tall.png")}));
    EXPECT_EQ(QImage(QtPath(dir / "tall.png")).size(), QSize(30, 90));

    EXPECT_EQ(ToolOutput(VORSTEL_HOST, {"infotip", QtPath(dir / "livre.bd")}), "Café\nau lait\n");
    EXPECT_EQ(ToolOutput(VORSTEL_HOST, {"infotip", QtPath(dir / "absent.bd")}),
              "Erreur lors de la lecture\n");
}

TEST(VorstelHost, RefusedRequestsEndWithAMessage)
{
    TempDir dir;
    WriteFileBytes(dir / "livre.bd", AssembleBook({MakeJpeg(8, 8)}));
    const QString book = QtPath(dir / "livre.bd");
    struct Case {
        QStringList arguments;
        int exitCode;
        const char *message;
    };
    const Case cases[] = {
        {{}, 2, "Utilisation : vorstel-host thumbnail"},
        {{"thumbnail", "64", book}, 2, "Utilisation"},
        {{"thumbnail", "grand", book, QtPath(dir / "a.png")}, 1, "Taille incorrecte : grand."},
        {{"thumbnail", "0", book, QtPath(dir / "a.png")}, 1, "Taille incorrecte : 0."},
        {{"thumbnail", "64x0", book, QtPath(dir / "a.png")}, 1, "Taille incorrecte : 64x0."},
        {{"thumbnail", "-3", book, QtPath(dir / "a.png")}, 1, "Taille incorrecte : -3."},
        // Sizes the library refuses are told as the others are.
        {{"thumbnail", "4097", book, QtPath(dir / "a.png")}, 1, "Taille incorrecte : 4097."},
        {{"thumbnail", "10x4097", book, QtPath(dir / "a.png")}, 1, "Taille incorrecte : 10x4097."},
        {{"thumbnail", "100000", book, QtPath(dir / "a.png")}, 1, "Taille incorrecte : 100000."},
        {{"thumbnail", "64", book, QtPath(dir / "absent" / "a.png")},
         1,
         "Impossible d'écrire l'image"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const Outcome outcome = runHost(c.arguments);
        EXPECT_EQ(outcome.exitCode, c.exitCode);
        EXPECT_TRUE(outcome.errors.contains(QString::fromUtf8(c.message)))
            << outcome.errors.toStdString();
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "a.png"));
}

// A book named by bytes that do not decode ("caf\xe9.bd" in ISO 8859-1) cannot be handed to the
// library, whose names are UTF-16: it is refused, and the book named with U+FFFD beside it is
// never read in its place.
TEST(VorstelHost, ANameThatDoesNotDecodeIsRefusedAndNeverReadsAnotherBook)
{
    for (const bool twin : {false, true}) {
        SCOPED_TRACE(twin ? "twin beside it" : "alone");
        TempDir dir;
        const Bytes page = MakeJpeg(8, 8);
        WriteFileBytes(dir / "caf\xe9.bd", AssembleBook({page}));
        if (twin)
            WriteFileBytes(
                dir / "caf\xef\xbf\xbd.bd",
                AssembleBook({page, MakeMetaRecord("{\\rtf1 jumeau}", StandardMetaLines({page}))}));
        QProcess host;
        // The shell passes the name's own bytes, which a QString argument could not hold.
        host.start(QStringLiteral("/bin/sh"),
                   {QStringLiteral("-c"),
                    QStringLiteral("exec \"$0\" infotip \"$(printf '%s\\351.bd' \"$1\")\""),
                    QStringLiteral(VORSTEL_HOST), QtPath(dir / "caf")});
        ASSERT_TRUE(host.waitForFinished(60000));
        EXPECT_EQ(host.exitCode(), 1);
        EXPECT_EQ(host.readAllStandardOutput(), QByteArray());
        EXPECT_TRUE(host.readAllStandardError().startsWith(
            "vorstel-host : Impossible d'ouvrir le fichier " + dir.path().string() + "/caf"));
    }
}

TEST(VorstelHost, RegistersAndUnregistersTheLibraryInThePlatformRootItIsGiven)
{
    // The host inherits this test's own temporary QUIRELLE_ROOT.
    platform::SetPlatformProfile({platform::WindowsFamily::Windows9x, 4, 10});
    platform::RegistryKey::open(platform::Hive::ClassesRoot, ".bd", true)
        ->writeString("", "Quirelle");
    const std::filesystem::path wininit = platform::WindowsDirectory() / "Wininit.ini";

    ASSERT_TRUE(RunTool(VORSTEL_HOST, {"register"}));
    const auto server = platform::RegistryKey::open(
        platform::Hive::ClassesRoot,
        "CLSID\\{9866CE29-2D30-4D9C-B876-806D79F7959F}\\InprocServer32", false);
    ASSERT_TRUE(server);
    EXPECT_EQ(server->readString(""), std::string(VORSTEL_LIBRARY));
    EXPECT_TRUE(platform::RegistryKey::exists(platform::Hive::ClassesRoot, "Quirelle\\CLSID"));

    ASSERT_TRUE(RunTool(VORSTEL_HOST, {"unregister"}));
    EXPECT_FALSE(platform::RegistryKey::exists(platform::Hive::ClassesRoot, "Quirelle\\CLSID"));
    EXPECT_TRUE(std::filesystem::exists(wininit));
    ASSERT_TRUE(RunTool(VORSTEL_HOST, {"register"}));
    EXPECT_FALSE(std::filesystem::exists(wininit)) << "the pending deletion is withdrawn";

    std::ofstream(platform::registryFilePath()) << "endommagé\n";
    const Outcome failed = runHost({"register"});
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_TRUE(failed.errors.contains("DllRegisterServer a échoué (code 0x80004005)."))
        << failed.errors.toStdString();
}
