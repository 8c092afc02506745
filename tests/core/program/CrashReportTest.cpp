#include "app/core/program/CrashReport.h"

#include "app/core/seams/Prompter.h"
#include "tests/support/ExceptionTrackingScope.h"
#include "tests/support/RecordingPrompter.h"
#include "tests/support/Sanitizers.h"
#include "tests/support/TempDir.h"

#include <QFile>
#include <QLocale>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <thread>

namespace {

[[gnu::noinline]] void ThrowFromHere()
{
    throw std::runtime_error("Erreur JPEG #42");
}

QStringList ReadReportLines(const std::filesystem::path &file)
{
    QFile in(QString::fromStdString(file.string()));
    if (!in.open(QIODevice::ReadOnly))
        return {};
    const QString text = QString::fromUtf8(in.readAll());
    if (!text.endsWith(QStringLiteral("\r\n")))
        return {QStringLiteral("<no final CRLF>")};
    QStringList lines = text.split(QStringLiteral("\r\n"));
    lines.removeLast();
    return lines;
}

const QString Line1 = QStringLiteral("Une erreur s'est produite dans le logiciel.");
const QString Line2 = QStringLiteral("Si vous le souhaitez, vous pouvez m'envoyer ce rapport à "
                                     "support@quirelle.invalid avec une petite description.");
constexpr std::uint32_t Tick = 4294967295u; // written unsigned

} // namespace

TEST(CrashReport, FullStopRule)
{
    struct Case {
        const char *message;
        const char *shown;
    };
    const Case cases[] = {
        {"Page introuvable.", "Page introuvable."},
        {"Erreur JPEG #42", "Erreur JPEG #42."}, // '2' sorts after '.'
        {"Chemin /", "Chemin /."},               // '/' is the first after '.'
        {"Valeur -", "Valeur -"},                // '-' sorts before '.'
        {"Fichier illisible !", "Fichier illisible !"},
        {"(vide)", "(vide)"},
        {"fin ", "fin "},
        {"Opération annulée é", "Opération annulée é."},
        {"", ""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ExceptionBoxText(QString::fromUtf8(c.message)), QString::fromUtf8(c.shown))
            << c.message;
}

TEST(CrashReport, StackLineShowsCodeOffsetAndAddress)
{
    const auto hex = [](const char *digits) {
        return QString::fromLatin1(digits).rightJustified(int(sizeof(void *) * 2),
                                                          QLatin1Char('0'));
    };
    struct Case {
        std::uintptr_t base, address;
        const char *offset, *shown;
    };
    const Case cases[] = {
        {0x400000, 0x40102A, "2A", "40102A"},
        {0xABC000, 0xABCFFF + 0xEF1, "EF0", "ABDEF0"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(StackFrameLine({c.address, c.base}), QStringLiteral("(") + hex(c.offset) +
                                                           QStringLiteral(") [") + hex(c.shown) +
                                                           QStringLiteral("]"));
}

TEST(CrashReport, ReportHoldsThreeLinesAndTheThrowSiteStack)
{
    SKIP_UNDER_ADDRESS_SANITIZER(SanitizerOwnsCxaThrow);
    TempDir programDir;
    RecordingPrompter prompter;
    ExceptionTrackingScope tracking;
    try {
        ThrowFromHere();
    } catch (const std::exception &e) {
        ReportException(QString::fromUtf8(e.what()), {prompter, programDir.path(), Tick});
    }

    const QStringList lines = ReadReportLines(programDir / "Rapport4294967295.log");
    ASSERT_GT(lines.size(), 4);
    EXPECT_EQ(lines[0], Line1);
    EXPECT_EQ(lines[1], Line2);
    EXPECT_TRUE(lines[2].startsWith(
        QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat)));
    const QRegularExpression frameLine(
        QStringLiteral("^\\(([0-9A-F]{%1})\\) \\[([0-9A-F]{%1})\\]$").arg(sizeof(void *) * 2));
    for (int i = 3; i < lines.size(); ++i)
        EXPECT_TRUE(frameLine.match(lines[i]).hasMatch()) << lines[i].toStdString();

    // The first frame is inside ThrowFromHere.
    const QRegularExpressionMatch first = frameLine.match(lines[3]);
    const std::uintptr_t address = first.captured(2).toULongLong(nullptr, 16);
    const auto start = reinterpret_cast<std::uintptr_t>(&ThrowFromHere);
    EXPECT_GT(address, start);
    EXPECT_LT(address, start + 256);

    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, QStringLiteral("Erreur JPEG #42."));
    EXPECT_EQ(prompter.messages[0].title, QStringLiteral("Quirelle"));
    EXPECT_EQ(prompter.messages[0].icon, MessageIcon::Error);
    EXPECT_EQ(prompter.messages[0].buttons, MessageButtons::Ok);
}

TEST(CrashReport, NoRecordedStackGivesThreeLines)
{
    TempDir programDir;
    RecordingPrompter prompter;
    // Tracking is off, on a thread that no earlier case has thrown on.
    std::thread fresh([&] {
        try {
            ThrowFromHere();
        } catch (const std::exception &e) {
            ReportException(QString::fromUtf8(e.what()), {prompter, programDir.path(), 7});
        }
    });
    fresh.join();
    const QStringList lines = ReadReportLines(programDir / "Rapport7.log");
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0], Line1);
    EXPECT_EQ(lines[1], Line2);
}

TEST(CrashReport, SameTickReplacesTheEarlierReport)
{
    TempDir folder;
    ASSERT_TRUE(WriteCrashReport({QStringLiteral("premier"), QStringLiteral("rapport")}, 12,
                                 folder.path()));
    ASSERT_TRUE(WriteCrashReport({QStringLiteral("second")}, 12, folder.path()));
    EXPECT_EQ(ReadReportLines(folder / "Rapport12.log"), QStringList{QStringLiteral("second")});
}

TEST(CrashReport, UnwritableProgramFolderFallsBackToThePlatformRoot)
{
    TempDir scratch;
    std::ofstream(scratch / "fichier") << "x";
    const std::filesystem::path unwritable = scratch / "fichier" / "dossier";
    RecordingPrompter prompter;
    ReportException(QStringLiteral("Panne"), {prompter, unwritable, 99});

    const std::filesystem::path root = std::getenv("QUIRELLE_ROOT");
    EXPECT_EQ(ReadReportLines(root / "Rapport99.log").value(0), Line1);
    EXPECT_EQ(prompter.texts(), std::vector<QString>{QStringLiteral("Panne.")});
}

TEST(CrashReport, NoWritableFolderStillShowsTheBox)
{
    TempDir scratch;
    std::ofstream(scratch / "fichier") << "x";
    setenv("QUIRELLE_ROOT", (scratch / "fichier" / "racine").c_str(), 1);
    RecordingPrompter prompter;
    EXPECT_NO_THROW(
        ReportException(QStringLiteral("Panne"), {prompter, scratch / "fichier" / "dossier", 5}));
    EXPECT_EQ(prompter.texts(), std::vector<QString>{QStringLiteral("Panne.")});
}
