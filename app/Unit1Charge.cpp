// Opening a book or PDF and loading its thumbnails.
#include "app/Unit1.h"

#include "app/core/files/OpenFile.h"
#include "app/core/pages/PageList.h"
#include "app/core/program/Settings.h"
#include "app/core/render/PageRendering.h"
#include "app/widgets/ClickLabel.h"
#include "app/widgets/ClientArea.h"
#include "app/widgets/PictureBox.h"
#include "controls/EventGuard.h"

#include <QAction>
#include <QComboBox>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QScopeGuard>
#include <QSignalBlocker>

#include <algorithm>
#include <utility>

namespace {

// A thumbnail's picture: white, with the page stretched over all of it but the last column
// and row.
QImage thumbnailPicture(const QSize &size, const std::optional<QImage> &page)
{
    QImage picture(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    picture.fill(Qt::white);
    if (page && !page->isNull()) {
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QRect(0, 0, size.width() - 1, size.height() - 1), *page,
                          QRect(0, 0, page->width() - 1, page->height() - 1));
    }
    return picture;
}

} // namespace

void TForm1::Charge(const QString &fileName)
{
    // Counting a PDF's pages and rendering its first page let window messages run. A file
    // opened meanwhile waits until this one is set up, then takes over from it.
    if (opening_) {
        deferredCharge_ = fileName;
        return;
    }
    OpenDialog1.InitialDir = QFileInfo(fileName).path();

    // The new book is opened first, so a file that cannot be read leaves the open book
    // (stream, page list, CurrentFile) as it was.
    OpenBook book = OpenBook::open(fileName);
    if (!book.isOpen()) {
        services.prompter.error(CannotOpenFileMessage(fileName));
        return;
    }

    freeThumbnails();
    const std::uint64_t generation = ++chargeGeneration_;
    state.CurrentFile = fileName;
    state.Book = std::move(book);
    state.BlankCount = 0;
    {
        const QSignalBlocker detached(Zoom);
        if (const std::optional<std::int32_t> zoom = ReadZoomSetting())
            Zoom->setCurrentIndex(*zoom >= 0 && *zoom < Zoom->count() ? *zoom : -1);
    }

    {
        // The page list is rebuilt: nothing is printed from it until the book is set up.
        Imprimer1->menuAction()->setEnabled(false);
        opening_ = true;
        const auto opened = qScopeGuard([this] { opening_ = false; });
        CountPages(state, services.prompter, services.ui);
        // Counting a PDF lets messages run: closing the window meanwhile ends the opening.
        if (state.CurrentFile != fileName) {
            deferredCharge_.clear();
            return;
        }
        BuildPageList(state, services.prompter);
        Description->setVisible(state.DescriptionMenuVisible);
        AjouterRemplacerladescription1->setEnabled(state.DescriptionCommandEnabled);
        // A blank first page keeps the page area, not the previous book's name.
        showBookTitle();
        // CountPages has said why there is nothing to show.
        if (state.PageList.empty())
            showEmptyBook();
        else
            AffichePage(state.PageList.front().Name);
    }
    if (!deferredCharge_.isEmpty()) {
        Charge(std::exchange(deferredCharge_, QString()));
        return;
    }
    if (state.PageList.empty())
        return;
    Imprimer1->menuAction()->setEnabled(true);
    loadThumbnails(fileName, generation);
}

void TForm1::showEmptyBook()
{
    Image1->setPicture(QImage());
    state.PageWidth = 0;
    state.PageHeight = 0;
    AfficheTout(false);
    Label3->clear();
    ResizeImage1();
}

void TForm1::loadThumbnails(const QString &fileName, std::uint64_t generation)
{
    const auto stillLoading = [&] {
        return generation == chargeGeneration_ && state.CurrentFile == fileName;
    };
    const int w = (Client->clientWidth() - 20) / 5;
    int h = 0;
    for (std::int32_t i = 0; stillLoading() && i < state.PageCountCache;) {
        if (!state.KeyHeld) {
            if (static_cast<std::size_t>(i) >= state.PageList.size())
                break;
            const PageEntry entry = state.PageList[static_cast<std::size_t>(i)];
            // The page is wanted as large as its thumbnail's picture, (w - 6) x (h - 6), h
            // coming from the page itself while it is not known.
            const PageBitmap page = loadPageThumbnail(entry.Image, [&](QSize full) {
                const int rowHeight =
                    h > 0 ? h
                          : static_cast<int>(static_cast<std::int64_t>(full.height()) * w /
                                             std::max(full.width(), 1));
                return QSize(w - 6, rowHeight - 6);
            });
            // Rendering a PDF page lets window messages run.
            if (!stillLoading())
                break;
            // The row height comes from the first page that has a bitmap; the thumbnails
            // placed before it get that height too.
            const bool rowHeightFound = h == 0 && page.bitmap && page.pageSize.width() > 0;
            if (rowHeightFound) {
                h = static_cast<int>(static_cast<std::int64_t>(page.pageSize.height()) * w /
                                     page.pageSize.width());
                for (const Thumbnail &earlier : std::as_const(thumbnails_)) {
                    placeThumbnail(earlier.box, earlier.position, w, h);
                    earlier.box->setPicture(thumbnailPicture(earlier.box->size(), std::nullopt));
                }
            }

            Thumbnail &thumbnail = thumbnails_[ThumbnailPrefix + entry.Name];
            if (!thumbnail.box) {
                thumbnail.box = new PictureBox(Client->canvas());
                thumbnail.box->setObjectName(ThumbnailPrefix + entry.Name);
                ConnectGuarded(
                    thumbnail.box, &PictureBox::clicked, this,
                    [this, key = thumbnail.box->objectName()] { AffichePageClick(key); });
            }
            thumbnail.position = i;
            placeThumbnail(thumbnail.box, i, w, h);
            thumbnail.box->setPicture(thumbnailPicture(thumbnail.box->size(), page.bitmap));
            thumbnail.box->setVisible(Panel1->isHidden() && !menuHidden());
            // Only the row height moves thumbnails already placed; otherwise the canvas
            // grows to the new one alone, so that the grid is not looked over per thumbnail.
            if (rowHeightFound)
                Client->updateScrollRange();
            else
                Client->extendScrollRange(thumbnail.box);
            ++i;
        }
        if (state.KeyHeld)
            services.ui.waitForEvents();
        else
            services.ui.processPendingEvents();
    }
}

void TForm1::placeThumbnail(PictureBox *thumbnail, std::int32_t position, int w, int h)
{
    // Until a page with a bitmap gives the row height, rows are as high as they are wide.
    const int rowHeight = h > 0 ? h : w;
    thumbnail->setGeometry((position % 5) * w, (position / 5) * rowHeight, w - 5, rowHeight - 5);
}

void TForm1::freeThumbnails()
{
    // A thumbnail may be the sender of the command that opened the new file: delete later.
    for (const Thumbnail &thumbnail : std::as_const(thumbnails_)) {
        thumbnail.box->hide();
        thumbnail.box->deleteLater();
    }
    thumbnails_.clear();
}

PageRenderEnv TForm1::pageRenderEnv()
{
    return {services.prompter, services.ui, Image1->size(), services.programPath,
            state.GhostscriptDir};
}

std::optional<QImage> TForm1::loadPageBitmap(std::int32_t image)
{
    return LoadPageBitmap(state, image, pageRenderEnv());
}

PageBitmap TForm1::loadPageThumbnail(std::int32_t image, const WantedPictureSize &wanted)
{
    return LoadPageThumbnail(state, image, pageRenderEnv(), wanted);
}
