#pragma once

#include "app/core/seams/Dialogs.h"

class QWidget;

class QtDialogs : public Dialogs {
public:
    explicit QtDialogs(QWidget *parent = nullptr) : parent_(parent) {}
    bool openFile(FileDialog &dialog) override;
    bool saveFile(FileDialog &dialog) override;
    bool print(QPrinter &printer) override;
    bool chooseFolder(const QString &caption, QString &folder) override;
    bool chooseColor(QColor &colour) override;
    bool chooseFont(QFont &font) override;
    bool inputQuery(const QString &title, const QString &prompt, QString &text) override;

private:
    QWidget *parent_;
};
