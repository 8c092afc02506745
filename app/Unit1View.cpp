// The single-page view, the thumbnail grid switch, zoom and navigation.
#include "app/Unit1.h"

#include "app/core/render/ImagePlacement.h"
#include "app/widgets/ClickLabel.h"
#include "app/widgets/ClientArea.h"
#include "app/widgets/PictureBox.h"
#include "app/widgets/ThumbnailGrid.h"
#include "app/widgets/VirtualKey.h"
#include "controls/GradButton.h"

#include <QComboBox>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTextEdit>

#include <algorithm>

namespace {

const QString PageNotFound = QStringLiteral("Page introuvable.");

// The book's name as the file system lists it, without its extension.
QString bookTitle(const QString &path)
{
    return QFileInfo(path).completeBaseName();
}

} // namespace

void TForm1::AffichePage(const QString &pageName)
{
    if (state.CurrentFile.isEmpty()) {
        services.prompter.error(QStringLiteral("Aucun fichier n'est chargé."));
        return;
    }
    AfficheTout(false);

    const auto found = std::find_if(state.PageList.begin(), state.PageList.end(),
                                    [&](const PageEntry &entry) { return entry.Name == pageName; });
    if (found == state.PageList.end()) {
        services.prompter.error(PageNotFound);
    } else {
        const PageEntry entry = *found;
        const std::uint64_t request = ++pageRequest_;
        state.CurrentPage = static_cast<std::int32_t>(found - state.PageList.begin()) + 1;
        Label3->setText(entry.Name);
        Label3->adjustSize();
        Client->verticalScrollBar()->setValue(0);
        Client->horizontalScrollBar()->setValue(0);

        if (entry.Image == -1) {
            QImage white = Image1->picture();
            white.fill(Qt::white);
            Image1->setPicture(white);
            return;
        }

        const std::uint64_t generation = chargeGeneration_;
        std::optional<QImage> bitmap = loadPageBitmap(entry.Image);
        // Rendering lets window messages run: another file or another page may have been
        // shown meanwhile.
        if (generation != chargeGeneration_ || request != pageRequest_)
            return;
        const QImage page = bitmap.value_or(QImage());
        Image1->setPicture(page);
        state.PageWidth = page.width();
        state.PageHeight = page.height();
        ResizeImage1();
        showBookTitle();
    }
    Image1->repaint();
    Label3->repaint();
}

void TForm1::showBookTitle()
{
    Label2->setText(bookTitle(state.CurrentFile));
    Label2->adjustSize();
    FormResize();
}

void TForm1::AfficheTout(bool all)
{
    Thumbnails->setVisible(all);
    Image1->setVisible(!all);
    Panel1->setVisible(!all && !menuHidden());
    Client->updateScrollRange();
}

void TForm1::ResizeImage1()
{
    ImagePlacementInput input;
    input.clientWidth = Client->clientWidth();
    input.clientHeight = Client->clientHeight();
    input.panelHeight = Panel1->height();
    input.pageWidth = state.PageWidth;
    input.pageHeight = state.PageHeight;
    input.zoom = Zoom->currentIndex();
    input.fullScreen = menuHidden();
    const std::optional<ImagePlacement> placement = PlaceImage(input);
    if (!placement)
        return;

    const std::optional<ScrollBarReset> &reset = placement->scrollBar;
    if (reset && !reset->afterPlacement) {
        ScrollBar1->setMaximum(reset->maximum);
        ScrollBar1->setValue(0);
    }
    Image1->setGeometry(placement->geometry);
    if (reset && reset->afterPlacement) {
        ScrollBar1->setRange(-2147483647, 2147483647);
        ScrollBar1->setValue(0);
        ScrollBar1->setMinimum(0);
        ScrollBar1->setMaximum(reset->maximum);
    }
    Client->updateScrollRange();
}

void TForm1::FormResize()
{
    const int m = Client->clientWidth() / 2;
    Label1->move(m - Label1->width(), Label1->y());
    Page->move(m - Page->width(), Page->y());
    Button1->move(Label1->x() - 50 - Button1->width(), Button1->y());
    Button4->move(Button1->x() - 10 - Button4->width(), Button4->y());
    Label2->move(m + 5, Label2->y());
    Label3->move(m + 5, Label3->y());
    Button2->move(Label2->x() + Label2->width() + 50, Button2->y());
    Button3->move(Button2->x() + Button2->width() + 10, Button3->y());
    Zoom->move(Button3->x() + Button3->width() + 10, Zoom->y());
    ResizeImage1();
}

void TForm1::ShowEntry(std::int32_t index)
{
    if (index >= 0 && static_cast<std::size_t>(index) < state.PageList.size())
        AffichePage(state.PageList[static_cast<std::size_t>(index)].Name);
    else
        AffichePage(QString());
}

void TForm1::Button4Click()
{
    ShowEntry(0);
}

void TForm1::Button1Click()
{
    if (state.CurrentPage == 1)
        services.prompter.error(PageNotFound);
    else
        ShowEntry(state.CurrentPage - 2);
}

void TForm1::Button2Click()
{
    if (state.CurrentPage == state.PageCountCache)
        services.prompter.error(PageNotFound);
    else
        ShowEntry(state.CurrentPage);
}

void TForm1::Button3Click()
{
    ShowEntry(state.PageCountCache - 1);
}

void TForm1::Label3Click()
{
    Label3->setVisible(false);
    Edit3->setText(Label3->text());
    Edit3->move(Label3->x() - 3, Edit3->y());
    Edit3->setVisible(true);
}

void TForm1::Edit3KeyDown(int key)
{
    if (key != VK_RETURN)
        return;
    AffichePage(Edit3->text());
    Edit3->setVisible(false);
    Label3->setVisible(true);
}

void TForm1::ZoomClick()
{
    ShowEntry(state.CurrentPage - 1);
    settings.writeZoom(Zoom->currentIndex());
    VireFocus->setFocus();
}

void TForm1::Visionneuse1Click()
{
    AfficheTout(true);
}

void TForm1::AffichePageClick(const QString &thumbnailKey)
{
    AffichePage(thumbnailKey.mid(ThumbnailPrefix.size()));
}

std::optional<std::int32_t> TForm1::thumbnail(const QString &pageName) const
{
    for (const int cell : Thumbnails->heldCells())
        if (thumbnailPages_[static_cast<std::size_t>(cell)].Name == pageName)
            return cell;
    return std::nullopt;
}

QStringList TForm1::thumbnailKeys() const
{
    QStringList keys;
    for (const int cell : Thumbnails->heldCells())
        keys << ThumbnailPrefix + thumbnailPages_[static_cast<std::size_t>(cell)].Name;
    return keys;
}
