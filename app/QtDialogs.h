#pragma once

#include "app/Dialogs.h"

class QWidget;

class QtDialogs : public Dialogs {
public:
    explicit QtDialogs(QWidget *parent = nullptr) : parent_(parent) {}
    bool openFile(FileDialog &dialog) override;
    bool saveFile(FileDialog &dialog) override;

private:
    QWidget *parent_;
};
