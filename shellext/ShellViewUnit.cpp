#include "shellext/ShellViewUnit.h"

#include "platform/Raster.h"
#include "platform/ShellAllocator.h"
#include "platform/WideString.h"
#include "shellext/User.h"

#include <algorithm>
#include <memory>
#include <new>

namespace shellext {

namespace {

std::atomic<long> objectCount{0};
std::atomic<long> lockCount{0};

bool isServedSize(std::int32_t width, std::int32_t height)
{
    return width >= 0 && height >= 0 && width <= MaxThumbnailSide && height <= MaxThumbnailSide;
}

} // namespace

void ComServer::CountObject(bool created)
{
    objectCount += created ? 1 : -1;
}

void ComServer::CountLock(bool locked)
{
    lockCount += locked ? 1 : -1;
}

bool ComServer::CanUnloadNow()
{
    return objectCount == 0 && lockCount == 0;
}

TShellView::TShellView()
{
    ComServer::CountObject(true);
}

TShellView::~TShellView()
{
    ComServer::CountObject(false);
}

com::HRESULT TShellView::QueryInterface(const com::GUID &interfaceId, void **object)
{
    if (!object)
        return com::E_POINTER;
    if (interfaceId == com::IID_IUnknown || interfaceId == com::IID_IQueryInfo)
        *object = static_cast<com::IQueryInfo *>(this);
    else if (interfaceId == com::IID_IExtractImage)
        *object = static_cast<com::IExtractImage *>(this);
    else if (interfaceId == com::IID_IPersist || interfaceId == com::IID_IPersistFile)
        *object = static_cast<com::IPersistFile *>(this);
    else {
        *object = nullptr;
        return com::E_NOINTERFACE;
    }
    AddRef();
    return com::S_OK;
}

com::ULONG TShellView::AddRef()
{
    return ++references_;
}

com::ULONG TShellView::Release()
{
    const com::ULONG left = --references_;
    if (left == 0)
        delete this;
    return left;
}

com::HRESULT TShellView::GetInfoTip(com::DWORD, char16_t **tip)
{
    if (!tip)
        return com::E_POINTER;
    *tip = nullptr;
    com::IMalloc *allocator = nullptr;
    if (!com::Succeeded(platform::SHGetMalloc(&allocator)) || !allocator)
        return com::E_FAIL;
    const com::Held<com::IMalloc> release(allocator);
    try {
        const std::u16string text = BuildInfoTip(FFileName);
        auto *memory =
            static_cast<char16_t *>(allocator->Alloc((text.size() + 1) * sizeof(char16_t)));
        if (!memory)
            return com::E_FAIL;
        std::copy(text.begin(), text.end(), memory);
        memory[text.size()] = u'\0';
        *tip = memory;
        return com::S_OK;
    } catch (const std::exception &) {
        return com::E_FAIL;
    }
}

com::HRESULT TShellView::GetInfoFlags(com::DWORD *)
{
    return com::E_NOTIMPL;
}

com::HRESULT TShellView::GetLocation(char16_t *, com::DWORD, com::DWORD *, const com::SIZE *size,
                                     com::DWORD, com::DWORD *flags)
{
    if (!size || !flags)
        return com::E_POINTER;
    FThumbWidth = size->cx;
    FThumbHeight = size->cy;
    if (!isServedSize(FThumbWidth, FThumbHeight))
        return com::E_INVALIDARG;
    return (*flags & com::IEIFLAG_ASYNC) ? com::E_PENDING : com::S_OK;
}

com::HRESULT TShellView::Extract(com::HBITMAP *bitmap)
{
    if (!bitmap)
        return com::E_POINTER;
    *bitmap = nullptr;
    if (!isServedSize(FThumbWidth, FThumbHeight))
        return com::E_INVALIDARG;
    try {
        auto thumbnail = std::make_unique<platform::Raster>(FThumbWidth, FThumbHeight);
        DrawFirstPage(FFileName, *thumbnail);
        *bitmap = thumbnail.release();
        return com::S_OK;
    } catch (const std::bad_alloc &) {
        return com::E_OUTOFMEMORY;
    } catch (const std::exception &) {
        return com::E_FAIL;
    }
}

com::HRESULT TShellView::GetClassID(com::GUID *)
{
    return com::E_NOTIMPL;
}

com::HRESULT TShellView::IsDirty()
{
    return com::E_NOTIMPL;
}

com::HRESULT TShellView::Load(const char16_t *fileName, com::DWORD)
{
    if (!fileName)
        return com::E_POINTER;
    try {
        FFileName = platform::Utf16ToUtf8(fileName);
        return com::S_OK;
    } catch (const std::bad_alloc &) {
        return com::E_OUTOFMEMORY;
    }
}

com::HRESULT TShellView::Save(const char16_t *, com::BOOL)
{
    return com::E_NOTIMPL;
}

com::HRESULT TShellView::SaveCompleted(const char16_t *)
{
    return com::E_NOTIMPL;
}

com::HRESULT TShellView::GetCurFile(char16_t **)
{
    return com::E_NOTIMPL;
}

TShellViewFactory &TShellViewFactory::Instance()
{
    static TShellViewFactory factory;
    return factory;
}

com::HRESULT TShellViewFactory::QueryInterface(const com::GUID &interfaceId, void **object)
{
    if (!object)
        return com::E_POINTER;
    if (interfaceId != com::IID_IUnknown && interfaceId != com::IID_IClassFactory) {
        *object = nullptr;
        return com::E_NOINTERFACE;
    }
    *object = static_cast<com::IClassFactory *>(this);
    AddRef();
    return com::S_OK;
}

com::ULONG TShellViewFactory::AddRef()
{
    ComServer::CountLock(true);
    return ++references_;
}

com::ULONG TShellViewFactory::Release()
{
    ComServer::CountLock(false);
    return --references_;
}

com::HRESULT TShellViewFactory::CreateInstance(com::IUnknown *outer, const com::GUID &interfaceId,
                                               void **object)
{
    if (!object)
        return com::E_POINTER;
    *object = nullptr;
    if (outer)
        return com::CLASS_E_NOAGGREGATION;
    auto *view = new (std::nothrow) TShellView;
    if (!view)
        return com::E_OUTOFMEMORY;
    const com::HRESULT result = view->QueryInterface(interfaceId, object);
    view->Release();
    return result;
}

com::HRESULT TShellViewFactory::LockServer(com::BOOL lock)
{
    ComServer::CountLock(lock != 0);
    return com::S_OK;
}

} // namespace shellext
