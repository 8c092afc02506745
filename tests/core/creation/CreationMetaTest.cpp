#include "app/core/creation/CreationMeta.h"

#include "app/text/UserError.h"
#include "tests/support/BookFixture.h"
#include "tests/support/QtPath.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace {

// Image files and a description in a fresh directory.
struct CreationFiles {
    TempDir dir;
    Bytes cover = MakeJpeg(8, 8, Qt::blue);
    std::vector<Bytes> pages = {MakeJpeg(8, 8, Qt::red), MakeJpeg(8, 8, Qt::green)};
    Bytes quatr = MakeJpeg(8, 8, Qt::black);

    CreationFiles()
    {
        WriteFileBytes(dir / "cover.jpg", cover);
        WriteFileBytes(dir / "p1.jpg", pages[0]);
        WriteFileBytes(dir / "p2.jpg", pages[1]);
        WriteFileBytes(dir / "q1.jpg", quatr);
        WriteFileBytes(dir / "desc.rtf", ToBytes(std::string("{\\rtf1 Histoire}\r\n\0", 19)));
    }

    QString file(const std::string &name) const { return QtPath(dir / name); }

    CreationContent content() const
    {
        CreationContent c;
        c.Cover = file("cover.jpg");
        c.CoverChecked = true;
        c.PageFiles = {file("p1.jpg"), file("p2.jpg")};
        c.QuatrsFiles = {file("q1.jpg")};
        c.QuatrsChecked = true;
        c.Description = file("desc.rtf");
        c.DescriptionChecked = true;
        return c;
    }
};

} // namespace

TEST(CreatedBook, HoldsTheChosenImagesAndTheirMetaRecord)
{
    const CreationFiles files;
    const Bytes &cover = files.cover, &p1 = files.pages[0], &p2 = files.pages[1], &q1 = files.quatr;
    const std::string md5Cover = Md5TextOf(cover), md5P1 = Md5TextOf(p1), md5P2 = Md5TextOf(p2),
                      md5Q1 = Md5TextOf(q1);
    const std::string rtf = "{\\rtf1 Histoire}\r\n";
    struct Case {
        const char *name;
        void (*change)(CreationContent &, const CreationFiles &);
        std::vector<Bytes> images;
        std::string description;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"everything, the description without its last NUL",
         [](CreationContent &, const CreationFiles &) {},
         {cover, p1, p2, q1},
         rtf,
         {"%EOF", "%MD5", md5Cover, md5P1, md5P2, md5Q1, "%Reliure", "%ListePages", "2", "%Quatrs",
          "1"}},
        {"cover checked but missing",
         [](CreationContent &c, const CreationFiles &f) { c.Cover = f.file("none.jpg"); },
         {p1, p2, q1},
         rtf,
         {"%EOF", "%MD5", md5P1, md5P2, md5Q1, "%ListePages", "2", "%Quatrs", "1"}},
        {"back covers unchecked: neither written nor announced, nor their constraints",
         [](CreationContent &c, const CreationFiles &f) {
             c.CoverChecked = false;
             c.QuatrsChecked = false;
             c.Constraints = {{f.file("q1.jpg"), 3, -1}, {f.file("p1.jpg"), 1, 0xFFFFFF}};
         },
         {p1, p2},
         rtf,
         {"%EOF", "%MD5", md5P1, md5P2, "%ListePages", "2", "%Contraintes", "1", "1", "16777215"}},
        {"description unchecked",
         [](CreationContent &c, const CreationFiles &) {
             c.DescriptionChecked = false;
             c.QuatrsFiles.clear();
         },
         {cover, p1, p2},
         "",
         {"%EOF", "%MD5", md5Cover, md5P1, md5P2, "%Reliure", "%ListePages", "2"}},
        {"description without a line break gets one before %EOF",
         [](CreationContent &c, const CreationFiles &f) {
             WriteFileBytes(f.dir / "bare.rtf", ToBytes("{\\rtf1 Court}"));
             c.Description = f.file("bare.rtf");
             c.CoverChecked = false;
             c.QuatrsFiles.clear();
         },
         {p1, p2},
         "{\\rtf1 Court}\r\n",
         {"%EOF", "%MD5", md5P1, md5P2, "%ListePages", "2"}},
        {"constraints by position over the pages then the back covers, the cover not counted",
         [](CreationContent &c, const CreationFiles &f) {
             c.Constraints = {{f.file("q1.jpg"), 3, -1}, {f.file("p2.jpg"), 0, (1 << 29) | 7}};
         },
         {cover, p1, p2, q1},
         rtf,
         {"%EOF", "%MD5", md5Cover, md5P1, md5P2, md5Q1, "%Reliure", "%ListePages", "2", "%Quatrs",
          "1", "%Contraintes", "3", "3", "-1", "2", "0", "536870919"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        CreationContent content = files.content();
        c.change(content, files);
        const auto book = files.dir / "livre.bd";
        WriteCreatedBook(content, QtPath(book));
        std::vector<Bytes> records = c.images;
        records.push_back(MakeMetaRecord(c.description, c.lines));
        EXPECT_EQ(ReadFileBytes(book), AssembleBook(records));
    }
}

TEST(CreatedBook, BadContentIsRefusedBeforeAnythingIsWritten)
{
    const CreationFiles files;
    struct Case {
        const char *name;
        void (*change)(CreationContent &, const CreationFiles &);
        std::string message; // empty: only the file's name is checked
        const char *named;
    };
    const Case cases[] = {
        {"constraint on a file of neither list, paths compared with their letter case",
         [](CreationContent &c, const CreationFiles &f) {
             c.Constraints = {{f.file("P1.JPG"), 1, 0}};
         },
         "Impossible de trouver la contrainte, ce qui implique une impossibilité de créer le "
         "fichier.",
         ""},
        {"unreadable page, whose digest would be the empty input's",
         [](CreationContent &c, const CreationFiles &f) { c.PageFiles << f.file("gone.jpg"); }, "",
         "gone.jpg"},
        {"unreadable description",
         [](CreationContent &c, const CreationFiles &f) { c.Description = f.file("gone.rtf"); }, "",
         "gone.rtf"},
        {"description holding a NUL byte, which would hide the metadata from the readers",
         [](CreationContent &c, const CreationFiles &f) {
             WriteFileBytes(f.dir / "nul.rtf", ToBytes(std::string("{\\rtf1 a\0b}\r\n", 13)));
             c.Description = f.file("nul.rtf");
         },
         "", "nul.rtf"},
    };
    const auto book = files.dir / "livre.bd";
    const Bytes existing = ToBytes("le livre d'avant");
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        WriteFileBytes(book, existing);
        CreationContent content = files.content();
        c.change(content, files);
        try {
            WriteCreatedBook(content, QtPath(book));
            ADD_FAILURE() << "accepted";
        } catch (const UserError &error) {
            if (!c.message.empty()) {
                EXPECT_EQ(error.what(), c.message);
            }
            EXPECT_NE(std::string(error.what()).find(c.named), std::string::npos) << error.what();
        }
        EXPECT_EQ(ReadFileBytes(book), existing);
    }
}
