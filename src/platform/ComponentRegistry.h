#pragma once

#include <QString>
#include <mutex>
#include <optional>
#include <vector>

namespace platform {

// One registered component class: every filter class of the playback graph (our own, and each FFmpeg
// demuxer and decoder under a stable name-based class id) with the library that holds it.
struct ComponentClass {
    QString classId;      // "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}"
    QString name;
    QString libraryPath;  // the in-process server path
};

// Stands in for the system's component registry (class id -> in-process server). Process-wide like
// the registry it replaces; tests fill it and clear it.
class ComponentRegistry {
public:
    static ComponentRegistry& instance();

    void registerClass(const ComponentClass& component);
    void unregisterClass(const QString& classId);
    // Class ids compare without regard to case.
    std::optional<ComponentClass> find(const QString& classId) const;
    std::vector<ComponentClass> all() const;
    void clear();

private:
    mutable std::mutex mutex_;  // the playback graph may register from its own thread
    std::vector<ComponentClass> classes_;
};

// Path of the shared object (or program) that holds `address`, found with dladdr; empty if none.
QString libraryPathOf(const void* address);

// A stable class id derived from a name, so the same FFmpeg component has the same id on every run.
QString classIdFromName(const QString& name);

}  // namespace platform
