#include "app/core/description/DescriptionFont.h"

#include <QByteArray>

#include <gtest/gtest.h>

namespace {

// An OS/2 table of 96 bytes, with the IBM family class and the first two PANOSE bytes given.
QByteArray os2Table(int ibmClass, int panoseKind, int panoseSerif)
{
    QByteArray table(96, '\0');
    table[30] = char(ibmClass);
    table[32] = char(panoseKind);
    table[33] = char(panoseSerif);
    return table;
}

} // namespace

TEST(FontClassOfFace, ComesFromTheFacesOs2Table)
{
    const struct {
        const char *name;
        QByteArray table;
        FontClass expected;
    } cases[] = {
        {"oldstyle serifs", os2Table(1, 0, 0), FontClass::Roman},
        {"slab serifs", os2Table(5, 0, 0), FontClass::Roman},
        {"freeform serifs", os2Table(7, 0, 0), FontClass::Roman},
        {"sans serif", os2Table(8, 0, 0), FontClass::Swiss},
        {"ornamentals", os2Table(9, 0, 0), FontClass::Decor},
        {"scripts", os2Table(10, 0, 0), FontClass::Script},
        {"symbolic", os2Table(12, 0, 0), FontClass::Tech},
        {"the IBM class goes first", os2Table(8, 2, 2), FontClass::Swiss},
        {"PANOSE cove serifs", os2Table(0, 2, 2), FontClass::Roman},
        {"PANOSE triangle serifs", os2Table(0, 2, 10), FontClass::Roman},
        {"PANOSE normal sans", os2Table(0, 2, 11), FontClass::Swiss},
        {"PANOSE rounded", os2Table(6, 2, 15), FontClass::Swiss},
        {"PANOSE text of any serif", os2Table(0, 2, 0), FontClass::Nil},
        {"PANOSE hand written", os2Table(0, 3, 0), FontClass::Script},
        {"PANOSE decorative", os2Table(0, 4, 0), FontClass::Decor},
        {"PANOSE symbols", os2Table(0, 5, 0), FontClass::Tech},
        {"nothing said", os2Table(0, 0, 0), FontClass::Nil},
        {"a table cut before the serif style", os2Table(8, 2, 2).left(33), FontClass::Nil},
        {"no table", QByteArray(), FontClass::Nil},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FontClassOfOs2Table(c.table), c.expected);
    }

    // The sans face of fonts-dejavu-core says so in its PANOSE bytes.
    EXPECT_EQ(FontClassOfFace(QFont(QStringLiteral("DejaVu Sans"))), FontClass::Swiss);
}
