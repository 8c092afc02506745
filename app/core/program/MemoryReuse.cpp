#include "app/core/program/MemoryReuse.h"

#include <malloc.h>

void KeepFreedMemoryForReuse()
{
    // The grid's thumbnails and the records they are decoded from come and go by the hundred,
    // and mapping fresh memory costs more than decoding a thumbnail. Blocks under 4 MB come from
    // the heap and, freed, stay there up to 32 MB at its top; larger pictures keep their own
    // memory (PictureMemory).
    mallopt(M_MMAP_THRESHOLD, 4 << 20);
    mallopt(M_TRIM_THRESHOLD, 32 << 20);
}
