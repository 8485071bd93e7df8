#pragma once

#include "media/MediaDecoder.h"

#include <QByteArray>
#include <deque>
#include <memory>
#include <optional>

class QAudioSink;
class QIODevice;

namespace media {

// Gain for a graph volume of 0..10000: the level minus 10000 in hundredths of a decibel.
double volumeGain(int volume);
// Scales interleaved signed 16-bit samples by `gain`, rounding.
void applyGain(QByteArray& pcm, double gain);

// Audio output on QAudioSink in push mode. Without a device or sound server it stays inactive
// and everything written to it is dropped: playback goes on silently.
class AudioRenderer {
public:
    // The default output device's format, or nothing when there is no device.
    static std::optional<AudioFormat> deviceFormat();

    explicit AudioRenderer(AudioFormat format);
    ~AudioRenderer();

    bool active() const { return device_ != nullptr; }
    bool wantsMore() const;
    void queue(std::deque<AudioChunk> chunks, double gain);
    void pump();  // writes what the device takes now
    void suspend();
    void resume();
    void flush();

private:
    AudioFormat format_;
    std::unique_ptr<QAudioSink> sink_;
    QIODevice* device_ = nullptr;
    QByteArray pending_;
};

}  // namespace media
