#pragma once

#include "app/Forms.h"
#include "app/Unit1.h"

#include "tests/support/RecordingLinks.h"
#include "tests/support/RecordingPrompter.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/ScriptedPrograms.h"
#include "tests/support/TempDir.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QTest>

// The services of the program's windows in a test: messages and opened links recorded,
// dialogs and outside programs scripted. The program's folder, where crash reports go, is a
// fresh one, which the test may fill with its own files too.
struct ScriptedServices {
    TempDir dir;
    RecordingPrompter prompter;
    ScriptedDialogs dialogs;
    NoUiHooks ui;
    ScriptedPrograms programs;
    RecordingLinks links;

    TForm1Services services(const QString &commandLineFile = {})
    {
        return {prompter,       dialogs, ui,
                programs,       links,   QString::fromStdString((dir / "quirelle").string()),
                commandLineFile};
    }
};

// Every window of the program, created as it creates them when it starts, driven offscreen.
struct Program : ScriptedServices {
    Forms forms{services()};
};

// A main window alone, driven offscreen.
struct Window : ScriptedServices {
    explicit Window(const QString &commandLineFile = {}) : form(services(commandLineFile)) {}

    TForm1 form;

    // As if a book of blank pages "1" to "count" were open, showing the given page.
    void openBlankPages(int count, int shown = 1)
    {
        form.state.CurrentFile = QStringLiteral("/livres/blanc.bd");
        form.state.PageList.clear();
        for (int i = 1; i <= count; ++i)
            form.state.PageList.push_back({QString::number(i), -1});
        form.state.PageCountCache = count;
        form.AffichePage(QString::number(shown));
    }

    // Shows the window maximized, as the program starts it, and lets its first paint and the
    // work posted from there run.
    bool start()
    {
        form.showMaximized();
        const bool painted = QTest::qWaitFor([this] { return !form.state.FirstPaint; });
        QCoreApplication::processEvents();
        return painted;
    }

    void press(QObject *target, int qtKey) { key(target, QEvent::KeyPress, qtKey); }
    void release(QObject *target, int qtKey) { key(target, QEvent::KeyRelease, qtKey); }

private:
    static void key(QObject *target, QEvent::Type type, int qtKey)
    {
        QKeyEvent event(type, qtKey, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &event);
    }
};
