#include "app/Creation.h"

#include "app/core/creation/CreateBook.h"
#include "app/core/creation/CreationRows.h"
#include "app/widgets/GlyphButton.h"
#include "app/widgets/WindowStyle.h"
#include "controls/EventGuard.h"
#include "controls/GradButton.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QShowEvent>

#include <algorithm>

namespace {

constexpr QRgb GlyphBackground = qRgb(255, 0, 255); // left out when the glyph is drawn

// A black arrow pointing down, for the buttons that move rows down.
QImage DownArrowGlyph()
{
    QImage glyph(9, 10, QImage::Format_RGB32);
    glyph.fill(GlyphBackground);
    QPainter painter(&glyph);
    painter.fillRect(3, 0, 3, 5, Qt::black);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    const QPoint head[] = {{0, 5}, {8, 5}, {4, 9}};
    painter.drawPolygon(head, 3);
    return glyph;
}

// Three lines over a small triangle pointing down: the menu of a list.
QImage MenuGlyph()
{
    QImage glyph(9, 9, QImage::Format_ARGB32);
    glyph.fill(Qt::transparent);
    QPainter painter(&glyph);
    for (int y : {0, 2, 4})
        painter.fillRect(0, y, 9, 1, Qt::black);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    const QPoint arrow[] = {{2, 6}, {7, 6}, {4, 9}};
    painter.drawPolygon(arrow, 3);
    return glyph;
}

TGradButton *gradButton(QWidget *parent, const QString &caption, QRect geometry)
{
    auto *button = new TGradButton(parent);
    button->SetColorScheme(csNeoSilver);
    button->SetCaption(caption);
    button->setGeometry(geometry);
    return button;
}

QCheckBox *checkBox(QWidget *parent, const QString &caption, QRect geometry, bool underlined)
{
    auto *box = new QCheckBox(caption, parent);
    QFont font = box->font();
    font.setUnderline(underlined);
    box->setFont(font);
    // Where the font is wider than the one these sizes were made for, the box grows to show
    // its whole caption.
    geometry.setWidth(std::max(geometry.width(), box->sizeHint().width()));
    box->setGeometry(geometry);
    return box;
}

QLabel *underlinedLabel(QWidget *parent, const QString &caption, int top)
{
    auto *label = new QLabel(caption, parent);
    QFont font = label->font();
    font.setUnderline(true);
    label->setFont(font);
    label->adjustSize();
    label->move(10, top);
    return label;
}

QLineEdit *pathEdit(QWidget *parent, int top)
{
    auto *edit = new QLineEdit(parent);
    edit->setGeometry(10, top, 451, 21);
    return edit;
}

QListWidget *rowList(QWidget *parent, int top, int height)
{
    auto *list = new QListWidget(parent);
    list->setGeometry(10, top, 451, height);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setContextMenuPolicy(Qt::CustomContextMenu);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // Every row as high as the first, whose width is the widest row's (see ActualisePages).
    list->setUniformItemSizes(true);
    return list;
}

RowSelection selection(const QListWidget &list)
{
    RowSelection selected(std::size_t(list.count()));
    for (int row = 0; row < list.count(); ++row)
        selected[std::size_t(row)] = list.item(row)->isSelected();
    return selected;
}

} // namespace

TCreeBD::TCreeBD(const TCreeBDServices &services, QWidget *parent)
    : QDialog(parent), services_(services)
{
    StyleSecondaryWindow(*this, QStringLiteral("Création"), QSize(571, 577));
    // The height is fixed; the width may grow, down to 360.
    setMinimumSize(360, 577);
    setMaximumHeight(577);

    createControls();
    createPopupMenu();
    connectEvents();
    // The controls of the cover, the back covers and the description start disabled.
    ReliureCheckClick();
    QuatrsCheckClick();
    DescriptCheckClick();

    // "JPG Images", in English word order: the program's own text, kept as it stands.
    OpenPictureDialog1.Filter = QStringLiteral("JPG Images|*.jpg;*.jpeg;*.jpe");
    OpenPictureDialog1.Picture = true;
    OpenPictureDialog1.FileMustExist = true;
    DescriptDialog.Filter = QStringLiteral("Fichier rtf (*.rtf)|*.rtf");
    DescriptDialog.FileMustExist = true;
    SaveDialog1.Filter = QStringLiteral("Bande dessinée (*.bd)|*.bd");
    FormResize();
}

void TCreeBD::createControls()
{
    ReliureCheck = checkBox(this, QStringLiteral("Reliure :"), {10, 9, 59, 17}, true);
    Reliure = pathEdit(this, 29);
    Reliure->setReadOnly(true);
    GradButton4 = gradButton(this, QStringLiteral("..."), {0, 29, 25, 25});
    GradButton5 = gradButton(this, QStringLiteral("Suppr"), {0, 29, 36, 26});

    Label1 = underlinedLabel(this, QStringLiteral("Liste des pages :"), 61);
    ListePages = rowList(this, 81, 193);
    MenuPage = new GlyphButton(MenuGlyph(), this);
    MenuPage->setGeometry(0, 80, 17, 17);
    Ajouter = gradButton(this, QStringLiteral("Ajouter"), {0, 109, 75, 25});
    VersHautFus = gradButton(this, QStringLiteral("^"), {0, 141, 26, 26});
    SupprFus = gradButton(this, QStringLiteral("Suppr"), {0, 174, 36, 26});
    VersBasFus = gradButton(this, QString(), {0, 207, 26, 26});
    VersBasFus->SetGlyph(DownArrowGlyph());

    QuatrsCheck =
        checkBox(this, QStringLiteral("Quatrièmes de couverture :"), {10, 286, 151, 17}, true);
    Quatrs = rowList(this, 306, 61);
    MenuQuatrs = new GlyphButton(MenuGlyph(), this);
    MenuQuatrs->setGeometry(0, 304, 17, 17);
    GradButton6 = gradButton(this, QStringLiteral("..."), {0, 311, 25, 23});
    GradButton7 = gradButton(this, QStringLiteral("Suppr"), {0, 309, 36, 26});
    GradButton11 = gradButton(this, QStringLiteral("^"), {0, 339, 26, 26});
    GradButton10 = gradButton(this, QString(), {0, 339, 26, 26});
    GradButton10->SetGlyph(DownArrowGlyph());

    DescriptCheck = checkBox(this, QStringLiteral("Utiliser un fichier pour décrire le livre"),
                             {10, 379, 193, 17}, false);
    Descript = pathEdit(this, 403);
    GradButton1 = gradButton(this, QStringLiteral("..."), {0, 403, 25, 25});

    Label2 = underlinedLabel(this, QStringLiteral("Fichier de destination :"), 435);
    DestinationBD = pathEdit(this, 459);
    GradButton2 = gradButton(this, QStringLiteral("..."), {0, 459, 25, 25});

    GradButton3 = gradButton(this, QStringLiteral("Créer le fichier"), {0, 507, 85, 25});
    Fermer = gradButton(this, QStringLiteral("Fermer"), {0, 507, 85, 25});
    RAZ = gradButton(this, QStringLiteral("Remise à zéro"), {0, 507, 85, 25});

    QWidget *const tabOrder[] = {
        Reliure,     GradButton4,   GradButton5,  ListePages,    Ajouter,
        VersHautFus, SupprFus,      VersBasFus,   Quatrs,        GradButton6,
        GradButton7, GradButton11,  GradButton10, DescriptCheck, Descript,
        GradButton1, DestinationBD, GradButton2,  GradButton3,   Fermer,
        RAZ,         ReliureCheck,  QuatrsCheck,  MenuPage,      MenuQuatrs};
    for (std::size_t i = 1; i < std::size(tabOrder); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
}

void TCreeBD::connectEvents()
{
    ConnectGuarded(Ajouter, &TGradButton::OnClick, this, &TCreeBD::AjouterClick);
    ConnectGuarded(GradButton6, &TGradButton::OnClick, this, &TCreeBD::GradButton6Click);
    ConnectGuarded(VersHautFus, &TGradButton::OnClick, this, &TCreeBD::VersHautFusClick);
    ConnectGuarded(VersBasFus, &TGradButton::OnClick, this, &TCreeBD::VersBasFusClick);
    ConnectGuarded(GradButton11, &TGradButton::OnClick, this, &TCreeBD::GradButton11Click);
    ConnectGuarded(GradButton10, &TGradButton::OnClick, this, &TCreeBD::GradButton10Click);
    ConnectGuarded(GradButton7, &TGradButton::OnClick, this, &TCreeBD::GradButton7Click);
    ConnectGuarded(SupprFus, &TGradButton::OnClick, this, &TCreeBD::SupprFusClick);
    ConnectGuarded(GradButton4, &TGradButton::OnClick, this, &TCreeBD::GradButton4Click);
    ConnectGuarded(GradButton5, &TGradButton::OnClick, this, &TCreeBD::GradButton5Click);
    ConnectGuarded(GradButton1, &TGradButton::OnClick, this, &TCreeBD::GradButton1Click);
    ConnectGuarded(GradButton2, &TGradButton::OnClick, this, &TCreeBD::GradButton2Click);
    ConnectGuarded(GradButton3, &TGradButton::OnClick, this, &TCreeBD::GradButton3Click);
    ConnectGuarded(Fermer, &TGradButton::OnClick, this, &TCreeBD::FermerClick);
    ConnectGuarded(RAZ, &TGradButton::OnClick, this, &TCreeBD::RAZClick);
    // Also when a box is checked or unchecked by the program ("Remise à zéro").
    ConnectGuarded(ReliureCheck, &QCheckBox::toggled, this, &TCreeBD::ReliureCheckClick);
    ConnectGuarded(QuatrsCheck, &QCheckBox::toggled, this, &TCreeBD::QuatrsCheckClick);
    ConnectGuarded(DescriptCheck, &QCheckBox::toggled, this, &TCreeBD::DescriptCheckClick);
    for (QListWidget *list : {ListePages, Quatrs})
        ConnectGuarded(list, &QListWidget::customContextMenuRequested, this,
                       [this, list](QPoint position) { PremsContextPopup(list, position); });
    ConnectGuarded(MenuPage, &GlyphButton::clicked, this, &TCreeBD::MenuPageClick);
    ConnectGuarded(MenuQuatrs, &GlyphButton::clicked, this, &TCreeBD::MenuQuatrsClick);
    ConnectGuarded(MenuPage, &GlyphButton::mouseMoved, this, &TCreeBD::MenuPageMouseMove);
    ConnectGuarded(MenuQuatrs, &GlyphButton::mouseMoved, this, &TCreeBD::MenuPageMouseMove);
}

void TCreeBD::FormResize()
{
    const int w = width();
    Ajouter->move(w - 92, Ajouter->y());
    VersHautFus->move(w - 67, VersHautFus->y());
    VersBasFus->move(w - 67, VersBasFus->y());
    SupprFus->move(w - 72, SupprFus->y());
    for (QWidget *field :
         std::initializer_list<QWidget *>{Reliure, Quatrs, ListePages, Descript, DestinationBD})
        field->resize(w - 120, field->height());
    for (QWidget *button : std::initializer_list<QWidget *>{GradButton1, GradButton2})
        button->move(w - 67, button->y());
    for (QWidget *button : std::initializer_list<QWidget *>{GradButton4, GradButton6, GradButton11})
        button->move(w - 90, button->y());
    for (QWidget *button : std::initializer_list<QWidget *>{GradButton5, GradButton7})
        button->move(w - 55, button->y());
    GradButton10->move(w - 50, GradButton10->y());
    GradButton3->move((w - 275) / 2, GradButton3->y());
    Fermer->move(GradButton3->x() + 95, Fermer->y());
    RAZ->move(Fermer->x() + 95, RAZ->y());
    const int listRight = ListePages->x() + ListePages->width();
    MenuPage->move(listRight, MenuPage->y());
    MenuQuatrs->move(listRight, MenuQuatrs->y());
}

void TCreeBD::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    FormResize();
}

void TCreeBD::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TCreeBD::FormShow()
{
    PageFiles.clear();
    QuatrsFiles.clear();
    CreationConstraints.clear();
    ActualisePages();
}

void TCreeBD::done(int result)
{
    FormClose();
    QDialog::done(result);
}

void TCreeBD::FormClose()
{
    PageFiles.clear();
    QuatrsFiles.clear();
}

void TCreeBD::FermerClick()
{
    reject();
}

void TCreeBD::addImages(QStringList &target)
{
    OpenPictureDialog1.AllowMultiSelect = true;
    if (!services_.dialogs.openFile(OpenPictureDialog1))
        return;
    for (const QString &file : OpenPictureDialog1.Files)
        if (PageFiles.contains(file) || QuatrsFiles.contains(file)) {
            services_.prompter.error(
                QStringLiteral("Impossible d'insérer une même image plusieurs fois."));
            return;
        }
    target << OpenPictureDialog1.Files;
    ActualisePages();
}

void TCreeBD::AjouterClick()
{
    addImages(PageFiles);
}

void TCreeBD::GradButton6Click()
{
    addImages(QuatrsFiles);
}

void TCreeBD::deleteSelectedRows(QListWidget &list, QStringList &files,
                                 const std::vector<std::int32_t> &rows)
{
    DeleteSelectedRows(selection(list), files, rows, CreationConstraints);
    ActualisePages();
}

void TCreeBD::SupprFusClick()
{
    deleteSelectedRows(*ListePages, PageFiles, PageRows);
}

void TCreeBD::GradButton7Click()
{
    deleteSelectedRows(*Quatrs, QuatrsFiles, QuatrRows);
}

void TCreeBD::moveRows(QListWidget &list, QStringList &files, const std::vector<std::int32_t> &rows,
                       bool up)
{
    if (list.count() == 0)
        return;
    const RowSelection selected = selection(list);
    list.setUpdatesEnabled(false);
    const std::vector<std::int32_t> targets =
        up ? MoveRowsUp(selected, files, rows) : MoveRowsDown(selected, files, rows);
    ActualisePages();
    for (const std::int32_t row : targets)
        if (QListWidgetItem *item = list.item(row))
            item->setSelected(true);
    list.setUpdatesEnabled(true);
}

void TCreeBD::VersHautFusClick()
{
    moveRows(*ListePages, PageFiles, PageRows, true);
}

void TCreeBD::VersBasFusClick()
{
    moveRows(*ListePages, PageFiles, PageRows, false);
}

void TCreeBD::GradButton11Click()
{
    moveRows(*Quatrs, QuatrsFiles, QuatrRows, true);
}

void TCreeBD::GradButton10Click()
{
    moveRows(*Quatrs, QuatrsFiles, QuatrRows, false);
}

void TCreeBD::GradButton4Click()
{
    OpenPictureDialog1.AllowMultiSelect = false;
    if (services_.dialogs.openFile(OpenPictureDialog1))
        Reliure->setText(OpenPictureDialog1.FileName);
}

void TCreeBD::GradButton5Click()
{
    Reliure->clear();
}

void TCreeBD::DescriptCheckClick()
{
    Descript->setEnabled(DescriptCheck->isChecked());
    GradButton1->setEnabled(DescriptCheck->isChecked());
}

void TCreeBD::GradButton1Click()
{
    if (services_.dialogs.openFile(DescriptDialog))
        Descript->setText(DescriptDialog.FileName);
}

void TCreeBD::GradButton2Click()
{
    if (!services_.dialogs.saveFile(SaveDialog1))
        return;
    const QString destination = BookDestinationName(SaveDialog1.FileName);
    DestinationBD->setText(destination);
    // The dialog asked before choosing an existing file, but only under the name it showed,
    // and not about a link that leads to no file.
    confirmedDestination_ = destination == SaveDialog1.FileName && QFileInfo::exists(destination)
                                ? destination
                                : QString();
}

void TCreeBD::GradButton3Click()
{
    const CreationContent content{.Cover = Reliure->text(),
                                  .CoverChecked = ReliureCheck->isChecked(),
                                  .PageFiles = PageFiles,
                                  .QuatrsFiles = QuatrsFiles,
                                  .QuatrsChecked = QuatrsCheck->isChecked(),
                                  .Description = Descript->text(),
                                  .DescriptionChecked = DescriptCheck->isChecked(),
                                  .Constraints = CreationConstraints};
    const QString destination = DestinationBD->text();
    CreateBook(content,
               {destination, services_.openBook ? services_.openBook() : QString(),
                !destination.isEmpty() && destination == confirmedDestination_},
               services_.prompter);
}

void TCreeBD::RAZClick()
{
    Reliure->clear();
    Descript->clear();
    DestinationBD->clear();
    // The lists are emptied first: unchecking the back covers' box runs the preview.
    PageFiles.clear();
    QuatrsFiles.clear();
    PageRows.clear();
    QuatrRows.clear();
    CreationConstraints.clear();
    ReliureCheck->setChecked(false);
    QuatrsCheck->setChecked(false);
    DescriptCheck->setChecked(false);
    ActualisePages();
}
