#pragma once

#include <QImage>
#include <QPixmap>
#include <QWidget>

// A picture control: shows its picture at (0, 0), or stretched over the whole control.
class PictureBox : public QWidget {
    Q_OBJECT

public:
    explicit PictureBox(QWidget *parent = nullptr);

    const QImage &picture() const { return picture_; }
    void setPicture(const QImage &picture);

    void setStretch(bool stretch);

signals:
    void clicked();
    void mouseMoved(int x, int y);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    void pictureChanged();

    QImage picture_;
    QPixmap scaled_; // the stretched picture for the current size
    bool stretch_ = false;
};
