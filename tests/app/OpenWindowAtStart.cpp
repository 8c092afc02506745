// Linked with the program's own main into a copy of the program for the ending tests. Once the
// main window shows its book, it opens the window that QUIRELLE_TEST_WINDOW names, answering
// the boxes on the way to it as the user would, and writes "shown" on the standard output when
// that window is up. "creation-write" instead fills the creation window with the page
// QUIRELLE_TEST_PAGE and the destination QUIRELLE_TEST_BOOK, sends itself SIGTERM and writes the
// book at once after "shown": the signal is pending while the book is written.
#include "app/APropos.h"
#include "app/Creation.h"
#include "app/Descript.h"
#include "app/Marges.h"
#include "app/Unit1.h"

#include <QApplication>
#include <QCoreApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <functional>
#include <map>

namespace {

struct WindowCase {
    std::function<void(TForm1 &)> open;
    std::function<bool(TForm1 &, QWidget *modal)> isUp; // modal: the active modal window or null
    std::function<void(TForm1 &)> afterShown = {};
};

bool IsMessage(QWidget *modal, const QString &text)
{
    const auto *box = qobject_cast<QMessageBox *>(modal);
    return box && box->text() == text;
}

void WriteBookWithSignalPending(TForm1 &form)
{
    TCreeBD &creation = *form.CreeBD;
    creation.PageFiles = {qEnvironmentVariable("QUIRELLE_TEST_PAGE")};
    creation.DestinationBD->setText(qEnvironmentVariable("QUIRELLE_TEST_BOOK"));
    ::raise(SIGTERM);
    creation.GradButton3Click();
}

const std::map<QString, WindowCase> &Cases()
{
    static const std::map<QString, WindowCase> cases{
        {QStringLiteral("about"),
         {[](TForm1 &form) { form.N3Click(); },
          [](TForm1 &form, QWidget *modal) { return modal == form.Propos; }}},
        {QStringLiteral("creation"),
         {[](TForm1 &form) { form.CrationduneBD1Click(); },
          [](TForm1 &form, QWidget *modal) { return modal == form.CreeBD; }}},
        {QStringLiteral("creation-write"),
         {[](TForm1 &form) { form.CrationduneBD1Click(); },
          [](TForm1 &form, QWidget *modal) { return modal == form.CreeBD; },
          WriteBookWithSignalPending}},
        {QStringLiteral("editor"),
         {[](TForm1 &form) { form.AjouterRemplacerladescription1Click(); },
          [](TForm1 &form, QWidget *modal) { return modal == form.Desc; }}},
        {QStringLiteral("message"),
         {[](TForm1 &form) { form.ShowEntry(-1); },
          [](TForm1 &, QWidget *modal) {
              return IsMessage(modal, QStringLiteral("Page introuvable."));
          }}},
        {QStringLiteral("print"),
         {[](TForm1 &form) { form.A41Click(); },
          [](TForm1 &, QWidget *modal) { return qobject_cast<QPrintDialog *>(modal) != nullptr; }}},
        {QStringLiteral("margins"),
         {[](TForm1 &form) { form.A41Click(); },
          [](TForm1 &, QWidget *modal) {
              // The print dialog on the way prints to a file, which is never written.
              if (auto *print = qobject_cast<QPrintDialog *>(modal)) {
                  print->printer()->setOutputFileName(qEnvironmentVariable("QUIRELLE_TEST_BOOK"));
                  print->accept();
              }
              return dynamic_cast<TForm2 *>(modal) != nullptr;
          }}},
        {QStringLiteral("fullscreen"),
         {[](TForm1 &form) { form.Pleincran1Click(); },
          [](TForm1 &form, QWidget *modal) { return !modal && form.isFullScreen(); }}},
    };
    return cases;
}

TForm1 *MainWindow()
{
    for (QWidget *window : QApplication::topLevelWidgets())
        if (auto *form = qobject_cast<TForm1 *>(window))
            return form;
    return nullptr;
}

void OpenWindowAtStart()
{
    const auto found = Cases().find(qEnvironmentVariable("QUIRELLE_TEST_WINDOW"));
    if (found == Cases().end())
        return;
    const WindowCase &windowCase = found->second;
    auto *poll = new QTimer(QCoreApplication::instance());
    poll->setInterval(20);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, &windowCase, opened = false]() mutable {
        TForm1 *form = MainWindow();
        if (!form || !form->isVisible() || form->state.CurrentFile.isEmpty())
            return;
        if (!opened) {
            opened = true;
            // Out of the timer: the window's command may run its own event loop.
            QTimer::singleShot(0, form, [form, &windowCase] { windowCase.open(*form); });
            return;
        }
        QWidget *modal = QApplication::activeModalWidget();
        if (windowCase.isUp(*form, modal)) {
            poll->stop();
            std::puts("shown");
            std::fflush(stdout);
            if (windowCase.afterShown)
                QTimer::singleShot(0, form, [form, &windowCase] { windowCase.afterShown(*form); });
        } else if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            box->accept(); // the boxes on the way say what comes next
        }
    });
    poll->start();
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(OpenWindowAtStart)
