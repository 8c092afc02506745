#pragma once

#include <QImage>

#include <cstddef>
#include <cstdint>

// Memory for the pixels of a picture being decoded, until an image takes it over. A large
// picture gets transparent huge pages where the system offers them, and the memory of the last
// large picture let go is kept for the next one of its size: mapping fresh memory costs more
// than decoding a page, and turning pages then maps none.
class PictureMemory {
public:
    // Throws std::bad_alloc when the memory cannot be had.
    explicit PictureMemory(std::size_t bytes);
    PictureMemory(const PictureMemory &) = delete;
    PictureMemory &operator=(const PictureMemory &) = delete;
    ~PictureMemory();

    std::uint8_t *pixels() const { return pixels_; }

    // An RGB32 image over the pixels, which gives them back when its last copy goes; this
    // memory no longer holds them. Throws std::bad_alloc when the image cannot be made.
    QImage takeImage(int width, int height, std::size_t bytesPerLine);

private:
    std::uint8_t *pixels_ = nullptr;
    std::size_t bytes_ = 0; // as allocated; 0 for a small picture's memory
};
