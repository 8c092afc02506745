#include "controls/GradButton.h"

#include "controls/ColorSchemes.h"
#include "controls/EventGuard.h"
#include "controls/PixelDrawing.h"

#include <QDialog>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QPainter>

#include <cmath>

namespace {

constexpr TColor White = 0xFFFFFF;

// Offsets of a look's six colours from its face colour.
constexpr int FaceOffset = 0;
constexpr int GradOffset = 1;
constexpr int DarkOffset = 2;
constexpr int LightOffset = 3;
constexpr int BorderOffset = 4;
constexpr int TextOffset = 5;

bool IsDialogKey(const QKeyEvent &key)
{
    return key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter || key.key() == Qt::Key_Escape;
}

// The glyph with every pixel of the colour of its top-left pixel left out.
QImage TransparentCopy(const QImage &glyph)
{
    QImage copy = glyph.convertToFormat(QImage::Format_ARGB32);
    const QRgb transparent = copy.pixel(0, 0);
    for (int y = 0; y < copy.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(copy.scanLine(y));
        for (int x = 0; x < copy.width(); ++x)
            if (line[x] == transparent)
                line[x] = 0;
    }
    return copy;
}

// The glyph of a disabled button: every pixel greyed, black becoming the grey of the disabled
// caption (808080) and white staying white.
QImage DisabledCopy(const QImage &glyph)
{
    QImage copy = glyph.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < copy.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(copy.scanLine(y));
        for (int x = 0; x < copy.width(); ++x) {
            const int grey = 0x80 + qGray(line[x]) / 2;
            line[x] = qRgba(grey, grey, grey, qAlpha(line[x]));
        }
    }
    return copy;
}

} // namespace

TGradButton::TGradButton(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(75, 25);
    SetTransparentGlyph(true);
    SetTabStop(true);
    SetColorScheme(csNeoDesert);
    colors_[OverColorGrad] = White;
    colors_[DownColorGrad] = White;
    colors_[DisabledColorGrad] = White;
    WatchWindow();
}

void TGradButton::SetColorByIndex(TColorIndex index, TColor color)
{
    colors_[index] = color;
    SetColorScheme(csCustom);
    update();
}

void TGradButton::SetColorScheme(TColorScheme scheme)
{
    colorScheme_ = scheme;
    if (scheme != csCustom) {
        for (int index = 0; index < ColorCount; ++index)
            if (const auto color = SchemeColor(scheme, TColorIndex(index)))
                SetColorByIndex(TColorIndex(index), *color);
        SetGradient(SchemeHasGradient(scheme));
    }
    update();
    colorScheme_ = scheme;
}

void TGradButton::SetCtl3D(bool value)
{
    ctl3D_ = value;
    update();
}

void TGradButton::SetLayout(TButtonLayout value)
{
    layout_ = value;
    update();
}

void TGradButton::SetGlyph(const QImage &glyph)
{
    glyph_ = glyph.copy();
    glyph_.setDevicePixelRatio(1);
    update();
}

void TGradButton::SetSpacing(int value)
{
    spacing_ = value;
    update();
}

void TGradButton::SetTransparentGlyph(bool value)
{
    transparentGlyph_ = value;
    update();
}

void TGradButton::SetGradient(bool value)
{
    gradient_ = value;
    update();
}

bool TGradButton::TabStop() const
{
    return focusPolicy() & Qt::TabFocus;
}

void TGradButton::SetTabStop(bool value)
{
    // A click takes the focus in mousePressEvent, so the policy only governs the Tab key.
    setFocusPolicy(value ? Qt::TabFocus : Qt::NoFocus);
}

void TGradButton::SetCaption(const QString &caption)
{
    caption_ = caption;
    if (mnemonicId_ != 0)
        releaseShortcut(mnemonicId_);
    const QKeySequence mnemonic = QKeySequence::mnemonic(caption);
    mnemonicId_ = mnemonic.isEmpty() ? 0 : grabShortcut(mnemonic);
    update();
}

void TGradButton::Click()
{
    const QPointer<TGradButton> alive(this);
    const QPointer<QDialog> dialog = parentWidget() ? qobject_cast<QDialog *>(window()) : nullptr;
    if (dialog)
        dialog->setResult(modalResult_);
    SetState(ButtonState::Normal);
    Paint();
    emit OnClick();
    // A modal dialog ends once its result is set, as the click handlers leave it.
    if (alive && dialog && dialog->isModal() && dialog->isVisible() && dialog->result() != 0)
        dialog->done(dialog->result());
}

void TGradButton::Paint()
{
    repaint();
}

QImage TGradButton::PaintBitmap() const
{
    const int W = width();
    const int H = height();
    QImage bitmap(W, H, QImage::Format_RGB32);
    if (bitmap.isNull())
        return bitmap;
    // Text is measured and drawn at the widget's resolution.
    bitmap.setDotsPerMeterX(int(std::lround(logicalDpiX() / 0.0254)));
    bitmap.setDotsPerMeterY(int(std::lround(logicalDpiY() / 0.0254)));

    const bool pressed = state_ == ButtonState::Pressed;
    const int look = !isEnabled()                     ? DisabledColorFace
                     : state_ == ButtonState::Hot     ? OverColorFace
                     : state_ == ButtonState::Pressed ? DownColorFace
                                                      : ColorFace;
    const auto color = [&](int offset) { return colors_[look + offset]; };

    QPainter painter(&bitmap);
    painter.fillRect(0, 0, W, H, ToQColor(color(FaceOffset)));
    if (gradient_)
        DrawVerticalGradient(painter, QRect(0, 0, W, H), color(FaceOffset), color(GradOffset));

    painter.setFont(font());
    // An empty caption measures 0 x 0, so that a lone glyph is centred in every layout.
    const QFontMetrics metrics = painter.fontMetrics();
    const int tw = metrics.horizontalAdvance(caption_);
    const int th = caption_.isEmpty() ? 0 : metrics.height();
    int textX = (W - tw) / 2;
    int textY = (H - th) / 2;

    if (!glyph_.isNull()) {
        const int gw = glyph_.width();
        const int gh = glyph_.height();
        const bool spaced = !caption_.isEmpty();
        const int before = spaced ? spacing_ / 2 + spacing_ % 2 : 0;
        const int after = spaced ? spacing_ / 2 : 0;
        int glyphX = 0;
        int glyphY = (H - gh) / 2;
        switch (layout_) {
        case blGlyphLeft:
            glyphX = textX - gw / 2 - before;
            textX += gw / 2 + after;
            break;
        case blGlyphRight:
            glyphX = textX + tw - gw / 2 + before;
            textX -= gw / 2 + after;
            break;
        case blGlyphTop:
            glyphX = (W - gw) / 2;
            glyphY = textY - gh / 2 - gh % 2 - before;
            textY += gh / 2 + after;
            break;
        case blGlyphBottom:
            glyphX = (W - gw) / 2;
            glyphY = textY + th - gh / 2 + before;
            textY -= gh / 2 + after;
            break;
        }
        if (pressed) {
            ++glyphX;
            ++glyphY;
        }
        const QImage shown = transparentGlyph_ ? TransparentCopy(glyph_) : glyph_;
        painter.drawImage(glyphX, glyphY, isEnabled() ? shown : DisabledCopy(shown));
    }

    if (pressed) {
        ++textX;
        ++textY;
    }
    if (!caption_.isEmpty()) {
        painter.setPen(ToQColor(color(TextOffset)));
        painter.drawText(QRect(textX, textY, tw, th),
                         Qt::AlignCenter | Qt::TextSingleLine | Qt::TextDontClip |
                             Qt::TextShowMnemonic,
                         caption_);
    }

    DrawFrame(painter, 0, 0, W, H, color(BorderOffset));
    if (ctl3D_) {
        DrawLine(painter, {1, H - 2}, {1, 1}, color(LightOffset));
        DrawLine(painter, {1, 1}, {W - 1, 1}, color(LightOffset));
        DrawLine(painter, {W - 2, 1}, {W - 2, H - 2}, color(DarkOffset));
        DrawLine(painter, {W - 2, H - 2}, {1, H - 2}, color(DarkOffset));
    }
    if (focused_)
        DrawFrame(painter, 3, 3, W - 3, H - 3, colors_[ColorFocusRect]);
    return bitmap;
}

void TGradButton::DrawVerticalGradient(QPainter &painter, const QRect &rect, TColor start,
                                       TColor end)
{
    const int n = rect.height();
    if (n <= 0 || rect.width() <= 0)
        return;
    double step[3];
    double value[3];
    for (int channel = 0; channel < 3; ++channel) {
        const int shift = 8 * channel;
        const int from = int((start >> shift) & 0xFF);
        const int to = int((end >> shift) & 0xFF);
        step[channel] = double(to - from) / n;
        value[channel] = from;
    }
    for (int y = 0; y < n; ++y) {
        TColor line = 0;
        for (int channel = 0; channel < 3; ++channel) {
            line |= TColor(std::nearbyint(value[channel])) << (8 * channel);
            value[channel] += step[channel];
        }
        painter.fillRect(QRect(rect.left(), rect.top() + y, rect.width(), 1), ToQColor(line));
    }
}

bool TGradButton::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::Shortcut:
        // The caption's accelerator; a disabled button lets it go unused.
        if (isEnabled())
            GuardEvent(this, [this] { Click(); });
        return true;
    case QEvent::ParentChange:
    case QEvent::Show: WatchWindow(); break;
    default: break;
    }
    return QWidget::event(event);
}

bool TGradButton::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == watchedWindow_ && event->type() == QEvent::KeyPress) {
        const auto &key = *static_cast<QKeyEvent *>(event);
        if (IsDialogKey(key) && DialogKey(key))
            return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TGradButton::paintEvent(QPaintEvent *)
{
    const QImage bitmap = PaintBitmap();
    if (bitmap.isNull())
        return;
    QPainter painter(this);
    painter.drawImage(0, 0, bitmap);
}

void TGradButton::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange || event->type() == QEvent::FontChange)
        update();
}

void TGradButton::enterEvent(QEnterEvent *)
{
    PointerEnters();
}

void TGradButton::leaveEvent(QEvent *)
{
    PointerLeaves();
}

void TGradButton::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    if (event->button() != Qt::LeftButton)
        return;
    mousePressed_ = true;
    clickArmed_ = true;
    SetState(ButtonState::Pressed);
    if (TabStop())
        setFocus(Qt::MouseFocusReason);
    Paint();
}

void TGradButton::mouseMoveEvent(QMouseEvent *event)
{
    // While a button is held the toolkit sends no enter or leave; the moves tell them.
    event->accept();
    if (rect().contains(event->position().toPoint()))
        PointerEnters();
    else
        PointerLeaves();
}

void TGradButton::mouseReleaseEvent(QMouseEvent *event)
{
    GuardEvent(this, [&] {
        event->accept();
        const QPoint at = event->position().toPoint();
        mousePressed_ = false;
        if (event->button() == Qt::LeftButton && clickArmed_) {
            clickArmed_ = false;
            if (rect().contains(at)) {
                const QPointer<TGradButton> alive(this);
                Click();
                if (!alive)
                    return;
            }
        }
        if (at.x() > 0 && at.x() < width() && at.y() > 0 && at.y() < height())
            SetState(hotTrack_ ? ButtonState::Hot : ButtonState::Normal);
        Paint();
    });
}

void TGradButton::focusInEvent(QFocusEvent *)
{
    focused_ = true;
    Paint();
}

void TGradButton::focusOutEvent(QFocusEvent *)
{
    focused_ = false;
    SetState(ButtonState::Normal);
    Paint();
}

void TGradButton::keyPressEvent(QKeyEvent *event)
{
    GuardEvent(this, [&] {
        // Every key ends here: none reaches the window or its key handlers.
        event->accept();
        if (IsDialogKey(*event) && OfferDialogKey(*event))
            return;
        if (event->key() == Qt::Key_Space) {
            SetState(ButtonState::Pressed);
        } else if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            const QPointer<TGradButton> alive(this);
            Click();
            if (!alive)
                return;
        }
        Paint();
    });
}

void TGradButton::keyReleaseEvent(QKeyEvent *event)
{
    GuardEvent(this, [&] {
        event->accept();
        // A held key repeats its press, never its release.
        if (event->isAutoRepeat() || event->key() != Qt::Key_Space)
            return;
        SetState(ButtonState::Normal);
        Paint();
        Click();
    });
}

void TGradButton::SetState(ButtonState state)
{
    state_ = state;
}

void TGradButton::PointerEnters()
{
    if (pointerInside_)
        return;
    pointerInside_ = true;
    if (!hotTrack_)
        return;
    SetState(mousePressed_ ? ButtonState::Pressed : ButtonState::Hot);
    Paint();
}

void TGradButton::PointerLeaves()
{
    if (!pointerInside_)
        return;
    pointerInside_ = false;
    SetState(ButtonState::Normal);
    Paint();
}

// A key that the button takes is used up, even when a click handler fails.
bool TGradButton::DialogKey(const QKeyEvent &key)
{
    const bool plain =
        !(key.modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier));
    const bool isReturn = key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter;
    const bool isEscape = key.key() == Qt::Key_Escape;
    const bool canFocus = isVisible() && isEnabled();
    // A hidden or disabled default button does not click.
    const bool takes = (((isReturn && focused_) || (isEscape && cancel_)) && plain && canFocus) ||
                       (default_ && canFocus);
    if (takes)
        GuardEvent(this, [this] { Click(); });
    return takes;
}

// The key goes to the buttons of this window, not to those of the windows it owns.
bool TGradButton::OfferDialogKey(const QKeyEvent &key)
{
    if (window() == this)
        return DialogKey(key);
    const QList<TGradButton *> buttons = window()->findChildren<TGradButton *>();
    for (TGradButton *button : buttons)
        if (button->window() == window() && button->DialogKey(key))
            return true;
    return false;
}

void TGradButton::WatchWindow()
{
    QWidget *target = window() == this ? nullptr : window();
    if (target == watchedWindow_)
        return;
    if (watchedWindow_)
        watchedWindow_->removeEventFilter(this);
    watchedWindow_ = target;
    if (target)
        target->installEventFilter(this);
}
