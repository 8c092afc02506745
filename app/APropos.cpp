#include "app/APropos.h"

#include "app/core/program/Contact.h"
#include "app/core/seams/LinkOpener.h"
#include "app/widgets/ClickLabel.h"
#include "app/widgets/WindowStyle.h"
#include "controls/EventGuard.h"

#include <QPushButton>
#include <QUrlQuery>

#include <algorithm>

namespace {

template <typename Label> Label *PlaceLabel(QWidget *parent, const QString &text, int left, int top)
{
    auto *label = new Label(text, parent);
    label->move(left, top);
    label->adjustSize();
    return label;
}

void StyleAsLink(ClickLabel &label)
{
    QPalette palette = label.palette();
    palette.setColor(QPalette::WindowText, Qt::blue);
    label.setPalette(palette);
    label.setCursor(Qt::PointingHandCursor);
}

} // namespace

TPropos::TPropos(LinkOpener &links, QWidget *parent) : QDialog(parent), links_(links)
{
    // "A propos", without the accent on the A: the program's own caption, kept as it stands.
    StyleSecondaryWindow(*this, QStringLiteral("A propos"), QSize(272, 231));

    Image1 = new QLabel(this);
    Image1->setGeometry(30, 30, 32, 32);
    Image1->setPixmap(QPixmap(QStringLiteral(":/quirelle/Quirelle.png")));
    Image1->setScaledContents(true);

    // "vs" before the version is the program's own text, kept as it stands.
    Label1 = PlaceLabel<QLabel>(this, QStringLiteral("Quirelle vs 8.4.13"), 80, 40);
    QFont underlined = Label1->font();
    underlined.setUnderline(true);
    Label1->setFont(underlined);
    Label1->adjustSize();

    Label2 = PlaceLabel<QLabel>(this, QStringLiteral("Programmé par :"), 20, 90);
    // Where the font is wider than the one these places were made for, the address moves
    // right rather than cover the end of its caption.
    Label3 = PlaceLabel<ClickLabel>(this, QLatin1String(SupportAddress),
                                    std::max(105, Label2->geometry().right() + 3), 90);
    StyleAsLink(*Label3);
    // The caption ends with a blank after its colon: the program's own text, kept as it stands.
    Label4 = PlaceLabel<QLabel>(this, QStringLiteral("Convertir des docs en bd : "), 21, 112);
    Label5 = PlaceLabel<ClickLabel>(this, QLatin1String(WebPageAddress), 17, 130);
    StyleAsLink(*Label5);

    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setGeometry(90, 160, 75, 25);

    ConnectGuarded(Label3, &ClickLabel::clicked, this, &TPropos::Label3Click);
    ConnectGuarded(Label5, &ClickLabel::clicked, this, &TPropos::Label5Click);
    ConnectGuarded(Button1, &QPushButton::clicked, this, &TPropos::Button1Click);
}

void TPropos::Label3Click()
{
    QUrl mail(QStringLiteral("mailto:") + QLatin1String(SupportAddress));
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("subject"), QStringLiteral("Quirelle"));
    mail.setQuery(query);
    links_.open(mail);
}

void TPropos::Label5Click()
{
    links_.open(QUrl(QLatin1String(WebPageAddress)));
}

void TPropos::Button1Click()
{
    close();
}
