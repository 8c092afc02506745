#include "app/core/files/FileNames.h"

#include "app/core/files/OpenBook.h"
#include "tests/support/BookFixture.h"
#include "tests/support/TempDir.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

// The name of a file as Qt gives it: the bytes decoded, a byte that does not decode read as
// U+FFFD.
QString asQtGivesIt(const fs::path &path)
{
    return QFile::decodeName(QByteArray::fromStdString(path.string()));
}

const std::string Latin1Name = "caf\xe9.bd";       // "café" in ISO 8859-1
const std::string TwinName = "caf\xef\xbf\xbd.bd"; // "caf" U+FFFD, in UTF-8

} // namespace

TEST(MayNameAnotherFile, WhenAPartReadsAsANameThatDoesNotDecode)
{
    const struct {
        const char *name;
        std::vector<std::string> files; // made in the folder, by their bytes
        std::string path;               // decoded as Qt decodes it
        bool another;
    } cases[] = {
        {"a name that does not decode", {Latin1Name}, Latin1Name, true},
        {"and its twin, spelled with U+FFFD", {Latin1Name, TwinName}, Latin1Name, true},
        {"the twin alone", {TwinName}, TwinName, false},
        {"a folder whose name does not decode", {"dossi\xe9/page.jpg"}, "dossi\xe9/page.jpg", true},
        {"another name that does not decode", {"caf\xe9\xe9.bd"}, Latin1Name, false},
        {"no file at all", {}, Latin1Name, false},
        {"a name that decodes", {"caf\xc3\xa9.bd", Latin1Name}, "caf\xc3\xa9.bd", false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        for (const std::string &file : c.files) {
            fs::create_directories((dir / file).parent_path());
            WriteFileBytes(dir / file, ToBytes("livre"));
        }
        EXPECT_EQ(MayNameAnotherFile(asQtGivesIt(dir / c.path)), c.another);
    }
}

// A book whose name does not decode is not opened, and neither is a book of the name it
// reads as.
TEST(OpenBook, NeverOpensAnotherFileThanTheOneNamed)
{
    for (const bool twin : {false, true}) {
        SCOPED_TRACE(twin ? "twin beside it" : "alone");
        TempDir dir;
        const Bytes book = AssembleBook({MakeJpeg(8, 8)});
        WriteFileBytes(dir / Latin1Name, book);
        if (twin)
            WriteFileBytes(dir / TwinName, book);
        EXPECT_FALSE(OpenBook::open(asQtGivesIt(dir / Latin1Name)).isOpen());
    }
}
