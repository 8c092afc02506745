// The RTF reader: one pass over the bytes with a bounded stack of group states. It trusts
// nothing in its input: nesting, numbers, tables and names are all limited.
#include "app/core/description/Rtf.h"

#include "app/core/description/DescriptionFont.h"
#include "app/core/description/RtfText.h"
#include "app/text/HexDigit.h"
#include "app/text/RtfDestinations.h"
#include "app/text/Windows1252.h"

#include <QColor>
#include <QHash>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr std::size_t MaxDepth = 256; // deeper groups share the state of the deepest one
constexpr std::size_t MaxTableEntries = 4096;
constexpr qsizetype MaxFontName = 256;
constexpr std::size_t MaxKeyword = 32;
constexpr int MaxFallbackLength = 16;
constexpr int DefaultHalfPoints = 24;

enum class Destination { Text, FontTable, ColourTable, Skipped };

struct CharState {
    int font = 0;
    int halfPoints = DefaultHalfPoints;
    int colour = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    bool operator==(const CharState &) const = default;
};

struct Group {
    CharState chars;
    Qt::Alignment alignment = Qt::AlignLeft;
    int fallbackLength = 1; // \uc: characters that follow a \u for readers without Unicode
    Destination destination = Destination::Text;
};

// A font of the table; the style hint it shows under is looked up when text first uses it.
struct TableFont {
    QString family;
    FontClass fontClass = FontClass::Nil;
    std::optional<QFont::StyleHint> hint;
};

bool isUnderlineWord(std::string_view word)
{
    static constexpr std::string_view kinds[] = {
        "ul",         "uld",       "uldash",     "uldashd", "uldashdd", "uldb",
        "ulhwave",    "ulldash",   "ulth",       "ulthd",   "ulthdash", "ulthdashd",
        "ulthdashdd", "ulthldash", "ululdbwave", "ulw",     "ulwave",
    };
    return std::find(std::begin(kinds), std::end(kinds), word) != std::end(kinds);
}

char16_t symbolOf(std::string_view word)
{
    static constexpr std::pair<std::string_view, char16_t> symbols[] = {
        {"bullet", 0x2022},  {"emdash", 0x2014},    {"emspace", 0x2003}, {"endash", 0x2013},
        {"enspace", 0x2002}, {"ldblquote", 0x201C}, {"line", 0x2028},    {"lquote", 0x2018},
        {"qmspace", 0x2005}, {"rdblquote", 0x201D}, {"rquote", 0x2019},  {"tab", u'\t'},
    };
    for (const auto &[name, symbol] : symbols)
        if (name == word)
            return symbol;
    return 0;
}

bool isLetter(std::uint8_t c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isDigit(std::uint8_t c)
{
    return c >= '0' && c <= '9';
}

class Reader {
public:
    Reader(std::span<const std::uint8_t> input, QTextDocument &document)
        : pos_(input.data()), end_(input.data() + input.size()), cursor_(&document)
    {
    }

    void run()
    {
        cursor_.beginEditBlock();
        while (pos_ < end_ && !finished_) {
            const std::uint8_t c = *pos_++;
            switch (c) {
            case '{': openGroup(); break;
            case '}': closeGroup(); break;
            case '\\': controlSequence(); break;
            case '\r':
            case '\n': break;
            default: character(Windows1252ToUnicode(c), c == ';');
            }
        }
        endParagraph();
        cursor_.endEditBlock();
    }

private:
    Group &group() { return groups_.back(); }

    void openGroup()
    {
        fallbackLeft_ = 0;
        if (groups_.size() < MaxDepth)
            groups_.push_back(group());
        else
            ++deeper_;
    }

    void closeGroup()
    {
        fallbackLeft_ = 0;
        if (deeper_ > 0) {
            --deeper_;
            return;
        }
        if (group().destination == Destination::FontTable)
            finishFontEntry();
        // The first group is the document's: the bytes after it are not part of it.
        if (groups_.size() <= 2) {
            finished_ = true;
            return;
        }
        groups_.pop_back();
    }

    void controlSequence()
    {
        if (pos_ == end_)
            return;
        if (!isLetter(*pos_)) {
            controlSymbol(*pos_++);
            return;
        }
        std::string word;
        for (; pos_ < end_ && isLetter(*pos_); ++pos_)
            if (word.size() < MaxKeyword)
                word += char(*pos_);
        bool negative = false;
        if (pos_ + 1 < end_ && *pos_ == '-' && isDigit(pos_[1])) {
            negative = true;
            ++pos_;
        }
        bool hasValue = false;
        std::int64_t value = 0;
        for (; pos_ < end_ && isDigit(*pos_); ++pos_) {
            hasValue = true;
            if (value <= INT32_MAX)
                value = value * 10 + (*pos_ - '0');
        }
        if (pos_ < end_ && *pos_ == ' ')
            ++pos_;
        value = std::clamp<std::int64_t>(negative ? -value : value, INT32_MIN, INT32_MAX);
        controlWord(word, hasValue, int(value));
    }

    void controlSymbol(std::uint8_t symbol)
    {
        switch (symbol) {
        case '\\':
        case '{':
        case '}': character(symbol, false); break;
        case '~': character(0x00A0, false); break;
        case '_': character(0x2011, false); break;
        case '\'': {
            const int high = pos_ < end_ ? HexDigitValue(char(*pos_)) : -1;
            const int low = pos_ + 1 < end_ ? HexDigitValue(char(pos_[1])) : -1;
            if (high < 0 || low < 0)
                return;
            pos_ += 2;
            character(Windows1252ToUnicode(std::uint8_t(high * 16 + low)), false);
            break;
        }
        case '*':
            if (!skipFallback())
                group().destination = Destination::Skipped;
            break;
        case '\r':
        case '\n':
            if (!skipFallback() && group().destination == Destination::Text)
                paragraph();
            break;
        default: // \- optional hyphen, \| \: and the rest
            skipFallback();
        }
    }

    void controlWord(std::string_view word, bool hasValue, int value)
    {
        if (word == "bin") {
            pos_ += std::min<std::ptrdiff_t>(std::max(value, 0), end_ - pos_);
            return;
        }
        if (skipFallback())
            return;
        Group &g = group();
        if (g.destination == Destination::Skipped)
            return;
        if (word == "fonttbl") {
            g.destination = Destination::FontTable;
        } else if (word == "colortbl") {
            g.destination = Destination::ColourTable;
        } else if (IsNonTextDestination(word)) {
            g.destination = Destination::Skipped;
        } else if (word == "u") {
            const int unit = value < 0 ? value + 65536 : value;
            if (unit >= 0 && unit <= 0xFFFF)
                character(char16_t(unit), false);
            fallbackLeft_ = g.fallbackLength;
        } else if (word == "uc") {
            g.fallbackLength = std::clamp(value, 0, MaxFallbackLength);
        } else if (word == "deff") {
            defaultFont_ = value;
            g.chars.font = value;
        } else if (g.destination == Destination::FontTable) {
            if (word == "f") {
                finishFontEntry();
                fontId_ = value;
            } else if (const std::optional<FontClass> fontClass = FontClassNamed(word)) {
                fontClass_ = *fontClass;
            }
        } else if (g.destination == Destination::ColourTable) {
            colourComponent(word, value);
        } else {
            textControlWord(word, hasValue, value);
        }
    }

    void textControlWord(std::string_view word, bool hasValue, int value)
    {
        CharState &chars = group().chars;
        const bool on = !hasValue || value != 0;
        if (word == "par" || word == "sect" || word == "page")
            paragraph();
        else if (const char16_t symbol = symbolOf(word))
            character(symbol, false);
        else if (word == "b")
            chars.bold = on;
        else if (word == "i")
            chars.italic = on;
        else if (isUnderlineWord(word))
            chars.underline = on;
        else if (word == "ulnone")
            chars.underline = false;
        else if (word == "strike" || word == "striked")
            chars.strike = on;
        else if (word == "fs")
            chars.halfPoints =
                hasValue ? std::clamp(value, MinHalfPoints, MaxHalfPoints) : DefaultHalfPoints;
        else if (word == "f")
            chars.font = value;
        else if (word == "cf")
            chars.colour = std::max(value, 0);
        else if (word == "plain")
            chars = CharState{defaultFont_};
        else if (word == "pard" || word == "ql")
            group().alignment = Qt::AlignLeft;
        else if (word == "qc")
            group().alignment = Qt::AlignHCenter;
        else if (word == "qr")
            group().alignment = Qt::AlignRight;
        else if (word == "qj")
            group().alignment = Qt::AlignJustify;
    }

    void colourComponent(std::string_view word, int value)
    {
        const int component = std::clamp(value, 0, 255);
        if (word == "red")
            red_ = component;
        else if (word == "green")
            green_ = component;
        else if (word == "blue")
            blue_ = component;
        else
            return;
        colourGiven_ = true;
    }

    // Counts one character of the text that follows a \u for readers without Unicode.
    bool skipFallback()
    {
        if (fallbackLeft_ == 0)
            return false;
        --fallbackLeft_;
        return true;
    }

    // A character of the current destination; literalByte tells a ';' that ends a table
    // entry from an escaped one.
    void character(char16_t c, bool literalByte)
    {
        if (skipFallback())
            return;
        switch (group().destination) {
        case Destination::Text:
            if (IsKeptCharacter(c))
                appendText(c);
            break;
        case Destination::FontTable:
            if (literalByte)
                finishFontEntry();
            else if (fontName_.size() < MaxFontName && IsKeptCharacter(c))
                fontName_ += QChar(c);
            break;
        case Destination::ColourTable:
            if (literalByte)
                finishColourEntry();
            break;
        case Destination::Skipped: break;
        }
    }

    void finishFontEntry()
    {
        const QString name = KeptText(fontName_).trimmed();
        fontName_.clear();
        if (!name.isEmpty() && std::size_t(fonts_.size()) < MaxTableEntries &&
            !fonts_.contains(fontId_))
            fonts_.insert(fontId_, TableFont{name, fontClass_, std::nullopt});
        fontClass_ = FontClass::Nil;
    }

    void finishColourEntry()
    {
        if (colours_.size() < MaxTableEntries)
            colours_.push_back(colourGiven_ ? QColor(red_, green_, blue_) : QColor());
        red_ = green_ = blue_ = 0;
        colourGiven_ = false;
    }

    QTextCharFormat formatOf(const CharState &chars)
    {
        QTextCharFormat format;
        if (const auto font = fonts_.find(chars.font); font != fonts_.end()) {
            if (!font->hint)
                font->hint = ShownStyleHint(font->family, font->fontClass);
            SetDescriptionFont(format, font->family, font->fontClass, *font->hint);
        }
        format.setFontPointSize(chars.halfPoints / 2.0);
        format.setFontWeight(chars.bold ? QFont::Bold : QFont::Normal);
        format.setFontItalic(chars.italic);
        format.setFontUnderline(chars.underline);
        format.setFontStrikeOut(chars.strike);
        if (std::size_t(chars.colour) < colours_.size() && colours_[chars.colour].isValid())
            format.setForeground(colours_[chars.colour]);
        return format;
    }

    void appendText(char16_t c)
    {
        // A paragraph break is made only when something follows it, so that the \par that
        // ends the last paragraph leaves no empty one behind.
        if (breakPending_) {
            cursor_.insertBlock();
            breakPending_ = false;
        }
        if (!pending_.isEmpty() && !(pendingChars_ == group().chars))
            flush();
        pendingChars_ = group().chars;
        pending_ += QChar(c);
    }

    void flush()
    {
        if (pending_.isEmpty())
            return;
        cursor_.insertText(KeptText(pending_), formatOf(pendingChars_));
        pending_.clear();
    }

    void paragraph()
    {
        if (breakPending_) {
            cursor_.insertBlock();
            breakPending_ = false;
        }
        endParagraph();
        breakPending_ = true;
    }

    // The paragraph's properties; an empty paragraph keeps the character format in force,
    // which gives its height.
    void endParagraph()
    {
        if (breakPending_)
            return;
        flush();
        QTextBlockFormat block;
        block.setAlignment(group().alignment);
        cursor_.setBlockFormat(block);
        if (cursor_.block().length() == 1)
            cursor_.setBlockCharFormat(formatOf(group().chars));
    }

    const std::uint8_t *pos_;
    const std::uint8_t *end_;
    QTextCursor cursor_;
    std::vector<Group> groups_{Group{}};
    std::size_t deeper_ = 0;
    bool finished_ = false;
    int fallbackLeft_ = 0;
    int defaultFont_ = 0;

    QHash<int, TableFont> fonts_;
    int fontId_ = 0;
    FontClass fontClass_ = FontClass::Nil;
    QString fontName_;
    std::vector<QColor> colours_;
    int red_ = 0, green_ = 0, blue_ = 0;
    bool colourGiven_ = false;

    QString pending_;
    CharState pendingChars_;
    bool breakPending_ = false;
};

bool startsAsRtf(std::span<const std::uint8_t> bytes)
{
    return bytes.size() >= 5 && std::memcmp(bytes.data(), "{\\rtf", 5) == 0;
}

QString decodePlainText(std::span<const std::uint8_t> bytes)
{
    const QByteArrayView view(bytes.data(), qsizetype(bytes.size()));
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(view);
    if (utf8.hasError()) {
        text.clear();
        text.reserve(view.size());
        for (const std::uint8_t byte : bytes)
            text += QChar(Windows1252ToUnicode(byte));
    }
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    QString kept;
    for (const QString &line : text.split(u'\n'))
        kept += KeptText(line) + u'\n';
    kept.chop(1);
    return kept;
}

} // namespace

void ReadRtf(std::span<const std::uint8_t> rtf, QTextDocument &document)
{
    // Loading is not an edit that the user could undo.
    const bool undo = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    document.clear();
    if (startsAsRtf(rtf))
        Reader(rtf, document).run();
    else
        document.setPlainText(decodePlainText(rtf));
    document.setUndoRedoEnabled(undo);
}
