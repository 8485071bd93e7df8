#include "media/StreamingThread.h"

#include <algorithm>

extern "C" {
#include <libavutil/frame.h>
#include <libavutil/macros.h>
#include <libavutil/imgutils.h>
#include <libavutil/mem.h>
#include <libswscale/swscale.h>
}

namespace media {

namespace {

constexpr size_t kMaxQueuedFrames = 6;
// Recent frames kept so that backward steps skip the seek: as many as fit in this budget.
constexpr size_t kHistoryBytes = size_t(96) << 20;
constexpr size_t kMinHistoryFrames = 24;
constexpr size_t kMaxHistoryFrames = 125;
constexpr size_t kNone = static_cast<size_t>(-1);
constexpr int kSeekAttempts = 8;

}  // namespace

StreamingThread::StreamingThread(std::unique_ptr<MediaDecoder> decoder) : decoder_(std::move(decoder))
{
    thread_ = std::thread([this] { run(); });
}

StreamingThread::~StreamingThread()
{
    post(Command::Quit);
    thread_.join();
    history_.clear();
    sws_freeContext(converter_);
}

uint64_t StreamingThread::post(Command command, MediaTime time)
{
    uint64_t serial;
    {
        std::lock_guard lock(mutex_);
        serial = nextSerial_++;
        commands_.push_back({command, time, serial});
    }
    workerWake_.notify_one();
    return serial;
}

bool StreamingThread::waitDone(uint64_t serial, std::chrono::milliseconds timeout)
{
    std::unique_lock lock(mutex_);
    return doneWake_.wait_for(lock, timeout, [&] { return doneSerial_ >= serial; });
}

bool StreamingThread::done(uint64_t serial)
{
    std::lock_guard lock(mutex_);
    return doneSerial_ >= serial;
}

std::optional<StreamOutput> StreamingThread::peek()
{
    std::lock_guard lock(mutex_);
    if (outputs_.empty())
        return std::nullopt;
    return outputs_.front();
}

void StreamingThread::pop()
{
    {
        std::lock_guard lock(mutex_);
        if (!outputs_.empty())
            outputs_.pop_front();
    }
    workerWake_.notify_one();
}

std::deque<AudioChunk> StreamingThread::takeAudio(uint64_t epoch)
{
    std::deque<AudioChunk> taken;
    {
        std::lock_guard lock(mutex_);
        if (epoch != epoch_)
            return taken;
        taken.swap(audioOut_);
    }
    workerWake_.notify_one();
    return taken;
}

bool StreamingThread::wantsToProduce() const
{
    constexpr size_t kMaxQueuedAudioChunks = 64;
    return running_ && !ended_ && outputs_.size() < kMaxQueuedFrames && audioOut_.size() < kMaxQueuedAudioChunks;
}

void StreamingThread::run()
{
    for (;;) {
        std::optional<Pending> pending;
        {
            std::unique_lock lock(mutex_);
            workerWake_.wait(lock, [&] { return !commands_.empty() || wantsToProduce(); });
            if (!commands_.empty()) {
                pending = commands_.front();
                commands_.pop_front();
            }
        }
        if (!pending) {
            produce();
            continue;
        }
        if (pending->command == Command::Quit)
            return;
        handle(*pending);
        {
            std::lock_guard lock(mutex_);
            doneSerial_ = pending->serial;
        }
        doneWake_.notify_all();
    }
}

void StreamingThread::handle(const Pending& pending)
{
    if (pending.command == Command::Seek) {
        {
            std::lock_guard lock(mutex_);
            outputs_.clear();
            audioOut_.clear();
            epoch_ = pending.serial;
            ended_ = false;
        }
        seekTo(pending.time);
        return;
    }
    std::lock_guard lock(mutex_);
    running_ = pending.command == Command::Run;
}

void StreamingThread::seekTo(MediaTime target)
{
    audioFrom_ = target;
    if (!decoder_->hasVideo()) {
        decoder_->seek(target);
        ++demuxerSeeks_;
        return;
    }
    const size_t index = frameAt(target);
    if (index == kNone) {
        std::lock_guard lock(mutex_);
        ended_ = true;
        return;
    }
    cursor_ = index + 1;
    const Decoded& frame = history_[index];
    deliver({StreamOutput::Kind::Frame, 0, frame.time, toImage(frame.frame.get()), true});
    auto& chunks = decoder_->audioChunks();
    while (!chunks.empty() && chunks.front().time < target)
        chunks.pop_front();
}

// Index in history_ of the frame on screen at `target`: from what is decoded already, by decoding
// on within the group of pictures, or by a seek.
size_t StreamingThread::frameAt(MediaTime target)
{
    if (!history_.empty() && (history_.front().time <= target || history_.front().first)) {
        const size_t index = lastAtOrBefore(target);
        if (index + 1 < history_.size())
            return index;
        if (decoder_->sameKeyframe(history_.back().time, target))
            return decodeForwardTo(target);
    }
    seekAndDecode(target);
    return history_.empty() ? kNone : lastAtOrBefore(target);
}

// The last decoded frame whose start is not after `target` (the first one if all start later).
size_t StreamingThread::lastAtOrBefore(MediaTime target) const
{
    size_t index = 0;
    while (index + 1 < history_.size() && history_[index + 1].time <= target)
        ++index;
    return index;
}

size_t StreamingThread::decodeForwardTo(MediaTime target)
{
    for (;;) {
        if (!decodeOne())
            return history_.empty() ? kNone : history_.size() - 1;
        if (history_.back().time > target)
            return history_.size() >= 2 ? history_.size() - 2 : 0;
    }
}

bool StreamingThread::decodeOne()
{
    std::optional<VideoFrame> frame = decoder_->nextVideoFrame();
    if (!frame)
        return false;
    const AVFrame* picture = frame->frame.get();
    const int bytes = av_image_get_buffer_size(static_cast<AVPixelFormat>(picture->format), picture->width, picture->height, 1);
    const size_t limit = std::clamp(kHistoryBytes / std::max(bytes, 1), kMinHistoryFrames, kMaxHistoryFrames);
    history_.push_back({std::move(frame->frame), frame->time, frame->first});
    while (history_.size() > limit) {
        history_.pop_front();
        if (cursor_ > 0)
            --cursor_;
    }
    return true;
}

// Seeks to a keyframe before `target` and decodes up to it. Containers without an index can land
// after the target: then it seeks further back, down to the start.
void StreamingThread::seekAndDecode(MediaTime target)
{
    MediaTime backoff = 0;
    for (int attempt = 0; attempt < kSeekAttempts; ++attempt) {
        const MediaTime from = target - backoff;
        backoff = backoff ? backoff * 2 : kUnitsPerSecond;
        decoder_->seek(std::max<MediaTime>(from, 0));
        ++demuxerSeeks_;
        history_.clear();
        cursor_ = 0;
        if (!decodeOne()) {
            if (from <= 0)
                return;
            continue;
        }
        if (history_.front().time > target && !history_.front().first && from > 0)
            continue;
        decodeForwardTo(target);
        return;
    }
}

void StreamingThread::produce()
{
    if (!decoder_->hasVideo()) {
        const bool more = decoder_->readAudio();
        moveAudio();
        if (!more)
            deliver({StreamOutput::Kind::EndOfStream, 0, decoder_->duration(), {}, false});
        return;
    }
    if (cursor_ >= history_.size() && decodeOne())
        cursor_ = history_.size() - 1;
    moveAudio();
    if (cursor_ < history_.size()) {
        const Decoded& frame = history_[cursor_++];
        deliver({StreamOutput::Kind::Frame, 0, frame.time, toImage(frame.frame.get()), false});
        return;
    }
    deliver({StreamOutput::Kind::EndOfStream, 0, decoder_->duration(), {}, false});
}

void StreamingThread::deliver(StreamOutput output)
{
    {
        std::lock_guard lock(mutex_);
        output.epoch = epoch_;
        if (output.kind == StreamOutput::Kind::EndOfStream)
            ended_ = true;
        outputs_.push_back(std::move(output));
    }
}

void StreamingThread::moveAudio()
{
    auto& chunks = decoder_->audioChunks();
    std::lock_guard lock(mutex_);
    while (!chunks.empty()) {
        if (chunks.front().time >= audioFrom_)
            audioOut_.push_back(std::move(chunks.front()));
        chunks.pop_front();
    }
}

QImage StreamingThread::toImage(const AVFrame* frame)
{
    // swscale's vector code writes whole blocks of pixels: rows are padded to 64 bytes and the
    // buffer has slack behind the last row, or widths like 200 run over the end of the picture.
    constexpr int kAlign = 64;
    constexpr size_t kSlack = 256;
    converter_ = sws_getCachedContext(converter_, frame->width, frame->height, static_cast<AVPixelFormat>(frame->format),
                                      frame->width, frame->height, AV_PIX_FMT_RGB32, SWS_BILINEAR, nullptr, nullptr, nullptr);
    if (!converter_ || frame->width <= 0 || frame->height <= 0)
        return QImage();
    const int stride = FFALIGN(frame->width * 4, kAlign);
    auto* pixels = static_cast<uint8_t*>(av_malloc(static_cast<size_t>(stride) * frame->height + kSlack));
    if (!pixels)
        return QImage();
    uint8_t* planes[4] = {pixels, nullptr, nullptr, nullptr};
    int strides[4] = {stride, 0, 0, 0};
    sws_scale(converter_, frame->data, frame->linesize, 0, frame->height, planes, strides);
    return QImage(pixels, frame->width, frame->height, stride, QImage::Format_RGB32, av_free, pixels);
}

}  // namespace media
