#include "tests/support/RecordingPrompter.h"

#include <stdexcept>

MessageAnswer RecordingPrompter::show(const QString &text, const QString &title, MessageIcon icon,
                                      MessageButtons buttons)
{
    if (failNext) {
        failNext = false;
        throw std::logic_error("Message impossible");
    }
    messages.push_back({text, title, icon, buttons});
    if (buttons == MessageButtons::Ok)
        return MessageAnswer::Ok;
    if (script_.empty())
        return MessageAnswer::No;
    const MessageAnswer next = script_.front();
    script_.pop_front();
    return next;
}

std::vector<QString> RecordingPrompter::texts() const
{
    std::vector<QString> result;
    for (const Message &m : messages)
        result.push_back(m.text);
    return result;
}
