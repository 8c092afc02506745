#pragma once

#include "app/core/seams/Prompter.h"

class QWidget;

// Message boxes with French buttons ("&Oui", "&Non", "OK").
class QtPrompter : public Prompter {
public:
    explicit QtPrompter(QWidget *parent = nullptr) : parent_(parent) {}
    MessageAnswer show(const QString &text, const QString &title, MessageIcon icon,
                       MessageButtons buttons) override;

private:
    QWidget *parent_;
};
