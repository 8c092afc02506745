#include "platform/ShellAllocator.h"

#include <atomic>
#include <cstdlib>
#include <malloc.h>

namespace platform {

namespace {

class TaskAllocator final : public com::IMalloc {
public:
    com::HRESULT QueryInterface(const com::GUID &interfaceId, void **object) override
    {
        if (!object)
            return com::E_POINTER;
        if (interfaceId == com::IID_IUnknown || interfaceId == com::IID_IMalloc) {
            *object = static_cast<com::IMalloc *>(this);
            AddRef();
            return com::S_OK;
        }
        *object = nullptr;
        return com::E_NOINTERFACE;
    }
    com::ULONG AddRef() override { return ++references_; }
    com::ULONG Release() override { return --references_; }

    void *Alloc(std::size_t size) override { return std::malloc(size); }
    void *Realloc(void *memory, std::size_t size) override { return std::realloc(memory, size); }
    void Free(void *memory) override { std::free(memory); }
    std::size_t GetSize(void *memory) override { return malloc_usable_size(memory); }
    int DidAlloc(void *) override { return -1; } // cannot tell
    void HeapMinimize() override {}

private:
    std::atomic<com::ULONG> references_{1};
};

std::optional<com::IMalloc *> &overriddenAllocator()
{
    static std::optional<com::IMalloc *> allocator;
    return allocator;
}

} // namespace

com::HRESULT SHGetMalloc(com::IMalloc **allocator)
{
    if (!allocator)
        return com::E_INVALIDARG;
    static TaskAllocator taskAllocator;
    *allocator = overriddenAllocator().value_or(&taskAllocator);
    if (!*allocator)
        return com::E_FAIL;
    (*allocator)->AddRef();
    return com::S_OK;
}

void OverrideShellAllocator(std::optional<com::IMalloc *> allocator)
{
    overriddenAllocator() = allocator;
}

} // namespace platform
