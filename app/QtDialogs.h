#pragma once

#include "app/Dialogs.h"

class QWidget;

class QtDialogs : public Dialogs {
public:
    explicit QtDialogs(QWidget *parent = nullptr) : parent_(parent) {}
    bool openFile(FileDialog &dialog) override;
    bool saveFile(FileDialog &dialog) override;
    bool print(QPrinter &printer) override;

private:
    QWidget *parent_;
};
