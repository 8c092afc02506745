#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// Runs an outside program that a test uses to make or check files, in workingDirectory when
// one is given; true when it exits with status 0. Its error output is printed when it fails.
bool RunTool(const QString &program, const QStringList &arguments,
             const QString &workingDirectory = {});

// The same, giving what the program printed; nullopt when it fails.
std::optional<QString> ToolOutput(const QString &program, const QStringList &arguments);
