#include "app/core/description/Rtf.h"

#include "tests/support/BookFixture.h"
#include "tests/support/DocumentFixture.h"
#include "tests/support/TempDir.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QImage>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>

#include <gtest/gtest.h>

#include <functional>
#include <iterator>
#include <memory>
#include <random>

namespace {

std::string asText(const Bytes &bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

std::unique_ptr<QTextDocument> read(const Bytes &rtf)
{
    auto document = std::make_unique<QTextDocument>();
    ReadRtf(rtf, *document);
    return document;
}

std::unique_ptr<QTextDocument> read(std::string_view rtf)
{
    return read(ToBytes(rtf));
}

// "family size" then " b", " i", " u", " s" and the colour's name as they apply, for the
// format resolved against the document's font, as the writer sees it.
QString styleOf(const QTextCharFormat &format, const QTextDocument &document)
{
    const QFont font = format.font().resolve(document.defaultFont());
    QString style = font.family() + ' ' + QString::number(font.pointSizeF());
    if (font.weight() >= QFont::DemiBold)
        style += QStringLiteral(" b");
    if (font.italic())
        style += QStringLiteral(" i");
    if (font.underline())
        style += QStringLiteral(" u");
    if (font.strikeOut())
        style += QStringLiteral(" s");
    if (format.hasProperty(QTextFormat::ForegroundBrush))
        style += ' ' + format.foreground().color().name();
    return style;
}

// The style of the first character of word in the document.
QString styleAt(const QTextDocument &document, const QString &word)
{
    const QTextCursor found = document.find(word);
    if (found.isNull())
        return QStringLiteral("(absent)");
    QTextCursor at(const_cast<QTextDocument *>(&document));
    at.setPosition(found.selectionStart() + 1);
    return styleOf(at.charFormat(), document);
}

char alignmentMark(Qt::Alignment alignment)
{
    if (alignment & Qt::AlignHCenter)
        return '|';
    if (alignment & Qt::AlignRight)
        return '>';
    if (alignment & Qt::AlignJustify)
        return '=';
    return '<';
}

// One mark per paragraph: "<" left, "|" centre, ">" right, "=" justified.
std::string alignments(const QTextDocument &document)
{
    std::string marks;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        marks += alignmentMark(block.blockFormat().alignment());
    return marks;
}

// Every paragraph as its alignment mark, then each run as "[style]text".
QStringList describe(const QTextDocument &document)
{
    QStringList paragraphs;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        QString line(QChar::fromLatin1(alignmentMark(block.blockFormat().alignment())));
        for (auto it = block.begin(); !it.atEnd(); ++it)
            line +=
                '[' + styleOf(it.fragment().charFormat(), document) + ']' + it.fragment().text();
        paragraphs << line;
    }
    return paragraphs;
}

// What every output of the writer must be: printable ASCII and CR LF only, no "%EOF", and a
// line break at the end.
void expectSafeForABook(const Bytes &rtf)
{
    const std::string text = asText(rtf);
    for (const char c : text)
        ASSERT_TRUE((c >= 0x20 && c < 0x7F) || c == '\r' || c == '\n') << int(c) << " in " << text;
    EXPECT_EQ(text.find("%EOF"), std::string::npos) << text;
    ASSERT_GE(text.size(), 2u);
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
}

QTextCharFormat with(const std::function<void(QTextCharFormat &)> &set)
{
    QTextCharFormat format;
    set(format);
    return format;
}

// A document of several paragraphs with every attribute the editor gives.
std::unique_ptr<QTextDocument> richDocument()
{
    auto document = std::make_unique<QTextDocument>();
    document->setDefaultFont(QFont(QStringLiteral("DejaVu Sans"), 10));
    QTextCursor cursor(document.get());
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    cursor.setBlockFormat(centred);
    cursor.insertText(QStringLiteral("Titre"), with([](QTextCharFormat &f) {
                          f.setFontWeight(QFont::Bold);
                          f.setFontPointSize(24);
                      }));
    QTextBlockFormat right;
    right.setAlignment(Qt::AlignRight);
    cursor.insertBlock(right);
    cursor.insertText(QStringLiteral("rouge "),
                      with([](QTextCharFormat &f) { f.setForeground(QColor(200, 0, 0)); }));
    cursor.insertText(QStringLiteral("souligné barré"), with([](QTextCharFormat &f) {
                          f.setFontUnderline(true);
                          f.setFontStrikeOut(true);
                      }));
    cursor.insertText(QStringLiteral(" Courier\titalique"), with([](QTextCharFormat &f) {
                          f.setFontFamilies({QStringLiteral("Courier New")});
                          f.setFontItalic(true);
                      }));
    QTextBlockFormat justified;
    justified.setAlignment(Qt::AlignJustify);
    cursor.insertBlock(justified, with([](QTextCharFormat &f) { f.setFontPointSize(30); }));
    cursor.insertBlock(QTextBlockFormat());
    cursor.insertText(QStringLiteral("été € Ωμέγα 漢字 😀 {\\} 100 %EOF") + QChar(0x2028) +
                      QStringLiteral("fin"));
    return document;
}

// An RTF document that LibreOffice writes from a small formatted HTML page.
Bytes rtfWrittenByLibreOffice(const TempDir &dir)
{
    return RtfWrittenByLibreOffice(dir.path(), R"(<html><head><meta charset="utf-8"></head><body>
<p align="center"><b>Gras</b> <i>italique</i> <u>souligné</u> <s>barré</s></p>
<p align="right"><font color="#ff0000">rouge</font> <span style="font-size:20pt">grand</span>
<font face="Courier New">Courier</font></p>
<p>été € Ωμέγα 漢字</p>
</body></html>)");
}

} // namespace

TEST(RtfCodec, EveryAttributeAndAlignmentIsWrittenAndReadBack)
{
    struct Case {
        const char *name;
        std::function<void(QTextCharFormat &)> format;
        Qt::Alignment alignment;
        const char *written; // what the writer must say for it
    };
    const Case cases[] = {
        {"bold", [](QTextCharFormat &f) { f.setFontWeight(QFont::Bold); }, Qt::AlignLeft, "\\b "},
        {"italic", [](QTextCharFormat &f) { f.setFontItalic(true); }, Qt::AlignLeft, "\\i "},
        {"underline", [](QTextCharFormat &f) { f.setFontUnderline(true); }, Qt::AlignLeft, "\\ul "},
        {"strike-out", [](QTextCharFormat &f) { f.setFontStrikeOut(true); }, Qt::AlignLeft,
         "\\strike "},
        {"colour", [](QTextCharFormat &f) { f.setForeground(QColor(0x12, 0x80, 0xfe)); },
         Qt::AlignLeft, "\\red18\\green128\\blue254;"},
        {"font", [](QTextCharFormat &f) { f.setFontFamilies({QStringLiteral("Courier New")}); },
         Qt::AlignLeft, "Courier New;"},
        {"size in half points", [](QTextCharFormat &f) { f.setFontPointSize(7.5); }, Qt::AlignLeft,
         "\\fs15"},
        {"large size", [](QTextCharFormat &f) { f.setFontPointSize(250); }, Qt::AlignLeft,
         "\\fs500"},
        {"all styles at once",
         [](QTextCharFormat &f) {
             f.setFontWeight(QFont::Bold);
             f.setFontItalic(true);
             f.setFontUnderline(true);
             f.setFontStrikeOut(true);
         },
         Qt::AlignLeft, "\\b\\i\\ul\\strike "},
        {"centre", [](QTextCharFormat &) {}, Qt::AlignHCenter, "\\pard\\qc"},
        {"right", [](QTextCharFormat &) {}, Qt::AlignRight, "\\pard\\qr"},
        {"justified", [](QTextCharFormat &) {}, Qt::AlignJustify, "\\pard\\qj"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QTextDocument document;
        document.setDefaultFont(QFont(QStringLiteral("DejaVu Sans"), 10));
        QTextCursor cursor(&document);
        QTextBlockFormat block;
        block.setAlignment(c.alignment);
        cursor.setBlockFormat(block);
        cursor.insertText(QStringLiteral("avant "));
        cursor.insertText(QStringLiteral("mot"), with(c.format));
        cursor.insertText(QStringLiteral(" après"));

        const Bytes rtf = WriteRtf(document);
        expectSafeForABook(rtf);
        EXPECT_NE(asText(rtf).find(c.written), std::string::npos) << asText(rtf);
        const auto back = read(rtf);
        EXPECT_EQ(describe(*back), describe(document)) << asText(rtf);
    }
}

TEST(RtfCodec, TextOfAnyScriptIsWrittenSafelyAndReadBack)
{
    struct Case {
        const char *text;
        const char *written; // how the writer puts it
    };
    const Case cases[] = {
        {"été à Noël, ça", "\\'e9t\\'e9 \\'e0 No\\'ebl, \\'e7a"},
        {"€ œ “guillemets” – …", "\\'80 \\'9c \\'93guillemets\\'94 \\'96 \\'85"},
        {"Ωμέγα Кириллица", "\\u937?\\u956?"},
        {"漢字", "\\u28450?\\u23383?"},
        {"😀", "\\u-10179?\\u-8704?"},
        {"{\\rtf1 \\b braces}", "\\{\\\\rtf1 \\\\b braces\\}"},
        {"50 % %EOF %EOF%", "50 \\'25 \\'25EOF \\'25EOF\\'25"},
        {"col1\tcol2", "col1\\tab col2"},
        {"ligne\u2028suivante", "ligne\\line suivante"},
        {"insécable\u00a0!", "ins\\'e9cable\\'a0!"},
        {"  espaces  en tête", "  espaces  en t\\'eate"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        QTextDocument document;
        document.setPlainText(QString::fromUtf8(c.text));
        const Bytes rtf = WriteRtf(document);
        expectSafeForABook(rtf);
        EXPECT_NE(asText(rtf).find(c.written), std::string::npos) << asText(rtf);
        EXPECT_EQ(read(rtf)->toRawText(), document.toRawText()) << asText(rtf);
    }
}

TEST(RtfCodec, WritingWhatWasReadGivesTheSameBytes)
{
    const auto rich = richDocument();
    const Bytes first = WriteRtf(*rich);
    expectSafeForABook(first);
    EXPECT_EQ(describe(*read(first)), describe(*rich)) << asText(first);
    EXPECT_EQ(asText(WriteRtf(*read(first))), asText(first));

    // Reading fills in what a document leaves to its default font; that writes the same.
    const auto empty = std::make_unique<QTextDocument>();
    const Bytes nothing = WriteRtf(*empty);
    EXPECT_EQ(asText(WriteRtf(*read(nothing))), asText(nothing));
    EXPECT_EQ(read(nothing)->blockCount(), 1);
}

TEST(RtfCodec, PicturesAndObjectsOfADocumentAreLeftOut)
{
    // What the writer gives for the text alone, in bold.
    QTextDocument text;
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    QTextCursor(&text).insertText(QStringLiteral("ab"), bold);
    const std::string expected = asText(WriteRtf(text));

    using Insert = std::function<void(QTextCursor &)>;
    const struct {
        const char *name;
        Insert insert;
    } cases[] = {
        {"a picture",
         [](QTextCursor &cursor) {
             QImage picture(4, 4, QImage::Format_RGB32);
             picture.fill(Qt::red);
             cursor.document()->addResource(QTextDocument::ImageResource,
                                            QUrl(QStringLiteral("image")), picture);
             QTextImageFormat image;
             image.setName(QStringLiteral("image"));
             image.setFontWeight(QFont::Normal);
             cursor.insertImage(image);
         }},
        {"an object",
         [](QTextCursor &cursor) {
             QTextCharFormat object;
             object.setObjectType(QTextFormat::UserObject + 1);
             cursor.insertText(QString(QChar::ObjectReplacementCharacter), object);
         }},
        {"the object replacement character as text",
         [&](QTextCursor &cursor) {
             cursor.insertText(QString(QChar::ObjectReplacementCharacter), bold);
         }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QTextDocument document;
        QTextCursor cursor(&document);
        cursor.insertText(QStringLiteral("a"), bold);
        c.insert(cursor);
        cursor.insertText(QStringLiteral("b"), bold);
        ASSERT_EQ(document.characterCount(), 4);
        const Bytes rtf = WriteRtf(document);
        EXPECT_EQ(asText(rtf), expected);
        EXPECT_EQ(read(rtf)->toRawText(), QStringLiteral("ab"));
    }
}

TEST(RtfCodec, EmptyParagraphsKeepTheirPlaceAndSize)
{
    const auto back =
        read("{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 un\\par\\par\\fs60\\par deux\\par}");
    EXPECT_EQ(back->toPlainText(), QStringLiteral("un\n\n\ndeux"));
    EXPECT_EQ(styleOf(back->findBlockByNumber(1).charFormat(), *back), QStringLiteral("Arial 10"));
    EXPECT_EQ(styleOf(back->findBlockByNumber(2).charFormat(), *back), QStringLiteral("Arial 30"));
}

TEST(RtfCodec, FontsKeepTheirFamilyClass)
{
    const struct {
        const char *entry; // in the table read
        const char *written;
    } fonts[] = {
        {"\\froman\\fcharset0 Times New Roman", "\\froman\\fcharset0 Times New Roman;"},
        {"\\fswiss\\fprq2{\\*\\panose 020b0604020202020204}Arial", "\\fswiss\\fcharset0 Arial;"},
        {"\\fmodern Courier New", "\\fmodern\\fcharset0 Courier New;"},
        {"\\fscript Comic Sans MS", "\\fscript\\fcharset0 Comic Sans MS;"},
        {"\\fdecor Old English", "\\fdecor\\fcharset0 Old English;"},
        {"\\ftech\\fcharset2 Symbol", "\\ftech\\fcharset0 Symbol;"},
        {"\\fbidi Arabic Typesetting", "\\fbidi\\fcharset0 Arabic Typesetting;"},
        {"\\fnil Autre", "\\fnil\\fcharset0 Autre;"},
        {"Sans classe", "\\fnil\\fcharset0 Sans classe;"},
        // The same name in two classes stays two fonts.
        {"\\fswiss Times New Roman", "\\fswiss\\fcharset0 Times New Roman;"},
    };
    std::string table;
    std::string body;
    for (std::size_t i = 0; i < std::size(fonts); ++i) {
        table += "{\\f" + std::to_string(i) + fonts[i].entry + ";}";
        body += "\\f" + std::to_string(i) + " mot" + std::to_string(i) + ' ';
    }
    const Bytes written =
        WriteRtf(*read("{\\rtf1\\ansi\\deff0{\\fonttbl" + table + "}" + body + "}"));
    for (const auto &font : fonts)
        EXPECT_NE(asText(written).find(font.written), std::string::npos)
            << font.written << " in " << asText(written);
    EXPECT_EQ(asText(WriteRtf(*read(written))), asText(written));

    // Text that has no font of the description is written in the document's own, with the
    // class its style hint gives.
    QTextDocument typed;
    QFont sans(QStringLiteral("DejaVu Sans"), 10);
    sans.setStyleHint(QFont::SansSerif);
    typed.setDefaultFont(sans);
    typed.setPlainText(QStringLiteral("tapé"));
    EXPECT_NE(asText(WriteRtf(typed)).find("{\\f0\\fswiss\\fcharset0 DejaVu Sans;}"),
              std::string::npos)
        << asText(WriteRtf(typed));
}

// A font of a description shows in the face that the system gives its name (what fc-match
// gives it), in a document whose own font is a sans-serif one, as the editor's is: installed,
// or substituted for the name; its class chooses the face only for a name that the system
// knows nothing of.
TEST(RtfReader, ShowsEachFontInTheFaceTheSystemGivesItsName)
{
    const auto face = [](const char *family) {
        QFont font;
        font.setFamilies({QString::fromUtf8(family)});
        return QFontInfo(font).family();
    };
    const QString unknownName = face("sans-serif");
    const struct {
        const char *name;
        const char *word;
        const char *generic; // the family that fontconfig gives the class
    } cases[] = {
        {"Times New Roman", "froman", "serif"},
        {"Arial", "fswiss", "sans-serif"},
        {"Courier New", "fmodern", "monospace"},
        {"DejaVu Sans", "froman", "serif"},
        {"Police introuvable", "froman", "serif"},
        {"Police introuvable", "fswiss", "sans-serif"},
        {"Police introuvable", "fmodern", "monospace"},
        {"Police introuvable", "fscript", "cursive"},
        {"Police introuvable", "fdecor", "fantasy"},
        {"Police introuvable", "ftech", "sans-serif"},
        {"Police introuvable", "fnil", "sans-serif"},
    };
    QFont editorFont;
    editorFont.setFamilies({QStringLiteral("Sans Serif")});
    editorFont.setStyleHint(QFont::SansSerif);
    for (const auto &c : cases) {
        const std::string rtf =
            "{\\rtf1{\\fonttbl{\\f0\\" + std::string(c.word) + ' ' + c.name + ";}}\\f0 mot}";
        SCOPED_TRACE(rtf);
        QTextDocument document;
        document.setDefaultFont(editorFont);
        ReadRtf(ToBytes(rtf), document);
        QTextCursor at(&document);
        at.setPosition(1);
        const QString own = face(c.name);
        const bool known =
            QFontDatabase::hasFamily(QString::fromUtf8(c.name)) || own != unknownName;
        EXPECT_EQ(QFontInfo(at.charFormat().font().resolve(document.defaultFont()))
                      .family()
                      .toStdString(),
                  (known ? own : face(c.generic)).toStdString());
    }
}

TEST(RtfReader, ReadsWhatWordProcessorsWrite)
{
    const std::string header =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\froman\\fcharset0 "
        "Times New Roman;}{\\f1\\fswiss\\fprq2{\\*\\panose 020b0604020202020204}"
        "Arial;}\\f2\\fmodern Courier New;}"
        "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}";
    struct Case {
        const char *name;
        std::string body;
        const char *text;
        std::vector<std::pair<const char *, const char *>> styles = {}; // word, style
        const char *alignments = "<";
    };
    const Case cases[] = {
        {"plain text in the default font",
         "Bonjour}",
         "Bonjour",
         {{"Bonjour", "Times New Roman 12"}}},
        {"styles switched on and off",
         "\\b gras\\b0  \\i it\\i0  \\ul sou\\ulnone  \\strike bar\\strike0  \\uldb db\\ul0  fin}",
         "gras it sou bar db fin",
         {{"gras", "Times New Roman 12 b"},
          {"it", "Times New Roman 12 i"},
          {"sou", "Times New Roman 12 u"},
          {"bar", "Times New Roman 12 s"},
          {"db", "Times New Roman 12 u"},
          {"fin", "Times New Roman 12"}}},
        {"groups restore the formatting",
         "{\\b\\f1\\fs40\\cf1 un {\\i\\cf2 deux} trois} quatre}",
         "un deux trois quatre",
         {{"un", "Arial 20 b #ff0000"},
          {"deux", "Arial 20 b i #0000ff"},
          {"trois", "Arial 20 b #ff0000"},
          {"quatre", "Times New Roman 12"}}},
        {"a font table entry outside a group", "\\f2 code}", "code", {{"code", "Courier New 12"}}},
        {"plain resets the characters, pard the paragraph",
         "\\qc\\b\\f1 a\\par\\pard\\plain b\\par}",
         "a\nb",
         {{"b", "Times New Roman 12"}},
         "|<"},
        {"alignments", "\\qc a\\par\\qr b\\par\\qj c\\par\\ql d\\par}", "a\nb\nc\nd", {}, "|>=<"},
        {"line, tab and paragraph breaks",
         "un\\line deux\\tab trois\\par quatre\\\r\ncinq}",
         "un\u2028deux\ttrois\nquatre\ncinq",
         {},
         "<<<"},
        {"Windows-1252 bytes", "\\'e9t\\'e9 \\'80 \\'9c \\'93x\\'94}", "été € œ “x”"},
        {"raw 8-bit bytes", "\xe9t\xe9}", "été"},
        {"Unicode with one fallback character", "\\u937\\'3f\\u-3913?x}", "Ω\uf0b7x"},
        {"Unicode with other fallback lengths", "\\uc0\\u937 x{\\uc2\\u956\\'3f\\'3fy}\\u945?z}",
         "Ωxμyα?z"},
        {"a fallback stops at the end of its group", "{\\uc3\\u937 a}b}", "Ωb"},
        {"surrogate pairs", "\\u-10179?\\u-8704?}", "😀"},
        {"named characters", "\\emdash\\endash\\bullet\\lquote\\rquote\\ldblquote\\rdblquote\\~}",
         "—–•‘’“”\u00a0"},
        {"escaped characters", "\\\\ \\{ \\} a\\-b}", "\\ { } ab"},
        {"destinations to skip",
         "{\\info{\\title Titre}{\\author Moi}}{\\stylesheet{\\s0 Normal;}}{\\*\\generator W;}"
         "{\\header en-t\\'eate}{\\footnote note}{\\*\\unknown x}texte}",
         "texte"},
        {"pictures and objects",
         "a{\\pict\\pngblip\\picw10 89504e470d0a}b{\\object\\objemb{\\*\\objdata 0102}"
         "{\\result{\\pict 00}}}c{\\*\\shppict{\\pict 00}}{\\nonshppict{\\pict 00}}d}",
         "abcd"},
        {"binary data", "a\\bin4 }}{{b}", "ab"},
        {"a field shows its result", "{\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt lien}} ici}",
         "lien ici"},
        {"text after the document's group is left out", "fin}{\\b plus}", "fin"},
        {"a colour that is not in the table is the automatic one",
         "\\cf9 x\\cf0 y}",
         "xy",
         {{"x", "Times New Roman 12"}, {"y", "Times New Roman 12"}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const auto document = read(header + c.body);
        EXPECT_EQ(document->toRawText().replace(QChar::ParagraphSeparator, u'\n'),
                  QString::fromUtf8(c.text));
        for (const auto &[word, style] : c.styles)
            EXPECT_EQ(styleAt(*document, QString::fromUtf8(word)), QString::fromUtf8(style))
                << word;
        EXPECT_EQ(alignments(*document), c.alignments);
    }
}

TEST(RtfReader, BytesThatAreNotRtfAreShownAsPlainText)
{
    const struct {
        const char *name;
        std::string bytes;
        const char *text;
    } cases[] = {
        {"lines", "Bonjour\r\nle monde\rfin\n", "Bonjour\nle monde\nfin\n"},
        {"UTF-8", "\xc3\xa9t\xc3\xa9 \xe2\x82\xac", "été €"},
        {"Windows-1252", "\xe9t\xe9 \x80", "été €"},
        {"RTF that does not start the bytes", " {\\rtf1 \\b x}", " {\\rtf1 \\b x}"},
        {"controls left out",
         std::string("a\0b\x01"
                     "c",
                     5),
         "abc"},
        {"nothing", "", ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(read(c.bytes)->toPlainText(), QString::fromUtf8(c.text));
    }
}

TEST(RtfReader, HostileInputGivesABoundedDocument)
{
    std::mt19937 random(12);
    std::string noise(200'000, '\0');
    for (char &c : noise)
        c = "{}\\ab0'9u-;*\r"[random() % 13];
    std::string deepThenText = "{\\rtf1 " + std::string(1'000'000, '{') + "\\b profond";
    std::string manyGroups = "{\\rtf1 ";
    for (int i = 0; i < 100'000; ++i)
        manyGroups += "{\\b x}";
    const struct {
        const char *name;
        std::string bytes;
        const char *text;            // nullptr: any text
        const char *style = nullptr; // of the word "x", when given
    } cases[] = {
        {"deep nesting", deepThenText, "profond"},
        {"nesting closed again",
         "{\\rtf1 " + std::string(100'000, '{') + std::string(100'000, '}') + "x}", "x"},
        {"many groups", manyGroups, nullptr},
        {"huge size", "{\\rtf1 \\fs99999999999999999999 x}", "x", " 1638"},
        {"negative size", "{\\rtf1 \\fs-5 x}", "x", " 1"},
        {"huge code points", "{\\rtf1 \\u99999999?\\u-99999?\\u65536?x}", "x"},
        {"huge fallback length", "{\\rtf1 \\uc2147483647\\u937 abc}", "Ω"},
        {"huge binary length", "{\\rtf1 x\\bin2147483647 abc}", "x"},
        {"negative binary length", "{\\rtf1 \\bin-5 x}", "x"},
        {"unterminated groups", "{\\rtf1 {\\b {\\i x", "x", " 12 b i"},
        {"cut inside an escape", "{\\rtf1 x\\'", "x"},
        {"cut after a backslash", "{\\rtf1 x\\", "x"},
        {"bad hex digits", "{\\rtf1 \\'zzx}", "zzx"},
        {"endless keyword", "{\\rtf1 \\" + std::string(100'000, 'a') + "1 x}", "x"},
        {"endless number", "{\\rtf1 \\fs" + std::string(100'000, '9') + " x}", "x", " 1638"},
        {"endless font name", "{\\rtf1 {\\fonttbl{\\f0 " + std::string(100'000, 'n') + ";}}\\f0 x}",
         "x"},
        {"endless tables",
         "{\\rtf1 {\\colortbl" + std::string(1'000'000, ';') + "}{\\fonttbl" +
             std::string(200'000, ';') + "}x}",
         "x"},
        {"noise", "{\\rtf1 " + noise, nullptr},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const auto document = read(c.bytes);
        EXPECT_LE(document->characterCount(), qsizetype(c.bytes.size()) + 1);
        if (c.text) {
            EXPECT_EQ(document->toPlainText(), QString::fromUtf8(c.text));
        }
        if (c.style) {
            const QString style = styleAt(*document, QStringLiteral("x"));
            EXPECT_TRUE(style.endsWith(QString::fromUtf8(c.style))) << style.toStdString();
        }
        expectSafeForABook(WriteRtf(*document));
    }
}

TEST(RtfReader, ReadsADocumentWrittenByLibreOfficeWithItsFormatting)
{
    if (!HasLibreOffice())
        GTEST_SKIP() << "soffice is not installed: no LibreOffice document to read";
    const TempDir dir;
    const Bytes rtf = rtfWrittenByLibreOffice(dir);
    ASSERT_FALSE(rtf.empty());

    const auto document = read(rtf);
    EXPECT_EQ(
        document->toPlainText(),
        QStringLiteral("Gras italique souligné barré\nrouge grand Courier\nété € Ωμέγα 漢字"));
    EXPECT_EQ(alignments(*document), "|><");
    const QString body = styleAt(*document, QStringLiteral("été"));
    const QString family = body.section(' ', 0, -2); // the body font, whatever it is
    const struct {
        const char *word;
        QString style;
    } words[] = {
        {"Gras", family + " 12 b"},        {"italique", family + " 12 i"},
        {"souligné", family + " 12 u"},    {"barré", family + " 12 s"},
        {"rouge", family + " 12 #ff0000"}, {"grand", family + " 20"},
        {"Courier", "Courier New 12"},
    };
    for (const auto &w : words)
        EXPECT_EQ(styleAt(*document, QString::fromUtf8(w.word)), w.style) << w.word;

    const Bytes ours = WriteRtf(*document);
    expectSafeForABook(ours);
    EXPECT_EQ(asText(WriteRtf(*read(ours))), asText(ours));
}
