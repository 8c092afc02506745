#pragma once

#include "app/core/creation/CreationConstraints.h"
#include "app/core/seams/Dialogs.h"
#include "app/core/seams/Prompter.h"

#include <QDialog>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <vector>

class GlyphButton;
class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class TGradButton;

// What the book-creation window takes from outside.
struct TCreeBDServices {
    Prompter &prompter;
    Dialogs &dialogs;
    // The book open in the main window (empty when none), which is never replaced.
    std::function<QString()> openBook;
};

// The window "Création", opened by "Outils > Création d'une BD...".
// The book-creation window: a cover, the pages and the back covers with a live preview of
// their numbering, numbering constraints on single images, a description and the
// destination of the book. Shown modally from the main window; it keeps its fields and
// check boxes between showings and starts each showing with empty lists.
class TCreeBD : public QDialog {
    Q_OBJECT

public:
    explicit TCreeBD(const TCreeBDServices &services, QWidget *parent = nullptr);

    // "Reliure :": the book gets a cover; enables the cover's field and its two buttons.
    QCheckBox *ReliureCheck;
    // The cover's JPEG file, read-only: chosen with "...".
    QLineEdit *Reliure;
    // "..." beside the cover: chooses the cover's JPEG file.
    TGradButton *GradButton4;
    // "Suppr" beside the cover: empties the cover's field.
    TGradButton *GradButton5;
    // "Liste des pages :", the caption of the page list.
    QLabel *Label1;
    // The pages, each row with the number it will get, "Page blanche" rows for the blank pages
    // to be added, "*" before a page with a constraint; a right click opens the constraint menu.
    QListWidget *ListePages;
    // The small menu button at the top right of the page list: the constraint menu of the row.
    GlyphButton *MenuPage;
    // "Ajouter": adds one or several JPEG files to the pages.
    TGradButton *Ajouter;
    // "^" beside the pages: moves the selected rows up.
    TGradButton *VersHautFus;
    // "Suppr" beside the pages: removes the selected rows.
    TGradButton *SupprFus;
    // The down arrow beside the pages: moves the selected rows down.
    TGradButton *VersBasFus;
    // "Quatrièmes de couverture :": the book gets back covers; enables their list and buttons.
    QCheckBox *QuatrsCheck;
    // The back covers; numbered after the pages while "Quatrièmes de couverture :" is checked.
    QListWidget *Quatrs;
    // The small menu button at the top right of the back-cover list: the constraint menu.
    GlyphButton *MenuQuatrs;
    // "..." beside the back covers: adds one or several JPEG files to them.
    TGradButton *GradButton6;
    // "Suppr" beside the back covers: removes the selected rows.
    TGradButton *GradButton7;
    // "^" beside the back covers: moves the selected rows up.
    TGradButton *GradButton11;
    // The down arrow beside the back covers: moves the selected rows down.
    TGradButton *GradButton10;
    // "Utiliser un fichier pour décrire le livre": the book gets the RTF description named below.
    QCheckBox *DescriptCheck;
    // The description's RTF file.
    QLineEdit *Descript;
    // "..." beside the description: chooses the RTF file.
    TGradButton *GradButton1;
    // "Fichier de destination :", the caption of the destination.
    QLabel *Label2;
    // The book to write; it may be typed or chosen with "...".
    QLineEdit *DestinationBD;
    // "..." beside the destination: the save dialog; ".bd" is added to a name without it.
    TGradButton *GradButton2;
    // "Créer le fichier": writes the book (greyed out while a constraint cannot be met).
    TGradButton *GradButton3;
    // "Fermer": closes the window.
    TGradButton *Fermer;
    // "Remise à zéro": empties every field and list and unchecks the three boxes.
    TGradButton *RAZ;

    // The constraint menu of both lists.
    // Opened by a right click on a row or by a list's menu button.
    QMenu *PopupMenu1;
    // "Type de numérotation": the numbering kind that starts at this page.
    QMenu *Numerotation1;
    // "1, 2, 3, ...".
    QAction *N1231;
    // "A, B, C, ...".
    QAction *ABC2;
    // "a, b, c, ...".
    QAction *abc1;
    // "I, II, III".
    QAction *IIIIII2;
    // "i, ii, iii, ...".
    QAction *IIIIII1;
    // "Numéro de la page": the page's number or side.
    QMenu *Imposerpage1;
    // "Imposer...": asks the number the page must carry.
    QAction *Imposerlapage1;
    // "A droite": the page must be a right-hand page.
    QAction *Adroite1;
    // "A gauche": the page must be a left-hand page.
    QAction *Agauche1;
    // "Supprimer la contrainte": removes the row's constraint; shown only on a row marked "*".
    QAction *Supprimerlacontrainte1;

    // The JPEG files of the cover, the pages and the back covers.
    FileDialog OpenPictureDialog1;
    // The RTF file of the description.
    FileDialog DescriptDialog;
    // The destination book.
    FileDialog SaveDialog1;

    QStringList PageFiles;
    QStringList QuatrsFiles;
    std::vector<std::int32_t> PageRows;  // per row of ListePages: index in PageFiles, -1 blank
    std::vector<std::int32_t> QuatrRows; // per row of Quatrs: index in QuatrsFiles, -1 blank
    CreationConstraintList CreationConstraints;

    // Files, layout and the book (Creation.cpp).
    // "Ajouter": adds JPEG files to the pages; an image already in either list is refused.
    void AjouterClick();
    // "..." beside the back covers: adds JPEG files to them, as "Ajouter" does to the pages.
    void GradButton6Click();
    // "^" beside the pages: moves the selected rows up.
    void VersHautFusClick();
    // The down arrow beside the pages: moves the selected rows down.
    void VersBasFusClick();
    // "^" beside the back covers: moves the selected rows up.
    void GradButton11Click();
    // The down arrow beside the back covers: moves the selected rows down.
    void GradButton10Click();
    // "Suppr" beside the back covers: removes the selected rows.
    void GradButton7Click();
    // "Suppr" beside the pages: removes the selected rows.
    void SupprFusClick();
    // "..." beside the cover: the open dialog for the cover's JPEG file.
    void GradButton4Click();
    // "Suppr" beside the cover: empties the cover's field.
    void GradButton5Click();
    // "Utiliser un fichier pour décrire le livre" checked or not: enables the field and "...".
    void DescriptCheckClick();
    // "..." beside the description: the open dialog for the RTF file.
    void GradButton1Click();
    // "..." beside the destination: the save dialog for the book.
    void GradButton2Click();
    // "Créer le fichier": checks what the window holds, asks before replacing a file the save
    // dialog did not confirm, writes the book and says that the creation succeeded (CreateBook,
    // app/core/creation/CreateBook.h).
    void GradButton3Click();
    // "Fermer": closes the window.
    void FermerClick();
    // "Remise à zéro": empties every field and list and unchecks the three boxes.
    void RAZClick();
    // Each showing of the window starts with empty lists and no constraints.
    void FormShow();
    // Closing the window empties the lists.
    void FormClose();
    // Keeps the fields as wide as the window allows and the buttons at its right edge; the three
    // bottom buttons centred.
    void FormResize();

    // The numbering preview, its constraint menu and the check boxes (CreationMenu.cpp).
    // "Actualise les pages": the numbering preview. Refills both lists from the files and the
    // constraints, reports a constraint that cannot be met and greys out "Créer le fichier" then.
    void ActualisePages();
    // The file of the focused row of the list the menu was opened for; empty when there is
    // none, with a message when that row is a blank page.
    QString ReturnFichPopup();
    // A right click on the page list or the back-cover list: the constraint menu there.
    void PremsContextPopup(QListWidget *list, QPoint position);
    // The constraint menu opens: ticks "A droite" and "A gauche" as the row's constraint says;
    // "Supprimer la contrainte" only on a row marked "*".
    void PopupMenu1Popup();
    void KindClick(NumberingKind kind); // the five items of "Type de numérotation"
    // "Imposer...": asks "Numérotation :" in the box "Pagination" and imposes that number.
    void Imposerpage1Click();
    // "A droite": the page must be a right-hand page.
    void Adroite1Click();
    // "A gauche": the page must be a left-hand page.
    void Agauche1Click();
    // "Supprimer la contrainte": removes the row's constraint.
    void Supprimerlacontrainte1Click();
    // "Reliure :" checked or not: enables the cover's field and buttons.
    void ReliureCheckClick();
    // "Quatrièmes de couverture :" checked or not: enables the back covers' list and buttons;
    // the back covers are numbered, and written, only while it is checked.
    void QuatrsCheckClick();
    // The page list's menu button: the constraint menu, when a row is selected.
    void MenuPageClick();
    // The back-cover list's menu button: the constraint menu, when a row is selected.
    void MenuQuatrsClick();
    // The mouse over either menu button: the menu opens where the pointer is.
    void MenuPageMouseMove(QPoint position);

protected:
    // Runs FormShow each time the program shows the window.
    void showEvent(QShowEvent *event) override;
    // Runs FormResize.
    void resizeEvent(QResizeEvent *event) override;
    // Runs FormClose however the window is closed.
    void done(int result) override;

private:
    void createControls();
    void createPopupMenu();
    void connectEvents();
    void addImages(QStringList &target);
    void deleteSelectedRows(QListWidget &list, QStringList &files,
                            const std::vector<std::int32_t> &rows);
    void moveRows(QListWidget &list, QStringList &files, const std::vector<std::int32_t> &rows,
                  bool up);
    // The focused row of PopupSource; -1 when the list has no rows, no focused row, or its
    // first row is focused but not selected.
    int focusedRow() const;
    const std::vector<std::int32_t> &rowsOf(const QListWidget *list) const;
    const QStringList &filesOf(const QListWidget *list) const;
    // The file of the focused row, or empty; a blank page's row is reported when asked.
    QString popupFile(bool reportBlank);
    // A menu item's edit of the file of the focused row; the preview follows a change.
    void editPopupFile(const std::function<bool(const QString &path)> &edit);
    void openPopupFor(QListWidget *list, GlyphButton *button);

    TCreeBDServices services_;
    // The list the constraint menu was opened for.
    QListWidget *PopupSource = nullptr;
    // Where the pointer was last over a list's menu button.
    int MouseX = 0;
    int MouseY = 0;
    QString confirmedDestination_; // the destination the save dialog confirmed
};
