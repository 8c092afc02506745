// The PDF page counter and the reader of page sizes over the bytes of a whole file.
#include "app/core/pages/PdfPageCount.h"
#include "app/core/pages/PdfPageSize.h"
#include "fuzz/Fuzz.h"

#include <cmath>
#include <sstream>

void FuzzInput(std::span<const std::uint8_t> data)
{
    std::istringstream bytes(std::string(data.begin(), data.end()));
    if (CountPdfPagesIn(bytes) < -1)
        FuzzFault("a page count below -1");
    const auto isSize = [](const PdfPageSize &size) {
        return std::isfinite(size.width * size.height) && size.width >= 0 && size.height >= 0;
    };
    if (const auto first = PdfPageSizeIn(bytes, 0); first && !isSize(*first))
        FuzzFault("a page size that is no size");
    if (const auto sizes = PdfPageSizesIn(bytes))
        for (const PdfPageSize &size : *sizes)
            if (!isSize(size))
                FuzzFault("a page size that is no size");
}
