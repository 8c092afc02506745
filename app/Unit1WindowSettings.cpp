// The window placement kept in the settings, and the file named on the command line.
#include "app/Unit1.h"

#include "app/core/files/FileNames.h"
#include "app/core/program/ScreenPlacement.h"
#include "controls/EventGuard.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

namespace {

// The screens' available areas, the primary screen's first.
QList<QRect> ScreenAreas()
{
    QList<QRect> areas;
    const QScreen *primary = QGuiApplication::primaryScreen();
    if (primary)
        areas.append(primary->availableGeometry());
    for (const QScreen *screen : QGuiApplication::screens())
        if (screen != primary)
            areas.append(screen->availableGeometry());
    return areas;
}

} // namespace

void TForm1::FormPaint()
{
    if (!state.FirstPaint)
        return;
    state.FirstPaint = false;
    // Placing the window and opening a book may show message boxes: not inside a paint.
    QTimer::singleShot(0, this, [this] { GuardEvent(this, [this] { FirstPaintWork(); }); });
}

void TForm1::FirstPaintWork()
{
    if (const std::optional<WindowPlacement> placement = settings.readWindowPlacement()) {
        if (placement->maximized) {
            showMaximized();
        } else if (const QRect bounds = BringOntoScreens(placement->bounds, ScreenAreas());
                   bounds.isValid()) {
            showNormal();
            setGeometry(bounds);
        }
    }
    OpenCommandLineFile();
}

void TForm1::OpenCommandLineFile()
{
    const QString &argument = services.commandLineFile;
    if (argument.isEmpty() || !state.CommandLinePending)
        return;
    // An argument that does not decode names a file too, which Charge refuses to open.
    if (!QFileInfo::exists(argument) && !MayNameAnotherFile(argument))
        return;
    state.CommandLinePending = false;
    Charge(argument);
}

void TForm1::FormClose()
{
    state.CurrentFile.clear(); // also ends a thumbnail loading still running
    // The client area's place, not the frame's: the frame around a window that has just left
    // the maximized state is not known yet, and placing by it would shift the window each run.
    const QRect bounds = geometry();
    settings.saveWindowPlacement(
        {isMaximized(), {bounds.x(), bounds.y(), bounds.width(), bounds.height()}});
}
