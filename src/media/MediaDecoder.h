#pragma once

#include <QSize>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>

struct AVFormatContext;
struct AVCodecContext;
struct AVFrame;
struct AVPacket;
struct SwrContext;
struct AVCodec;

namespace media {

// Media time: 100 ns units, 0 = the start of the media.
using MediaTime = int64_t;
constexpr MediaTime kUnitsPerSecond = 10'000'000;

struct FrameDeleter {
    void operator()(AVFrame* frame) const;
};
using FramePtr = std::unique_ptr<AVFrame, FrameDeleter>;

struct VideoFrame {
    FramePtr frame;
    MediaTime time = 0;
    bool first = false;  // the stream's very first frame (shown from position 0 on)
};

struct AudioChunk {
    MediaTime time = 0;
    QByteArray pcm;  // interleaved signed 16-bit
};

// The PCM layout audio is resampled to (the audio device's format).
struct AudioFormat {
    int sampleRate = 48000;
    int channels = 2;
};

// What a build chose, for the graph's descriptive filters.
struct StreamChoice {
    QString codecName;     // FFmpeg decoder name
    QString codecLongName;
    const AVCodec* codec = nullptr;
};

// The FFmpeg side of one open file: format context, decoders, resampler. Not thread-safe: it is
// built on the GUI thread, then owned by the streaming thread alone.
class MediaDecoder {
public:
    // Opens and probes; decoders whose class id (see decoderClassId) is in `refused` are skipped for
    // the next candidate. Without `audio`, audio packets are discarded. Throws EMediaError.
    static std::unique_ptr<MediaDecoder> open(const QString& path, const QStringList& refused,
                                              std::optional<AudioFormat> audio);
    ~MediaDecoder();

    bool hasVideo() const { return videoIndex_ >= 0; }
    bool hasAudio() const { return audioIndex_ >= 0; }
    bool decodesAudio() const { return audioCodec_ != nullptr; }
    QSize videoSize() const { return videoSize_; }
    MediaTime duration() const { return duration_; }
    bool seekable() const;
    QString demuxerName() const;
    const void* demuxer() const;  // the FFmpeg demuxer, for the library that holds it
    const std::optional<StreamChoice>& videoChoice() const { return videoChoice_; }
    const std::optional<StreamChoice>& audioChoice() const { return audioChoice_; }
    std::optional<AudioFormat> audioFormat() const { return audioFormat_; }

    // Next video frame in presentation order; null at the end of the stream.
    std::optional<VideoFrame> nextVideoFrame();
    // Audio decoded so far (while reading video, or read on demand for audio-only files).
    std::deque<AudioChunk>& audioChunks() { return audio_; }
    // Reads on until an audio chunk is ready; false at the end of the stream.
    bool readAudio();

    // Moves the demultiplexer to the keyframe at or before `time` (best effort) and flushes.
    void seek(MediaTime time);
    // Whether the keyframe at or before `to` lies at or before `from`: decoding on from `from`
    // then reaches `to` without passing a keyframe a seek would have used.
    bool sameKeyframe(MediaTime from, MediaTime to) const;
    bool atEnd() const { return ended_; }

private:
    MediaDecoder() = default;
    void openInput(const QString& path);
    void chooseStreams(const QStringList& refused);
    bool seekableInput() const;
    void probeVideoEnd();
    void findOrigin();
    void computeDuration();
    bool step();  // reads and decodes one packet; false at the end
    void receiveVideo();
    void receiveAudio();
    void flushDecoders();
    void restart(bool atStart);  // decoder state after the demultiplexer moved
    MediaTime toMediaTime(int64_t ts, int streamIndex) const;
    int64_t toStreamTs(MediaTime time, int streamIndex) const;

    AVFormatContext* format_ = nullptr;
    AVCodecContext* videoCodec_ = nullptr;
    AVCodecContext* audioCodec_ = nullptr;
    SwrContext* resampler_ = nullptr;
    AVPacket* packet_ = nullptr;
    AVFrame* scratch_ = nullptr;
    int videoIndex_ = -1;
    int audioIndex_ = -1;
    QSize videoSize_;
    MediaTime duration_ = 0;
    MediaTime origin_ = 0;    // the stream time that is position 0
    MediaTime videoEnd_ = 0;  // where the last picture ends (stream time), when probed
    std::optional<AudioFormat> audioFormat_;
    std::optional<StreamChoice> videoChoice_;
    std::optional<StreamChoice> audioChoice_;
    std::deque<VideoFrame> video_;
    std::deque<AudioChunk> audio_;
    MediaTime lastVideoTime_ = -1;
    MediaTime frameDuration_ = 400'000;
    bool ended_ = false;
    bool afterSeek_ = false;
    bool firstFramePending_ = true;
};

// Stable class id of an FFmpeg decoder, as the component registry and the refused list know it.
QString decoderClassId(const AVCodec* codec);
QString demuxerClassId(const QString& demuxerName);

}  // namespace media
