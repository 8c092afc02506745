// Opening a book or PDF and loading its thumbnails.
#include "app/Unit1.h"

std::optional<QImage> TForm1::loadPageBitmap(std::int32_t)
{
    return std::nullopt;
}
