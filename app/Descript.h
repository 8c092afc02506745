#pragma once

#include <QDialog>

// The description editor, shown modally from the main window.
class TDesc : public QDialog {
    Q_OBJECT

public:
    explicit TDesc(QWidget *parent = nullptr);
};
