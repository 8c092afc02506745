// vorstel-host: the stand-in for the file manager and the registration tool. It loads
// libVorstel.so from its own folder and drives it only through the library's four exports:
//
//   vorstel-host thumbnail <size> <book> <image.png>   the thumbnail, written as PNG; <size>
//                                                       is N or WIDTHxHEIGHT pixels (a desktop
//                                                       thumbnailer entry: thumbnail %s %i %o)
//   vorstel-host infotip <book>                         prints the info tip
//   vorstel-host register | unregister                  self-registration of the library
#include "platform/Com.h"
#include "platform/Raster.h"
#include "platform/ShellAllocator.h"
#include "platform/SystemServices.h"
#include "platform/WideString.h"
#include "shellext/ClassId.h"

#include <QImage>
#include <QSaveFile>
#include <QString>

#include <charconv>
#include <cstdio>
#include <dlfcn.h>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

namespace {

const char Usage[] = "Utilisation : vorstel-host thumbnail <taille> <fichier.bd> <image.png>\n"
                     "              vorstel-host infotip <fichier.bd>\n"
                     "              vorstel-host register\n"
                     "              vorstel-host unregister\n"
                     "<taille> : N ou LARGEURxHAUTEUR, en pixels.\n";

class HostError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

std::string hexCode(com::HRESULT result)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(result));
    return text;
}

using com::Held;

// libVorstel.so loaded beside this program; unloaded when it allows it.
class Library {
public:
    Library()
    {
        static const int anchor = 0;
        path_ = platform::ModulePath(&anchor).parent_path() / "libVorstel.so";
        handle_ = dlopen(path_.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!handle_)
            throw HostError("Impossible de charger la bibliothèque " + path_.string() + " : " +
                            dlerror());
    }
    ~Library()
    {
        const auto canUnloadNow =
            reinterpret_cast<com::DllCanUnloadNowFunction>(dlsym(handle_, "DllCanUnloadNow"));
        if (canUnloadNow && canUnloadNow() == com::S_OK)
            dlclose(handle_);
    }
    Library(const Library &) = delete;
    Library &operator=(const Library &) = delete;

    template <typename Function> Function function(const char *name) const
    {
        void *address = dlsym(handle_, name);
        if (!address)
            throw HostError("La bibliothèque " + path_.string() + " n'exporte pas " + name + ".");
        return reinterpret_cast<Function>(address);
    }

    // A new object of the shell extension pointed at `book`.
    Held<com::IPersistFile> open(const std::filesystem::path &book) const
    {
        // The library takes names in UTF-16: one whose bytes do not decode would reach it as
        // the name spelled with U+FFFD, another file.
        const std::string name = std::filesystem::absolute(book).string();
        const std::u16string path = platform::Utf8ToUtf16(name);
        if (platform::Utf16ToUtf8(path) != name)
            throw HostError("Impossible d'ouvrir le fichier " + name + ".");
        const auto getClassObject = function<com::DllGetClassObjectFunction>("DllGetClassObject");
        void *object = nullptr;
        check(getClassObject(shellext::CLSID_ShellView, com::IID_IClassFactory, &object),
              "DllGetClassObject");
        const Held<com::IClassFactory> factory(static_cast<com::IClassFactory *>(object));
        check(factory->CreateInstance(nullptr, com::IID_IPersistFile, &object), "CreateInstance");
        Held<com::IPersistFile> file(static_cast<com::IPersistFile *>(object));
        check(file->Load(path.c_str(), 0), "Load");
        return file;
    }

    static void check(com::HRESULT result, const char *call)
    {
        if (!com::Succeeded(result))
            throw HostError(std::string(call) + " a échoué (code " + hexCode(result) + ").");
    }

private:
    std::filesystem::path path_;
    void *handle_ = nullptr;
};

template <typename Interface>
Held<Interface> queryInterface(com::IUnknown &object, const com::GUID &interfaceId)
{
    void *result = nullptr;
    Library::check(object.QueryInterface(interfaceId, &result), "QueryInterface");
    return Held<Interface>(static_cast<Interface *>(result));
}

HostError sizeError(std::string_view text)
{
    return HostError("Taille incorrecte : " + std::string(text) + ".");
}

int parseNumber(std::string_view text)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        throw sizeError(text);
    return value;
}

// An image has at least one pixel each way.
com::SIZE parseSize(std::string_view text)
{
    const std::size_t cross = text.find('x');
    const int width = parseNumber(text.substr(0, cross));
    const int height =
        cross == std::string_view::npos ? width : parseNumber(text.substr(cross + 1));
    if (width < 1 || height < 1)
        throw sizeError(text);
    return {width, height};
}

void writePng(const platform::Raster &raster, const QString &output)
{
    const QImage image(raster.bits(), raster.width(), raster.height(),
                       static_cast<qsizetype>(raster.bytesPerLine()), QImage::Format_RGB32);
    QSaveFile file(output);
    if (!file.open(QIODevice::WriteOnly) || !image.save(&file, "PNG") || !file.commit())
        throw HostError("Impossible d'écrire l'image " + output.toStdString() + ".");
}

void thumbnail(const Library &library, std::string_view size, const char *book, const char *output)
{
    const com::SIZE box = parseSize(size);
    const Held<com::IPersistFile> file = library.open(book);
    const auto extractor = queryInterface<com::IExtractImage>(*file, com::IID_IExtractImage);
    char16_t location[1024] = {};
    com::DWORD priority = 0;
    com::DWORD flags = com::IEIFLAG_ASYNC;
    const com::HRESULT located =
        extractor->GetLocation(location, std::size(location), &priority, &box, 32, &flags);
    // The library sets the largest size it serves.
    if (located == com::E_INVALIDARG)
        throw sizeError(size);
    if (located != com::E_PENDING)
        Library::check(located, "GetLocation");
    com::HBITMAP bitmap = nullptr;
    Library::check(extractor->Extract(&bitmap), "Extract");
    const std::unique_ptr<platform::Raster> raster(bitmap);
    writePng(*raster, QString::fromLocal8Bit(output));
}

void infoTip(const Library &library, const char *book)
{
    const Held<com::IPersistFile> file = library.open(book);
    const auto query = queryInterface<com::IQueryInfo>(*file, com::IID_IQueryInfo);
    char16_t *tip = nullptr;
    Library::check(query->GetInfoTip(0, &tip), "GetInfoTip");
    std::string text = platform::Utf16ToUtf8(tip);
    com::IMalloc *allocator = nullptr;
    if (com::Succeeded(platform::SHGetMalloc(&allocator))) {
        allocator->Free(tip);
        allocator->Release();
    }
    for (std::size_t at = 0; (at = text.find("\r\n", at)) != std::string::npos;)
        text.erase(at, 1);
    std::printf("%s\n", text.c_str());
}

void registration(const Library &library, bool Register)
{
    const char *name = Register ? "DllRegisterServer" : "DllUnregisterServer";
    Library::check(library.function<com::DllRegisterServerFunction>(name)(), name);
}

int run(int argc, char **argv)
{
    const std::string_view command = argc > 1 ? argv[1] : "";
    if (command == "thumbnail" && argc == 5) {
        const Library library;
        thumbnail(library, argv[2], argv[3], argv[4]);
    } else if (command == "infotip" && argc == 3) {
        const Library library;
        infoTip(library, argv[2]);
    } else if ((command == "register" || command == "unregister") && argc == 2) {
        const Library library;
        registration(library, command == "register");
    } else {
        std::fputs(Usage, stderr);
        return 2;
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    try {
        return run(argc, argv);
    } catch (const std::exception &error) {
        std::fprintf(stderr, "vorstel-host : %s\n", error.what());
        return 1;
    }
}
