#pragma once

#include "platform/Com.h"
#include "platform/Raster.h"

#include <filesystem>
#include <memory>
#include <string>

// libVorstel.so as the shell sees it: loaded with dlopen, reached only through its exports.

using com::Held;

struct VorstelExports {
    com::DllGetClassObjectFunction DllGetClassObject;
    com::DllCanUnloadNowFunction DllCanUnloadNow;
    com::DllRegisterServerFunction DllRegisterServer;
    com::DllUnregisterServerFunction DllUnregisterServer;
};

// The library, loaded once for the test process.
const VorstelExports &Vorstel();

// The class factory, from DllGetClassObject.
Held<com::IClassFactory> ShellViewFactory();

// A new object of the shell extension, asked for `Interface`, pointed at `book` by Load.
template <typename Interface>
Held<Interface> OpenShellView(const std::filesystem::path &book, const com::GUID &interfaceId);

// What the shell gets for `book`: the thumbnail in a box of width by height pixels (through
// GetLocation and Extract), and the info tip (UTF-8, freed with the shell's allocator).
std::unique_ptr<platform::Raster> Thumbnail(const std::filesystem::path &book, int width,
                                            int height);
std::string InfoTip(const std::filesystem::path &book);
