#include "media/MediaDecoder.h"

#include "media/MediaError.h"
#include "platform/ComponentRegistry.h"

#include <QFileInfo>
#include <algorithm>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswresample/swresample.h>
}

namespace media {

namespace {

constexpr AVRational kMediaTimeBase{1, static_cast<int>(kUnitsPerSecond)};
constexpr MediaTime kMaxOriginShift = kUnitsPerSecond;  // codec delay, B-frame shift
constexpr int kMaxFramesBeforeKeyframe = 600;

// Software decoders of `id`, FFmpeg's preferred one first.
std::vector<const AVCodec*> decoderCandidates(AVCodecID id)
{
    std::vector<const AVCodec*> candidates;
    if (const AVCodec* preferred = avcodec_find_decoder(id))
        candidates.push_back(preferred);
    void* opaque = nullptr;
    while (const AVCodec* codec = av_codec_iterate(&opaque)) {
        const bool hardware = codec->capabilities & (AV_CODEC_CAP_HARDWARE | AV_CODEC_CAP_HYBRID | AV_CODEC_CAP_EXPERIMENTAL);
        if (codec->id == id && av_codec_is_decoder(codec) && !hardware
            && std::find(candidates.begin(), candidates.end(), codec) == candidates.end())
            candidates.push_back(codec);
    }
    return candidates;
}

AVCodecContext* openDecoder(const AVCodec* codec, const AVCodecParameters* parameters)
{
    AVCodecContext* context = avcodec_alloc_context3(codec);
    if (!context)
        return nullptr;
    context->thread_count = 0;
    if (avcodec_parameters_to_context(context, parameters) < 0 || avcodec_open2(context, codec, nullptr) < 0)
        avcodec_free_context(&context);
    return context;
}

}  // namespace

void FrameDeleter::operator()(AVFrame* frame) const
{
    av_frame_free(&frame);
}

QString decoderClassId(const AVCodec* codec)
{
    return platform::classIdFromName(QStringLiteral("FFmpeg decoder ") + QString::fromUtf8(codec->name));
}

QString demuxerClassId(const QString& demuxerName)
{
    return platform::classIdFromName(QStringLiteral("FFmpeg demuxer ") + demuxerName);
}

std::unique_ptr<MediaDecoder> MediaDecoder::open(const QString& path, const QStringList& refused,
                                                 std::optional<AudioFormat> audio)
{
    std::unique_ptr<MediaDecoder> decoder(new MediaDecoder);
    decoder->audioFormat_ = audio;
    decoder->openInput(path);
    if (refused.contains(demuxerClassId(decoder->demuxerName()), Qt::CaseInsensitive))
        throw EMediaError::fromCode(VFW_E_CANNOT_RENDER);
    decoder->chooseStreams(refused);
    decoder->probeVideoEnd();
    decoder->findOrigin();
    decoder->computeDuration();
    return decoder;
}

MediaDecoder::~MediaDecoder()
{
    video_.clear();
    av_frame_free(&scratch_);
    av_packet_free(&packet_);
    swr_free(&resampler_);
    avcodec_free_context(&videoCodec_);
    avcodec_free_context(&audioCodec_);
    avformat_close_input(&format_);
}

void MediaDecoder::openInput(const QString& path)
{
    // A folder is no media file; pipes are (unseekable ones).
    const QFileInfo info(path);
    if (!info.exists() || info.isDir())
        throw EMediaError::fromCode(VFW_E_NOT_FOUND);
    const QByteArray local = path.toLocal8Bit();
    if (int result = avformat_open_input(&format_, local.constData(), nullptr, nullptr); result < 0)
        throw EMediaError::fromAv(result);
    if (int result = avformat_find_stream_info(format_, nullptr); result < 0)
        throw EMediaError::fromAv(result);
    packet_ = av_packet_alloc();
    scratch_ = av_frame_alloc();
    if (!packet_ || !scratch_)
        throw EMediaError::fromAv(AVERROR(ENOMEM));
}

void MediaDecoder::chooseStreams(const QStringList& refused)
{
    // Each stream type takes the first decoder that is not refused and opens.
    auto choose = [&](AVMediaType type, int& index, AVCodecContext*& context, std::optional<StreamChoice>& choice) {
        index = av_find_best_stream(format_, type, -1, -1, nullptr, 0);
        if (index < 0) {
            index = -1;
            return;
        }
        const AVCodecParameters* parameters = format_->streams[index]->codecpar;
        for (const AVCodec* codec : decoderCandidates(parameters->codec_id)) {
            if (refused.contains(decoderClassId(codec), Qt::CaseInsensitive))
                continue;
            if ((context = openDecoder(codec, parameters))) {
                choice = StreamChoice{QString::fromUtf8(codec->name), QString::fromUtf8(codec->long_name), codec};
                return;
            }
        }
    };
    choose(AVMEDIA_TYPE_VIDEO, videoIndex_, videoCodec_, videoChoice_);
    choose(AVMEDIA_TYPE_AUDIO, audioIndex_, audioCodec_, audioChoice_);
    // Attached cover pictures are no video.
    if (videoIndex_ >= 0 && (format_->streams[videoIndex_]->disposition & AV_DISPOSITION_ATTACHED_PIC)) {
        avcodec_free_context(&videoCodec_);
        videoChoice_.reset();
        videoIndex_ = -1;
    }
    // A video stream nobody can decode fails the render; an undecodable audio stream is left out.
    const bool videoFailed = videoIndex_ >= 0 && !videoCodec_;
    if (!audioCodec_)
        audioIndex_ = -1;
    if (videoFailed || (videoIndex_ < 0 && audioIndex_ < 0))
        throw EMediaError::fromCode(VFW_E_CANNOT_RENDER);
    for (unsigned i = 0; i < format_->nb_streams; ++i) {
        if (static_cast<int>(i) != videoIndex_ && static_cast<int>(i) != audioIndex_)
            format_->streams[i]->discard = AVDISCARD_ALL;
    }
    if (videoCodec_) {
        videoSize_ = QSize(videoCodec_->width, videoCodec_->height);
        const AVStream* stream = format_->streams[videoIndex_];
        AVRational rate = stream->avg_frame_rate.num > 0 ? stream->avg_frame_rate : stream->r_frame_rate;
        if (rate.num > 0 && rate.den > 0)
            frameDuration_ = av_rescale_q(1, av_inv_q(rate), kMediaTimeBase);
    }
    if (audioCodec_ && audioFormat_) {
        AVChannelLayout layout;
        av_channel_layout_default(&layout, audioFormat_->channels);
        if (swr_alloc_set_opts2(&resampler_, &layout, AV_SAMPLE_FMT_S16, audioFormat_->sampleRate,
                                &audioCodec_->ch_layout, audioCodec_->sample_fmt, audioCodec_->sample_rate, 0, nullptr) < 0
            || swr_init(resampler_) < 0)
            swr_free(&resampler_);
    }
}

// Program and transport streams estimate their duration from a few timestamps, which can end before
// the last picture does; their last packets tell where it really ends.
void MediaDecoder::probeVideoEnd()
{
    constexpr int64_t kTailBytes = 1 << 20;
    const int64_t size = format_->pb ? avio_size(format_->pb) : -1;
    if (!hasVideo() || !(format_->iformat->flags & AVFMT_TS_DISCONT) || !seekableInput() || size <= 0)
        return;
    if (av_seek_frame(format_, -1, std::max<int64_t>(0, size - kTailBytes), AVSEEK_FLAG_BYTE) < 0)
        return;
    // Decoded, since the last pictures' packets can lack a timestamp.
    afterSeek_ = false;
    while (step()) {
        video_.clear();
        audio_.clear();
    }
    if (lastVideoTime_ >= 0)
        videoEnd_ = lastVideoTime_ + frameDuration_;
    av_seek_frame(format_, -1, 0, AVSEEK_FLAG_BYTE);
    restart(true);
}

void MediaDecoder::findOrigin()
{
    origin_ = format_->start_time == AV_NOPTS_VALUE ? 0 : av_rescale_q(format_->start_time, AV_TIME_BASE_Q, kMediaTimeBase);
    if (!hasVideo())
        return;
    // The first picture is the start of the media, even where its timestamp is a little late.
    while (video_.empty() && step()) {
    }
    if (video_.empty())
        throw EMediaError::fromAv(AVERROR_INVALIDDATA);
    const MediaTime shift = video_.front().time;
    if (shift <= 0 || shift > kMaxOriginShift)
        return;
    origin_ += shift;
    for (VideoFrame& frame : video_)
        frame.time -= shift;
    for (AudioChunk& chunk : audio_)
        chunk.time -= shift;
    lastVideoTime_ -= shift;
}

void MediaDecoder::computeDuration()
{
    const MediaTime start = format_->start_time == AV_NOPTS_VALUE ? 0 : av_rescale_q(format_->start_time, AV_TIME_BASE_Q, kMediaTimeBase);
    const MediaTime length = format_->duration == AV_NOPTS_VALUE ? 0 : av_rescale_q(format_->duration, AV_TIME_BASE_Q, kMediaTimeBase);
    const MediaTime end = std::max(length > 0 ? start + length : 0, videoEnd_);
    duration_ = std::max<MediaTime>(0, end - origin_);
}

bool MediaDecoder::seekableInput() const
{
    return format_->pb && (format_->pb->seekable & AVIO_SEEKABLE_NORMAL);
}

bool MediaDecoder::seekable() const
{
    return seekableInput() && duration_ > 0;
}

QString MediaDecoder::demuxerName() const
{
    return QString::fromUtf8(format_->iformat->name);
}

const void* MediaDecoder::demuxer() const
{
    return format_->iformat;
}

MediaTime MediaDecoder::toMediaTime(int64_t ts, int streamIndex) const
{
    return av_rescale_q(ts, format_->streams[streamIndex]->time_base, kMediaTimeBase) - origin_;
}

int64_t MediaDecoder::toStreamTs(MediaTime time, int streamIndex) const
{
    return av_rescale_q(time + origin_, kMediaTimeBase, format_->streams[streamIndex]->time_base);
}

bool MediaDecoder::step()
{
    if (ended_)
        return false;
    if (av_read_frame(format_, packet_) < 0) {
        flushDecoders();
        ended_ = true;
        return false;
    }
    // Damaged packets are skipped, as a decoder would; the stream goes on.
    if (packet_->stream_index == videoIndex_) {
        avcodec_send_packet(videoCodec_, packet_);
        receiveVideo();
    } else if (packet_->stream_index == audioIndex_ && resampler_) {
        avcodec_send_packet(audioCodec_, packet_);
        receiveAudio();
    }
    av_packet_unref(packet_);
    return true;
}

void MediaDecoder::flushDecoders()
{
    if (videoCodec_) {
        avcodec_send_packet(videoCodec_, nullptr);
        receiveVideo();
    }
    if (resampler_) {
        avcodec_send_packet(audioCodec_, nullptr);
        receiveAudio();
    }
}

void MediaDecoder::receiveVideo()
{
    int skipped = 0;
    while (avcodec_receive_frame(videoCodec_, scratch_) >= 0) {
        // After a seek, pictures before the first keyframe lack their references.
        if (afterSeek_ && !scratch_->key_frame && ++skipped < kMaxFramesBeforeKeyframe) {
            av_frame_unref(scratch_);
            continue;
        }
        afterSeek_ = false;
        const int64_t ts = scratch_->best_effort_timestamp;
        MediaTime time = ts == AV_NOPTS_VALUE ? lastVideoTime_ + frameDuration_ : toMediaTime(ts, videoIndex_);
        if (lastVideoTime_ >= 0 && time <= lastVideoTime_)
            time = lastVideoTime_ + frameDuration_;
        lastVideoTime_ = time;
        VideoFrame frame{FramePtr(av_frame_alloc()), time, firstFramePending_};
        av_frame_move_ref(frame.frame.get(), scratch_);
        firstFramePending_ = false;
        video_.push_back(std::move(frame));
    }
}

void MediaDecoder::receiveAudio()
{
    while (avcodec_receive_frame(audioCodec_, scratch_) >= 0) {
        const int64_t ts = scratch_->best_effort_timestamp;
        const int capacity = swr_get_out_samples(resampler_, scratch_->nb_samples);
        AudioChunk chunk;
        chunk.time = ts == AV_NOPTS_VALUE ? (audio_.empty() ? 0 : audio_.back().time) : toMediaTime(ts, audioIndex_);
        chunk.pcm.resize(capacity * audioFormat_->channels * 2);
        auto* out = reinterpret_cast<uint8_t*>(chunk.pcm.data());
        const int samples = swr_convert(resampler_, &out, capacity,
                                        const_cast<const uint8_t**>(scratch_->extended_data), scratch_->nb_samples);
        av_frame_unref(scratch_);
        if (samples <= 0)
            continue;
        chunk.pcm.resize(samples * audioFormat_->channels * 2);
        audio_.push_back(std::move(chunk));
    }
}

std::optional<VideoFrame> MediaDecoder::nextVideoFrame()
{
    if (!hasVideo())
        return std::nullopt;
    while (video_.empty() && step()) {
    }
    if (video_.empty())
        return std::nullopt;
    VideoFrame frame = std::move(video_.front());
    video_.pop_front();
    return frame;
}

bool MediaDecoder::readAudio()
{
    while (audio_.empty() && step()) {
    }
    return !audio_.empty();
}

void MediaDecoder::seek(MediaTime time)
{
    const int index = hasVideo() ? videoIndex_ : audioIndex_;
    int result = -1;
    if (time > 0) {
        const int64_t ts = toStreamTs(time, index);
        result = av_seek_frame(format_, index, ts, AVSEEK_FLAG_BACKWARD);
        if (result < 0)
            result = avformat_seek_file(format_, index, INT64_MIN, ts, ts, 0);
    }
    if (result < 0) {
        const int64_t start = format_->start_time == AV_NOPTS_VALUE ? 0 : format_->start_time;
        if (avformat_seek_file(format_, -1, INT64_MIN, start, start, 0) < 0)
            av_seek_frame(format_, -1, 0, AVSEEK_FLAG_BYTE);
    }
    restart(time <= 0);
}

void MediaDecoder::restart(bool atStart)
{
    if (videoCodec_)
        avcodec_flush_buffers(videoCodec_);
    if (audioCodec_)
        avcodec_flush_buffers(audioCodec_);
    video_.clear();
    audio_.clear();
    ended_ = false;
    afterSeek_ = true;
    firstFramePending_ = atStart;
    lastVideoTime_ = -1;
}

bool MediaDecoder::sameKeyframe(MediaTime from, MediaTime to) const
{
    constexpr MediaTime kAlwaysDecode = kUnitsPerSecond;       // cheaper than any seek
    constexpr MediaTime kWithoutIndex = 5 * kUnitsPerSecond;   // program streams: short groups
    if (to < from)
        return false;
    if (to - from <= kAlwaysDecode)
        return true;
    AVStream* stream = format_->streams[videoIndex_];
    if (avformat_index_get_entries_count(stream) == 0)
        return to - from <= kWithoutIndex;
    const AVIndexEntry* entry = avformat_index_get_entry_from_timestamp(stream, toStreamTs(to, videoIndex_), AVSEEK_FLAG_BACKWARD);
    return !entry || entry->timestamp <= toStreamTs(from, videoIndex_);
}

}  // namespace media
