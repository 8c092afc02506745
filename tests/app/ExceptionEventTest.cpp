#include "platform/ExceptionTracking.h"
#include "platform/RegistryStore.h"
#include "tests/app/WindowFixture.h"
#include "tests/support/BookFixture.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <dlfcn.h>

namespace {

std::uintptr_t ThisProgramBase()
{
    Dl_info info{};
    dladdr(reinterpret_cast<void *>(&ThisProgramBase), &info);
    return reinterpret_cast<std::uintptr_t>(info.dli_fbase);
}

// Runs a menu command the way a click does: from the event loop.
void RunFromEventLoop(QAction *command)
{
    QMetaObject::invokeMethod(command, &QAction::trigger, Qt::QueuedConnection);
    QCoreApplication::processEvents();
}

QStringList ReportLines(const std::filesystem::path &folder)
{
    const QStringList reports =
        QDir(QString::fromStdString(folder.string())).entryList({QStringLiteral("Rapport*.log")});
    if (reports.size() != 1)
        return {};
    QFile file(QString::fromStdString((folder / reports[0].toStdString()).string()));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList lines = QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n"));
    lines.removeLast(); // after the last CRLF
    return lines;
}

} // namespace

TEST(ExceptionEvent, AnErrorInAMenuCommandIsReportedAndTheWindowGoesOn)
{
    platform::StartExceptionTracking();
    TempDir books;
    const std::vector<Bytes> images{MakeJpeg(40, 60), MakeJpeg(40, 60, Qt::blue)};
    std::vector<Bytes> records = images;
    records.push_back(MakeMetaRecord("{\\rtf1 }", StandardMetaLines(images)));
    const QString book = QString::fromStdString((books / "Livre.bd").string());
    WriteFileBytes(book.toStdString(), AssembleBook(records));

    // A damaged registry file: opening a book cannot read its zoom setting.
    const std::filesystem::path registry = platform::registryFilePath();
    WriteFileBytes(registry, ToBytes("pas un registre\n"));
    Window window;
    window.dialogs.choose({book});
    RunFromEventLoop(window.form.Ouvrir1);

    const QStringList lines = ReportLines(window.dir.path());
    ASSERT_GE(lines.size(), 4);
    EXPECT_EQ(lines[0], QStringLiteral("Une erreur s'est produite dans le logiciel."));
    EXPECT_EQ(lines[1], QStringLiteral("Si vous le souhaitez, vous pouvez m'envoyer ce rapport à "
                                       "support@quirelle.invalid avec une petite description."));
    const QRegularExpression frame(
        QStringLiteral("^\\(([0-9A-F]{%1})\\) \\[([0-9A-F]{%1})\\]$").arg(sizeof(void *) * 2));
    for (int i = 3; i < lines.size(); ++i)
        EXPECT_TRUE(frame.match(lines[i]).hasMatch()) << lines[i].toStdString();
    // The throw site is the program's own code: its offset counts from the program's base.
    const QRegularExpressionMatch first = frame.match(lines[3]);
    EXPECT_EQ(first.captured(2).toULongLong(nullptr, 16) -
                  first.captured(1).toULongLong(nullptr, 16),
              ThisProgramBase() + 4096);

    ASSERT_EQ(window.prompter.messages.size(), 1u);
    const RecordingPrompter::Message &box = window.prompter.messages[0];
    EXPECT_TRUE(box.text.startsWith(QStringLiteral("Le registre est endommagé")))
        << box.text.toStdString();
    EXPECT_TRUE(box.text.endsWith(QLatin1Char('.')));
    EXPECT_EQ(box.title, QStringLiteral("Quirelle"));
    EXPECT_EQ(box.icon, MessageIcon::Error);
    EXPECT_EQ(box.buttons, MessageButtons::Ok);

    // The program goes on: with the registry mended, the same command opens the book.
    std::filesystem::remove(registry);
    window.dialogs.choose({book});
    RunFromEventLoop(window.form.Ouvrir1);
    EXPECT_EQ(window.form.state.CurrentFile, book);
    EXPECT_EQ(window.form.state.PageList.size(), 2u);
    EXPECT_EQ(window.prompter.messages.size(), 1u);
}
