#include "app/Descript.h"

#include "app/core/description/DescriptionFont.h"
#include "app/core/description/Rtf.h"
#include "app/core/description/SelectionStyle.h"
#include "app/core/files/BookWriter.h"
#include "app/core/pages/BookPages.h"
#include "app/core/seams/Dialogs.h"
#include "app/core/seams/Prompter.h"
#include "app/widgets/DescriptionEdit.h"
#include "app/widgets/ToolIcons.h"
#include "app/widgets/WindowStyle.h"
#include "controls/EventGuard.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QToolButton>

#include <algorithm>
#include <cmath>

namespace {

constexpr int ToolBarHeight = 29;
constexpr int ItemTop = 2;
constexpr int ItemHeight = 22;
constexpr int MinimumSize = 10;
constexpr int MaximumSize = 100;

} // namespace

TailleBox::TailleBox(QWidget *parent) : QSpinBox(parent)
{
    setRange(MinimumSize, MaximumSize);
    setValue(MinimumSize);
    setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    reported_ = text();
    connect(lineEdit(), &QLineEdit::textEdited, this, &TailleBox::reportIfChanged);
    connect(this, &QAbstractSpinBox::editingFinished, this, &TailleBox::reportIfChanged);
}

void TailleBox::showValue(int value)
{
    setValue(value);
    reported_ = text();
}

QValidator::State TailleBox::validate(QString &input, int &) const
{
    if (input.isEmpty())
        return QValidator::Intermediate;
    const bool digits = input.size() <= 4 && std::all_of(input.cbegin(), input.cend(), [](QChar c) {
                            return c >= u'0' && c <= u'9';
                        });
    return digits ? QValidator::Acceptable : QValidator::Invalid;
}

int TailleBox::valueFromText(const QString &text) const
{
    return text.toInt();
}

void TailleBox::stepBy(int steps)
{
    QSpinBox::stepBy(steps);
    reportIfChanged();
}

void TailleBox::reportIfChanged()
{
    if (text() == reported_)
        return;
    reported_ = text();
    emit edited();
}

TDesc::TDesc(BookPages &state, Prompter &prompter, Dialogs &dialogs, QWidget *parent)
    : QDialog(parent), state_(state), prompter_(prompter), dialogs_(dialogs)
{
    StyleSecondaryWindow(*this, QStringLiteral("Description"), QSize(870, 640));
    createToolBar();

    RichEdit1 = new DescriptionEdit(this);
    QFont text = FormFont();
    text.setPointSize(MinimumSize);
    RichEdit1->setFont(text);
    ConnectGuarded(RichEdit1, &QTextEdit::cursorPositionChanged, this,
                   &TDesc::RichEdit1SelectionChange);
    ConnectGuarded(RichEdit1, &QTextEdit::selectionChanged, this, &TDesc::RichEdit1SelectionChange);
    placeControls();
    RichEdit1->setFocus();
}

void TDesc::createToolBar()
{
    ToolBar1 = new QWidget(this);
    int x = 0;
    const auto place = [&x](QWidget *item, int width) {
        item->setGeometry(x, ItemTop, width, ItemHeight);
        x += width;
    };
    const auto button = [&](ToolIcon icon, const char *tip, void (TDesc::*handler)(),
                            bool showsStyle = false) {
        auto *tool = new QToolButton(ToolBar1);
        tool->setIcon(DrawToolIcon(icon));
        tool->setIconSize(QSize(16, 16));
        tool->setAutoRaise(true);
        tool->setToolTip(QString::fromUtf8(tip));
        tool->setCheckable(showsStyle);
        place(tool, 23);
        ConnectGuarded(tool, &QToolButton::clicked, this, handler);
        return tool;
    };
    const auto separator = [&] {
        auto *line = new QFrame(ToolBar1);
        line->setFrameShape(QFrame::VLine);
        line->setFrameShadow(QFrame::Sunken);
        place(line, 8);
    };

    Gras = button(ToolIcon::Bold, "Gras", &TDesc::GrasClick, true);
    Italique = button(ToolIcon::Italic, "Italique", &TDesc::ItaliqueClick, true);
    Souligne = button(ToolIcon::Underline, "Souligné", &TDesc::SouligneClick, true);
    Barre = button(ToolIcon::StrikeOut, "Barré", &TDesc::BarreClick, true);
    separator();
    Couleur = button(ToolIcon::TextColour, "Couleur du texte", &TDesc::CouleurClick);
    Polive = button(ToolIcon::Font, "Police", &TDesc::PoliveClick);
    separator();
    Gauche = button(ToolIcon::AlignLeft, "Aligner à gauche", &TDesc::GaucheClick);
    Milieu = button(ToolIcon::AlignCentre, "Centrer", &TDesc::MilieuClick);
    Droite = button(ToolIcon::AlignRight, "Aligner à droite", &TDesc::DroiteClick);
    separator();
    Couper = button(ToolIcon::Cut, "Couper", &TDesc::CouperClick);
    copier = button(ToolIcon::Copy, "Copier", &TDesc::copierClick);
    Coller = button(ToolIcon::Paste, "Coller", &TDesc::CollerClick);
    separator();

    Label1 = new QLabel(QStringLiteral("Taille"), ToolBar1);
    Label1->setAlignment(Qt::AlignCenter);
    place(Label1, Label1->sizeHint().width() + 6);
    Taille = new TailleBox(ToolBar1);
    place(Taille, 48);
    ConnectGuarded(Taille, &TailleBox::edited, this, &TDesc::TailleChange);
    Annuler = button(ToolIcon::Undo, "Annuler", &TDesc::AnnulerClick);

    Sauver = new QPushButton(QStringLiteral("Enregistrer"), ToolBar1);
    Sauver->setAutoDefault(false);
    place(Sauver, 75);
    ConnectGuarded(Sauver, &QPushButton::clicked, this, &TDesc::SauverClick);
    Quitter = new QPushButton(QStringLiteral("Quitter"), ToolBar1);
    Quitter->setAutoDefault(false);
    place(Quitter, 75);
    ConnectGuarded(Quitter, &QPushButton::clicked, this, &TDesc::QuitterClick);
}

void TDesc::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    placeControls();
}

void TDesc::placeControls()
{
    ToolBar1->setGeometry(0, 0, width(), ToolBarHeight);
    RichEdit1->setGeometry(0, ToolBarHeight, width(), std::max(height() - ToolBarHeight, 0));
}

void TDesc::loadDescription(const Bytes &rtf)
{
    ReadRtf(rtf, *RichEdit1->document());
    RichEdit1->moveCursor(QTextCursor::Start);
    RichEdit1SelectionChange();
}

void TDesc::toggle(CharStyle style, QToolButton *button)
{
    const SelectionStyle now = StyleOfSelection(RichEdit1->textCursor());
    QTextCharFormat change;
    bool on = false;
    switch (style) {
    case CharStyle::Bold:
        on = !now.bold;
        change.setFontWeight(on ? QFont::Bold : QFont::Normal);
        break;
    case CharStyle::Italic:
        on = !now.italic;
        change.setFontItalic(on);
        break;
    case CharStyle::Underline:
        on = !now.underline;
        change.setFontUnderline(on);
        break;
    case CharStyle::StrikeOut:
        on = !now.strikeOut;
        change.setFontStrikeOut(on);
        break;
    }
    RichEdit1->mergeCurrentCharFormat(change);
    button->setChecked(on);
}

void TDesc::GrasClick()
{
    toggle(CharStyle::Bold, Gras);
}

void TDesc::ItaliqueClick()
{
    toggle(CharStyle::Italic, Italique);
}

void TDesc::SouligneClick()
{
    toggle(CharStyle::Underline, Souligne);
}

void TDesc::BarreClick()
{
    toggle(CharStyle::StrikeOut, Barre);
}

void TDesc::CouleurClick()
{
    QColor colour = RichEdit1->currentCharFormat().foreground().color();
    if (!dialogs_.chooseColor(colour))
        return;
    QTextCharFormat change;
    change.setForeground(colour);
    RichEdit1->mergeCurrentCharFormat(change);
}

void TDesc::PoliveClick()
{
    QFont font =
        RichEdit1->currentCharFormat().font().resolve(RichEdit1->document()->defaultFont());
    const QStringList families = font.families();
    if (!dialogs_.chooseFont(font))
        return;
    QTextCharFormat change;
    change.setFont(font);
    // Another family gets the class its face says.
    if (font.families() != families) {
        const FontClass fontClass = FontClassOfFace(font);
        SetDescriptionFont(change, font.family(), fontClass,
                           ShownStyleHint(font.family(), fontClass));
    }
    RichEdit1->mergeCurrentCharFormat(change);
    RichEdit1SelectionChange();
}

void TDesc::GaucheClick()
{
    RichEdit1->setAlignment(Qt::AlignLeft);
}

void TDesc::MilieuClick()
{
    RichEdit1->setAlignment(Qt::AlignHCenter);
}

void TDesc::DroiteClick()
{
    RichEdit1->setAlignment(Qt::AlignRight);
}

void TDesc::CouperClick()
{
    RichEdit1->cut();
}

void TDesc::copierClick()
{
    RichEdit1->copy();
}

void TDesc::CollerClick()
{
    RichEdit1->paste();
}

void TDesc::AnnulerClick()
{
    RichEdit1->undo();
}

void TDesc::RichEdit1SelectionChange()
{
    const SelectionStyle style = StyleOfSelection(RichEdit1->textCursor());
    Gras->setChecked(style.bold);
    Italique->setChecked(style.italic);
    Souligne->setChecked(style.underline);
    Barre->setChecked(style.strikeOut);
    Taille->showValue(std::clamp(int(std::nearbyint(style.pointSize)), MinimumSize, MaximumSize));
}

void TDesc::TailleChange()
{
    bool number = false;
    const int size = Taille->text().toInt(&number);
    QTextCharFormat change;
    change.setFontPointSize(
        std::clamp(number ? size : MinimumSize, MinHalfPoints / 2, MaxHalfPoints / 2));
    RichEdit1->mergeCurrentCharFormat(change);
}

void TDesc::SauverClick()
{
    // A failure to write reaches the crash report and leaves the editor open with its text. A
    // book replaced or changed while it was saved gets its message and keeps the editor open
    // too: the text may be saved again, onto the book then at the path.
    try {
        if (WriteDescription(state_.Book, prompter_, WriteRtf(*RichEdit1->document())))
            state_.DescriptionMenuVisible = true;
    } catch (const FileChangedError &changed) {
        prompter_.error(QString::fromStdString(changed.what()));
        return;
    }
    accept();
}

void TDesc::QuitterClick()
{
    reject();
}
