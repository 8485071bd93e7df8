#pragma once

#include "media/AudioRenderer.h"
#include "media/MediaDecoder.h"
#include "media/StreamingThread.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <chrono>
#include <functional>
#include <memory>

namespace media {

enum class GraphState { Uninitialised, Stopped, Paused, Playing };

// The GUI-thread side of one rendered file: it commands the streaming thread and presents the
// frames it delivers against the clock. Presenting a frame is what moves the current position.
class PlaybackSession : public QObject {
    Q_OBJECT
public:
    using Presenter = std::function<void(const QImage&)>;

    PlaybackSession(std::unique_ptr<MediaDecoder> decoder, Presenter presenter);
    ~PlaybackSession() override;

    void run();
    void pause();
    void stop();
    GraphState state() const { return state_; }
    // Waits for the pending state change or seek; false when `timeout` passes first.
    bool waitForState(std::chrono::milliseconds timeout);

    MediaTime position() const { return position_; }
    void setPosition(MediaTime target);
    MediaTime duration() const { return duration_; }
    bool seekable() const { return seekable_; }
    bool hasVideo() const { return hasVideo_; }
    void setGain(double gain) { gain_ = gain; }
    int demuxerSeeks() const { return worker_->demuxerSeeks(); }

signals:
    void complete();

private:
    uint64_t command(StreamingThread::Command command, MediaTime time = 0);
    void drain();
    bool presentNext();
    void feedAudio();
    void anchorClock();
    MediaTime clock() const;
    void finish();

    MediaTime duration_;
    bool seekable_;
    bool hasVideo_;
    Presenter presenter_;
    std::unique_ptr<AudioRenderer> audio_;
    std::unique_ptr<StreamingThread> worker_;  // last: stopped first
    GraphState state_ = GraphState::Stopped;
    MediaTime position_ = 0;
    uint64_t epoch_ = 0;
    uint64_t lastCommand_ = 0;
    bool completed_ = false;
    double gain_ = 1.0;
    MediaTime anchor_ = 0;
    QElapsedTimer clock_;
    QTimer ticker_;
};

}  // namespace media
