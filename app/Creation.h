#pragma once

#include <QDialog>

// The book-creation window, shown modally from the main window.
class TCreeBD : public QDialog {
    Q_OBJECT

public:
    explicit TCreeBD(QWidget *parent = nullptr);
};
