#include "app/core/render/PictureMemory.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <new>
#include <utility>

#include <sys/mman.h>

namespace {

constexpr std::size_t HugePage = std::size_t(2) << 20;

struct Block {
    void *memory = nullptr;
    std::size_t bytes = 0;
};

// The block of the last large picture let go, until a picture wants a block.
class KeptBlock {
public:
    // The kept block if it has that size; a kept block of another size is freed.
    Block take(std::size_t bytes)
    {
        const Block block = release();
        if (block.bytes == bytes)
            return block;
        std::free(block.memory);
        return {};
    }
    // Frees the kept block; false when none was kept.
    bool drop()
    {
        const Block block = release();
        const bool kept = block.memory != nullptr;
        std::free(block.memory);
        return kept;
    }
    void keep(Block block)
    {
        {
            const std::lock_guard lock(mutex_);
            std::swap(block, kept_);
        }
        std::free(block.memory);
    }

private:
    Block release()
    {
        const std::lock_guard lock(mutex_);
        return std::exchange(kept_, {});
    }

    std::mutex mutex_;
    Block kept_;
};

// Never destroyed: images may be let go while the program exits.
KeptBlock &keptBlock()
{
    static KeptBlock *const kept = new KeptBlock;
    return *kept;
}

Block largeBlock(std::size_t bytes)
{
    const std::size_t rounded = (bytes + HugePage - 1) / HugePage * HugePage;
    Block block = keptBlock().take(rounded);
    if (block.memory)
        return block;
    block = {std::aligned_alloc(HugePage, rounded), rounded};
    if (block.memory)
        ::madvise(block.memory, rounded, MADV_HUGEPAGE);
    return block;
}

// A small picture's memory has no size: it is freed, never kept.
Block allocate(std::size_t bytes)
{
    if (bytes < HugePage)
        return {std::malloc(std::max<std::size_t>(bytes, 1)), 0};
    return largeBlock(bytes);
}

void keepLargeBlock(void *block)
{
    const std::unique_ptr<Block> held(static_cast<Block *>(block));
    keptBlock().keep(*held);
}

} // namespace

PictureMemory::PictureMemory(std::size_t bytes)
{
    Block block = allocate(bytes);
    // When memory runs out, the kept block goes first.
    if (!block.memory && keptBlock().drop())
        block = allocate(bytes);
    if (!block.memory)
        throw std::bad_alloc();
    pixels_ = static_cast<std::uint8_t *>(block.memory);
    bytes_ = block.bytes;
}

PictureMemory::~PictureMemory()
{
    if (bytes_ == 0)
        std::free(pixels_);
    else
        keptBlock().keep({pixels_, bytes_});
}

QImage PictureMemory::takeImage(int width, int height, std::size_t bytesPerLine)
{
    const auto perLine = static_cast<qsizetype>(bytesPerLine);
    QImage image;
    if (bytes_ == 0) {
        image = QImage(pixels_, width, height, perLine, QImage::Format_RGB32, &std::free, pixels_);
    } else {
        auto block = std::make_unique<Block>(Block{pixels_, bytes_});
        image = QImage(pixels_, width, height, perLine, QImage::Format_RGB32, &keepLargeBlock,
                       block.get());
        if (!image.isNull())
            block.release();
    }
    if (image.isNull())
        throw std::bad_alloc();
    pixels_ = nullptr;
    bytes_ = 0;
    return image;
}
