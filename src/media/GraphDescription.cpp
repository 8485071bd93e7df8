#include "media/GraphDescription.h"

#include "media/MediaDecoder.h"
#include "platform/ComponentRegistry.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

namespace media {

Pin* Filter::addPin(const QString& pinName, PinDirection direction)
{
    pins.push_back(std::make_unique<Pin>(Pin{pinName, direction, QString(), this, nullptr}));
    return pins.back().get();
}

Filter* GraphDescription::addFilter(const QString& name, const QString& classId, const void* codeAddress)
{
    const QString library = platform::libraryPathOf(codeAddress);
    platform::ComponentRegistry::instance().registerClass({classId, name, library});
    auto filter = std::make_unique<Filter>();
    filter->name = name;
    filter->classId = classId;
    filter->libraryPath = library;
    filters_.push_back(std::move(filter));
    return filters_.back().get();
}

void GraphDescription::connect(Pin* output, Pin* input, const QString& mediaType)
{
    output->connectedTo = input;
    input->connectedTo = output;
    output->mediaType = mediaType;
    input->mediaType = mediaType;
}

const Filter* GraphDescription::findByClassId(const QString& classId) const
{
    for (const auto& filter : filters_) {
        if (filter->classId.compare(classId, Qt::CaseInsensitive) == 0)
            return filter.get();
    }
    return nullptr;
}

void registerGraphComponents()
{
    auto& registry = platform::ComponentRegistry::instance();
    const QString own = platform::libraryPathOf(reinterpret_cast<const void*>(&registerGraphComponents));
    const std::pair<QString, QString> ownClasses[] = {
        {clsid::FileSource, QStringLiteral("File Source (Async.)")},
        {clsid::SampleGrabber, QStringLiteral("SampleGrabber")},
        {clsid::VideoRenderer, QStringLiteral("Video Renderer")},
        {clsid::VideoMixingRenderer9, QStringLiteral("Video Mixing Renderer 9")},
        {clsid::ColorSpaceConverter, QStringLiteral("Color Space Converter")},
        {clsid::AudioRenderer, QStringLiteral("Audio Renderer")},
    };
    for (const auto& [id, name] : ownClasses)
        registry.registerClass({id, name, own});
    void* opaque = nullptr;
    while (const AVInputFormat* demuxer = av_demuxer_iterate(&opaque)) {
        const QString name = QString::fromUtf8(demuxer->name);
        registry.registerClass({demuxerClassId(name), QStringLiteral("FFmpeg Demultiplexer (%1)").arg(name),
                                platform::libraryPathOf(demuxer)});
    }
    opaque = nullptr;
    while (const AVCodec* codec = av_codec_iterate(&opaque)) {
        if (av_codec_is_decoder(codec))
            registry.registerClass({decoderClassId(codec), QStringLiteral("FFmpeg Decoder (%1)").arg(QString::fromUtf8(codec->name)),
                                    platform::libraryPathOf(codec)});
    }
}

}  // namespace media
