#include "app/adapters/QuirelleApplication.h"

#include <QEventLoop>
#include <QTimer>

#include <gtest/gtest.h>

#include <stdexcept>

TEST(QuirelleApplication, ExceptionsFromEventsReachTheHandlerAndTheLoopGoesOn)
{
    QuirelleApplication *application = QuirelleApplication::instance();
    ASSERT_NE(application, nullptr);
    QStringList messages;
    QObject *senders[2] = {nullptr, nullptr};
    int handled = 0;
    application->setExceptionHandler([&](QObject *sender, const QString &message) {
        senders[handled++ % 2] = sender;
        messages.append(message);
    });

    QObject context;
    QEventLoop loop;
    bool ranAfter = false;
    QTimer::singleShot(0, &context, [] { throw std::runtime_error("Page introuvable"); });
    QTimer::singleShot(0, &context, [] { throw 42; });
    QTimer::singleShot(0, &context, [&] {
        ranAfter = true;
        loop.quit();
    });
    loop.exec();

    EXPECT_TRUE(ranAfter);
    EXPECT_EQ(messages, (QStringList{QStringLiteral("Page introuvable"),
                                     QStringLiteral("Une erreur inconnue s'est produite.")}));
    EXPECT_NE(senders[0], nullptr);
}

namespace {

struct FailingCommand : QObject {
    void run() { throw std::runtime_error("Commande impossible"); }
};

} // namespace

// The exception stops at the command: it does not unwind QAction::activate, whose emission
// of the signal goes on to the next receiver.
TEST(QuirelleApplication, ExceptionsFromACommandReachTheHandlerWithinTheAction)
{
    QuirelleApplication *application = QuirelleApplication::instance();
    ASSERT_NE(application, nullptr);
    QStringList messages;
    QObject *sender = nullptr;
    application->setExceptionHandler([&](QObject *from, const QString &message) {
        sender = from;
        messages.append(message);
    });

    QAction action;
    FailingCommand command;
    ConnectCommand(&action, &command, &FailingCommand::run);
    bool nextReceiverRan = false;
    QObject::connect(&action, &QAction::triggered, [&] { nextReceiverRan = true; });
    action.trigger();

    EXPECT_EQ(messages, QStringList{QStringLiteral("Commande impossible")});
    EXPECT_EQ(sender, &action);
    EXPECT_TRUE(nextReceiverRan);
}
