#pragma once

// The fonts of a description: their RTF family class, and the face they are shown in.

#include <QByteArrayView>
#include <QFont>
#include <QString>

#include <optional>
#include <string_view>

class QTextCharFormat;

// The family class that RTF gives every font of its table (\froman, \fswiss, ...).
enum class FontClass { Nil, Roman, Swiss, Modern, Script, Decor, Tech, Bidi };

// The class named by an RTF control word of a font table ("froman"); none for other words.
std::optional<FontClass> FontClassNamed(std::string_view word);
// The control word of a class, without its backslash ("froman").
std::string_view FontClassWord(FontClass fontClass);

// The style hint under which family shows in the face the system gives it: AnyStyle for an
// installed family or one the system substitutes a face of its own for (as "Times New Roman"
// gets a metric-compatible serif face), since a hint would override that substitute; else the
// class's, so that the class picks the face.
QFont::StyleHint ShownStyleHint(const QString &family, FontClass fontClass);

// Makes format show family, of the class fontClass, under hint (from ShownStyleHint).
void SetDescriptionFont(QTextCharFormat &format, const QString &family, FontClass fontClass,
                        QFont::StyleHint hint);

// The class of format's font, resolved as font: the one it was read or chosen with, else the
// one its style hint says.
FontClass FontClassOf(const QTextCharFormat &format, const QFont &font);

// The class of an installed face: fixed pitch is Modern; else as its OS/2 table says.
FontClass FontClassOfFace(const QFont &font);
// The class that a face's OS/2 table gives: its IBM family class, else its PANOSE family kind
// and serif style; Nil when it says nothing.
FontClass FontClassOfOs2Table(QByteArrayView os2);
