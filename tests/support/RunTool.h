#pragma once

#include <QString>
#include <QStringList>

// Runs an outside program that a test uses to make or check files; true when it exits with
// status 0. Its error output is printed when it fails.
bool RunTool(const QString &program, const QStringList &arguments);
