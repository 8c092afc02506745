#pragma once

#include "platform/ExceptionTracking.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <filesystem>
#include <vector>

class Prompter;

// The text of the exception box: the message with a full stop appended when its last
// character sorts after ".".
QString ExceptionBoxText(const QString &message);

// One stack line: the frame's offset into its module's code section in parentheses, then its
// address in brackets, each as a zero-padded upper-case hexadecimal pointer.
QString StackFrameLine(const platform::StackFrame &frame);

// The report: two lines for the user, the date and time, then one line per stack frame.
QStringList CrashReportLines(const QDateTime &now, const std::vector<platform::StackFrame> &stack);

// Writes the lines, CRLF-ended, to "Rapport<tick>.log" in the folder, replacing a report of
// that name; false when the file cannot be written.
bool WriteCrashReport(const QStringList &lines, std::uint32_t tick,
                      const std::filesystem::path &folder);

struct CrashReportEnv {
    Prompter &prompter;
    std::filesystem::path programDir;
    std::uint32_t tick;
};

// What every exception that no command handled comes to: the report with the calling
// thread's last recorded stack, written to the program's folder (the platform root when that
// cannot be written), then the exception box. Never throws.
void ReportException(const QString &message, const CrashReportEnv &env);
