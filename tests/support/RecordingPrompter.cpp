#include "tests/support/RecordingPrompter.h"

MessageAnswer RecordingPrompter::show(const QString &text, const QString &title, MessageIcon icon,
                                      MessageButtons buttons)
{
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
