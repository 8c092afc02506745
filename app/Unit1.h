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
    ClientArea *Client = nullptr;
    PictureBox *Image1 = nullptr;
    ThumbnailGrid *Thumbnails = nullptr; // the thumbnail grid, on the canvas at (0, 0)
    QFrame *Panel1 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Page = nullptr;
    ClickLabel *Label3 = nullptr;
    QLineEdit *Edit3 = nullptr;
    TGradButton *Button4 = nullptr;
    TGradButton *Button1 = nullptr;
    TGradButton *Button2 = nullptr;
    TGradButton *Button3 = nullptr;
    QComboBox *Zoom = nullptr;
    QScrollBar *ScrollBar1 = nullptr;
    QTextEdit *VireFocus = nullptr;
    QToolBar *ToolBarPleinEcran = nullptr;
    QTimer *SourisPleinEcran = nullptr;
    QAction *ToolButton1 = nullptr; // the tool bar's one button, leaving full screen

    // The other windows, created at start-up after this one and kept for the whole run
    // (the margins dialog is the window's own, see marginsDialog()).
    TPropos *Propos = nullptr;
    TCreeBD *CreeBD = nullptr;
    TDesc *Desc = nullptr;

    FileDialog OpenDialog1;
    FileDialog OpenDialogPDF;
    FileDialog SaveDialogBD;
    FileDialog DocDialog;
    FileDialog OpenPictureDialog1;

    // The menu bar, in order.
    QMenu *Fichier1 = nullptr;
    QAction *Ouvrir1 = nullptr;
    QMenu *Imprimer1 = nullptr;
    QAction *A41 = nullptr;
    QAction *A51 = nullptr;
    QAction *Quitter1 = nullptr;
    QAction *Description = nullptr;
    QAction *Visionneuse1 = nullptr;
    QAction *Pleincran1 = nullptr;
    QMenu *Outils1 = nullptr;
    QAction *Extrairelespages1 = nullptr;
    QAction *AjouterRemplacerladescription1 = nullptr;
    QAction *N4 = nullptr;
    QAction *Convertir1 = nullptr;
    QAction *CrationduneBD1 = nullptr;
    QAction *DocBD1 = nullptr;
    QAction *PDFBD1 = nullptr;
    QAction *N5 = nullptr;
    QAction *Associerlextensionbd1 = nullptr;
    QAction *Dsassocierlextensionbd1 = nullptr;
    QAction *N3 = nullptr;

    // Opening and viewing (Unit1Charge.cpp, Unit1View.cpp).
    // Returns when every thumbnail is loaded, another file was opened or the window closes.
    void Charge(const QString &fileName);
    void AffichePage(const QString &pageName);
    void AfficheTout(bool all);
    void ResizeImage1();
    // Shows the page list entry at a 0-based index; "Page introuvable." when there is none.
    void ShowEntry(std::int32_t index);
    void AffichePageClick(const QString &thumbnailKey);

    // Handlers of the window's own commands (Unit1.cpp, Unit1View.cpp).
    void FormCreate();
    void FormResize();
    void FormDestroy();
    void Ouvrir1Click();
    void Quitter1Click();
    void Visionneuse1Click();
    void ZoomClick();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void Label3Click();
    void Edit3KeyDown(int key);
    void CrationduneBD1Click();
    void N3Click();

    // Full screen, keyboard, window settings.
    void Pleincran1Click();
    void SourisPleinEcranTimer();
    void FormMouseMove(int x, int y);
    void ToolButton1Click();
    bool FormCloseQuery();
    void ScrollBar1Change();
    void FormKeyDown(int key, Qt::KeyboardModifiers shift);
    void FormKeyUp(int key);
    void FormPaint();
    void FormClose();
    // The full-screen tool bar in the window's top right corner, as the window is now.
    void PlaceToolBarPleinEcran();

    // Every exception that no command handled: the crash report, then the error box.
    void ApplicationEvents1Exception(const QObject *sender, const QString &message);

    // Printing (Unit1Print.cpp). The printer is kept for the run, and the margins dialog
    // with it, so that their settings carry over from one print to the next.
    void A41Click();
    void A51Click();
    void Imprimer1Click();
    QtPrintTarget &printTarget();
    TForm2 &marginsDialog();

    // Description, tools, association.
    void DescriptionClick();
    void AjouterRemplacerladescription1Click();
    void Extrairelespages1Click();
    void Convertir1Click();
    void DocBD1Click();
    void PDFBD1Click();
    void Associerlextensionbd1Click();
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
    TForm2 *Form2 = nullptr; // owned by the window as its child
    // Declared last, so destroyed first: no event reaches a window whose members are gone.
    std::unique_ptr<Unit1Events> events_;
};
