// Opening a book or PDF and loading its thumbnails.
#include "app/Unit1.h"

#include "app/core/files/OpenFile.h"
#include "app/core/pages/PageList.h"
#include "app/core/render/PageRendering.h"
#include "app/widgets/ClickLabel.h"
#include "app/widgets/ClientArea.h"
#include "app/widgets/PictureBox.h"
#include "app/widgets/ThumbnailGrid.h"

#include <QAction>
#include <QComboBox>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QScopeGuard>
#include <QSignalBlocker>

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <utility>

namespace {

// Whether each entry is the last place of its name. The entries are ordered by name, not
// hashed: a few bytes per entry, for books of millions of pages too.
std::vector<bool> lastPlacesOfNames(const std::vector<PageEntry> &pages)
{
    std::vector<std::uint32_t> order(pages.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
        return pages[a].Name < pages[b].Name;
    });
    std::vector<bool> last(pages.size());
    for (std::size_t k = 0; k < order.size(); ++k)
        last[order[k]] = k + 1 == order.size() || pages[order[k]].Name != pages[order[k + 1]].Name;
    return last;
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

    Thumbnails->reset({}, 0);
    thumbnailPages_.clear();
    const std::uint64_t generation = ++chargeGeneration_;
    state.CurrentFile = fileName;
    state.Book = std::move(book);
    state.BlankCount = 0;
    {
        const QSignalBlocker detached(Zoom);
        if (const std::optional<std::int32_t> zoom = settings.readZoom())
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
    layOutThumbnails();
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

void TForm1::layOutThumbnails()
{
    // One thumbnail per page name, at the last place of the name.
    const std::size_t count = std::min<std::size_t>(
        state.PageList.size(), static_cast<std::size_t>(std::max(state.PageCountCache, 0)));
    thumbnailPages_.assign(state.PageList.begin(),
                           state.PageList.begin() + static_cast<std::ptrdiff_t>(count));
    Thumbnails->reset(lastPlacesOfNames(thumbnailPages_), (Client->clientWidth() - 20) / 5);
    Client->updateScrollRange();
    showThumbnailRows();
}

void TForm1::showThumbnailRows()
{
    Thumbnails->setView(Client->shownCanvasRect());
}

void TForm1::loadWantedThumbnails()
{
    if (thumbnailLoop_ != chargeGeneration_ && !state.CurrentFile.isEmpty())
        loadThumbnails(state.CurrentFile, chargeGeneration_);
}

void TForm1::loadThumbnails(const QString &fileName, std::uint64_t generation)
{
    const std::uint64_t outerLoop = std::exchange(thumbnailLoop_, generation);
    const auto restore = qScopeGuard([&] { thumbnailLoop_ = outerLoop; });
    const auto stillLoading = [&] {
        return generation == chargeGeneration_ && state.CurrentFile == fileName;
    };
    try {
        while (stillLoading()) {
            if (state.KeyHeld) {
                services.ui.waitForEvents();
                continue;
            }
            // A row of the grid at a time, then the window messages.
            const std::optional<int> first = Thumbnails->wantedCell();
            if (!first)
                return;
            const int row = *first / ThumbnailGrid::Columns;
            for (std::optional<int> cell = first; cell && *cell / ThumbnailGrid::Columns == row;
                 cell = Thumbnails->wantedCell()) {
                const PageBitmap page = loadThumbnail(*cell);
                // Rendering a PDF page lets window messages run.
                if (!stillLoading())
                    return;
                showThumbnail(*cell, page);
                // Its error box has been shown: one for the rows being loaded.
                if (page.outOfMemory)
                    return;
            }
            services.ui.processPendingEvents();
        }
    } catch (const std::bad_alloc &) {
        // What the grid holds is let go first, so that the error box has memory to show.
        Thumbnails->dropPictures();
        services.prompter.outOfMemory();
    }
}

PageBitmap TForm1::loadThumbnail(std::int32_t cell)
{
    // The page is wanted as large as its cell's picture, (w - 6) x (h - 6), h coming from the
    // page itself while it is not known.
    const int w = Thumbnails->columnWidth();
    return loadPageThumbnail(
        thumbnailPages_[static_cast<std::size_t>(cell)].Image, [&](QSize full) {
            const int h =
                Thumbnails->rowHeightKnown() ? Thumbnails->rowHeight() : thumbnailRowHeight(full);
            return QSize(w - 6, h - 6);
        });
}

void TForm1::showThumbnail(std::int32_t cell, const PageBitmap &page)
{
    // The row height comes from the first page that has a bitmap.
    if (!Thumbnails->rowHeightKnown() && page.bitmap && page.pageSize.width() > 0) {
        Thumbnails->setRowHeight(thumbnailRowHeight(page.pageSize));
        Client->updateScrollRange();
    }
    Thumbnails->setPicture(cell, page.bitmap.value_or(QImage()));
}

int TForm1::thumbnailRowHeight(QSize page) const
{
    // As the page's shape gives it, within at least one line of picture and at most three
    // screen heights, whatever the shape.
    const std::int64_t h = static_cast<std::int64_t>(page.height()) * Thumbnails->columnWidth() /
                           std::max(page.width(), 1);
    const int bound = 3 * screen()->size().height();
    return static_cast<int>(std::clamp<std::int64_t>(h, ThumbnailGrid::Gap + 2, bound));
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
