// The two routines around component class registrations.
#include "app/uLibPivex.h"

#include "platform/ComponentRegistry.h"
#include "platform/DevLog.h"

#include <QFile>
#include <dlfcn.h>

namespace {

// The registry value is read through a buffer of this many bytes, terminating zero included.
constexpr qsizetype registryBufferBytes = 1024;

}  // namespace

QString GetInprocServerPath(const QString& classId)
{
    const QString unknown = QStringLiteral("Unknown");
    const auto component = platform::ComponentRegistry::instance().find(classId);
    if (!component || component->libraryPath.isEmpty())
        return unknown;
    if (QFile::encodeName(component->libraryPath).size() >= registryBufferBytes)
        return unknown;
    return component->libraryPath;
}

void UnregisterInprocServer(const QString& libraryPath)
{
    // Only a path is loaded, never a name looked up in the library search path.
    if (!libraryPath.contains(u'/'))
        return;
    void* library = dlopen(QFile::encodeName(libraryPath).constData(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        qCDebug(lcSkorrel) << "UnregisterInprocServer: cannot load" << libraryPath << dlerror();
        return;
    }
    using UnregisterFunction = long (*)();
    if (auto unregister = reinterpret_cast<UnregisterFunction>(dlsym(library, "DllUnregisterServer")))
        unregister();
    dlclose(library);
}
