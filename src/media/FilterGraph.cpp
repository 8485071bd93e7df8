#include "media/FilterGraph.h"

#include "media/AudioRenderer.h"
#include "media/MediaError.h"
#include "media/SampleGrabber.h"
#include "media/VideoWindow.h"

#include <QFileInfo>
#include <algorithm>

namespace media {

FilterGraph::FilterGraph(QObject* parent) : QObject(parent) {}

FilterGraph::~FilterGraph()
{
    session_.reset();
    if (window_)
        window_->setFilterGraph(nullptr);
    while (!components_.empty())
        components_.back()->setFilterGraph(nullptr);
}

void FilterGraph::setActive(bool active)
{
    if (!active)
        clearGraph();
    active_ = active;
}

void FilterGraph::requireActive() const
{
    if (!active_)
        throw EMediaError::fromCode(E_UNEXPECTED_GRAPH);
}

void FilterGraph::renderFile(const QString& path)
{
    requireActive();
    clearGraph();
    const std::optional<AudioFormat> audio = AudioRenderer::deviceFormat();
    std::unique_ptr<MediaDecoder> decoder = MediaDecoder::open(path, blockFilters_ ? refused_ : QStringList(), audio);
    videoSize_ = decoder->hasVideo() ? decoder->videoSize() : QSize();
    describe(*decoder, path);
    session_ = std::make_shared<PlaybackSession>(std::move(decoder), [this](const QImage& frame) { present(frame); });
    session_->setGain(volumeGain(volume_));
    connect(session_.get(), &PlaybackSession::complete, this, &FilterGraph::graphComplete);
}

void FilterGraph::play()
{
    requireActive();
    if (session_)
        session_->run();
}

void FilterGraph::pause()
{
    requireActive();
    if (session_)
        session_->pause();
}

void FilterGraph::stop()
{
    requireActive();
    if (session_)
        session_->stop();
}

GraphState FilterGraph::state() const
{
    if (!active_)
        return GraphState::Uninitialised;
    return session_ ? session_->state() : GraphState::Stopped;
}

bool FilterGraph::getState(std::chrono::milliseconds timeout, GraphState& state)
{
    const bool complete = !session_ || session_->waitForState(timeout);
    state = this->state();
    return complete;
}

void FilterGraph::setVolume(int volume)
{
    volume_ = std::clamp(volume, 0, 10000);
    if (session_)
        session_->setGain(volumeGain(volume_));
}

uint32_t FilterGraph::seekCapabilities() const
{
    uint32_t capabilities = 0;
    if (const auto seeking = querySeeking())
        seeking->getCapabilities(capabilities);
    return capabilities;
}

void FilterGraph::clearGraph()
{
    session_.reset();
    description_.clear();
    videoSize_ = QSize();
}

std::shared_ptr<MediaSeeking> FilterGraph::querySeeking() const
{
    return session_ ? std::make_shared<MediaSeeking>(session_) : nullptr;
}

void FilterGraph::attachVideoWindow(VideoWindow* window)
{
    if (window_ && window_ != window)
        window_->setFilterGraph(nullptr);
    window_ = window;
}

void FilterGraph::detachVideoWindow(VideoWindow* window)
{
    if (window_ == window)
        window_ = nullptr;
}

void FilterGraph::attachComponent(GraphComponent* component)
{
    components_.push_back(component);
}

void FilterGraph::detachComponent(GraphComponent* component)
{
    components_.erase(std::remove(components_.begin(), components_.end(), component), components_.end());
}

GraphComponent* FilterGraph::component(GraphComponent::Kind kind) const
{
    for (GraphComponent* candidate : components_) {
        if (candidate->kind() == kind)
            return candidate;
    }
    return nullptr;
}

void FilterGraph::present(const QImage& frame)
{
    if (auto* grabber = static_cast<SampleGrabber*>(component(GraphComponent::Kind::SampleGrabber)))
        grabber->receive(frame);
    if (window_)
        window_->present(frame);
}

// The filters that play the file, as the graph information windows show them.
void FilterGraph::describe(const MediaDecoder& decoder, const QString& path)
{
    Filter* source = description_.addFilter(QFileInfo(path).fileName(), clsid::FileSource,
                                            reinterpret_cast<const void*>(&registerGraphComponents));
    Pin* sourceOut = source->addPin(QStringLiteral("Output"), PinDirection::Output);
    Filter* demuxer = description_.addFilter(QStringLiteral("FFmpeg Demultiplexer (%1)").arg(decoder.demuxerName()),
                                             demuxerClassId(decoder.demuxerName()), decoder.demuxer());
    GraphDescription::connect(sourceOut, demuxer->addPin(QStringLiteral("Input"), PinDirection::Input),
                              QStringLiteral("Stream"));
    if (const auto& video = decoder.videoChoice()) {
        Filter* videoDecoder = description_.addFilter(QStringLiteral("FFmpeg Video Decoder (%1)").arg(video->codecName),
                                                      decoderClassId(video->codec), video->codec);
        GraphDescription::connect(demuxer->addPin(QStringLiteral("Video"), PinDirection::Output),
                                  videoDecoder->addPin(QStringLiteral("Input"), PinDirection::Input),
                                  QStringLiteral("Video %1").arg(video->codecName));
        Pin* upstream = videoDecoder->addPin(QStringLiteral("Output"), PinDirection::Output);
        const QString rgb = QStringLiteral("Video RGB32 %1x%2").arg(videoSize_.width()).arg(videoSize_.height());
        auto chain = [&](const QString& name, const QString& id) {
            Filter* filter = description_.addFilter(name, id, reinterpret_cast<const void*>(&registerGraphComponents));
            GraphDescription::connect(upstream, filter->addPin(QStringLiteral("Input"), PinDirection::Input), rgb);
            upstream = filter->addPin(QStringLiteral("Output"), PinDirection::Output);
        };
        if (component(GraphComponent::Kind::ColorSpaceConverter))
            chain(QStringLiteral("Color Space Converter"), clsid::ColorSpaceConverter);
        if (component(GraphComponent::Kind::SampleGrabber))
            chain(QStringLiteral("SampleGrabber"), clsid::SampleGrabber);
        const bool mixing = window_ && window_->mode() == VideoWindow::Mode::VMR;
        Filter* renderer = description_.addFilter(mixing ? QStringLiteral("Video Mixing Renderer 9") : QStringLiteral("Video Renderer"),
                                                  mixing ? clsid::VideoMixingRenderer9 : clsid::VideoRenderer,
                                                  reinterpret_cast<const void*>(&registerGraphComponents));
        GraphDescription::connect(upstream, renderer->addPin(QStringLiteral("Input"), PinDirection::Input), rgb);
    }
    if (const auto& audio = decoder.audioChoice()) {
        Filter* audioDecoder = description_.addFilter(QStringLiteral("FFmpeg Audio Decoder (%1)").arg(audio->codecName),
                                                      decoderClassId(audio->codec), audio->codec);
        GraphDescription::connect(demuxer->addPin(QStringLiteral("Audio"), PinDirection::Output),
                                  audioDecoder->addPin(QStringLiteral("Input"), PinDirection::Input),
                                  QStringLiteral("Audio %1").arg(audio->codecName));
        Filter* renderer = description_.addFilter(QStringLiteral("Audio Renderer"), clsid::AudioRenderer,
                                                  reinterpret_cast<const void*>(&registerGraphComponents));
        GraphDescription::connect(audioDecoder->addPin(QStringLiteral("Output"), PinDirection::Output),
                                  renderer->addPin(QStringLiteral("In"), PinDirection::Input), QStringLiteral("Audio PCM"));
    }
}

}  // namespace media
