#include "app/core/program/CrashReport.h"

#include "app/core/program/Contact.h"
#include "app/core/seams/Prompter.h"
#include "platform/AtomicWrite.h"
#include "platform/PlatformRoot.h"

#include <QLocale>

namespace {

// Frame offsets count from the start of the code section, 4096 bytes into the module.
constexpr std::uintptr_t CodeSectionStart = 4096;

QString HexPointer(std::uintptr_t value)
{
    return QStringLiteral("%1")
        .arg(static_cast<qulonglong>(value), int(sizeof(void *) * 2), 16, QLatin1Char('0'))
        .toUpper();
}

} // namespace

QString ExceptionBoxText(const QString &message)
{
    if (!message.isEmpty() && message.back() > QLatin1Char('.'))
        return message + QLatin1Char('.');
    return message;
}

QString StackFrameLine(const platform::StackFrame &frame)
{
    const std::uintptr_t offset = frame.address - frame.moduleBase - CodeSectionStart;
    return QStringLiteral("(%1) [%2]").arg(HexPointer(offset), HexPointer(frame.address));
}

QStringList CrashReportLines(const QDateTime &now, const std::vector<platform::StackFrame> &stack)
{
    const QLocale locale = QLocale::system();
    QStringList lines{
        QStringLiteral("Une erreur s'est produite dans le logiciel."),
        QStringLiteral("Si vous le souhaitez, vous pouvez m'envoyer ce rapport à ") +
            QLatin1String(SupportAddress) + QStringLiteral(" avec une petite description."),
        locale.toString(now.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
            locale.toString(now.time(), QLocale::LongFormat),
    };
    for (const platform::StackFrame &frame : stack)
        lines.append(StackFrameLine(frame));
    return lines;
}

bool WriteCrashReport(const QStringList &lines, std::uint32_t tick,
                      const std::filesystem::path &folder)
{
    try {
        platform::AtomicFileWriter out(folder / ("Rapport" + std::to_string(tick) + ".log"));
        for (const QString &line : lines) {
            const QByteArray bytes = (line + QStringLiteral("\r\n")).toUtf8();
            out.write(bytes.constData(), static_cast<std::size_t>(bytes.size()));
        }
        out.commit();
        return true;
    } catch (const FileWriteError &) {
        return false;
    }
}

void ReportException(const QString &message, const CrashReportEnv &env)
{
    // Taken first: anything thrown and caught from here on would replace it.
    const std::vector<platform::StackFrame> stack = platform::LastExceptionStack();
    try {
        const QStringList lines = CrashReportLines(QDateTime::currentDateTime(), stack);
        if (!WriteCrashReport(lines, env.tick, env.programDir))
            WriteCrashReport(lines, env.tick, platform::PlatformRoot());
    } catch (...) {
        // A report that cannot be written must not hide the error itself.
    }
    try {
        env.prompter.show(ExceptionBoxText(message), Prompter::ApplicationTitle, MessageIcon::Error,
                          MessageButtons::Ok);
    } catch (...) {
    }
}
