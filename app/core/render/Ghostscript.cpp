#include "app/core/render/Ghostscript.h"

#include "platform/Registry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <memory>
#include <vector>

#include <dlfcn.h>
#include <ghostscript/gserrors.h>
#include <ghostscript/iapi.h>

namespace {

template <typename Function> Function entryPoint(void *library, const char *name)
{
    return reinterpret_cast<Function>(dlsym(library, name));
}

} // namespace

QString FindGhostscriptDir()
{
    const std::string root = "SOFTWARE\\GPL Ghostscript";
    try {
        const auto versions =
            platform::RegistryKey::open(platform::Hive::LocalMachine, root, false);
        if (!versions)
            return {};
        QStringList names;
        for (const std::string &name : versions->subKeyNames())
            names.append(QString::fromStdString(name));
        if (names.isEmpty())
            return {};
        names.sort(Qt::CaseInsensitive);
        const auto version = platform::RegistryKey::open(
            platform::Hive::LocalMachine, root + "\\" + names.last().toStdString(), false);
        if (!version)
            return {};
        const QString library = QString::fromStdString(version->readString("GS_DLL").value_or(""));
        return library.left(library.lastIndexOf('/') + 1);
    } catch (const platform::RegistryError &) {
        return {};
    }
}

QString GhostscriptConsolePath(const QString &ghostscriptDir)
{
    if (!ghostscriptDir.isEmpty()) {
        const QFileInfo beside(QDir(ghostscriptDir).filePath(QStringLiteral("gs")));
        if (beside.isFile() && beside.isExecutable())
            return beside.absoluteFilePath();
    }
    return QStandardPaths::findExecutable(QStringLiteral("gs"));
}

bool GhostscriptConsoleExists(const QString &ghostscriptDir)
{
    return !GhostscriptConsolePath(ghostscriptDir).isEmpty();
}

QString GhostscriptOutputArgument(const QString &path)
{
    QString pattern = path;
    return QStringLiteral("-sOutputFile=") + pattern.replace(u'%', QStringLiteral("%%"));
}

void GhostscriptLibrary::Closer::operator()(void *handle) const
{
    dlclose(handle);
}

std::optional<GhostscriptLibrary> GhostscriptLibrary::load(const QString &ghostscriptDir)
{
    const QByteArray path = QFile::encodeName(ghostscriptDir + GhostscriptLibraryName);
    void *handle = dlopen(path.constData(), RTLD_NOW | RTLD_LOCAL);
    if (!handle)
        return std::nullopt;
    return GhostscriptLibrary(handle);
}

bool GhostscriptLibrary::run(const QStringList &arguments) const
{
    void *library = handle_.get();
    const auto newInstance = entryPoint<PFN_gsapi_new_instance>(library, "gsapi_new_instance");
    const auto initWithArgs = entryPoint<PFN_gsapi_init_with_args>(library, "gsapi_init_with_args");
    const auto exitInterpreter = entryPoint<PFN_gsapi_exit>(library, "gsapi_exit");
    const auto deleteInstance =
        entryPoint<PFN_gsapi_delete_instance>(library, "gsapi_delete_instance");
    if (!newInstance || !initWithArgs || !exitInterpreter || !deleteInstance)
        return false;

    std::vector<QByteArray> encoded;
    std::vector<char *> argv;
    for (const QString &argument : arguments)
        encoded.push_back(QFile::encodeName(argument));
    for (QByteArray &argument : encoded)
        argv.push_back(argument.data());

    // Nothing may throw from here until the instance is deleted.
    void *instance = nullptr;
    if (newInstance(&instance, nullptr) < 0 || !instance)
        return false;
    const int initialised = initWithArgs(instance, static_cast<int>(argv.size()), argv.data());
    // After a usage display the interpreter must not be exited.
    const int exited = initialised == gs_error_Info ? 0 : exitInterpreter(instance);
    deleteInstance(instance);
    return (initialised == 0 || initialised == gs_error_Quit) && exited == 0;
}
