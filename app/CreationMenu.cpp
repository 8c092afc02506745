// The numbering preview of the book-creation window, the constraint menu of its two lists
// and the check boxes of the cover and the back covers.
#include "app/Creation.h"

#include "app/core/creation/CreationPreview.h"
#include "app/widgets/GlyphButton.h"
#include "controls/EventGuard.h"
#include "controls/GradButton.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>

#include <algorithm>

namespace {

// The width in pixels of the widest row text, measured with the list's own font; 0 for an
// empty list.
int MaxItemWidth(const QListWidget &list)
{
    int widest = 0;
    for (int row = 0; row < list.count(); ++row)
        widest = std::max(widest, list.fontMetrics().horizontalAdvance(list.item(row)->text()));
    return widest;
}

void showRows(QListWidget &list, const QStringList &texts)
{
    list.clear();
    list.addItems(texts);
    // The rows are all as large as the first, whose width is the horizontal scroll extent.
    if (QListWidgetItem *first = list.item(0))
        first->setSizeHint(QSize(MaxItemWidth(list) + 4, list.sizeHintForRow(0)));
}

} // namespace

void TCreeBD::createPopupMenu()
{
    PopupMenu1 = new QMenu(this);
    Numerotation1 = PopupMenu1->addMenu(QStringLiteral("Type de numérotation"));
    N1231 = Numerotation1->addAction(QStringLiteral("1, 2, 3, ..."));
    ABC2 = Numerotation1->addAction(QStringLiteral("A, B, C, ..."));
    abc1 = Numerotation1->addAction(QStringLiteral("a, b, c, ..."));
    // "I, II, III" has no ", ..." as the other kinds have: the program's own caption, kept as it
    // stands.
    IIIIII2 = Numerotation1->addAction(QStringLiteral("I, II, III"));
    IIIIII1 = Numerotation1->addAction(QStringLiteral("i, ii, iii, ..."));
    Imposerpage1 = PopupMenu1->addMenu(QStringLiteral("Numéro de la page"));
    Imposerlapage1 = Imposerpage1->addAction(QStringLiteral("Imposer..."));
    // "A droite" and "A gauche", without the accent on the A: the program's own captions, kept as
    // they stand.
    Adroite1 = Imposerpage1->addAction(QStringLiteral("A droite"));
    Agauche1 = Imposerpage1->addAction(QStringLiteral("A gauche"));
    Supprimerlacontrainte1 = PopupMenu1->addAction(QStringLiteral("Supprimer la contrainte"));
    Adroite1->setCheckable(true);
    Agauche1->setCheckable(true);

    const QAction *kinds[] = {N1231, ABC2, abc1, IIIIII2, IIIIII1};
    for (NumberingKind kind = 0; kind < NumberingKindCount; ++kind)
        ConnectGuarded(kinds[kind], &QAction::triggered, this, [this, kind] { KindClick(kind); });
    ConnectGuarded(PopupMenu1, &QMenu::aboutToShow, this, &TCreeBD::PopupMenu1Popup);
    ConnectGuarded(Imposerlapage1, &QAction::triggered, this, &TCreeBD::Imposerpage1Click);
    ConnectGuarded(Adroite1, &QAction::triggered, this, &TCreeBD::Adroite1Click);
    ConnectGuarded(Agauche1, &QAction::triggered, this, &TCreeBD::Agauche1Click);
    ConnectGuarded(Supprimerlacontrainte1, &QAction::triggered, this,
                   &TCreeBD::Supprimerlacontrainte1Click);
}

void TCreeBD::ActualisePages()
{
    const CreationPreview preview =
        PreviewNumbering(PageFiles, QuatrsFiles, QuatrsCheck->isChecked(), CreationConstraints);
    for (const QString &file : preview.Conflicts)
        services_.prompter.error(ConflictMessage(file));
    showRows(*ListePages, preview.PageTexts);
    PageRows = preview.PageRows;
    showRows(*Quatrs, preview.QuatrTexts);
    QuatrRows = preview.QuatrRows;
    GradButton3->setEnabled(preview.CreateEnabled);
}

const std::vector<std::int32_t> &TCreeBD::rowsOf(const QListWidget *list) const
{
    return list == Quatrs ? QuatrRows : PageRows;
}

const QStringList &TCreeBD::filesOf(const QListWidget *list) const
{
    return list == Quatrs ? QuatrsFiles : PageFiles;
}

int TCreeBD::focusedRow() const
{
    if (!PopupSource || PopupSource->count() == 0)
        return -1;
    const int row = PopupSource->currentRow();
    if (row < 0 || std::size_t(row) >= rowsOf(PopupSource).size() ||
        (row == 0 && !PopupSource->item(0)->isSelected()))
        return -1;
    return row;
}

QString TCreeBD::popupFile(bool reportBlank)
{
    const int row = focusedRow();
    if (row < 0)
        return {};
    const std::int32_t file = rowsOf(PopupSource)[std::size_t(row)];
    if (file == -1) {
        if (reportBlank)
            services_.prompter.error(
                QStringLiteral("Impossible d'affecter une contrainte à la page sélectionnée."));
        return {};
    }
    return filesOf(PopupSource)[file];
}

QString TCreeBD::ReturnFichPopup()
{
    return popupFile(true);
}

void TCreeBD::PremsContextPopup(QListWidget *list, QPoint position)
{
    PopupSource = list;
    PopupMenu1->popup(list->viewport()->mapToGlobal(position));
}

void TCreeBD::PopupMenu1Popup()
{
    Adroite1->setChecked(false);
    Agauche1->setChecked(false);
    const int focused = focusedRow();
    Supprimerlacontrainte1->setVisible(
        focused >= 0 && PopupSource->item(focused)->text().startsWith(QLatin1Char('*')));
    if (!PopupSource)
        return;
    // The side marks follow the focused row even when it is the first and not selected.
    const std::vector<std::int32_t> &rows = rowsOf(PopupSource);
    const int row = PopupSource->currentRow();
    if (row < 0 || std::size_t(row) >= rows.size() || rows[std::size_t(row)] == -1)
        return;
    const std::int32_t index =
        FindConstraint(CreationConstraints, filesOf(PopupSource)[rows[std::size_t(row)]]);
    if (index < 0)
        return;
    const std::int32_t value = CreationConstraints[std::size_t(index)].Value;
    Adroite1->setChecked(value & RightPageBit);
    Agauche1->setChecked(value & LeftPageBit);
}

void TCreeBD::editPopupFile(const std::function<bool(const QString &path)> &edit)
{
    const QString path = ReturnFichPopup();
    if (!path.isEmpty() && edit(path))
        ActualisePages();
}

void TCreeBD::KindClick(NumberingKind kind)
{
    editPopupFile([&](const QString &path) {
        SetConstraintKind(CreationConstraints, path, kind);
        return true;
    });
}

void TCreeBD::Imposerpage1Click()
{
    editPopupFile([this](const QString &path) {
        QString entry;
        if (!services_.dialogs.inputQuery(QStringLiteral("Pagination"),
                                          QStringLiteral("Numérotation :"), entry) ||
            entry.trimmed().isEmpty())
            return false;
        const std::optional<std::int32_t> counter = ImposedCounterOfEntry(entry);
        if (!counter) {
            services_.prompter.error(
                QStringLiteral("Le numéro de la page doit être un nombre entier de 0 à %1.")
                    .arg(MaxImposedEntry));
            return false;
        }
        ImposeConstraintCounter(CreationConstraints, path, *counter);
        return true;
    });
}

void TCreeBD::Adroite1Click()
{
    editPopupFile([this](const QString &path) {
        SetConstraintSide(CreationConstraints, path, RightPageBit);
        return true;
    });
}

void TCreeBD::Agauche1Click()
{
    editPopupFile([this](const QString &path) {
        SetConstraintSide(CreationConstraints, path, LeftPageBit);
        return true;
    });
}

void TCreeBD::Supprimerlacontrainte1Click()
{
    const QString path = popupFile(false);
    if (path.isEmpty())
        return;
    DeleteConstraint(CreationConstraints, FindConstraint(CreationConstraints, path));
    ActualisePages();
}

void TCreeBD::ReliureCheckClick()
{
    const bool checked = ReliureCheck->isChecked();
    for (QWidget *control : std::initializer_list<QWidget *>{Reliure, GradButton4, GradButton5})
        control->setEnabled(checked);
}

void TCreeBD::QuatrsCheckClick()
{
    const bool checked = QuatrsCheck->isChecked();
    for (QWidget *control : std::initializer_list<QWidget *>{
             Quatrs, MenuQuatrs, GradButton6, GradButton7, GradButton11, GradButton10})
        control->setEnabled(checked);
    // The back covers are numbered, and written, only when the box is checked.
    ActualisePages();
}

void TCreeBD::openPopupFor(QListWidget *list, GlyphButton *button)
{
    PopupSource = list;
    if (list->selectedItems().isEmpty())
        return;
    PopupMenu1->popup(button->mapToGlobal(QPoint(MouseX, MouseY)));
}

void TCreeBD::MenuPageClick()
{
    openPopupFor(ListePages, MenuPage);
}

void TCreeBD::MenuQuatrsClick()
{
    openPopupFor(Quatrs, MenuQuatrs);
}

void TCreeBD::MenuPageMouseMove(QPoint position)
{
    MouseX = position.x();
    MouseY = position.y();
}
