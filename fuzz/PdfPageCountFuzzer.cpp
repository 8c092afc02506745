// The PDF page counter over the bytes of a whole file.
#include "app/core/pages/PdfPageCount.h"
#include "fuzz/Fuzz.h"

void FuzzInput(std::span<const std::uint8_t> data)
{
    const QByteArrayView bytes(data.data(), static_cast<qsizetype>(data.size()));
    if (CountPdfPagesIn(bytes) < -1)
        FuzzFault("a page count below -1");
}
