// The PDF page counter over the bytes of a whole file.
#include "app/core/pages/PdfPageCount.h"
#include "fuzz/Fuzz.h"

#include <sstream>

void FuzzInput(std::span<const std::uint8_t> data)
{
    std::istringstream bytes(std::string(data.begin(), data.end()));
    if (CountPdfPagesIn(bytes) < -1)
        FuzzFault("a page count below -1");
}
