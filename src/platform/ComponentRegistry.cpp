#include "platform/ComponentRegistry.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QUuid>
#include <algorithm>
#include <dlfcn.h>

namespace platform {

namespace {

bool sameId(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

}  // namespace

ComponentRegistry& ComponentRegistry::instance()
{
    static ComponentRegistry registry;
    return registry;
}

void ComponentRegistry::registerClass(const ComponentClass& component)
{
    std::lock_guard lock(mutex_);
    auto it = std::find_if(classes_.begin(), classes_.end(),
                           [&](const ComponentClass& c) { return sameId(c.classId, component.classId); });
    if (it != classes_.end())
        *it = component;
    else
        classes_.push_back(component);
}

void ComponentRegistry::unregisterClass(const QString& classId)
{
    std::lock_guard lock(mutex_);
    std::erase_if(classes_, [&](const ComponentClass& c) { return sameId(c.classId, classId); });
}

std::optional<ComponentClass> ComponentRegistry::find(const QString& classId) const
{
    std::lock_guard lock(mutex_);
    for (const ComponentClass& c : classes_) {
        if (sameId(c.classId, classId))
            return c;
    }
    return std::nullopt;
}

std::vector<ComponentClass> ComponentRegistry::all() const
{
    std::lock_guard lock(mutex_);
    return classes_;
}

void ComponentRegistry::clear()
{
    std::lock_guard lock(mutex_);
    classes_.clear();
}

QString libraryPathOf(const void* address)
{
    Dl_info info{};
    if (address == nullptr || dladdr(address, &info) == 0 || info.dli_fname == nullptr || *info.dli_fname == '\0')
        return QString();
    const QString path = QFile::decodeName(info.dli_fname);
    // The main program is reported under the name it was started by, which may be relative.
    if (QFileInfo(path).isRelative() && QCoreApplication::instance() != nullptr)
        return QCoreApplication::applicationFilePath();
    return QFileInfo(path).absoluteFilePath();
}

QString classIdFromName(const QString& name)
{
    // Fixed namespace: changing it would change every id handed out so far.
    static const QUuid nameSpace(QStringLiteral("{3b0f6d52-9c1e-4a57-8d2e-5a4c7e1f0b93}"));
    return QUuid::createUuidV5(nameSpace, name).toString(QUuid::WithBraces).toUpper();
}

}  // namespace platform
