#include "app/Unit1.h"

#include "app/Unit1Events.h"
#include "app/core/render/Ghostscript.h"
#include "app/widgets/ClickLabel.h"
#include "app/widgets/ClientArea.h"
#include "app/widgets/PictureBox.h"
#include "app/widgets/ThumbnailGrid.h"
#include "app/widgets/VirtualKey.h"
#include "app/widgets/WindowStyle.h"
#include "controls/EventGuard.h"
#include "controls/GradButton.h"

#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>

const QString TForm1::ThumbnailPrefix = QStringLiteral("ImageBD");

namespace {

QLabel *whiteLabel(QWidget *parent, int top, const QString &caption, bool underlined)
{
    auto *label = new QLabel(caption, parent);
    label->setTextFormat(Qt::PlainText);
    QPalette white = label->palette();
    white.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(white);
    QFont font = label->font();
    font.setUnderline(underlined);
    label->setFont(font);
    label->adjustSize();
    label->move(label->x(), top);
    return label;
}

TGradButton *navigationButton(QWidget *parent, const QString &caption)
{
    auto *button = new TGradButton(parent);
    button->SetCaption(caption);
    button->SetTabStop(false);
    button->setGeometry(0, 13, 89, 25);
    return button;
}

} // namespace

TForm1::TForm1(const TForm1Services &services_, QWidget *parent)
    : QMainWindow(parent), services(services_)
{
    setWindowTitle(QStringLiteral("Quirelle"));
    setFont(FormFont());
    move(48, 72);
    resize(995, 1036);

    createControls();
    createMenu();
    connectEvents();

    OpenDialog1.Filter =
        QStringLiteral("Bande dessinée (*.bd)|*.bd|Adobe Acrobat Document (*.pdf)|*.pdf");
    OpenDialog1.FileMustExist = true;
    OpenDialogPDF.Filter = QStringLiteral("Fichier PDF (*.pdf)|*.pdf");
    OpenDialogPDF.FileMustExist = true;
    SaveDialogBD.Filter = QStringLiteral("Bande dessinée (*.bd)|*.bd");
    // "(*.doc;docx)", without "*." before docx, is the program's own text, kept as it stands.
    DocDialog.Filter = QStringLiteral("Fichier Word (*.doc;docx)|*.doc;*.docx");
    OpenPictureDialog1.FileMustExist = true;
    OpenPictureDialog1.AllowMultiSelect = true;
    OpenPictureDialog1.Picture = true;

    FormCreate();
}

TForm1::~TForm1()
{
    FormDestroy();
}

void TForm1::createControls()
{
    Client = new ClientArea(this);
    setCentralWidget(Client);
    QWidget *canvas = Client->canvas();

    Image1 = new PictureBox(canvas);
    Image1->setStretch(true);
    Image1->setGeometry(10, 59, 688, 389);

    Thumbnails = new ThumbnailGrid(canvas);
    Thumbnails->setVisible(false);
    ConnectGuarded(Thumbnails, &ThumbnailGrid::clicked, this, [this](int cell) {
        AffichePageClick(ThumbnailPrefix + thumbnailPages_[static_cast<std::size_t>(cell)].Name);
    });
    // Scrolling asks for the rows that come into view; they load once the scroll is handled.
    ConnectGuarded(Thumbnails, &ThumbnailGrid::picturesWanted, this, &TForm1::loadWantedThumbnails,
                   Qt::QueuedConnection);
    ConnectGuarded(Client->verticalScrollBar(), &QScrollBar::valueChanged, this,
                   &TForm1::showThumbnailRows);

    Panel1 = new QFrame(canvas);
    Panel1->setFrameShape(QFrame::NoFrame);
    Panel1->setAutoFillBackground(true);
    Panel1->setGeometry(0, 0, Client->clientWidth(), 49);
    Panel1->setVisible(false);

    Label1 = whiteLabel(Panel1, 8, QStringLiteral("Bande dessinée :"), true);
    Label2 = whiteLabel(Panel1, 8, QString(), false);
    Page = whiteLabel(Panel1, 28, QStringLiteral("Planche n° :"), true);
    Label3 = new ClickLabel(Panel1);
    Label3->setTextFormat(Qt::PlainText);
    Label3->setPalette(Label2->palette());
    Label3->move(0, 28);
    ConnectGuarded(Label3, &ClickLabel::clicked, this, &TForm1::Label3Click);

    Edit3 = new QLineEdit(Panel1);
    Edit3->setGeometry(0, 24, 73, 21);
    Edit3->setFocusPolicy(Qt::ClickFocus);
    Edit3->setVisible(false);
    ConnectGuarded(Edit3, &QLineEdit::returnPressed, this, [this] { Edit3KeyDown(VK_RETURN); });

    Button4 = navigationButton(Panel1, QStringLiteral("Première page"));
    Button1 = navigationButton(Panel1, QStringLiteral("Page précédente"));
    Button2 = navigationButton(Panel1, QStringLiteral("Page suivante"));
    Button3 = navigationButton(Panel1, QStringLiteral("Dernière page"));
    ConnectGuarded(Button4, &TGradButton::OnClick, this, &TForm1::Button4Click);
    ConnectGuarded(Button1, &TGradButton::OnClick, this, &TForm1::Button1Click);
    ConnectGuarded(Button2, &TGradButton::OnClick, this, &TForm1::Button2Click);
    ConnectGuarded(Button3, &TGradButton::OnClick, this, &TForm1::Button3Click);

    Zoom = new QComboBox(Panel1);
    Zoom->addItems({QStringLiteral("Taille réelle"), QStringLiteral("Taille écran"),
                    QStringLiteral("Pleine largeur"), QStringLiteral("Pleine hauteur")});
    Zoom->setGeometry(0, 16, 113, 21);
    Zoom->setCurrentIndex(0);
    ConnectGuarded(Zoom, &QComboBox::currentIndexChanged, this, &TForm1::ZoomClick);

    ScrollBar1 = new QScrollBar(Qt::Vertical, Client);
    ScrollBar1->setSingleStep(30);
    ScrollBar1->setPageStep(30);
    ScrollBar1->setVisible(false);

    VireFocus = new QTextEdit(canvas);
    VireFocus->setGeometry(0, 0, 0, 0);

    ToolBarPleinEcran = new QToolBar(this);
    ToolBarPleinEcran->setAutoFillBackground(true);
    ToolBarPleinEcran->setVisible(false);

    SourisPleinEcran = new QTimer(this);
    SourisPleinEcran->setInterval(2000);

    ConnectGuarded(Client, &ClientArea::resized, this, &TForm1::FormResize);
    ConnectGuarded(Client, &ClientArea::viewportResized, this, [this] {
        Panel1->resize(Client->clientWidth(), Panel1->height());
        ScrollBar1->setGeometry(Client->width() - 17, 0, 17, Client->height());
        Client->updateScrollRange();
        showThumbnailRows();
    });
}

void TForm1::createMenu()
{
    QMenuBar *bar = menuBar();
    bar->setVisible(true);

    Fichier1 = bar->addMenu(QStringLiteral("Fichier"));
    Ouvrir1 = Fichier1->addAction(QStringLiteral("Ouvrir..."));
    Imprimer1 = Fichier1->addMenu(QStringLiteral("Imprimer"));
    Imprimer1->menuAction()->setEnabled(false);
    A41 = Imprimer1->addAction(QStringLiteral("A4... (une image par page)"));
    // "par pages", plural: the program's own caption, kept as it stands.
    A51 = Imprimer1->addAction(QStringLiteral("A5... (deux images par pages)"));
    Quitter1 = Fichier1->addAction(QStringLiteral("Quitter"));

    Description = bar->addAction(QStringLiteral("Description"));
    Description->setVisible(false);
    Visionneuse1 = bar->addAction(QStringLiteral("Visionneuse"));
    Pleincran1 = bar->addAction(QStringLiteral("Plein écran"));

    Outils1 = bar->addMenu(QStringLiteral("Outils"));
    Extrairelespages1 = Outils1->addAction(QStringLiteral("Extraire les pages..."));
    AjouterRemplacerladescription1 =
        Outils1->addAction(QStringLiteral("Ajouter/Remplacer la description..."));
    N4 = Outils1->addSeparator();
    Convertir1 = Outils1->addAction(QStringLiteral("Convertir en JPG..."));
    CrationduneBD1 = Outils1->addAction(QStringLiteral("Création d'une BD..."));
    DocBD1 = Outils1->addAction(QStringLiteral("Doc -> Pdf..."));
    PDFBD1 = Outils1->addAction(QStringLiteral("Pdf -> BD..."));
    N5 = Outils1->addSeparator();
    Associerlextensionbd1 = Outils1->addAction(QStringLiteral("Associer l'extension .bd"));
    Dsassocierlextensionbd1 = Outils1->addAction(QStringLiteral("Désassocier l'extension .bd"));
    N3 = bar->addAction(QStringLiteral("?"));

    ConnectGuarded(A41, &QAction::triggered, this, &TForm1::A41Click);
    ConnectGuarded(A51, &QAction::triggered, this, &TForm1::A51Click);
    ConnectGuarded(Ouvrir1, &QAction::triggered, this, &TForm1::Ouvrir1Click);
    ConnectGuarded(Quitter1, &QAction::triggered, this, &TForm1::Quitter1Click);
    ConnectGuarded(Visionneuse1, &QAction::triggered, this, &TForm1::Visionneuse1Click);
    ConnectGuarded(Extrairelespages1, &QAction::triggered, this, &TForm1::Extrairelespages1Click);
    ConnectGuarded(Convertir1, &QAction::triggered, this, &TForm1::Convertir1Click);
    ConnectGuarded(Description, &QAction::triggered, this, &TForm1::DescriptionClick);
    ConnectGuarded(AjouterRemplacerladescription1, &QAction::triggered, this,
                   &TForm1::AjouterRemplacerladescription1Click);
    ConnectGuarded(DocBD1, &QAction::triggered, this, &TForm1::DocBD1Click);
    ConnectGuarded(PDFBD1, &QAction::triggered, this, &TForm1::PDFBD1Click);
    ConnectGuarded(Associerlextensionbd1, &QAction::triggered, this,
                   &TForm1::Associerlextensionbd1Click);
    ConnectGuarded(Dsassocierlextensionbd1, &QAction::triggered, this,
                   &TForm1::Dsassocierlextensionbd1Click);
    ConnectGuarded(CrationduneBD1, &QAction::triggered, this, &TForm1::CrationduneBD1Click);
}

bool TForm1::menuHidden() const
{
    return menuBar()->isHidden();
}

void TForm1::FormCreate()
{
    state.GhostscriptDir = FindGhostscriptDir();
    if (!GhostscriptConsoleExists(state.GhostscriptDir))
        PDFBD1->setEnabled(false);
}

void TForm1::Ouvrir1Click()
{
    if (services.dialogs.openFile(OpenDialog1))
        Charge(OpenDialog1.FileName);
}

void TForm1::Quitter1Click()
{
    close();
}

void TForm1::FormDestroy()
{
    state.Book = OpenBook();
}
