#pragma once

#include "app/core/seams/Prompter.h"

#include <QString>

#include <deque>
#include <vector>

// Records every message and answers yes/no questions from a script ("No" once it runs out).
class RecordingPrompter : public Prompter {
public:
    struct Message {
        QString text;
        QString title;
        MessageIcon icon;
        MessageButtons buttons;
    };

    MessageAnswer show(const QString &text, const QString &title, MessageIcon icon,
                       MessageButtons buttons) override;

    void answer(MessageAnswer next) { script_.push_back(next); }
    std::vector<QString> texts() const;

    std::vector<Message> messages;
    // The next message throws std::logic_error instead, as a fault of the program would.
    bool failNext = false;

private:
    std::deque<MessageAnswer> script_;
};
