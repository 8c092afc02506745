#include "controls/GradButton.h"
#include "platform/RegistryStore.h"
#include "tests/app/WindowFixture.h"
#include "tests/support/BookFixture.h"
#include "tests/support/ExceptionTrackingScope.h"
#include "tests/support/FileSizeLimit.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QRegularExpression>
#include <QTextEdit>

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

// A damaged registry, which the settings tell of in a message.
void DamageTheRegistry()
{
    WriteFileBytes(platform::registryFilePath(), ToBytes("pas un registre\n"));
}

// A left click as the mouse makes it: press and release over the middle of the widget.
void ClickWithTheMouse(QWidget &widget)
{
    const QPointF middle = QRectF(widget.rect()).center();
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, middle, widget.mapToGlobal(middle), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(&widget, &event);
    }
}

} // namespace

TEST(ExceptionEvent, AnErrorInAMenuCommandIsReportedAndTheWindowGoesOn)
{
    ExceptionTrackingScope tracking;
    TempDir books;
    const std::vector<Bytes> images{MakeJpeg(40, 60), MakeJpeg(40, 60, Qt::blue)};
    std::vector<Bytes> records = images;
    records.push_back(MakeMetaRecord("{\\rtf1 }", StandardMetaLines(images)));
    const QString book = QString::fromStdString((books / "Livre.bd").string());
    WriteFileBytes(book.toStdString(), AssembleBook(records));

    // A fault of the program while it tells that the file cannot be opened.
    Window window;
    window.prompter.failNext = true;
    window.dialogs.choose({QString::fromStdString((books / "absent.bd").string())});
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
    EXPECT_EQ(box.text, QStringLiteral("Message impossible."));
    EXPECT_EQ(box.title, QStringLiteral("Quirelle"));
    EXPECT_EQ(box.icon, MessageIcon::Error);
    EXPECT_EQ(box.buttons, MessageButtons::Ok);

    // The program goes on: the same command opens the book.
    window.dialogs.choose({book});
    RunFromEventLoop(window.form.Ouvrir1);
    EXPECT_EQ(window.form.state.CurrentFile, book);
    EXPECT_EQ(window.form.state.PageList.size(), 2u);
    EXPECT_EQ(window.prompter.messages.size(), 1u);
}

// A failure in the slot of each kind of sender, and in our own event handlers, is handed to
// the crash report from our own code: the report is written and the error box shown. Qt's
// widget code between the sender and the event loop is never unwound (the sanitizer build
// would see the leaks of its skipped cleanups).
TEST(ExceptionEvent, EveryKindOfSenderReportsTheErrorOfItsSlot)
{
    const QString faultyMessage = QStringLiteral("Message impossible.");
    struct Case {
        const char *kind;
        // Makes the failure happen; gives the start of the error box's text.
        std::function<QString(Program &)> fail;
    };
    const Case cases[] = {
        {"combo box: a fault while showing a message",
         [&](Program &program) {
             program.prompter.failNext = true; // "Aucun fichier n'est chargé."
             QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
             QCoreApplication::sendEvent(program.forms.Form1.Zoom, &down);
             EXPECT_EQ(program.forms.Form1.Zoom->currentIndex(), 1);
             return faultyMessage;
         }},
        {"push button: the description cannot be saved",
         [](Program &program) {
             // A disk too full for the book, not for the report.
             const auto book = program.dir / "Livre.bd";
             const std::string description = "{\\rtf1 " + std::string(1 << 16, 'a') + "}\r\n";
             const Bytes bytes =
                 AssembleBook({MakeJpeg(40, 60), MakeMetaRecord(description, {"%EOF"})});
             WriteFileBytes(book, bytes);
             program.forms.Form1.Charge(QString::fromStdString(book.string()));
             TDesc &desc = program.forms.Desc;
             desc.show();
             desc.RichEdit1->setPlainText(QString(1 << 16, u'b'));
             const FileSizeLimit limit(bytes.size() / 2);
             ClickWithTheMouse(*desc.Sauver);
             EXPECT_TRUE(desc.isVisible());
             return QStringLiteral("Impossible d'écrire le fichier ") +
                    QString::fromStdString(book.string());
         }},
        {"gradient button: a fault while showing a message",
         [&](Program &program) {
             program.prompter.failNext = true;
             ClickWithTheMouse(*program.forms.Form1.Button2);
             return faultyMessage;
         }},
        {"event handler: a fault while telling on closing that the settings are damaged",
         [&](Program &program) {
             DamageTheRegistry();
             program.prompter.failNext = true;
             program.forms.Form1.close();
             return faultyMessage;
         }},
        {"timer: a fault while telling on the first paint that the settings are damaged",
         [&](Program &program) {
             DamageTheRegistry();
             program.prompter.failNext = true;
             program.forms.Form1.show();
             EXPECT_TRUE(QTest::qWaitFor([&] { return !program.prompter.messages.empty(); }));
             return faultyMessage;
         }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.kind);
        std::filesystem::remove(platform::registryFilePath());
        Program program;
        const QString expected = c.fail(program);

        const QStringList lines = ReportLines(program.dir.path());
        ASSERT_GE(lines.size(), 3);
        EXPECT_EQ(lines[0], QStringLiteral("Une erreur s'est produite dans le logiciel."));
        ASSERT_FALSE(program.prompter.messages.empty());
        const RecordingPrompter::Message &box = program.prompter.messages.back();
        EXPECT_TRUE(box.text.startsWith(expected)) << box.text.toStdString();
        EXPECT_EQ(box.icon, MessageIcon::Error);
    }
}
