#include "media/AudioRenderer.h"

#include <QAudioDevice>
#include <QAudioSink>
#include <QMediaDevices>
#include <algorithm>
#include <cmath>

namespace media {

double volumeGain(int volume)
{
    return std::pow(10.0, (std::clamp(volume, 0, 10000) - 10000) / 2000.0);
}

void applyGain(QByteArray& pcm, double gain)
{
    auto* samples = reinterpret_cast<int16_t*>(pcm.data());
    const qsizetype count = pcm.size() / 2;
    for (qsizetype i = 0; i < count; ++i)
        samples[i] = static_cast<int16_t>(std::clamp(std::lround(samples[i] * gain), -32768L, 32767L));
}

std::optional<AudioFormat> AudioRenderer::deviceFormat()
{
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull())
        return std::nullopt;
    const QAudioFormat preferred = device.preferredFormat();
    AudioFormat format;
    if (preferred.sampleRate() > 0)
        format.sampleRate = preferred.sampleRate();
    return format;
}

AudioRenderer::AudioRenderer(AudioFormat format) : format_(format)
{
    QAudioFormat qtFormat;
    qtFormat.setSampleRate(format.sampleRate);
    qtFormat.setChannelCount(format.channels);
    qtFormat.setSampleFormat(QAudioFormat::Int16);
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull() || !device.isFormatSupported(qtFormat))
        return;
    sink_ = std::make_unique<QAudioSink>(device, qtFormat);
    device_ = sink_->start();  // null without a sound server: silent playback
}

AudioRenderer::~AudioRenderer()
{
    if (sink_)
        sink_->stop();
}

bool AudioRenderer::wantsMore() const
{
    const qsizetype halfSecond = format_.sampleRate * format_.channels;
    return device_ && pending_.size() < halfSecond;
}

void AudioRenderer::queue(std::deque<AudioChunk> chunks, double gain)
{
    if (!device_)
        return;
    for (AudioChunk& chunk : chunks) {
        applyGain(chunk.pcm, gain);
        pending_.append(chunk.pcm);
    }
    pump();
}

void AudioRenderer::pump()
{
    if (!device_ || pending_.isEmpty())
        return;
    const qsizetype room = std::min<qsizetype>(sink_->bytesFree(), pending_.size());
    const qint64 written = room > 0 ? device_->write(pending_.constData(), room) : 0;
    if (written > 0)
        pending_.remove(0, written);
}

void AudioRenderer::suspend()
{
    if (device_)
        sink_->suspend();
}

void AudioRenderer::resume()
{
    if (device_)
        sink_->resume();
}

void AudioRenderer::flush()
{
    pending_.clear();
    if (device_) {
        sink_->reset();
        device_ = sink_->start();
    }
}

}  // namespace media
