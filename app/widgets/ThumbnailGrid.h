#pragma once

#include <QImage>
#include <QWidget>

#include <map>
#include <optional>
#include <vector>

// The thumbnail grid: one painted view of cells in rows of five. Each column is columnWidth
// wide and each row rowHeight high, a cell taking all but the last 5 pixels of both; a cell
// shows its picture on white, stretched over all of it but its last column and row. Pictures
// are held only for the rows near the part of the grid the window shows (that part and one
// view height above and below it), so the grid's memory does not grow with its length.
class ThumbnailGrid : public QWidget {
    Q_OBJECT

public:
    static constexpr int Columns = 5;
    static constexpr int Gap = 5;

    explicit ThumbnailGrid(QWidget *parent = nullptr);

    // A grid of thumbnailed.size() cells, holding no picture; a cell marked false stays empty.
    // Rows are as high as the columns are wide until the row height is set.
    void reset(std::vector<bool> thumbnailed, int columnWidth);
    int columnWidth() const { return columnWidth_; }
    bool rowHeightKnown() const { return rowHeight_ > 0; }
    int rowHeight() const { return rowHeightKnown() ? rowHeight_ : columnWidth_; }
    void setRowHeight(int height);

    QRect cellRect(int cell) const;

    // The part of the grid the window shows; pictures of rows no longer near it are dropped,
    // and picturesWanted is emitted when a cell near it lacks its picture.
    void setView(const QRect &view);

    // The next cell whose picture is wanted: those of the rows in view, top to bottom, then of
    // the rows below and above them, nearest first; until the row height is known, every
    // thumbnailed cell after the last one given a picture too.
    std::optional<int> wantedCell() const;

    // Gives a cell its picture (a null image paints the cell white). It is held only when the
    // cell's row is near the view.
    void setPicture(int cell, const QImage &picture);
    std::vector<int> heldCells() const;
    void dropPictures();

signals:
    void clicked(int cell); // a cell showing its picture
    void picturesWanted();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    int cellCount() const { return static_cast<int>(thumbnailed_.size()); }
    int rowCount() const { return (cellCount() + Columns - 1) / Columns; }
    // The rows in view, then those below and above them within one view height, nearest first.
    std::vector<int> nearRows() const;
    bool isNear(int row) const;
    void dropFarPictures();
    void fitSize();

    std::vector<bool> thumbnailed_;
    int columnWidth_ = 0;
    int rowHeight_ = 0;
    int probed_ = 0; // cells before it were given their picture while the row height is unknown
    QRect view_;
    std::map<int, QImage> held_; // by cell
};
