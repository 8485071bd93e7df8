#include "media/MediaDetectorFFmpeg.h"

#include "media/FormatBlockLayout.h"
#include "media/MediaTypeGuids.h"

#include <QFile>
#include <QtEndian>
#include <algorithm>
#include <chrono>
#include <cstring>
#include <vector>

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/pixdesc.h>
}

namespace {

using Clock = std::chrono::steady_clock;
// However a file is damaged, inspecting it ends.
constexpr auto InspectionTimeLimit = std::chrono::seconds(30);

struct FormatContextCloser {
    void operator()(AVFormatContext* context) const { avformat_close_input(&context); }
};
using FormatContextPtr = std::unique_ptr<AVFormatContext, FormatContextCloser>;

// A little-endian structure written field by field at fixed offsets.
class BlockWriter {
public:
    explicit BlockWriter(int size) : block_(size, '\0') {}
    template <typename T>
    void put(int offset, T value)
    {
        qToLittleEndian<T>(value, block_.data() + offset);
    }
    void append(const uint8_t* data, int size) { block_.append(reinterpret_cast<const char*>(data), size); }
    QByteArray take() { return std::move(block_); }

private:
    QByteArray block_;
};

// Untagged raw video is an uncompressed bitmap (0); a codec the RIFF table has no tag for takes its
// QuickTime one rather than reading as uncompressed.
uint32_t videoTag(AVCodecID codec)
{
    if (codec == AV_CODEC_ID_RAWVIDEO)
        return 0;
    const AVCodecTag* const tables[] = {avformat_get_riff_video_tags(), avformat_get_mov_video_tags(), nullptr};
    return av_codec_get_tag(tables, codec);
}

uint32_t audioTag(AVCodecID codec)
{
    const AVCodecTag* const tables[] = {avformat_get_riff_audio_tags(), nullptr};
    return av_codec_get_tag(tables, codec);
}

bool endsWithBottomUp(const AVCodecParameters& par)
{
    static constexpr char marker[] = "BottomUp";
    return par.extradata_size >= int(sizeof marker)
        && memcmp(par.extradata + par.extradata_size - sizeof marker, marker, sizeof marker) == 0;
}

// The AVI demuxer turns a top-down bitmap's negative height positive and marks bottom-up ones.
bool isTopDownBitmap(const AVFormatContext& context, const AVCodecParameters& par, uint32_t compression)
{
    return compression == 0 && par.codec_id == AV_CODEC_ID_RAWVIDEO && strcmp(context.iformat->name, "avi") == 0
        && !endsWithBottomUp(par);
}

uint16_t videoBitCount(const AVCodecParameters& par)
{
    if (par.bits_per_coded_sample > 0)
        return uint16_t(par.bits_per_coded_sample);
    const AVPixFmtDescriptor* pixel = av_pix_fmt_desc_get(AVPixelFormat(par.format));
    return pixel ? uint16_t(av_get_bits_per_pixel(pixel)) : 0;
}

QUuid rgbSubType(uint16_t bitCount)
{
    switch (bitCount) {
    case 8: return mediaguid::SubRGB8;
    case 16: return mediaguid::SubRGB555;
    case 24: return mediaguid::SubRGB24;
    case 32: return mediaguid::SubRGB32;
    }
    return {};
}

struct VideoDescription {
    uint32_t compression;
    int32_t height;
    uint16_t bitCount;
};

VideoDescription describeVideo(const AVFormatContext& context, const AVCodecParameters& par)
{
    const uint32_t compression = par.codec_tag != 0 ? par.codec_tag : videoTag(par.codec_id);
    const int32_t height = isTopDownBitmap(context, par, compression) ? -par.height : par.height;
    return {compression, height, videoBitCount(par)};
}

// Source and target rectangles, bit rate and frame time: the head shared by both video info layouts,
// followed by the bitmap header at `bitmapOffset`.
BlockWriter videoInfoBlock(const AVStream& stream, const VideoDescription& video, int bitmapOffset, int extraSize)
{
    using namespace formatblock;
    const AVCodecParameters& par = *stream.codecpar;
    BlockWriter block(bitmapOffset + BitmapSize + extraSize);
    for (int rect : {RectSource, RectTarget}) {
        block.put<int32_t>(rect + 8, par.width);
        block.put<int32_t>(rect + 12, par.height);
    }
    block.put<uint32_t>(BitRate, uint32_t(std::clamp<int64_t>(par.bit_rate, 0, UINT32_MAX)));
    const AVRational rate = stream.avg_frame_rate;
    if (rate.num > 0 && rate.den > 0)
        block.put<int64_t>(AvgTimePerFrame, av_rescale(10'000'000, rate.den, rate.num));
    const int b = bitmapOffset;
    block.put<uint32_t>(b, BitmapSize);
    block.put<int32_t>(b + BitmapWidth, par.width);
    block.put<int32_t>(b + BitmapHeight, video.height);
    block.put<uint16_t>(b + BitmapPlanes, 1);
    block.put<uint16_t>(b + BitmapBitCount, video.bitCount);
    block.put<uint32_t>(b + BitmapCompression, video.compression);
    if (video.compression == 0)
        block.put<uint32_t>(b + BitmapSizeImage, uint32_t(par.width) * uint32_t(par.height) * video.bitCount / 8);
    return block;
}

bool hasNonSquarePixels(const AVStream& stream)
{
    const AVRational aspect = stream.codecpar->sample_aspect_ratio;
    return aspect.num > 0 && aspect.den > 0 && aspect.num != aspect.den;
}

BlockWriter videoInfo2Block(const AVStream& stream, const VideoDescription& video, int extraSize)
{
    using namespace formatblock;
    BlockWriter block = videoInfoBlock(stream, video, VideoInfo2Bitmap, extraSize);
    const AVCodecParameters& par = *stream.codecpar;
    AVRational picture = {par.width, par.height};
    if (hasNonSquarePixels(stream))
        picture = av_mul_q(picture, par.sample_aspect_ratio);
    av_reduce(&picture.num, &picture.den, picture.num, picture.den, INT32_MAX);
    block.put<uint32_t>(VideoInfo2AspectX, uint32_t(picture.num));
    block.put<uint32_t>(VideoInfo2AspectY, uint32_t(picture.den));
    return block;
}

// MPEG1VIDEOINFO / MPEG2VIDEOINFO: the video info, the start time code, the sequence header's size
// (and for MPEG-2 profile, level and flags), then the sequence header itself.
QByteArray mpegVideoInfo(const AVStream& stream, const VideoDescription& video, bool mpeg2)
{
    using namespace formatblock;
    const AVCodecParameters& par = *stream.codecpar;
    const int fieldsSize = (mpeg2 ? 5 : 2) * 4;
    const int sequenceHeaderSize = (mpeg2 ? VideoInfo2Bitmap : VideoInfoBitmap) + BitmapSize + 4;
    BlockWriter block = mpeg2 ? videoInfo2Block(stream, video, fieldsSize)
                              : videoInfoBlock(stream, video, VideoInfoBitmap, fieldsSize);
    block.put<uint32_t>(sequenceHeaderSize, uint32_t(par.extradata_size));
    block.append(par.extradata, par.extradata_size);
    return block.take();
}

DetectedMediaType videoType(const AVFormatContext& context, const AVStream& stream)
{
    using namespace mediaguid;
    const AVCodecParameters& par = *stream.codecpar;
    const VideoDescription video = describeVideo(context, par);
    const bool untagged = par.codec_tag == 0;
    if (untagged && par.codec_id == AV_CODEC_ID_MPEG1VIDEO)
        return {MajorVideo, SubMPEG1Payload, FormatMPEGVideo, mpegVideoInfo(stream, video, false)};
    if (untagged && par.codec_id == AV_CODEC_ID_MPEG2VIDEO)
        return {MajorVideo, SubMPEG2Video, FormatMPEG2Video, mpegVideoInfo(stream, video, true)};
    const QUuid subType = video.compression == 0 ? rgbSubType(video.bitCount) : fromTag(video.compression);
    if (hasNonSquarePixels(stream))
        return {MajorVideo, subType, FormatVideoInfo2, videoInfo2Block(stream, video, 0).take()};
    return {MajorVideo, subType, FormatVideoInfo,
            videoInfoBlock(stream, video, formatblock::VideoInfoBitmap, 0).take()};
}

uint16_t waveFormatTag(const AVCodecParameters& par)
{
    if (par.codec_tag != 0 && par.codec_tag <= 0xFFFF)
        return uint16_t(par.codec_tag);
    return uint16_t(audioTag(par.codec_id));
}

DetectedMediaType audioType(const AVStream& stream)
{
    using namespace formatblock;
    const AVCodecParameters& par = *stream.codecpar;
    const uint16_t tag = waveFormatTag(par);
    const int bits = par.bits_per_coded_sample > 0 ? par.bits_per_coded_sample : av_get_bits_per_sample(par.codec_id);
    const int extra = std::clamp(par.extradata_size, 0, 0xFFFF);
    BlockWriter block(WaveSize);
    block.put<uint16_t>(WaveTag, tag);
    block.put<uint16_t>(WaveChannels, uint16_t(par.ch_layout.nb_channels));
    block.put<uint32_t>(WaveSamplesPerSec, uint32_t(par.sample_rate));
    block.put<uint32_t>(WaveAvgBytesPerSec, uint32_t(std::clamp<int64_t>(par.bit_rate / 8, 0, UINT32_MAX)));
    block.put<uint16_t>(WaveBlockAlign, uint16_t(par.block_align));
    block.put<uint16_t>(WaveBitsPerSample, uint16_t(bits));
    block.put<uint16_t>(WaveExtraSize, uint16_t(extra));
    block.append(par.extradata, extra);
    const uint32_t subTag = tag != 0 ? tag : par.codec_tag;
    return {mediaguid::MajorAudio, subTag != 0 ? mediaguid::fromTag(subTag) : QUuid(),
            mediaguid::FormatWaveFormatEx, block.take()};
}

DetectedMediaType otherType(const AVStream& stream)
{
    const AVCodecParameters& par = *stream.codecpar;
    const QUuid major = par.codec_type == AVMEDIA_TYPE_SUBTITLE ? mediaguid::MajorText : QUuid();
    return {major, par.codec_tag != 0 ? mediaguid::fromTag(par.codec_tag) : QUuid(), mediaguid::FormatNone, {}};
}

// Cover pictures and attached files are not streams a player would render.
bool isOutputStream(const AVStream& stream)
{
    return stream.codecpar->codec_type != AVMEDIA_TYPE_ATTACHMENT
        && !(stream.disposition & AV_DISPOSITION_ATTACHED_PIC);
}

class FFmpegMediaDetector : public MediaDetector {
public:
    bool setFileName(const QString& fileName) override
    {
        streams_.clear();
        current_ = nullptr;
        context_ = open(fileName);
        if (!context_)
            return false;
        for (unsigned i = 0; i < context_->nb_streams; ++i) {
            if (isOutputStream(*context_->streams[i]))
                streams_.push_back(context_->streams[i]);
        }
        return true;
    }

    std::optional<int> outputStreams() override
    {
        if (!context_)
            return std::nullopt;
        return int(streams_.size());
    }

    bool setCurrentStream(int index) override
    {
        if (index < 0 || index >= int(streams_.size()))
            return false;
        current_ = streams_[size_t(index)];
        return true;
    }

    std::optional<double> streamLength() override
    {
        if (!current_)
            return std::nullopt;
        if (current_->duration != AV_NOPTS_VALUE && current_->duration > 0)
            return double(current_->duration) * av_q2d(current_->time_base);
        if (context_->duration != AV_NOPTS_VALUE && context_->duration > 0)
            return double(context_->duration) / AV_TIME_BASE;
        return std::nullopt;
    }

    std::optional<DetectedMediaType> streamMediaType() override
    {
        if (!current_)
            return std::nullopt;
        switch (current_->codecpar->codec_type) {
        case AVMEDIA_TYPE_VIDEO: return videoType(*context_, *current_);
        case AVMEDIA_TYPE_AUDIO: return audioType(*current_);
        default: return otherType(*current_);
        }
    }

private:
    static int interrupted(void* opaque)
    {
        return Clock::now() > *static_cast<const Clock::time_point*>(opaque) ? 1 : 0;
    }

    // Local files only: a playlist or reference file must not reach out to the network.
    FormatContextPtr open(const QString& fileName)
    {
        deadline_ = Clock::now() + InspectionTimeLimit;
        AVFormatContext* context = avformat_alloc_context();
        if (!context)
            return nullptr;
        context->interrupt_callback = {&FFmpegMediaDetector::interrupted, &deadline_};
        AVDictionary* options = nullptr;
        av_dict_set(&options, "protocol_whitelist", "file", 0);
        const QByteArray url = "file:" + QFile::encodeName(fileName);
        const int opened = avformat_open_input(&context, url.constData(), nullptr, &options);
        av_dict_free(&options);
        if (opened < 0)
            return nullptr;  // the context is freed on failure
        FormatContextPtr owned(context);
        if (avformat_find_stream_info(context, nullptr) < 0)
            return nullptr;
        return owned;
    }

    Clock::time_point deadline_;
    FormatContextPtr context_;
    std::vector<AVStream*> streams_;
    AVStream* current_ = nullptr;
};

}  // namespace

std::unique_ptr<MediaDetector> CreateFFmpegMediaDetector()
{
    return std::make_unique<FFmpegMediaDetector>();
}
