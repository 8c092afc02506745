#pragma once

#include <QAbstractButton>
#include <QImage>

// A small raised button that shows a picture and reports where the mouse moves over it.
class GlyphButton : public QAbstractButton {
    Q_OBJECT

public:
    GlyphButton(const QImage &glyph, QWidget *parent);

signals:
    // The mouse position in the button's own coordinates.
    void mouseMoved(QPoint position);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    QImage glyph_;
};
