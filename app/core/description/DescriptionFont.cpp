#include "app/core/description/DescriptionFont.h"

#include <QFontInfo>
#include <QRawFont>
#include <QTextCharFormat>

#include <cstdint>
#include <iterator>

namespace {

// Where a character format keeps the class of its font.
constexpr int FontClassProperty = QTextFormat::UserProperty;

struct ClassEntry {
    FontClass fontClass;
    std::string_view word;
    QFont::StyleHint hint; // the generic face that fontconfig gives the class
};

constexpr ClassEntry Classes[] = {
    {FontClass::Nil, "fnil", QFont::AnyStyle},
    {FontClass::Roman, "froman", QFont::Serif},
    {FontClass::Swiss, "fswiss", QFont::SansSerif},
    {FontClass::Modern, "fmodern", QFont::Monospace},
    {FontClass::Script, "fscript", QFont::Cursive},
    {FontClass::Decor, "fdecor", QFont::Fantasy},
    {FontClass::Tech, "ftech", QFont::AnyStyle},
    {FontClass::Bidi, "fbidi", QFont::AnyStyle},
};

const ClassEntry &entryOf(FontClass fontClass)
{
    return Classes[std::size_t(fontClass)];
}

QString faceOf(const QFont &font)
{
    return QFontInfo(font).family();
}

} // namespace

std::optional<FontClass> FontClassNamed(std::string_view word)
{
    for (const ClassEntry &entry : Classes)
        if (entry.word == word)
            return entry.fontClass;
    return std::nullopt;
}

std::string_view FontClassWord(FontClass fontClass)
{
    return entryOf(fontClass).word;
}

QFont::StyleHint ShownStyleHint(const QString &family, FontClass fontClass)
{
    const QFont::StyleHint classHint = entryOf(fontClass).hint;
    if (classHint == QFont::AnyStyle)
        return QFont::AnyStyle;
    // A family the system knows nothing of gets the face of its generic sans-serif family, as
    // any unknown name does: only then does the class choose. (An installed family shows as
    // itself whatever the hint.)
    QFont named;
    named.setFamilies({family});
    QFont unknown;
    unknown.setFamilies({QStringLiteral("sans-serif")});
    return faceOf(named) == faceOf(unknown) ? classHint : QFont::AnyStyle;
}

void SetDescriptionFont(QTextCharFormat &format, const QString &family, FontClass fontClass,
                        QFont::StyleHint hint)
{
    format.setFontFamilies(QStringList{family});
    format.setFontStyleHint(hint);
    format.setProperty(FontClassProperty, int(fontClass));
}

FontClass FontClassOf(const QTextCharFormat &format, const QFont &font)
{
    if (format.hasProperty(FontClassProperty)) {
        const int value = format.intProperty(FontClassProperty);
        if (value >= 0 && value < int(std::size(Classes)))
            return FontClass(value);
    }
    const QFont::StyleHint hint = font.styleHint() == QFont::TypeWriter   ? QFont::Monospace
                                  : font.styleHint() == QFont::Decorative ? QFont::Fantasy
                                                                          : font.styleHint();
    for (const ClassEntry &entry : Classes)
        if (entry.hint == hint)
            return entry.fontClass;
    return FontClass::Nil;
}

FontClass FontClassOfFace(const QFont &font)
{
    if (QFontInfo(font).fixedPitch())
        return FontClass::Modern;
    return FontClassOfOs2Table(QRawFont::fromFont(font).fontTable("OS/2"));
}

FontClass FontClassOfOs2Table(QByteArrayView os2)
{
    // sFamilyClass is at offset 30 (its class in the high byte), the PANOSE bytes from 32 on.
    constexpr qsizetype IbmClass = 30;
    constexpr qsizetype PanoseKind = 32;
    constexpr qsizetype PanoseSerif = 33;
    if (os2.size() <= PanoseSerif)
        return FontClass::Nil;
    switch (std::uint8_t(os2[IbmClass])) {
    case 1: // oldstyle, transitional, modern, clarendon, slab and freeform serifs
    case 2:
    case 3:
    case 4:
    case 5:
    case 7: return FontClass::Roman;
    case 8: return FontClass::Swiss;
    case 9: return FontClass::Decor;   // ornamentals
    case 10: return FontClass::Script; // scripts
    case 12: return FontClass::Tech;   // symbolic
    default: break;
    }
    const std::uint8_t serif = std::uint8_t(os2[PanoseSerif]);
    switch (std::uint8_t(os2[PanoseKind])) {
    case 2: // Latin text: serifs of cove to triangle are 2 to 10; 11 to 15 are sans faces
        if (serif >= 2 && serif <= 10)
            return FontClass::Roman;
        return serif >= 11 && serif <= 15 ? FontClass::Swiss : FontClass::Nil;
    case 3: return FontClass::Script; // hand written
    case 4: return FontClass::Decor;
    case 5: return FontClass::Tech; // symbols
    default: return FontClass::Nil;
    }
}
