#include "controls/GradButton.h"
#include "tests/controls/ButtonEvents.h"
#include "tests/controls/Pixels.h"

#include <QFontMetrics>
#include <QPainter>

#include <gtest/gtest.h>

#include <vector>

namespace {

// csNeoSilver on 89 x 25 in the normal state: gradient F3 -> BC over 25 rows, step -2.2.
TEST(GradButtonPaint, NeoSilverNormalFace)
{
    TGradButton button;
    button.SetColorScheme(csNeoSilver);
    button.setGeometry(0, 0, 89, 25);
    const QImage image = Shot(button);
    ASSERT_EQ(image.size(), QSize(89, 25));

    for (int x = 0; x < 89; ++x) {
        EXPECT_EQ(PixelAt(image, x, 0), 0x626262u) << x;
        EXPECT_EQ(PixelAt(image, x, 24), 0x626262u) << x;
    }
    for (int y = 0; y < 25; ++y) {
        EXPECT_EQ(PixelAt(image, 0, y), 0x626262u) << y;
        EXPECT_EQ(PixelAt(image, 88, y), 0x626262u) << y;
    }
    for (int y = 2; y <= 23; ++y)
        EXPECT_EQ(PixelAt(image, 1, y), 0xF7F7F7u) << y;
    for (int x = 1; x <= 86; ++x)
        EXPECT_EQ(PixelAt(image, x, 1), 0xF7F7F7u) << x;
    for (int y = 1; y <= 22; ++y)
        EXPECT_EQ(PixelAt(image, 87, y), 0xA7A7A7u) << y;
    for (int x = 2; x <= 87; ++x)
        EXPECT_EQ(PixelAt(image, x, 23), 0xA7A7A7u) << x;

    // Inside the edges, row y is 243 - 2.2 y rounded: 238.6 -> EF, 216.6 -> D9, 194.6 -> C3.
    const struct {
        int y;
        TColor expected;
    } rows[] = {{2, 0xEFEFEF}, {12, 0xD9D9D9}, {22, 0xC3C3C3}};
    for (const auto &row : rows)
        for (int x = 2; x <= 86; ++x)
            EXPECT_EQ(PixelAt(image, x, row.y), row.expected) << x << "," << row.y;
}

// The gradient filled into an image of width 3 and the given height.
QImage Gradient(int height, TColor start, TColor end)
{
    QImage image(3, height + 1, QImage::Format_RGB32);
    image.fill(Qt::magenta);
    QPainter painter(&image);
    TGradButton::DrawVerticalGradient(painter, QRect(0, 0, 3, height), start, end);
    return image;
}

TEST(GradButtonPaint, GradientRowsRoundAccumulatedValuesHalfToEven)
{
    const struct {
        const char *what;
        int height;
        TColor start;
        TColor end;
        int row;
        TColor expected;
    } cases[] = {
        // Red 0 -> 1, green 0 -> 3, blue 0 -> 5 over 2 rows: row 1 is 0.5, 1.5, 2.5 -> 0, 2, 2.
        {"halves to even", 2, 0x000000, 0x050300, 1, 0x020200},
        // 1 - 1/6 - 1/6 - 1/6 accumulates to 0.5000000000000001, which rounds up.
        {"accumulated sum", 6, 0x000001, 0x000000, 3, 0x000001},
        {"first row is the start", 10, 0x102030, 0xF0E0D0, 0, 0x102030},
        // 250 / 10 per row: row 9 is 225, one step short of the end.
        {"last row one step short", 10, 0x000000, 0x0000FA, 9, 0x0000E1},
    };
    for (const auto &c : cases) {
        const QImage image = Gradient(c.height, c.start, c.end);
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(PixelAt(image, x, c.row), c.expected) << c.what;
    }
}

TEST(GradButtonPaint, GradientStaysInsideItsRectangle)
{
    const QImage image = Gradient(4, 0x000000, 0xFFFFFF);
    EXPECT_EQ(image.pixel(0, 4), QColor(Qt::magenta).rgb());
    const QImage flat = Gradient(0, 0x000000, 0xFFFFFF);
    EXPECT_EQ(flat.pixel(1, 0), QColor(Qt::magenta).rgb());
}

// Buttons of no width or height, and the smallest others, paint without a fault or a warning.
TEST(GradButtonPaint, DegenerateSizesPaintQuietly)
{
    static std::vector<QString> warnings;
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &text) {
            warnings.push_back(text);
        });
    const QSize sizes[] = {{0, 25}, {89, 0}, {0, 0}, {1, 1}, {2, 2}, {3, 5}, {7, 7}};
    for (const QSize size : sizes) {
        TGradButton button;
        button.setGeometry(QRect(QPoint(0, 0), size));
        const QImage image = button.PaintBitmap();
        EXPECT_EQ(image.isNull(), size.isEmpty());
        if (!image.isNull()) {
            EXPECT_EQ(image.size(), size);
        }
        button.show();
        button.Paint();
    }
    qInstallMessageHandler(previous);
    EXPECT_TRUE(warnings.empty()) << warnings.front().toStdString();
}

// Puts a button into a state through the events that lead there.
void Enter(TGradButton &button, ButtonState state)
{
    if (state == ButtonState::Normal)
        return;
    SendEnter(button);
    if (state == ButtonState::Pressed)
        SendMouse(button, QEvent::MouseButtonPress, {5, 5}, Qt::LeftButton, Qt::LeftButton);
    ASSERT_EQ(button.State(), state);
}

TEST(GradButtonPaint, DisabledLookInEveryState)
{
    // csNeoDesert disabled: face EEEEEE to white, border 808080, light FFFFFF, dark D2D2D2.
    for (const ButtonState state : {ButtonState::Normal, ButtonState::Hot, ButtonState::Pressed}) {
        TGradButton button;
        button.setGeometry(0, 0, 60, 20);
        button.SetTabStop(false);
        Enter(button, state);
        button.setEnabled(false);
        const QImage image = Shot(button);
        const int s = int(state);
        EXPECT_EQ(PixelAt(image, 0, 0), 0x808080u) << s;
        EXPECT_EQ(PixelAt(image, 59, 19), 0x808080u) << s;
        EXPECT_EQ(PixelAt(image, 1, 10), 0xFFFFFFu) << s;
        EXPECT_EQ(PixelAt(image, 30, 1), 0xFFFFFFu) << s;
        EXPECT_EQ(PixelAt(image, 58, 10), 0xD2D2D2u) << s;
        EXPECT_EQ(PixelAt(image, 30, 18), 0xD2D2D2u) << s;
        // Row 10: 238 + 17 * 10 / 20 = 246.5 -> 246 (F6).
        EXPECT_EQ(PixelAt(image, 30, 10), 0xF6F6F6u) << s;
    }
}

TEST(GradButtonPaint, PressedStateUsesTheDownColours)
{
    TGradButton button;
    button.SetColorScheme(csSilver);
    button.setGeometry(0, 0, 60, 20);
    button.SetTabStop(false);
    Enter(button, ButtonState::Pressed);
    const QImage image = Shot(button);
    EXPECT_EQ(PixelAt(image, 0, 0), 0x4E4E4Eu);
    EXPECT_EQ(PixelAt(image, 1, 10), 0x7C7C7Cu);
    EXPECT_EQ(PixelAt(image, 58, 10), 0xE9E9E9u);
    EXPECT_EQ(PixelAt(image, 30, 10), 0xD3D3D3u);
}

// The bounding box of the pixels of one colour.
QRect Find(const QImage &image, TColor color)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (PixelAt(image, x, y) == color)
                box |= QRect(x, y, 1, 1);
    return box;
}

constexpr TColor GlyphColor = 0x0000FF;
constexpr TColor GlyphCorner = 0x00FF00;

// A glyph in one colour but for its top-left pixel, which makes the transparent colour.
QImage MakeGlyph(int width, int height)
{
    QImage glyph(width, height, QImage::Format_RGB32);
    glyph.fill(QColor(0xFF, 0, 0));
    glyph.setPixel(0, 0, qRgb(0, 0xFF, 0));
    return glyph;
}

// A button whose looks all share one flat face, so that only positions tell them apart.
void MakeFlat(TGradButton &button)
{
    button.SetGradient(false);
    for (int look = 0; look < 4; ++look)
        for (int offset = 0; offset < 6; ++offset)
            button.SetColorByIndex(TColorIndex(look * 6 + offset),
                                   button.Color(TColorIndex(offset)));
}

TEST(GradButtonPaint, GlyphPlacementByLayout)
{
    constexpr int W = 89, H = 45, gw = 10, gh = 7, spacing = 5;
    const QString caption = QStringLiteral("Suivant");
    TGradButton probe;
    const QFontMetrics metrics(probe.font(), &probe);
    const int tw = metrics.horizontalAdvance(caption);
    const int th = metrics.height();
    const int textX = (W - tw) / 2, textY = (H - th) / 2;
    const struct {
        TButtonLayout layout;
        bool withCaption;
        QPoint expected;
    } cases[] = {
        // Alone, the glyph is centred at (89 / 2 - 10 / 2, (45 - 7) / 2); above an empty
        // caption at 45 / 2 - 7 / 2 - 7 mod 2, below it at 45 / 2 - 7 / 2.
        {blGlyphLeft, false, {39, 19}},
        {blGlyphRight, false, {39, 19}},
        {blGlyphTop, false, {39, 18}},
        {blGlyphBottom, false, {39, 19}},
        // Beside a caption, spacing 5 puts 3 on the glyph's side and 2 on the caption's.
        {blGlyphLeft, true, {textX - gw / 2 - 3, (H - gh) / 2}},
        {blGlyphRight, true, {textX + tw - gw / 2 + 3, (H - gh) / 2}},
        {blGlyphTop, true, {(W - gw) / 2, textY - gh / 2 - gh % 2 - 3}},
        {blGlyphBottom, true, {(W - gw) / 2, textY + th - gh / 2 + 3}},
    };
    for (const auto &c : cases) {
        TGradButton button;
        button.setGeometry(0, 0, W, H);
        button.SetSpacing(spacing);
        button.SetLayout(c.layout);
        button.SetGlyph(MakeGlyph(gw, gh));
        if (c.withCaption)
            button.SetCaption(caption);
        const QRect found = Find(Shot(button), GlyphColor);
        EXPECT_EQ(found, QRect(c.expected, QSize(gw, gh)))
            << "layout " << int(c.layout) << (c.withCaption ? " with caption" : "");
    }
}

TEST(GradButtonPaint, GlyphTransparencyFollowsItsTopLeftPixel)
{
    TGradButton button;
    button.setGeometry(0, 0, 40, 20);
    button.SetGlyph(MakeGlyph(6, 6));
    EXPECT_TRUE(Find(Shot(button), GlyphCorner).isNull());
    button.SetTransparentGlyph(false);
    EXPECT_EQ(Find(Shot(button), GlyphCorner), QRect(17, 7, 1, 1));
}

TEST(GradButtonPaint, DisabledButtonGreysItsGlyphLikeItsCaption)
{
    // A black arrow on a white corner colour, as the down-arrow buttons carry.
    QImage arrow(7, 7, QImage::Format_RGB32);
    arrow.fill(Qt::black);
    arrow.setPixel(0, 0, qRgb(0xFF, 0xFF, 0xFF));
    const struct {
        bool enabled;
        bool transparent;
        TColor glyph;
    } cases[] = {
        {true, true, 0x000000},
        {false, true, 0x808080},
        {false, false, 0x808080},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "enabled " << c.enabled << ", transparent " << c.transparent);
        TGradButton button;
        button.setGeometry(0, 0, 26, 26);
        button.SetTabStop(false);
        button.SetGlyph(arrow);
        button.SetTransparentGlyph(c.transparent);
        button.setEnabled(c.enabled);
        const QImage image = Shot(button);
        // The glyph covers (10, 9)-(16, 15); its middle and far corner are black pixels.
        EXPECT_EQ(PixelAt(image, 13, 12), c.glyph);
        EXPECT_EQ(PixelAt(image, 16, 15), c.glyph);
        EXPECT_EQ(Find(image, 0x000000).isNull(), !c.enabled) << "no black left when disabled";
    }
}

TEST(GradButtonPaint, PressedCaptionAndGlyphMoveOnePixelRightAndDown)
{
    TGradButton button;
    MakeFlat(button);
    button.setGeometry(0, 0, 89, 25);
    button.SetTabStop(false);
    button.SetCaption(QStringLiteral("&Ouvrir"));
    button.SetGlyph(MakeGlyph(8, 8));
    const QImage normal = Shot(button);
    Enter(button, ButtonState::Pressed);
    const QImage pressed = Shot(button);

    const QRect glyph = Find(normal, GlyphColor);
    ASSERT_FALSE(glyph.isNull());
    EXPECT_EQ(Find(pressed, GlyphColor), glyph.translated(1, 1));
    const QRect text = Find(normal, button.Color(ColorText));
    ASSERT_FALSE(text.isNull());
    EXPECT_EQ(Find(pressed, button.Color(ColorText)), text.translated(1, 1));
    // The inside, away from the edges, is the same picture shifted.
    for (int y = 2; y < 21; ++y)
        for (int x = 2; x < 85; ++x)
            ASSERT_EQ(pressed.pixel(x + 1, y + 1), normal.pixel(x, y)) << x << "," << y;
}

TEST(GradButtonPaint, FocusRectangleFollowsTheFocus)
{
    TGradButton button;
    button.SetColorScheme(csNeoSilver);
    button.setGeometry(0, 0, 40, 20);
    const TColor focus = 0xADADAD;
    SendFocus(button, QEvent::FocusIn);
    const QImage image = Shot(button);
    // The outline of (3, 3)-(37, 17): columns 3 and 36, rows 3 and 16.
    EXPECT_EQ(Find(image, focus), QRect(QPoint(3, 3), QPoint(36, 16)));
    for (int x = 3; x <= 36; ++x) {
        EXPECT_EQ(PixelAt(image, x, 3), focus) << x;
        EXPECT_EQ(PixelAt(image, x, 16), focus) << x;
    }
    for (int y = 3; y <= 16; ++y) {
        EXPECT_EQ(PixelAt(image, 3, y), focus) << y;
        EXPECT_EQ(PixelAt(image, 36, y), focus) << y;
    }
    EXPECT_NE(PixelAt(image, 4, 4), focus);

    SendFocus(button, QEvent::FocusOut);
    EXPECT_TRUE(Find(Shot(button), focus).isNull());
}

} // namespace
