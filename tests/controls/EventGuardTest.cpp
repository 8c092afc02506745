#include "controls/EventGuard.h"

#include <QAction>
#include <QScopeGuard>

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace {

struct Command : QObject {
    std::vector<QString> names;
    void fail() { throw std::runtime_error("Commande impossible"); }
    void rename(const QString &name) { names.push_back(name); }
};

// Records the exceptions handed over while it lives.
struct HandedOver {
    HandedOver()
    {
        SetEventExceptionHook([this](const QObject *source) {
            try {
                throw;
            } catch (const std::exception &error) {
                sources.push_back(source);
                messages.push_back(QString::fromUtf8(error.what()));
            }
        });
    }
    ~HandedOver() { SetEventExceptionHook({}); }

    std::vector<const QObject *> sources;
    std::vector<QString> messages;
};

// The exception stops at the slot, inside QAction::activate, whose emission of the signal
// goes on to the next receiver.
TEST(ConnectGuarded, AFailingSlotIsHandedOverWithItsSenderAndTheSignalGoesOn)
{
    const HandedOver handed;
    QAction action;
    Command command;
    ConnectGuarded(&action, &QAction::triggered, &command, &Command::fail);
    bool nextReceiverRan = false;
    QObject::connect(&action, &QAction::triggered, [&] { nextReceiverRan = true; });

    action.trigger();

    EXPECT_EQ(handed.messages, std::vector<QString>{QStringLiteral("Commande impossible")});
    EXPECT_EQ(handed.sources, std::vector<const QObject *>{&action});
    EXPECT_TRUE(nextReceiverRan);
}

TEST(ConnectGuarded, SlotsTakeWhatTheyNeedOfTheArguments)
{
    const HandedOver handed;
    QObject sender;
    Command command;
    ConnectGuarded(&sender, &QObject::objectNameChanged, &command, &Command::rename);
    ConnectGuarded(&sender, &QObject::objectNameChanged, &command,
                   [&command](const QString &name) { command.rename(name + u'!'); });
    ConnectGuarded(&sender, &QObject::objectNameChanged, &command,
                   [] { throw std::logic_error("défaut"); });

    sender.setObjectName(QStringLiteral("Zoom"));

    EXPECT_EQ(command.names,
              (std::vector<QString>{QStringLiteral("Zoom"), QStringLiteral("Zoom!")}));
    EXPECT_EQ(handed.messages, std::vector<QString>{QStringLiteral("défaut")});
}

TEST(ConnectGuarded, WithoutAHookTheExceptionGoesOn)
{
    QObject sender;
    Command command;
    ConnectGuarded(&sender, &QObject::objectNameChanged, &command, &Command::fail);
    EXPECT_THROW(sender.setObjectName(QStringLiteral("x")), std::runtime_error);
}

} // namespace
