#include "app/adapters/QtPrompter.h"

#include <QMessageBox>
#include <QPushButton>

MessageAnswer QtPrompter::show(const QString &text, const QString &title, MessageIcon icon,
                               MessageButtons buttons)
{
    QMessageBox box(parent_);
    box.setWindowTitle(title);
    box.setText(text);
    switch (icon) {
    case MessageIcon::Error: box.setIcon(QMessageBox::Critical); break;
    case MessageIcon::Information: box.setIcon(QMessageBox::Information); break;
    case MessageIcon::Warning: box.setIcon(QMessageBox::Warning); break;
    }
    if (buttons == MessageButtons::Ok) {
        box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        box.exec();
        return MessageAnswer::Ok;
    }
    QPushButton *yes = box.addButton(QStringLiteral("&Oui"), QMessageBox::YesRole);
    box.addButton(QStringLiteral("&Non"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.exec();
    return box.clickedButton() == yes ? MessageAnswer::Yes : MessageAnswer::No;
}
