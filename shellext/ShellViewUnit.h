#pragma once

#include "platform/Com.h"
#include "shellext/ClassId.h"

#include <atomic>
#include <cstdint>
#include <string>

// The shell extension's one class, TShellView, and its class factory. The shell makes one
// object per book file, points it at the file with IPersistFile::Load, then asks for a
// thumbnail (IExtractImage) or an info tip (IQueryInfo). No method lets an exception out.
namespace shellext {

// The largest thumbnail side served; a larger or a negative one is refused with E_INVALIDARG.
inline constexpr int MaxThumbnailSide = 4096;

// The library-wide counts behind DllCanUnloadNow: live objects, and locks of the factory
// (LockServer, and every reference held to the factory).
namespace ComServer {
void CountObject(bool created);
void CountLock(bool locked);
bool CanUnloadNow();
} // namespace ComServer

class TShellView final : public com::IQueryInfo,
                         public com::IExtractImage,
                         public com::IPersistFile {
public:
    TShellView();
    ~TShellView();
    TShellView(const TShellView &) = delete;
    TShellView &operator=(const TShellView &) = delete;

    com::HRESULT QueryInterface(const com::GUID &interfaceId, void **object) override;
    com::ULONG AddRef() override;
    com::ULONG Release() override;

    com::HRESULT GetInfoTip(com::DWORD flags, char16_t **tip) override;
    com::HRESULT GetInfoFlags(com::DWORD *flags) override;

    com::HRESULT GetLocation(char16_t *pathBuffer, com::DWORD bufferLength, com::DWORD *priority,
                             const com::SIZE *size, com::DWORD colourDepth,
                             com::DWORD *flags) override;
    com::HRESULT Extract(com::HBITMAP *bitmap) override;

    com::HRESULT GetClassID(com::GUID *classId) override;
    com::HRESULT IsDirty() override;
    com::HRESULT Load(const char16_t *fileName, com::DWORD mode) override;
    com::HRESULT Save(const char16_t *fileName, com::BOOL remember) override;
    com::HRESULT SaveCompleted(const char16_t *fileName) override;
    com::HRESULT GetCurFile(char16_t **fileName) override;

private:
    std::atomic<com::ULONG> references_{1};
    std::string FFileName; // UTF-8
    std::int32_t FThumbWidth = 0;
    std::int32_t FThumbHeight = 0;
};

// Makes a new TShellView for every request (multi-instance), apartment-threaded. The one
// factory lives as long as the library.
class TShellViewFactory final : public com::IClassFactory {
public:
    static TShellViewFactory &Instance();

    static constexpr const char *Description = "Quirelle";
    static constexpr const char *ThreadingModel = "Apartment";

    com::HRESULT QueryInterface(const com::GUID &interfaceId, void **object) override;
    com::ULONG AddRef() override;
    com::ULONG Release() override;
    com::HRESULT CreateInstance(com::IUnknown *outer, const com::GUID &interfaceId,
                                void **object) override;
    com::HRESULT LockServer(com::BOOL lock) override;

    // Writes or removes the class's registration; raises the registry's failures.
    void UpdateRegistry(bool Register);

private:
    TShellViewFactory() = default;
    std::atomic<com::ULONG> references_{0};
};

} // namespace shellext
