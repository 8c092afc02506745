#pragma once

#include <QDialog>

class ClickLabel;
class LinkOpener;
class QLabel;
class QPushButton;

// The about box: the program's name and version, the author's support address and the
// product's web page, both opening their link when clicked.
class TPropos : public QDialog {
    Q_OBJECT

public:
    explicit TPropos(LinkOpener &links, QWidget *parent = nullptr);

    void Label3Click();
    void Label5Click();
    void Button1Click();

    QLabel *Image1;
    QLabel *Label1;
    QLabel *Label2;
    ClickLabel *Label3;
    QLabel *Label4;
    ClickLabel *Label5;
    QPushButton *Button1;

private:
    LinkOpener &links_;
};
