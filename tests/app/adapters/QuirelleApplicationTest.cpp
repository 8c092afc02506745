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
    const QObject *senders[2] = {nullptr, nullptr};
    int handled = 0;
    application->setExceptionHandler([&](const QObject *sender, const QString &message) {
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
