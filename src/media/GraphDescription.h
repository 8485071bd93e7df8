#pragma once

#include <QString>
#include <memory>
#include <vector>

namespace media {

// Class ids of the graph's own filters (those of the platform filters whose roles they play).
namespace clsid {
inline const QString FileSource = QStringLiteral("{E436EBB5-524F-11CE-9F53-0020AF0BA770}");
inline const QString SampleGrabber = QStringLiteral("{C1F400A0-3F08-11D3-9F0B-006008039E37}");
inline const QString VideoRenderer = QStringLiteral("{70E102B0-5556-11CE-97C0-00AA0055595A}");
inline const QString VideoMixingRenderer9 = QStringLiteral("{51B4ABF3-748F-4E3B-A276-C828330E926A}");
inline const QString ColorSpaceConverter = QStringLiteral("{1643E180-90F5-11CE-97D5-00AA0055595A}");
inline const QString AudioRenderer = QStringLiteral("{79376820-07D0-11CF-A24D-0020AFD79767}");
}  // namespace clsid

enum class PinDirection { Input, Output };

struct Filter;

struct Pin {
    QString name;
    PinDirection direction = PinDirection::Input;
    QString mediaType;  // e.g. "Video mpeg4 640x480", empty while unconnected
    Filter* owner = nullptr;
    Pin* connectedTo = nullptr;
};

struct Filter {
    QString name;
    QString classId;
    QString libraryPath;
    std::vector<std::unique_ptr<Pin>> pins;

    Pin* addPin(const QString& pinName, PinDirection direction);
};

// The filters, pins and connections of the graph that plays: thin descriptive objects built when a
// file is rendered, for the windows that show the graph.
class GraphDescription {
public:
    // Adds a filter and registers its class with the component registry.
    Filter* addFilter(const QString& name, const QString& classId, const void* codeAddress);
    static void connect(Pin* output, Pin* input, const QString& mediaType);
    const std::vector<std::unique_ptr<Filter>>& filters() const { return filters_; }
    const Filter* findByClassId(const QString& classId) const;
    void clear() { filters_.clear(); }

private:
    std::vector<std::unique_ptr<Filter>> filters_;
};

// Registers every filter class the graph can build: its own and each FFmpeg demuxer and decoder.
void registerGraphComponents();

}  // namespace media
