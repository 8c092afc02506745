#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace platform {
class Raster;
}

// Our own declarations of the component-object interfaces that the shell library and its host
// share. Interfaces are abstract classes with their methods in the order of their method
// tables and no virtual destructor: an object is freed by its last Release, never deleted
// through an interface. Wide strings are UTF-16 (char16_t).
namespace com {

using HRESULT = std::int32_t;
using ULONG = std::uint32_t;
using DWORD = std::uint32_t;
using BOOL = std::int32_t;

constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001u);
constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002u);
constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003u);
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
constexpr HRESULT E_PENDING = static_cast<HRESULT>(0x8000000Au);
constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);
constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057u);
constexpr HRESULT CLASS_E_NOAGGREGATION = static_cast<HRESULT>(0x80040110u);
constexpr HRESULT CLASS_E_CLASSNOTAVAILABLE = static_cast<HRESULT>(0x80040111u);

constexpr bool Succeeded(HRESULT result)
{
    return result >= 0;
}

struct GUID {
    std::uint32_t data1;
    std::uint16_t data2;
    std::uint16_t data3;
    std::uint8_t data4[8];

    friend constexpr bool operator==(const GUID &a, const GUID &b)
    {
        if (a.data1 != b.data1 || a.data2 != b.data2 || a.data3 != b.data3)
            return false;
        for (int i = 0; i < 8; ++i)
            if (a.data4[i] != b.data4[i])
                return false;
        return true;
    }
};

// "{9866CE29-2D30-4D9C-B876-806D79F7959F}": upper-case hexadecimal digits in braces.
std::string GuidToString(const GUID &guid);

constexpr GUID IID_IUnknown{0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr GUID IID_IClassFactory{0x00000001, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr GUID IID_IMalloc{0x00000002, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr GUID IID_IPersist{0x0000010C, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr GUID IID_IPersistFile{0x0000010B, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr GUID IID_IQueryInfo{0x00021500, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr GUID IID_IExtractImage{
    0xBB2E617C, 0x0920, 0x11D1, {0x9A, 0x0B, 0x00, 0xC0, 0x4F, 0xC2, 0xD6, 0xC1}};

class IUnknown {
public:
    virtual HRESULT QueryInterface(const GUID &interfaceId, void **object) = 0;
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;

protected:
    ~IUnknown() = default;
};

class IClassFactory : public IUnknown {
public:
    virtual HRESULT CreateInstance(IUnknown *outer, const GUID &interfaceId, void **object) = 0;
    virtual HRESULT LockServer(BOOL lock) = 0;

protected:
    ~IClassFactory() = default;
};

class IMalloc : public IUnknown {
public:
    virtual void *Alloc(std::size_t size) = 0;
    virtual void *Realloc(void *memory, std::size_t size) = 0;
    virtual void Free(void *memory) = 0;
    virtual std::size_t GetSize(void *memory) = 0;
    virtual int DidAlloc(void *memory) = 0;
    virtual void HeapMinimize() = 0;

protected:
    ~IMalloc() = default;
};

class IPersist : public IUnknown {
public:
    virtual HRESULT GetClassID(GUID *classId) = 0;

protected:
    ~IPersist() = default;
};

class IPersistFile : public IPersist {
public:
    virtual HRESULT IsDirty() = 0;
    virtual HRESULT Load(const char16_t *fileName, DWORD mode) = 0;
    virtual HRESULT Save(const char16_t *fileName, BOOL remember) = 0;
    virtual HRESULT SaveCompleted(const char16_t *fileName) = 0;
    virtual HRESULT GetCurFile(char16_t **fileName) = 0;

protected:
    ~IPersistFile() = default;
};

struct SIZE {
    std::int32_t cx;
    std::int32_t cy;
};

// A bitmap handle: the raster belongs to whoever receives the handle, who deletes it.
using HBITMAP = platform::Raster *;

// GetLocation flag: the caller extracts on a background thread.
constexpr DWORD IEIFLAG_ASYNC = 0x0001;

class IExtractImage : public IUnknown {
public:
    virtual HRESULT GetLocation(char16_t *pathBuffer, DWORD bufferLength, DWORD *priority,
                                const SIZE *size, DWORD colourDepth, DWORD *flags) = 0;
    virtual HRESULT Extract(HBITMAP *bitmap) = 0;

protected:
    ~IExtractImage() = default;
};

class IQueryInfo : public IUnknown {
public:
    virtual HRESULT GetInfoTip(DWORD flags, char16_t **tip) = 0;
    virtual HRESULT GetInfoFlags(DWORD *flags) = 0;

protected:
    ~IQueryInfo() = default;
};

// The exports of an in-process server, as a host looks them up.
using DllGetClassObjectFunction = HRESULT (*)(const GUID &classId, const GUID &interfaceId,
                                              void **object);
using DllCanUnloadNowFunction = HRESULT (*)();
using DllRegisterServerFunction = HRESULT (*)();
using DllUnregisterServerFunction = HRESULT (*)();

// An interface held for as long as it is in scope: released, never deleted, at the end.
struct Releaser {
    void operator()(IUnknown *object) const { object->Release(); }
};
template <typename Interface> using Held = std::unique_ptr<Interface, Releaser>;

} // namespace com
