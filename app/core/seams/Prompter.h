#pragma once

#include <QString>

enum class MessageIcon { Error, Information, Warning };
enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

// Every message box and yes/no question of the program goes through a Prompter: the
// windows show a QMessageBox with French buttons, the tests record and answer from a script.
class Prompter {
public:
    virtual ~Prompter() = default;
    virtual MessageAnswer show(const QString &text, const QString &title, MessageIcon icon,
                               MessageButtons buttons) = 0;

    // Shorthands with the application's title, "Quirelle".
    void error(const QString &text);
    void information(const QString &text);
    bool askYesNo(const QString &text, MessageIcon icon = MessageIcon::Information);
    // "Erreur, manque de mémoire.", from a text made before memory ran out.
    void outOfMemory();

    static const QString ApplicationTitle;
};
