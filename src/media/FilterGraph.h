#pragma once

#include "media/GraphDescription.h"
#include "media/MediaSeeking.h"
#include "media/PlaybackSession.h"
#include "media/SampleGrabber.h"

#include <QObject>
#include <QSize>
#include <QStringList>
#include <chrono>
#include <memory>
#include <vector>

namespace media {

class VideoWindow;

// The playback graph: file source -> demultiplexer -> decoders -> [colour space converter] ->
// [sample grabber] -> video renderer; audio decoder -> audio renderer. Lives on the GUI thread.
// Failing calls throw EMediaError.
class FilterGraph : public QObject {
    Q_OBJECT
public:
    enum class Mode { Normal, Dvd };

    explicit FilterGraph(QObject* parent = nullptr);
    ~FilterGraph() override;

    // On: a fresh, empty graph. Off: the graph and everything rendered into it are released.
    void setActive(bool active);
    bool active() const { return active_; }
    void setMode(Mode mode) { mode_ = mode; }
    Mode mode() const { return mode_; }

    // Class ids ("{...}", any case) of components the graph builder must not use while BlockFilters is on.
    void setRefusedClassIds(const QStringList& ids) { refused_ = ids; }
    void setBlockFilters(bool block) { blockFilters_ = block; }

    // Builds the graph that plays `path` with the window and components attached now.
    void renderFile(const QString& path);
    void play();
    void pause();
    void stop();
    GraphState state() const;
    // The state, once a pending change (or seek) completes; false when the time-out passes first.
    bool getState(std::chrono::milliseconds timeout, GraphState& state);

    // 0..10000; the audio renderer gets level - 10000 hundredths of a decibel.
    void setVolume(int volume);
    int volume() const { return volume_; }
    uint32_t seekCapabilities() const;
    // Stops and removes every filter rendered; the attached window and components stay attached.
    void clearGraph();

    // The seeking interface of the file rendered now; null when there is none.
    std::shared_ptr<MediaSeeking> querySeeking() const;
    // The native video size (IBasicVideo); empty without video.
    QSize videoSize() const { return videoSize_; }
    const GraphDescription& description() const { return description_; }
    // How often the demultiplexer was moved since the file was rendered (diagnostics, tests).
    int demuxerSeekCount() const { return session_ ? session_->demuxerSeeks() : 0; }

    // Called by the attached parts themselves.
    void attachVideoWindow(VideoWindow* window);
    void detachVideoWindow(VideoWindow* window);
    void attachComponent(GraphComponent* component);
    void detachComponent(GraphComponent* component);

signals:
    // The end of the stream was presented (EC_COMPLETE).
    void graphComplete();

private:
    void requireActive() const;
    GraphComponent* component(GraphComponent::Kind kind) const;
    void describe(const MediaDecoder& decoder, const QString& path);
    void present(const QImage& frame);

    bool active_ = false;
    Mode mode_ = Mode::Normal;
    bool blockFilters_ = true;
    QStringList refused_;
    int volume_ = 10000;
    QSize videoSize_;
    VideoWindow* window_ = nullptr;
    std::vector<GraphComponent*> components_;
    GraphDescription description_;
    std::shared_ptr<PlaybackSession> session_;
};

}  // namespace media
