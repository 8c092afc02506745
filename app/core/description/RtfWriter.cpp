// The RTF writer: a header with the fonts (each with its family class) and colours in order of
// first use, then one paragraph a line, each run starting from \plain with every attribute it
// has.
#include "app/core/description/Rtf.h"

#include "app/core/description/DescriptionFont.h"
#include "app/core/description/RtfText.h"
#include "app/text/Windows1252.h"

#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

namespace {

// A font of the table.
struct TableFont {
    QString family;
    FontClass fontClass = FontClass::Nil;
    bool operator==(const TableFont &) const = default;
};

// What a run of text is written with.
struct RunStyle {
    TableFont font;
    int halfPoints = 24;
    std::optional<QRgb> colour; // none: the automatic colour
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    bool operator==(const RunStyle &) const = default;
};

RunStyle styleOf(const QTextCharFormat &format, const QFont &documentFont)
{
    const QFont font = format.font().resolve(documentFont);
    RunStyle style;
    // A table entry ends at ";", and holds no tab or line break.
    style.font.family = font.family();
    style.font.family.remove(u';').remove(u'\t').remove(QChar(0x2028));
    style.font.family = style.font.family.trimmed();
    style.font.fontClass = FontClassOf(format, font);
    const qreal points = font.pointSizeF() > 0 ? font.pointSizeF() : 12;
    style.halfPoints = std::clamp(int(std::llrint(points * 2)), MinHalfPoints, MaxHalfPoints);
    if (format.hasProperty(QTextFormat::ForegroundBrush) &&
        format.foreground().style() != Qt::NoBrush)
        style.colour = format.foreground().color().rgb();
    style.bold = font.weight() >= QFont::DemiBold;
    style.italic = font.italic();
    style.underline = font.underline();
    style.strike = font.strikeOut();
    return style;
}

// Text as RTF: printable ASCII as it is, but "%" escaped so that no "%EOF" can appear;
// Windows-1252 characters as \'hh, the others as \uN with "?" for readers without Unicode.
void appendEscaped(std::string &out, QStringView text)
{
    static const char Hex[] = "0123456789abcdef";
    for (const QChar qc : text) {
        const char16_t c = qc.unicode();
        if (c == u'\\' || c == u'{' || c == u'}') {
            out += '\\';
            out += char(c);
        } else if (c == u'\t') {
            out += "\\tab ";
        } else if (c == 0x2028) {
            out += "\\line ";
        } else if (c >= 0x20 && c < 0x7F && c != u'%') {
            out += char(c);
        } else if (const std::optional<std::uint8_t> byte = UnicodeToWindows1252(c)) {
            out += "\\'";
            out += Hex[*byte >> 4];
            out += Hex[*byte & 15];
        } else {
            out += "\\u" + std::to_string(std::int16_t(c)) + '?';
        }
    }
}

class Writer {
public:
    explicit Writer(const QFont &documentFont) : documentFont_(documentFont) {}

    void paragraph(const QTextBlock &block)
    {
        body_ += "\\pard";
        const Qt::Alignment alignment = block.blockFormat().alignment() & Qt::AlignHorizontal_Mask;
        if (alignment & Qt::AlignHCenter)
            body_ += "\\qc";
        else if (alignment & Qt::AlignRight)
            body_ += "\\qr";
        else if (alignment & Qt::AlignJustify)
            body_ += "\\qj";

        std::vector<std::pair<RunStyle, QString>> runs;
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
            const QString text = KeptText(fragment.fragment().text());
            if (text.isEmpty())
                continue;
            const RunStyle style = styleOf(fragment.fragment().charFormat(), documentFont_);
            if (!runs.empty() && runs.back().first == style)
                runs.back().second += text;
            else
                runs.emplace_back(style, text);
        }
        // An empty paragraph keeps its character format, which gives its height.
        if (runs.empty())
            runs.emplace_back(styleOf(block.charFormat(), documentFont_), QString());
        for (const auto &[style, text] : runs) {
            appendStyle(style);
            body_ += ' ';
            appendEscaped(body_, text);
        }
        body_ += "\\par\r\n";
    }

    Bytes bytes() const
    {
        std::string out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\r\n{\\fonttbl";
        for (std::size_t i = 0; i < fonts_.size(); ++i) {
            out += "{\\f" + std::to_string(i) + '\\';
            out += FontClassWord(fonts_[i].fontClass);
            out += "\\fcharset0 ";
            appendEscaped(out, fonts_[i].family);
            out += ";}";
        }
        out += "}\r\n{\\colortbl ;";
        for (const QRgb colour : colours_)
            out += "\\red" + std::to_string(qRed(colour)) + "\\green" +
                   std::to_string(qGreen(colour)) + "\\blue" + std::to_string(qBlue(colour)) + ';';
        out += "}\r\n" + body_ + "}\r\n";
        return Bytes(out.begin(), out.end());
    }

private:
    template <typename T> static std::size_t indexIn(std::vector<T> &table, const T &value)
    {
        const auto found = std::find(table.begin(), table.end(), value);
        if (found != table.end())
            return std::size_t(found - table.begin());
        table.push_back(value);
        return table.size() - 1;
    }

    void appendStyle(const RunStyle &style)
    {
        body_ += "\\plain\\f" + std::to_string(indexIn(fonts_, style.font)) + "\\fs" +
                 std::to_string(style.halfPoints);
        // Colour 0 is the automatic one.
        if (style.colour)
            body_ += "\\cf" + std::to_string(indexIn(colours_, *style.colour) + 1);
        if (style.bold)
            body_ += "\\b";
        if (style.italic)
            body_ += "\\i";
        if (style.underline)
            body_ += "\\ul";
        if (style.strike)
            body_ += "\\strike";
    }

    QFont documentFont_;
    std::vector<TableFont> fonts_;
    std::vector<QRgb> colours_;
    std::string body_;
};

} // namespace

Bytes WriteRtf(const QTextDocument &document)
{
    Writer writer(document.defaultFont());
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        writer.paragraph(block);
    return writer.bytes();
}
