// The four exports of libVorstel.so, the contract of an in-process server.
#include "shellext/ShellViewUnit.h"

using namespace shellext;

extern "C" com::HRESULT DllGetClassObject(const com::GUID &classId, const com::GUID &interfaceId,
                                          void **object)
{
    if (!object)
        return com::E_POINTER;
    if (classId != CLSID_ShellView) {
        *object = nullptr;
        return com::CLASS_E_CLASSNOTAVAILABLE;
    }
    return TShellViewFactory::Instance().QueryInterface(interfaceId, object);
}

extern "C" com::HRESULT DllCanUnloadNow()
{
    return ComServer::CanUnloadNow() ? com::S_OK : com::S_FALSE;
}

namespace {

com::HRESULT updateRegistry(bool Register)
{
    try {
        TShellViewFactory::Instance().UpdateRegistry(Register);
        return com::S_OK;
    } catch (...) {
        return com::E_FAIL;
    }
}

} // namespace

extern "C" com::HRESULT DllRegisterServer()
{
    return updateRegistry(true);
}

extern "C" com::HRESULT DllUnregisterServer()
{
    return updateRegistry(false);
}
