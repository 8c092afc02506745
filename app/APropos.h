#pragma once

#include <QDialog>

class ClickLabel;
class LinkOpener;
class QLabel;
class QPushButton;

// The window "A propos", opened by "?" in the main window's menu bar.
// The about box: the program's name and version, the author's support address and the
// product's web page, both opening their link when clicked.
class TPropos : public QDialog {
    Q_OBJECT

public:
    explicit TPropos(LinkOpener &links, QWidget *parent = nullptr);

    // The support address: a new mail to it, subject "Quirelle".
    void Label3Click();
    // The web page's address: opens the page.
    void Label5Click();
    // "OK": closes the about box.
    void Button1Click();

    // The program's icon.
    QLabel *Image1;
    // "Quirelle vs 8.4.13", the program's name and version.
    QLabel *Label1;
    // "Programmé par :", the caption before the support address.
    QLabel *Label2;
    // The author's support address, blue; a click writes a mail to it.
    ClickLabel *Label3;
    // "Convertir des docs en bd : ", the caption before the web page's address.
    QLabel *Label4;
    // The web page's address, blue; a click opens it.
    ClickLabel *Label5;
    // "OK": closes the about box.
    QPushButton *Button1;

private:
    LinkOpener &links_;
};
