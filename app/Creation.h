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

// The book-creation window: a cover, the pages and the back covers with a live preview of
// their numbering, numbering constraints on single images, a description and the
// destination of the book. Shown modally from the main window; it keeps its fields and
// check boxes between showings and starts each showing with empty lists.
class TCreeBD : public QDialog {
    Q_OBJECT

public:
    explicit TCreeBD(const TCreeBDServices &services, QWidget *parent = nullptr);

    QCheckBox *ReliureCheck;
    QLineEdit *Reliure;
    TGradButton *GradButton4;
    TGradButton *GradButton5;
    QLabel *Label1;
    QListWidget *ListePages;
    GlyphButton *MenuPage;
    TGradButton *Ajouter;
    TGradButton *VersHautFus;
    TGradButton *SupprFus;
    TGradButton *VersBasFus;
    QCheckBox *QuatrsCheck;
    QListWidget *Quatrs;
    GlyphButton *MenuQuatrs;
    TGradButton *GradButton6;
    TGradButton *GradButton7;
    TGradButton *GradButton11;
    TGradButton *GradButton10;
    QCheckBox *DescriptCheck;
    QLineEdit *Descript;
    TGradButton *GradButton1;
    QLabel *Label2;
    QLineEdit *DestinationBD;
    TGradButton *GradButton2;
    TGradButton *GradButton3;
    TGradButton *Fermer;
    TGradButton *RAZ;

    // The constraint menu of both lists.
    QMenu *PopupMenu1;
    QMenu *Numerotation1;
    QAction *N1231;
    QAction *ABC2;
    QAction *abc1;
    QAction *IIIIII2;
    QAction *IIIIII1;
    QMenu *Imposerpage1;
    QAction *Imposerlapage1;
    QAction *Adroite1;
    QAction *Agauche1;
    QAction *Supprimerlacontrainte1;

    FileDialog OpenPictureDialog1;
    FileDialog DescriptDialog;
    FileDialog SaveDialog1;

    QStringList PageFiles;
    QStringList QuatrsFiles;
    std::vector<std::int32_t> PageRows;  // per row of ListePages: index in PageFiles, -1 blank
    std::vector<std::int32_t> QuatrRows; // per row of Quatrs: index in QuatrsFiles, -1 blank
    CreationConstraintList CreationConstraints;

    // Files, layout and the book (Creation.cpp).
    void AjouterClick();
    void GradButton6Click();
    void VersHautFusClick();
    void VersBasFusClick();
    void GradButton11Click();
    void GradButton10Click();
    void GradButton7Click();
    void SupprFusClick();
    void GradButton4Click();
    void GradButton5Click();
    void DescriptCheckClick();
    void GradButton1Click();
    void GradButton2Click();
    void GradButton3Click();
    void FermerClick();
    void RAZClick();
    void FormShow();
    void FormClose();
    void FormResize();

    // The numbering preview, its constraint menu and the check boxes (CreationMenu.cpp).
    void ActualisePages();
    // The file of the focused row of the list the menu was opened for; empty when there is
    // none, with a message when that row is a blank page.
    QString ReturnFichPopup();
    void PremsContextPopup(QListWidget *list, QPoint position);
    void PopupMenu1Popup();
    void KindClick(NumberingKind kind); // the five items of "Type de numérotation"
    void Imposerpage1Click();
    void Adroite1Click();
    void Agauche1Click();
    void Supprimerlacontrainte1Click();
    void ReliureCheckClick();
    void QuatrsCheckClick();
    void MenuPageClick();
    void MenuQuatrsClick();
    void MenuPageMouseMove(QPoint position);

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
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
    QListWidget *PopupSource = nullptr;
    int MouseX = 0;
    int MouseY = 0;
    QString confirmedDestination_; // the destination the save dialog confirmed
};
