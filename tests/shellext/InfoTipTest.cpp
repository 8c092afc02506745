// Info tips as the shell gets them from libVorstel.so, and the allocator they come in.
#include "tests/shellext/VorstelLibrary.h"

#include "platform/RegionalSettings.h"
#include "platform/ShellAllocator.h"
#include "platform/WideString.h"
#include "shellext/ShellViewUnit.h"
#include "shellext/User.h"
#include "tests/support/BookFixture.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <string>

namespace {

std::string standardTip(const std::string &megabytes, int pages, int width, int height)
{
    return "Type : Quirelle\r\nTaille (Mo)  : " + megabytes +
           "\r\nNombre de pages : " + std::to_string(pages) +
           "\r\nDimension 1ère page : " + std::to_string(width) + " x " + std::to_string(height);
}

// The megabytes line as the library writes it under this process's locale.
std::string megabytes(const char *whole, const char *tenths)
{
    return whole + platform::DecimalSeparator() + tenths;
}

// The user's decimal separator, for the life of the object.
struct DecimalSeparatorOverride {
    explicit DecimalSeparatorOverride(std::string separator)
    {
        platform::OverrideDecimalSeparator(std::move(separator));
    }
    ~DecimalSeparatorOverride() { platform::OverrideDecimalSeparator(std::nullopt); }
    DecimalSeparatorOverride(const DecimalSeparatorOverride &) = delete;
    DecimalSeparatorOverride &operator=(const DecimalSeparatorOverride &) = delete;
};

// A book file padded to exactly `size` bytes by a filler image record.
Bytes bookOfSize(const Bytes &first, std::size_t size)
{
    Bytes filler(size - first.size() - 8, 0);
    filler[0] = 0xFF;
    Bytes book = AssembleBook({first, filler});
    EXPECT_EQ(book.size(), size);
    return book;
}

} // namespace

TEST(InfoTip, TheDescriptionOrElseTheStandardTip)
{
    const Bytes cover = MakeJpeg(40, 30);
    const Bytes page = MakeJpeg(24, 60);
    const Bytes back = MakeJpeg(10, 10);
    const auto meta = [&](std::string_view description, std::vector<std::string> extra = {}) {
        std::vector<std::string> lines = StandardMetaLines({cover, page, back});
        lines.insert(lines.end(), extra.begin(), extra.end());
        return MakeMetaRecord(description, lines);
    };
    const std::string rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\r\n"
                            "\\pard Caf\\'e9 cr\\'e8me\\par\r\nsans sucre\\par\r\n}\r\n";
    const std::string longText(600, 'a');
    struct Case {
        const char *what;
        std::vector<Bytes> records;
        std::string expected; // "" : the standard tip of the first record, 3 pages
        int width = 40, height = 30;
    };
    const Case cases[] = {
        {"a description, its escapes in the ANSI code page",
         {cover, page, back, meta(rtf)},
         "Café crème\r\nsans sucre"},
        {"a description longer than 512 characters",
         {cover, page, back, meta("{" + longText + "}")},
         std::string(512, 'a') + "..."},
        {"no meta record", {cover, page, back}, ""},
        {"a meta record without a closing brace", {cover, page, back, meta("pas de RTF\r\n")}, ""},
        {"a description with no plain text",
         {cover, page, back, meta("{\\rtf1{\\fonttbl{\\f0 Arial;}}}")},
         ""},
        {"a cover: the size of the second record, every image counted",
         {cover, page, back, meta("", {"%Reliure"})},
         "",
         24,
         60},
        {"text after a NUL byte is no description",
         {cover, page, back, meta(std::string("\0{\\rtf1 cach\\'e9}", 17))},
         ""},
    };
    TempDir dir;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        WriteFileBytes(dir / "livre.bd", AssembleBook(c.records));
        const std::string size = megabytes("0", "0");
        EXPECT_EQ(InfoTip(dir / "livre.bd"),
                  c.expected.empty() ? standardTip(size, 3, c.width, c.height) : c.expected);
    }
}

TEST(InfoTip, TheFileSizeInMegabytesWhateverItsSize)
{
    TempDir dir;
    const Bytes first = MakeJpeg(20, 10);
    WriteFileBytes(dir / "livre.bd", bookOfSize(first, 1572864));
    EXPECT_EQ(InfoTip(dir / "livre.bd"), standardTip(megabytes("1", "5"), 2, 20, 10));

    // A sparse book of 3 GiB + 512 KiB: two filler records of about 1.5 GiB, then a picture
    // whose end-of-image marker stops the cover scan at once.
    const std::int64_t size = (std::int64_t{3} << 30) + (512 << 10);
    const Bytes last = MakeJpeg(8, 8);
    const std::int32_t firstFiller = 1536 << 20;
    const auto secondFiller = static_cast<std::int32_t>(
        size - std::int64_t(first.size()) - firstFiller - std::int64_t(last.size()) - 16);
    {
        std::ofstream book(dir / "grand.bd", std::ios::binary);
        const auto put = [&](const Bytes &bytes) {
            book.write(reinterpret_cast<const char *>(bytes.data()), std::streamsize(bytes.size()));
        };
        const auto filler = [&](std::int32_t length) {
            put(LittleEndian32(length));
            put({0xFF});
            book.seekp(length - 1, std::ios::cur);
        };
        put(first);
        filler(firstFiller);
        filler(secondFiller);
        put(LittleEndian32(std::int32_t(last.size())));
        put(last);
        put(LittleEndian32(std::int32_t(first.size())));
    }
    ASSERT_EQ(std::filesystem::file_size(dir / "grand.bd"), std::uintmax_t(size));
    EXPECT_EQ(InfoTip(dir / "grand.bd"), standardTip(megabytes("3072", "5"), 4, 20, 10));
}

TEST(InfoTip, TheSizeUsesTheUsersDecimalSeparatorAndRoundsHalfUp)
{
    const DecimalSeparatorOverride comma(",");
    TempDir dir;
    WriteFileBytes(dir / "livre.bd", bookOfSize(MakeJpeg(20, 10), 1572864));
    EXPECT_EQ(platform::Utf16ToUtf8(shellext::BuildInfoTip((dir / "livre.bd").string())),
              standardTip("1,5", 2, 20, 10));

    const std::pair<std::uintmax_t, const char *> sizes[] = {
        {0, "0,0"},
        {262144, "0,3"},
        {1048575, "1,0"},
        {104805, "0,1"},
        {std::uintmax_t{1} << 31, "2048,0"},
        {std::uintmax_t{5} << 40, "5242880,0"},
    };
    for (const auto &[bytes, text] : sizes)
        EXPECT_EQ(shellext::FormatMegabytes(bytes, ","), text) << bytes;
}

TEST(InfoTip, AnUnreadableBookGivesTheErrorText)
{
    TempDir dir;
    WriteFileBytes(dir / "texte.bd", ToBytes("Ceci n'est pas une bande dessinée."));
    WriteFileBytes(dir / "vide.bd", {});
    WriteFileBytes(dir / "image.bd", AssembleBook({ToBytes("pas une image")}));
    for (const char *name : {"absent.bd", "texte.bd", "vide.bd", "image.bd"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(InfoTip(dir / name), "Erreur lors de la lecture");
    }
}

namespace {

// An allocator that records its use and may refuse to allocate.
class RecordingAllocator final : public com::IMalloc {
public:
    explicit RecordingAllocator(bool refuses) : refuses_(refuses) {}

    com::HRESULT QueryInterface(const com::GUID &, void **) override { return com::E_NOINTERFACE; }
    com::ULONG AddRef() override { return ++references; }
    com::ULONG Release() override { return --references; }
    void *Alloc(std::size_t size) override
    {
        requested = size;
        return refuses_ ? nullptr : std::malloc(size);
    }
    void *Realloc(void *, std::size_t) override { return nullptr; }
    void Free(void *memory) override { std::free(memory); }
    std::size_t GetSize(void *) override { return 0; }
    int DidAlloc(void *) override { return -1; }
    void HeapMinimize() override {}

    com::ULONG references = 0;
    std::size_t requested = 0;

private:
    bool refuses_;
};

Held<com::IQueryInfo> staticShellView(const std::filesystem::path &book)
{
    void *object = nullptr;
    EXPECT_EQ(shellext::TShellViewFactory::Instance().CreateInstance(nullptr, com::IID_IPersistFile,
                                                                     &object),
              com::S_OK);
    const Held<com::IPersistFile> file(static_cast<com::IPersistFile *>(object));
    file->Load(platform::Utf8ToUtf16(book.string()).c_str(), 0);
    file->QueryInterface(com::IID_IQueryInfo, &object);
    return Held<com::IQueryInfo>(static_cast<com::IQueryInfo *>(object));
}

} // namespace

TEST(InfoTip, TheTipComesInTheShellsAllocatorWhichIsReleasedOnEveryPath)
{
    TempDir dir;
    const auto query = staticShellView(dir / "absent.bd");
    char16_t *tip = nullptr;

    RecordingAllocator allocator(false);
    platform::OverrideShellAllocator(&allocator);
    ASSERT_EQ(query->GetInfoTip(0, &tip), com::S_OK);
    EXPECT_EQ(std::u16string(tip), u"Erreur lors de la lecture");
    EXPECT_EQ(allocator.requested, (25u + 1) * 2);
    EXPECT_EQ(allocator.references, 0u);
    allocator.Free(tip);

    RecordingAllocator refusing(true);
    platform::OverrideShellAllocator(&refusing);
    EXPECT_EQ(query->GetInfoTip(0, &tip), com::E_FAIL);
    EXPECT_EQ(tip, nullptr);
    EXPECT_EQ(refusing.references, 0u);

    platform::OverrideShellAllocator(nullptr);
    EXPECT_EQ(query->GetInfoTip(0, &tip), com::E_FAIL);
    EXPECT_EQ(tip, nullptr);
    platform::OverrideShellAllocator(std::nullopt);
}
