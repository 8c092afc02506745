#include "app/core/pages/PdfPageSize.h"

#include "app/core/pages/PdfObjects.h"
#include "app/core/pages/PdfPageCount.h"

#include <array>
#include <cmath>
#include <stdexcept>
#include <string_view>
#include <utility>

namespace {

constexpr PdfPageSize A4 = {595, 842};
// Deeper page trees are taken for loops.
constexpr int MostDepth = 64;

using Box = std::array<double, 4>;

// What a page takes from the page-tree nodes above it.
struct Inherited {
    std::optional<Box> mediaBox;
    double rotate = 0;
};

class PageTree {
public:
    explicit PageTree(std::istream &stream) : scanner_(stream), objects_(scanner_) {}

    // The page tree's root object and its /Count; false when they cannot be read.
    bool open()
    {
        return objects_.read() && objects_.gotoObject(objects_.root()) && findKey("/Pages") &&
               scanner_.PdfReadInt(root_) && objects_.gotoObject(root_) && findKey("/Count") &&
               objects_.readCount(count_) && count_ >= 0 && count_ <= objects_.entryCount();
    }
    std::int32_t root() const { return root_; }
    std::int32_t count() const { return count_; }

    std::optional<PdfPageSize> page(std::int32_t index)
    {
        std::int32_t node = root_;
        Inherited inherited;
        for (int depth = 0; depth < MostDepth; ++depth) {
            std::optional<std::vector<std::int32_t>> kids;
            if (!readNode(node, inherited, kids))
                return std::nullopt;
            if (!kids)
                return index == 0 ? leafSize(node, inherited) : std::nullopt;
            std::optional<std::int32_t> chosen;
            for (const std::int32_t kid : *kids) {
                std::int32_t pages = 0;
                if (!pagesUnder(kid, pages))
                    return std::nullopt;
                if (index < pages) {
                    chosen = kid;
                    break;
                }
                index -= pages;
            }
            if (!chosen)
                return std::nullopt;
            node = *chosen;
        }
        return std::nullopt;
    }

    bool allPages(std::int32_t node, Inherited inherited, int depth,
                  std::vector<PdfPageSize> &sizes)
    {
        if (depth == MostDepth || ++visits_ > objects_.entryCount())
            return false;
        std::optional<std::vector<std::int32_t>> kids;
        if (!readNode(node, inherited, kids))
            return false;
        if (!kids) {
            const std::optional<PdfPageSize> size = leafSize(node, inherited);
            if (!size || std::int64_t(sizes.size()) == count_)
                return false;
            sizes.push_back(*size);
            return true;
        }
        for (const std::int32_t kid : *kids)
            if (!allPages(kid, inherited, depth + 1, sizes))
                return false;
        return true;
    }

private:
    // Searches forward, as PdfScanner::PdfFindKey does, for key at the top level of the
    // dictionary that starts here, but finds it wherever it begins and only as a whole name.
    // On success the cursor is past the key.
    bool findKey(std::string_view key)
    {
        const auto length = std::int64_t(key.size());
        int depth = 0;
        for (std::int64_t at = scanner_.position(); at < scanner_.size(); ++at) {
            const char c = scanner_.at(at);
            const bool doubled = at + 1 < scanner_.size() && scanner_.at(at + 1) == c;
            if (c == '<' && doubled) {
                ++depth;
                ++at;
            } else if (c == '>' && doubled) {
                ++at;
                if (--depth <= 0)
                    return false;
            } else if (c == '/' && depth < 2 && scanner_.seek(at) && scanner_.PdfMatchToken(key) &&
                       endsName(at + length)) {
                return true;
            }
        }
        return false;
    }

    bool endsName(std::int64_t at)
    {
        static constexpr std::string_view Delimiters = "()<>[]{}/%";
        if (at >= scanner_.size())
            return true;
        const char c = scanner_.at(at);
        return static_cast<unsigned char>(c) <= ' ' || Delimiters.find(c) != std::string_view::npos;
    }

    // Reads node's /MediaBox and /Rotate into inherited, and its /Kids.
    bool readNode(std::int32_t node, Inherited &inherited,
                  std::optional<std::vector<std::int32_t>> &kids)
    {
        if (!objects_.gotoObject(node))
            return false;
        const std::int64_t dictionary = scanner_.position();
        if (findKey("/MediaBox")) {
            inherited.mediaBox = readBox();
            if (!inherited.mediaBox)
                return false;
        }
        scanner_.seek(dictionary);
        if (findKey("/Rotate") && !readNumber(inherited.rotate))
            return false;
        scanner_.seek(dictionary);
        kids.reset();
        if (findKey("/Kids")) {
            kids = readKids();
            if (!kids)
                return false;
        }
        return true;
    }

    // The array of references "n g R" at the cursor, read whole: a kid's object is then read
    // without turning back to its parent's array.
    std::optional<std::vector<std::int32_t>> readKids()
    {
        scanner_.skipBlanks();
        if (!isAt('['))
            return std::nullopt;
        scanner_.seek(scanner_.position() + 1);
        std::vector<std::int32_t> kids;
        for (;;) {
            std::int32_t kid = 0;
            std::int32_t generation = 0;
            if (!scanner_.PdfReadInt(kid)) {
                if (!isAt(']'))
                    return std::nullopt;
                return kids;
            }
            if (!scanner_.PdfReadInt(generation))
                return std::nullopt;
            scanner_.skipBlanks();
            if (!isAt('R'))
                return std::nullopt;
            scanner_.seek(scanner_.position() + 1);
            kids.push_back(kid);
        }
    }

    std::optional<PdfPageSize> leafSize(std::int32_t page, const Inherited &inherited)
    {
        if (!inherited.mediaBox)
            return A4;
        double unit = 1;
        if (!objects_.gotoObject(page))
            return std::nullopt;
        if (findKey("/UserUnit") && (!readNumber(unit) || unit <= 0))
            return std::nullopt;
        const Box &box = *inherited.mediaBox;
        PdfPageSize size{std::abs(box[2] - box[0]) * unit, std::abs(box[3] - box[1]) * unit};
        if (!std::isfinite(size.width * size.height))
            return std::nullopt;
        const double quarterTurns = std::fmod(std::abs(std::round(inherited.rotate / 90)), 2);
        if (quarterTurns == 1)
            std::swap(size.width, size.height);
        return size;
    }

    // The number of pages under kid: its /Count when it has /Kids, else 1.
    bool pagesUnder(std::int32_t kid, std::int32_t &pages)
    {
        if (!objects_.gotoObject(kid))
            return false;
        const std::int64_t dictionary = scanner_.position();
        if (!findKey("/Kids")) {
            pages = 1;
            return true;
        }
        scanner_.seek(dictionary);
        return findKey("/Count") && objects_.readCount(pages) && pages >= 0;
    }

    bool isAt(char c)
    {
        return scanner_.position() < scanner_.size() && scanner_.at(scanner_.position()) == c;
    }

    // A box at the cursor: an array of four numbers, or a reference to an object that is one.
    std::optional<Box> readBox()
    {
        scanner_.skipBlanks();
        if (!isAt('[')) {
            std::int32_t object = 0;
            std::int32_t generation = 0;
            if (!scanner_.PdfReadInt(object) || !scanner_.PdfReadInt(generation) ||
                !scanner_.PdfMatchToken(" R") || !objects_.gotoObject(object) ||
                !scanner_.PdfReadInt(generation) || !scanner_.PdfMatchToken(" obj"))
                return std::nullopt;
            scanner_.skipBlanks();
            if (!isAt('['))
                return std::nullopt;
        }
        scanner_.seek(scanner_.position() + 1);
        Box box{};
        for (double &value : box)
            if (!readNumber(value))
                return std::nullopt;
        return box;
    }

    // A PDF number: an optional sign, digits, and a fraction after a period.
    bool readNumber(double &value)
    {
        scanner_.skipBlanks();
        double sign = 1;
        if (isAt('+') || isAt('-')) {
            sign = isAt('-') ? -1 : 1;
            scanner_.seek(scanner_.position() + 1);
        }
        double number = 0;
        int digits = 0;
        for (; scanner_.atDigit(); ++digits) {
            number = number * 10 + (scanner_.at(scanner_.position()) - '0');
            scanner_.seek(scanner_.position() + 1);
        }
        if (isAt('.')) {
            scanner_.seek(scanner_.position() + 1);
            for (double scale = 0.1; scanner_.atDigit(); scale /= 10, ++digits) {
                number += scale * (scanner_.at(scanner_.position()) - '0');
                scanner_.seek(scanner_.position() + 1);
            }
        }
        if (digits == 0 || !std::isfinite(number))
            return false;
        value = sign * number;
        return true;
    }

    PdfScanner scanner_;
    PdfObjects objects_;
    std::int32_t root_ = 0;
    std::int32_t count_ = 0;
    std::int64_t visits_ = 0;
};

// What read gives from the page tree of the PDF read through stream; none when the tree or
// the file cannot be read.
template <typename T, typename Read>
std::optional<T> readingPageTree(std::istream &stream, Read read)
{
    try {
        PageTree tree(stream);
        if (!tree.open())
            return std::nullopt;
        return read(tree);
    } catch (const std::overflow_error &) { // a number too large for the scanner
        return std::nullopt;
    } catch (const std::ios_base::failure &) { // a file that cannot be read
        return std::nullopt;
    }
}

} // namespace

std::optional<PdfPageSize> PdfPageSizeIn(std::istream &stream, std::int32_t page)
{
    return readingPageTree<PdfPageSize>(stream, [&](PageTree &tree) -> std::optional<PdfPageSize> {
        if (page < 0 || page >= tree.count())
            return std::nullopt;
        return tree.page(page);
    });
}

std::optional<std::vector<PdfPageSize>> PdfPageSizesIn(std::istream &stream)
{
    return readingPageTree<std::vector<PdfPageSize>>(
        stream, [&](PageTree &tree) -> std::optional<std::vector<PdfPageSize>> {
            std::vector<PdfPageSize> sizes;
            if (!tree.allPages(tree.root(), {}, 0, sizes) ||
                std::int64_t(sizes.size()) != tree.count())
                return std::nullopt;
            return sizes;
        });
}
