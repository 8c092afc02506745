#include "tests/shellext/VorstelLibrary.h"

#include "platform/ShellAllocator.h"
#include "platform/WideString.h"
#include "shellext/ClassId.h"

#include <dlfcn.h>
#include <stdexcept>

namespace {

template <typename Function> Function exported(void *library, const char *name)
{
    void *address = dlsym(library, name);
    if (!address)
        throw std::runtime_error(std::string("libVorstel.so does not export ") + name);
    return reinterpret_cast<Function>(address);
}

void check(com::HRESULT result, const char *call)
{
    if (result != com::S_OK)
        throw std::runtime_error(std::string(call) + " failed");
}

} // namespace

const VorstelExports &Vorstel()
{
    static const VorstelExports exports = [] {
        void *library = dlopen(VORSTEL_LIBRARY, RTLD_NOW | RTLD_LOCAL);
        if (!library)
            throw std::runtime_error(dlerror());
        return VorstelExports{
            exported<com::DllGetClassObjectFunction>(library, "DllGetClassObject"),
            exported<com::DllCanUnloadNowFunction>(library, "DllCanUnloadNow"),
            exported<com::DllRegisterServerFunction>(library, "DllRegisterServer"),
            exported<com::DllUnregisterServerFunction>(library, "DllUnregisterServer")};
    }();
    return exports;
}

Held<com::IClassFactory> ShellViewFactory()
{
    void *factory = nullptr;
    check(Vorstel().DllGetClassObject(shellext::CLSID_ShellView, com::IID_IClassFactory, &factory),
          "DllGetClassObject");
    return Held<com::IClassFactory>(static_cast<com::IClassFactory *>(factory));
}

template <typename Interface>
Held<Interface> OpenShellView(const std::filesystem::path &book, const com::GUID &interfaceId)
{
    void *object = nullptr;
    check(ShellViewFactory()->CreateInstance(nullptr, com::IID_IPersistFile, &object),
          "CreateInstance");
    const Held<com::IPersistFile> file(static_cast<com::IPersistFile *>(object));
    check(file->Load(platform::Utf8ToUtf16(book.string()).c_str(), 0), "Load");
    check(file->QueryInterface(interfaceId, &object), "QueryInterface");
    return Held<Interface>(static_cast<Interface *>(object));
}

template Held<com::IPersistFile> OpenShellView(const std::filesystem::path &, const com::GUID &);
template Held<com::IExtractImage> OpenShellView(const std::filesystem::path &, const com::GUID &);
template Held<com::IQueryInfo> OpenShellView(const std::filesystem::path &, const com::GUID &);

std::unique_ptr<platform::Raster> Thumbnail(const std::filesystem::path &book, int width,
                                            int height)
{
    const auto extractor = OpenShellView<com::IExtractImage>(book, com::IID_IExtractImage);
    const com::SIZE size{width, height};
    com::DWORD priority = 0;
    com::DWORD flags = 0;
    check(extractor->GetLocation(nullptr, 0, &priority, &size, 32, &flags), "GetLocation");
    com::HBITMAP bitmap = nullptr;
    check(extractor->Extract(&bitmap), "Extract");
    return std::unique_ptr<platform::Raster>(bitmap);
}

std::string InfoTip(const std::filesystem::path &book)
{
    const auto query = OpenShellView<com::IQueryInfo>(book, com::IID_IQueryInfo);
    char16_t *tip = nullptr;
    check(query->GetInfoTip(0, &tip), "GetInfoTip");
    const std::string text = platform::Utf16ToUtf8(tip);
    com::IMalloc *allocator = nullptr;
    check(platform::SHGetMalloc(&allocator), "SHGetMalloc");
    allocator->Free(tip);
    allocator->Release();
    return text;
}
