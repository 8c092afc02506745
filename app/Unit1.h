#pragma once

#include "app/adapters/QtPrintTarget.h"
#include "app/core/print/PrintJob.h"
#include "app/core/program/MainWindowState.h"
#include "app/core/program/Settings.h"
#include "app/core/render/PageRendering.h"
#include "app/core/seams/Dialogs.h"
#include "app/core/seams/Prompter.h"
#include "app/core/seams/UiHooks.h"

#include <QImage>
#include <QMainWindow>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class ClickLabel;
class ClientArea;
class LinkOpener;
class OutsidePrograms;
class PictureBox;
class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QScrollBar;
class QTextEdit;
class QTimer;
class QToolBar;
class TCreeBD;
class TDesc;
class TForm2;
class TGradButton;
class ThumbnailGrid;
class TPropos;
class Unit1Events;

// What the main window takes from outside, so that tests can drive it offscreen.
struct TForm1Services {
    Prompter &prompter;
    Dialogs &dialogs;
    UiHooks &ui;
    OutsidePrograms &programs; // Ghostscript, LibreOffice, the restart of the computer
    LinkOpener &links;
    QString programPath;          // the running program's full path
    QString commandLineFile = {}; // the program's first argument, opened on the first paint
};

// The window "Quirelle".
// The main window: the viewer of the open book or PDF, and the menus of every command.
// Each group of commands lives in a file of its own (Unit1*.cpp).
class TForm1 : public QMainWindow {
    Q_OBJECT

public:
    explicit TForm1(const TForm1Services &services, QWidget *parent = nullptr);
    ~TForm1() override;

    MainWindowState state;
    TForm1Services services;
    Settings settings{services.prompter};

    // Client area and its controls, in the window's coordinates.
    // The black client area under the menu bar; it scrolls the page or the thumbnail grid.
    ClientArea *Client = nullptr;
    // The page shown in the single-page view.
    PictureBox *Image1 = nullptr;
    ThumbnailGrid *Thumbnails = nullptr; // the thumbnail grid, on the canvas at (0, 0)
    // The black top panel above the page: book name, page name, navigation buttons, zoom box.
    // Hidden without a book, in the thumbnail grid and in full screen.
    QFrame *Panel1 = nullptr;
    // "Bande dessinée :", the caption before the book's name.
    QLabel *Label1 = nullptr;
    // The open book's name: its file name without the extension.
    QLabel *Label2 = nullptr;
    // "Planche n° :", the caption before the page's name.
    QLabel *Page = nullptr;
    // The name of the page shown; a click swaps it for Edit3, to type another page's name.
    ClickLabel *Label3 = nullptr;
    // The page-name box shown in place of Label3; Return shows the page of the typed name.
    QLineEdit *Edit3 = nullptr;
    // "Première page": shows the first page.
    TGradButton *Button4 = nullptr;
    // "Page précédente": shows the previous page; "Page introuvable." at the first.
    TGradButton *Button1 = nullptr;
    // "Page suivante": shows the next page; "Page introuvable." at the last.
    TGradButton *Button2 = nullptr;
    // "Dernière page": shows the last page.
    TGradButton *Button3 = nullptr;
    // The zoom box: "Taille réelle", "Taille écran", "Pleine largeur", "Pleine hauteur";
    // its choice is kept in the settings.
    QComboBox *Zoom = nullptr;
    // The hidden scroll bar that moves the page up and down in full screen (Up and Down keys).
    QScrollBar *ScrollBar1 = nullptr;
    // An invisible 0 x 0 text box that takes the keyboard focus back after each key, so that
    // the arrow keys keep turning pages ("vire focus": takes the focus away from the controls).
    QTextEdit *VireFocus = nullptr;
    // The full-screen tool bar in the top right corner, shown while the mouse moves.
    QToolBar *ToolBarPleinEcran = nullptr;
    // 2000 ms after the mouse moved in full screen, hides the pointer and the tool bar.
    QTimer *SourisPleinEcran = nullptr;
    QAction *ToolButton1 = nullptr; // the tool bar's one button, leaving full screen

    // The other windows, created at start-up after this one and kept for the whole run
    // (the margins dialog is the window's own, see marginsDialog()).
    // The about box "A propos" ("?" in the menu bar).
    TPropos *Propos = nullptr;
    // The book-creation window "Création" ("Outils > Création d'une BD...").
    TCreeBD *CreeBD = nullptr;
    // The description editor "Description" ("Outils > Ajouter/Remplacer la description...").
    TDesc *Desc = nullptr;

    // "Ouvrir...": a book (*.bd) or a PDF.
    FileDialog OpenDialog1;
    // "Pdf -> BD...": the PDF to make into a book.
    FileDialog OpenDialogPDF;
    // "Pdf -> BD...": the book to write.
    FileDialog SaveDialogBD;
    // "Doc -> Pdf...": the Word document to convert.
    FileDialog DocDialog;
    // "Convertir en JPG...": the pictures to convert, several at once.
    FileDialog OpenPictureDialog1;

    // The menu bar, in order.
    // "Fichier".
    QMenu *Fichier1 = nullptr;
    // "Fichier > Ouvrir...": opens a book or a PDF.
    QAction *Ouvrir1 = nullptr;
    // "Fichier > Imprimer": the two print layouts; greyed out until a book is open.
    QMenu *Imprimer1 = nullptr;
    // "A4... (une image par page)": prints one page a sheet side.
    QAction *A41 = nullptr;
    // "A5... (deux images par pages)": prints a saddle-stitched A5 booklet.
    QAction *A51 = nullptr;
    // "Fichier > Quitter": closes the window, which ends the program.
    QAction *Quitter1 = nullptr;
    // "Description" in the menu bar, shown when the open book has a description: shows it.
    QAction *Description = nullptr;
    // "Visionneuse": shows the thumbnail grid of the open book.
    QAction *Visionneuse1 = nullptr;
    // "Plein écran": full screen on or off.
    QAction *Pleincran1 = nullptr;
    // "Outils".
    QMenu *Outils1 = nullptr;
    // "Outils > Extraire les pages...": writes the book's pages as JPEG files in a folder.
    QAction *Extrairelespages1 = nullptr;
    // "Outils > Ajouter/Remplacer la description...": opens the description editor.
    QAction *AjouterRemplacerladescription1 = nullptr;
    // The separator after the description command.
    QAction *N4 = nullptr;
    // "Outils > Convertir en JPG...": converts pictures into JPEG files beside them.
    QAction *Convertir1 = nullptr;
    // "Outils > Création d'une BD...": opens the book-creation window.
    QAction *CrationduneBD1 = nullptr;
    // "Outils > Doc -> Pdf...": converts a Word document into a PDF through LibreOffice.
    QAction *DocBD1 = nullptr;
    // "Outils > Pdf -> BD...": makes a PDF into a book (Ghostscript); greyed out without `gs`.
    QAction *PDFBD1 = nullptr;
    // The separator before the association commands.
    QAction *N5 = nullptr;
    // "Outils > Associer l'extension .bd": registers the program and its shell library for .bd.
    QAction *Associerlextensionbd1 = nullptr;
    // "Outils > Désassocier l'extension .bd": removes that registration.
    QAction *Dsassocierlextensionbd1 = nullptr;
    // "?" in the menu bar: shows the about box.
    QAction *N3 = nullptr;

    // Opening and viewing (Unit1Charge.cpp, Unit1View.cpp).
    // Opens a book or PDF ("Ouvrir...", the command line) and shows its first page, then loads
    // the thumbnails.
    // Returns when every thumbnail is loaded, another file was opened or the window closes.
    void Charge(const QString &fileName);
    // Shows the first page of that name in the single-page view; "Page introuvable." when none.
    void AffichePage(const QString &pageName);
    // "Affiche tout": true shows the thumbnail grid ("Visionneuse"), false the single page.
    void AfficheTout(bool all);
    // Sizes and places the page for the zoom box's choice.
    void ResizeImage1();
    // Shows the page list entry at a 0-based index; "Page introuvable." when there is none.
    void ShowEntry(std::int32_t index);
    // A click on a thumbnail: shows its page.
    void AffichePageClick(const QString &thumbnailKey);

    // Handlers of the window's own commands (Unit1.cpp, Unit1View.cpp).
    // At creation: finds Ghostscript; greys out "Pdf -> BD..." when its console program is missing.
    void FormCreate();
    // Places the top panel's labels, buttons and zoom box about the window's middle, then the page.
    void FormResize();
    // Closes the open book.
    void FormDestroy();
    // "Ouvrir...": the open dialog, then Charge.
    void Ouvrir1Click();
    // "Quitter": closes the window.
    void Quitter1Click();
    // "Visionneuse": shows the thumbnail grid.
    void Visionneuse1Click();
    // The zoom box's choice changed: shows the page again for it and keeps it in the settings.
    void ZoomClick();
    // "Page précédente" (Button1).
    void Button1Click();
    // "Page suivante" (Button2).
    void Button2Click();
    // "Dernière page" (Button3).
    void Button3Click();
    // "Première page" (Button4).
    void Button4Click();
    // A click on the page's name: shows Edit3 in its place, holding that name.
    void Label3Click();
    // Return in the page-name box: shows the page of the typed name, then the name again.
    void Edit3KeyDown(int key);
    // "Création d'une BD...": shows the book-creation window.
    void CrationduneBD1Click();
    // "?": shows the about box.
    void N3Click();

    // Full screen, keyboard, window settings.
    // "Plein écran" (also the tool bar's button, Esc and closing in full screen): with a book
    // open, turns full screen on or off: no menu bar, no top panel, no pointer until the mouse
    // moves.
    void Pleincran1Click();
    // The full-screen timer: hides the pointer and the tool bar.
    void SourisPleinEcranTimer();
    // The mouse moved over the client area or the page: in full screen, shows the pointer and the
    // tool bar until the timer hides them.
    void FormMouseMove(int x, int y);
    // The full-screen tool bar's button: leaves full screen.
    void ToolButton1Click();
    // Closing the window: in full screen it leaves full screen instead and the window stays.
    bool FormCloseQuery();
    // The full-screen scroll bar moved: moves the page up or down with it.
    void ScrollBar1Change();
    // A key pressed over the window: Home, End, Left and Right turn pages, Up and Down scroll by
    // 30 pixels; the focus goes back to VireFocus.
    void FormKeyDown(int key, Qt::KeyboardModifiers shift);
    // A key released: ends KeyHeld; Esc leaves full screen.
    void FormKeyUp(int key);
    // Every paint; the first one puts the window where it was left and opens the file named on
    // the command line.
    void FormPaint();
    // The window closes: stops the thumbnail loading and saves the window's placement.
    void FormClose();
    // The full-screen tool bar in the window's top right corner, as the window is now.
    void PlaceToolBarPleinEcran();

    // Every exception that no command handled: the crash report, then the error box.
    void ApplicationEvents1Exception(const QObject *sender, const QString &message);

    // Printing (Unit1Print.cpp). The printer is kept for the run, and the margins dialog
    // with it, so that their settings carry over from one print to the next.
    // "A4... (une image par page)": the printer, the margins, then the print.
    void A41Click();
    // "A5... (deux images par pages)": the printer, the margins, then the print of the booklet.
    void A51Click();
    // The two-pass print of the layout chosen by A41Click or A51Click (the "Imprimer" submenu
    // itself has no command).
    void Imprimer1Click();
    QtPrintTarget &printTarget();
    // The margins dialog "Marges", made on first use.
    TForm2 &marginsDialog();

    // Description, tools, association.
    // "Description": shows the open book's description read-only.
    void DescriptionClick();
    // "Ajouter/Remplacer la description...": opens the editor on the open book's description;
    // "Aucun fichier chargé." without a book; nothing for a PDF.
    void AjouterRemplacerladescription1Click();
    // "Extraire les pages...": asks for a folder, then writes the book's pages into a folder named
    // after the book inside it.
    void Extrairelespages1Click();
    // "Convertir en JPG...": converts the chosen pictures into JPEG files beside them.
    void Convertir1Click();
    // "Doc -> Pdf...": converts the chosen Word document into a PDF beside it.
    void DocBD1Click();
    // "Pdf -> BD...": renders the chosen PDF with Ghostscript into the book the save dialog names.
    void PDFBD1Click();
    // "Associer l'extension .bd": after a question, registers the program and libVorstel.so.
    void Associerlextensionbd1Click();
    // "Désassocier l'extension .bd": removes that registration, offers to restart the computer.
    void Dsassocierlextensionbd1Click();

    // Full screen is shown by the withdrawn menu.
    bool menuHidden() const;
    // The grid cell of a page name's thumbnail while the grid holds its picture; none otherwise.
    std::optional<std::int32_t> thumbnail(const QString &pageName) const;
    // The keys (ThumbnailPrefix + page name) of the thumbnails whose pictures the grid holds.
    QStringList thumbnailKeys() const;

    static const QString ThumbnailPrefix; // "ImageBD"

private:
    void createControls();
    PageRenderEnv pageRenderEnv();
    std::optional<QImage> loadPageBitmap(std::int32_t image);
    PageBitmap loadPageThumbnail(std::int32_t image, const WantedPictureSize &wanted);
    void createMenu();
    void layOutThumbnails();
    // Loads the pictures the grid wants until it has them all, another file is opened or the
    // window closes; a loop already running for the open file takes them instead.
    void loadThumbnails(const QString &fileName, std::uint64_t generation);
    void loadWantedThumbnails();
    PageBitmap loadThumbnail(std::int32_t cell);
    void showThumbnail(std::int32_t cell, const PageBitmap &page);
    int thumbnailRowHeight(QSize page) const;
    void showThumbnailRows();
    void showEmptyBook();
    // Label2 := the open book's name; then the top panel is placed for its width.
    void showBookTitle();
    void connectEvents();
    void FirstPaintWork();
    void OpenCommandLineFile();

    // The page list as the open file's grid was laid out from it, one entry per cell.
    std::vector<PageEntry> thumbnailPages_;
    // Counts the files opened, so a thumbnail loop knows when another Charge took over.
    std::uint64_t chargeGeneration_ = 0;
    std::uint64_t thumbnailLoop_ = 0; // the generation whose thumbnails are being loaded
    // Counts the pages asked for, so a page that lets messages run while it renders knows
    // when a later one was shown meanwhile.
    std::uint64_t pageRequest_ = 0;
    bool opening_ = false;   // Charge is counting the pages or showing the first one
    QString deferredCharge_; // a file opened meanwhile

    void printLayout(const QString &layout);
    PrintJobEnv printJobEnv();
    std::unique_ptr<QtPrintTarget> printTarget_;
    // The margins dialog "Marges".
    TForm2 *Form2 = nullptr; // owned by the window as its child
    // Declared last, so destroyed first: no event reaches a window whose members are gone.
    std::unique_ptr<Unit1Events> events_;
};
