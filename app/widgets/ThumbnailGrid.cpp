#include "app/widgets/ThumbnailGrid.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>

#include <algorithm>

ThumbnailGrid::ThumbnailGrid(QWidget *parent) : QWidget(parent)
{
    // The grid paints its gaps black itself: nothing needs painting below it.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ThumbnailGrid::reset(std::vector<bool> thumbnailed, int columnWidth)
{
    thumbnailed_ = std::move(thumbnailed);
    columnWidth_ = columnWidth;
    rowHeight_ = 0;
    probed_ = 0;
    held_.clear();
    fitSize();
    update();
}

void ThumbnailGrid::setRowHeight(int height)
{
    rowHeight_ = height;
    fitSize();
    dropFarPictures();
    update();
}

QRect ThumbnailGrid::cellRect(int cell) const
{
    return QRect((cell % Columns) * columnWidth_, (cell / Columns) * rowHeight(),
                 columnWidth_ - Gap, rowHeight() - Gap);
}

void ThumbnailGrid::setView(const QRect &view)
{
    view_ = view;
    dropFarPictures();
    if (wantedCell())
        emit picturesWanted();
}

std::vector<int> ThumbnailGrid::nearRows() const
{
    std::vector<int> rows;
    if (view_.isEmpty() || rowCount() == 0 || rowHeight() <= 0)
        return rows;
    const auto rowAt = [this](int y) { return std::clamp(y / rowHeight(), 0, rowCount() - 1); };
    const int first = rowAt(view_.top());
    const int last = rowAt(view_.bottom());
    for (int row = first; row <= last; ++row)
        rows.push_back(row);
    for (int row = last + 1; row <= rowAt(view_.bottom() + view_.height()); ++row)
        rows.push_back(row);
    for (int row = first - 1; row >= rowAt(view_.top() - view_.height()); --row)
        rows.push_back(row);
    return rows;
}

bool ThumbnailGrid::isNear(int row) const
{
    const std::vector<int> rows = nearRows();
    return std::find(rows.begin(), rows.end(), row) != rows.end();
}

std::optional<int> ThumbnailGrid::wantedCell() const
{
    for (const int row : nearRows())
        for (int cell = row * Columns; cell < std::min(cellCount(), (row + 1) * Columns); ++cell)
            if (thumbnailed_[std::size_t(cell)] && !held_.contains(cell))
                return cell;
    if (!rowHeightKnown())
        for (int cell = probed_; cell < cellCount(); ++cell)
            if (thumbnailed_[std::size_t(cell)])
                return cell;
    return std::nullopt;
}

void ThumbnailGrid::setPicture(int cell, const QImage &picture)
{
    if (cell < 0 || cell >= cellCount())
        return;
    if (!rowHeightKnown())
        probed_ = std::max(probed_, cell + 1);
    if (thumbnailed_[std::size_t(cell)] && isNear(cell / Columns)) {
        held_[cell] = picture;
        update(cellRect(cell));
    }
}

std::vector<int> ThumbnailGrid::heldCells() const
{
    std::vector<int> cells;
    for (const auto &held : held_)
        cells.push_back(held.first);
    return cells;
}

void ThumbnailGrid::dropPictures()
{
    held_.clear();
    update();
}

void ThumbnailGrid::dropFarPictures()
{
    const std::vector<int> rows = nearRows();
    std::erase_if(held_, [&](const auto &held) {
        return std::find(rows.begin(), rows.end(), held.first / Columns) == rows.end();
    });
}

void ThumbnailGrid::fitSize()
{
    if (cellCount() == 0) {
        resize(0, 0);
        return;
    }
    resize(std::min(cellCount(), Columns) * columnWidth_ - Gap, rowCount() * rowHeight() - Gap);
}

void ThumbnailGrid::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    QRegion gaps(event->rect());
    for (const auto &[cell, picture] : held_) {
        const QRect box = cellRect(cell);
        if (!box.intersects(event->rect()))
            continue;
        gaps -= box;
        const QRect stretched(box.topLeft(), box.size() - QSize(1, 1));
        // The picture less its last column and row covers all of the cell but the same.
        if (stretched.isEmpty() || picture.width() < 2 || picture.height() < 2) {
            painter.fillRect(box, Qt::white);
            continue;
        }
        painter.drawImage(stretched, picture,
                          QRect(0, 0, picture.width() - 1, picture.height() - 1));
        painter.fillRect(QRect(box.left(), box.bottom(), box.width(), 1), Qt::white);
        painter.fillRect(QRect(box.right(), box.top(), 1, box.height()), Qt::white);
    }
    for (const QRect &gap : gaps)
        painter.fillRect(gap, Qt::black);
}

void ThumbnailGrid::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint at = event->position().toPoint();
    const auto shown = std::find_if(held_.begin(), held_.end(), [&](const auto &held) {
        return cellRect(held.first).contains(at);
    });
    if (shown != held_.end())
        emit clicked(shown->first);
}
