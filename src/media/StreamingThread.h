#pragma once

#include "media/MediaDecoder.h"

#include <QImage>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <thread>

struct SwsContext;

namespace media {

// What the streaming thread hands to the renderers, in order.
struct StreamOutput {
    enum class Kind { Frame, EndOfStream };
    Kind kind = Kind::Frame;
    uint64_t epoch = 0;    // the seek it belongs to; older ones are stale
    MediaTime time = 0;
    QImage image;          // 32-bit RGB
    bool preroll = false;  // the frame on screen at a seek's target
};

// The one thread per open graph that demultiplexes and decodes. It owns the MediaDecoder; the GUI
// thread talks to it only through the command queue and the bounded output queues.
class StreamingThread {
public:
    enum class Command { Run, Pause, Stop, Seek, Quit };

    explicit StreamingThread(std::unique_ptr<MediaDecoder> decoder);
    ~StreamingThread();
    StreamingThread(const StreamingThread&) = delete;
    StreamingThread& operator=(const StreamingThread&) = delete;

    // Queues a command; returns its serial number (a seek's serial is its epoch).
    uint64_t post(Command command, MediaTime time = 0);
    // Waits until every command up to `serial` is done; false when `timeout` passes first.
    bool waitDone(uint64_t serial, std::chrono::milliseconds timeout);
    bool done(uint64_t serial);

    // The oldest output, without taking it; then take it.
    std::optional<StreamOutput> peek();
    void pop();
    // Audio ready to play (taken whole).
    std::deque<AudioChunk> takeAudio(uint64_t epoch);
    // How often the demultiplexer was moved (for diagnostics and tests of the seek strategy).
    int demuxerSeeks() const { return demuxerSeeks_.load(); }

private:
    struct Pending {
        Command command;
        MediaTime time;
        uint64_t serial;
    };
    struct Decoded {
        FramePtr frame;
        MediaTime time;
        bool first;
    };

    void run();
    bool wantsToProduce() const;  // under the lock
    void handle(const Pending& pending);
    void seekTo(MediaTime target);
    size_t frameAt(MediaTime target);
    size_t lastAtOrBefore(MediaTime target) const;
    size_t decodeForwardTo(MediaTime target);
    bool decodeOne();
    void seekAndDecode(MediaTime target);
    void produce();
    void deliver(StreamOutput output);
    QImage toImage(const AVFrame* frame);
    void moveAudio();

    std::unique_ptr<MediaDecoder> decoder_;

    // Streaming-thread state.
    std::deque<Decoded> history_;  // recent frames in presentation order; the last is the decoder's newest
    size_t cursor_ = 0;            // next history frame to hand out
    MediaTime audioFrom_ = 0;      // audio before this (a seek's target) is dropped
    SwsContext* converter_ = nullptr;
    uint64_t workingEpoch_ = 0;

    // Shared, under mutex_.
    std::mutex mutex_;
    std::condition_variable workerWake_;
    std::condition_variable doneWake_;
    std::deque<Pending> commands_;
    std::deque<StreamOutput> outputs_;
    std::deque<AudioChunk> audioOut_;
    uint64_t audioEpoch_ = 0;
    uint64_t nextSerial_ = 1;
    uint64_t doneSerial_ = 0;
    bool running_ = false;
    bool ended_ = false;
    uint64_t epoch_ = 0;

    std::atomic<int> demuxerSeeks_{0};
    std::thread thread_;
};

}  // namespace media
