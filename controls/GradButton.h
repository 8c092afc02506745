#pragma once

#include "controls/GradButtonTypes.h"

#include <QImage>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <array>

// The push button of the program's windows: a face in one of the colour schemes, optionally a
// vertical gradient, a glyph and a caption, a border, 3-D edges and a focus rectangle, drawn in
// the normal, hot or pressed state or in the disabled look. Place it with setGeometry; caption,
// font, enabled state, visibility and tab order are the widget's own.
//
// OnClick is a Qt signal. Before it is emitted, a button inside a QDialog sets the dialog's
// result to ModalResult (0 included); a non-zero result then ends a modal dialog with that
// result once the click handlers have run, unless they reset it to 0.
//
// The button handles its keys itself and passes none on: Space presses and clicks on release,
// Return clicks. Return and Escape that reach its window unhandled are offered to the window's
// buttons (Cancel, Default); the caption's '&' accelerator, with Alt, clicks an enabled button.
// An exception that an OnClick handler lets escape a click made by the mouse or the keyboard
// goes to the program's hook from the button's own handler (EventGuard.h).
class TGradButton : public QWidget {
    Q_OBJECT

public:
    explicit TGradButton(QWidget *parent = nullptr);

    TColor Color(TColorIndex index) const { return colors_[index]; }
    void SetColorByIndex(TColorIndex index, TColor color);

    TColorScheme ColorScheme() const { return colorScheme_; }
    void SetColorScheme(TColorScheme scheme);

    bool Ctl3D() const { return ctl3D_; }
    void SetCtl3D(bool value);
    TButtonLayout Layout() const { return layout_; }
    void SetLayout(TButtonLayout value);
    // The button keeps its own copy of the picture.
    const QImage &Glyph() const { return glyph_; }
    void SetGlyph(const QImage &glyph);
    int Spacing() const { return spacing_; }
    void SetSpacing(int value);
    bool TransparentGlyph() const { return transparentGlyph_; }
    void SetTransparentGlyph(bool value);
    bool Gradient() const { return gradient_; }
    void SetGradient(bool value);
    bool HotTrack() const { return hotTrack_; }
    void SetHotTrack(bool value) { hotTrack_ = value; }
    bool Cancel() const { return cancel_; }
    void SetCancel(bool value) { cancel_ = value; }
    bool Default() const { return default_; }
    void SetDefault(bool value) { default_ = value; }
    int ModalResult() const { return modalResult_; }
    void SetModalResult(int value) { modalResult_ = value; }
    bool TabStop() const;
    void SetTabStop(bool value);
    QString Caption() const { return caption_; }
    void SetCaption(const QString &caption);

    ButtonState State() const { return state_; }
    bool Focused() const { return focused_; }
    bool MousePressed() const { return mousePressed_; }

    // Sets the window's modal result, shows the normal state and emits OnClick.
    void Click();
    // Repaints at once.
    void Paint();
    // The whole button as it is shown, drawn into one image of the button's size.
    QImage PaintBitmap() const;

    // Fills rect line by line, from start in its top row towards end, which the row just
    // below the rectangle would reach.
    static void DrawVerticalGradient(QPainter &painter, const QRect &rect, TColor start,
                                     TColor end);

signals:
    void OnClick();

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;

private:
    void SetState(ButtonState state);
    void PointerEnters();
    void PointerLeaves();
    bool DialogKey(const QKeyEvent &key);
    bool OfferDialogKey(const QKeyEvent &key);
    void WatchWindow();

    std::array<TColor, ColorCount> colors_{};
    bool focused_ = false;
    TColorScheme colorScheme_ = csNeoDesert;
    bool ctl3D_ = true;
    TButtonLayout layout_ = blGlyphLeft;
    QImage glyph_;
    bool transparentGlyph_ = true;
    bool gradient_ = false;
    int spacing_ = 4;
    int modalResult_ = 0;
    bool cancel_ = false;
    bool default_ = false;
    bool hotTrack_ = true;
    bool mousePressed_ = false;
    ButtonState state_ = ButtonState::Normal;

    QString caption_;
    int mnemonicId_ = 0;
    bool pointerInside_ = false;
    bool clickArmed_ = false;
    QPointer<QWidget> watchedWindow_;
};
