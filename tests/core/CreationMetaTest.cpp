#include "app/core/CreationMeta.h"

#include "app/core/BookWriter.h"
#include "tests/support/BookFixture.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace {

QString qpath(const std::filesystem::path &path) { return QString::fromStdString(path.string()); }

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

    CreationContent content() const
    {
        CreationContent c;
        c.Cover = qpath(dir / "cover.jpg");
        c.CoverChecked = true;
        c.PageFiles = {qpath(dir / "p1.jpg"), qpath(dir / "p2.jpg")};
        c.QuatrsFiles = {qpath(dir / "q1.jpg")};
        c.QuatrsChecked = true;
        c.Description = qpath(dir / "desc.rtf");
        c.DescriptionChecked = true;
        return c;
    }
};

} // namespace

TEST(CreationMeta, LinesFollowTheWindowsChoices)
{
    const CreationFiles files;
    const std::string p1 = Md5TextOf(files.pages[0]), p2 = Md5TextOf(files.pages[1]),
                      q1 = Md5TextOf(files.quatr), cover = Md5TextOf(files.cover);
    struct Case {
        const char *name;
        void (*change)(CreationContent &, const CreationFiles &);
        std::string description;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"everything", [](CreationContent &, const CreationFiles &) {}, "{\\rtf1 Histoire}\r\n",
         {"%EOF", "%MD5", cover, p1, p2, q1, "%Reliure", "%ListePages", "2", "%Quatrs", "1"}},
        {"cover checked but missing",
         [](CreationContent &c, const CreationFiles &f) { c.Cover = qpath(f.dir / "none.jpg"); },
         "{\\rtf1 Histoire}\r\n",
         {"%EOF", "%MD5", p1, p2, q1, "%ListePages", "2", "%Quatrs", "1"}},
        {"back covers unchecked still stored",
         [](CreationContent &c, const CreationFiles &) {
             c.CoverChecked = false;
             c.QuatrsChecked = false;
         },
         "{\\rtf1 Histoire}\r\n", {"%EOF", "%MD5", p1, p2, q1, "%ListePages", "2"}},
        {"no description",
         [](CreationContent &c, const CreationFiles &) {
             c.DescriptionChecked = false;
             c.QuatrsFiles.clear();
         },
         "", {"%EOF", "%MD5", cover, p1, p2, "%Reliure", "%ListePages", "2"}},
        {"constraints by position over pages then back covers",
         [](CreationContent &c, const CreationFiles &f) {
             c.CoverChecked = false;
             c.Constraints = {{qpath(f.dir / "Q1.JPG"), 3, -1},
                              {qpath(f.dir / "p2.jpg"), 0, (1 << 29) | 7}};
         },
         "{\\rtf1 Histoire}\r\n",
         {"%EOF", "%MD5", p1, p2, q1, "%ListePages", "2", "%Quatrs", "1", "%Contraintes", "3",
          "3", "-1", "2", "0", "536870919"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        CreationContent content = files.content();
        c.change(content, files);
        EXPECT_EQ(BuildCreationMetaRecord(content), MakeMetaRecord(c.description, c.lines));
    }
}

TEST(CreationMeta, CreatedBookHoldsTheImagesAndTheMetaRecord)
{
    const CreationFiles files;
    const CreationContent content = files.content();
    const QString book = qpath(files.dir / "livre.bd");

    WriteBookImages(CreationImageFiles(content), book);
    AppendMetaRecord(book, BuildCreationMetaRecord(content));

    EXPECT_EQ(ReadFileBytes(files.dir / "livre.bd"),
              AssembleBook({files.cover, files.pages[0], files.pages[1], files.quatr,
                            BuildCreationMetaRecord(content)}));
}

TEST(CreationMeta, Errors)
{
    const CreationFiles files;
    CreationContent content = files.content();
    content.Constraints = {{qpath(files.dir / "other.jpg"), 1, 0}};
    try {
        BuildCreationMetaRecord(content);
        ADD_FAILURE() << "constraint on an unknown file accepted";
    } catch (const UnplacedConstraintError &error) {
        EXPECT_STREQ(error.what(), "Impossible de trouver la contrainte, ce qui implique une "
                                   "impossibilité de créer le fichier.");
    }

    struct Case {
        const char *name;
        void (*change)(CreationContent &, const CreationFiles &);
        const char *named;
    };
    const Case cases[] = {
        {"unreadable page, whose digest would be the empty input's",
         [](CreationContent &c, const CreationFiles &f) {
             c.PageFiles << qpath(f.dir / "gone.jpg");
         },
         "gone.jpg"},
        {"unreadable description",
         [](CreationContent &c, const CreationFiles &f) {
             c.Description = qpath(f.dir / "gone.rtf");
         },
         "gone.rtf"},
    };
    for (const Case &c : cases) {
        CreationContent changed = files.content();
        c.change(changed, files);
        try {
            BuildCreationMetaRecord(changed);
            ADD_FAILURE() << c.name;
        } catch (const FileWriteError &error) {
            EXPECT_NE(std::string(error.what()).find(c.named), std::string::npos) << c.name;
        }
    }
}
