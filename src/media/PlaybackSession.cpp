#include "media/PlaybackSession.h"

#include <algorithm>

namespace media {

namespace {
constexpr int kTickMs = 10;
}

PlaybackSession::PlaybackSession(std::unique_ptr<MediaDecoder> decoder, Presenter presenter)
    : duration_(decoder->duration()),
      seekable_(decoder->seekable()),
      hasVideo_(decoder->hasVideo()),
      presenter_(std::move(presenter))
{
    if (const auto format = decoder->audioFormat(); format && decoder->decodesAudio()) {
        audio_ = std::make_unique<AudioRenderer>(*format);
        audio_->suspend();
    }
    ticker_.setInterval(kTickMs);
    ticker_.setTimerType(Qt::PreciseTimer);
    connect(&ticker_, &QTimer::timeout, this, &PlaybackSession::drain);
    worker_ = std::make_unique<StreamingThread>(std::move(decoder));
    // The first frame is prerolled at once, as a paused graph shows it.
    epoch_ = command(StreamingThread::Command::Seek, 0);
}

PlaybackSession::~PlaybackSession()
{
    worker_.reset();
}

// The GUI side polls while a command is pending or the graph plays, so no call crosses threads.
uint64_t PlaybackSession::command(StreamingThread::Command command, MediaTime time)
{
    lastCommand_ = worker_->post(command, time);
    ticker_.start();
    return lastCommand_;
}

void PlaybackSession::run()
{
    if (state_ == GraphState::Playing)
        return;
    state_ = GraphState::Playing;
    anchorClock();
    if (audio_)
        audio_->resume();
    command(StreamingThread::Command::Run);
    // Playing from the stop position ends the stream at once, however long the streaming thread
    // takes to report it (a paused graph would otherwise never see that report).
    if (completed_ || (duration_ > 0 && position_ >= duration_))
        finish();
}

void PlaybackSession::pause()
{
    state_ = GraphState::Paused;
    if (audio_)
        audio_->suspend();
    command(StreamingThread::Command::Pause);
}

void PlaybackSession::stop()
{
    pause();
    state_ = GraphState::Stopped;
    command(StreamingThread::Command::Stop);
}

bool PlaybackSession::waitForState(std::chrono::milliseconds timeout)
{
    if (!worker_->waitDone(lastCommand_, timeout))
        return false;
    drain();
    return true;
}

void PlaybackSession::setPosition(MediaTime target)
{
    position_ = std::clamp<MediaTime>(target, 0, std::max<MediaTime>(duration_, 0));
    completed_ = false;
    if (audio_)
        audio_->flush();
    epoch_ = command(StreamingThread::Command::Seek, position_);
}

void PlaybackSession::anchorClock()
{
    anchor_ = position_;
    clock_.start();
}

MediaTime PlaybackSession::clock() const
{
    return anchor_ + clock_.nsecsElapsed() / 100;
}

void PlaybackSession::drain()
{
    const bool settled = worker_->done(lastCommand_);  // its preroll, if any, is queued by now
    while (presentNext()) {
    }
    if (state_ != GraphState::Playing) {
        if (settled)
            ticker_.stop();
        return;
    }
    feedAudio();
    if (!hasVideo_ && !completed_)
        position_ = std::min(clock(), duration_);
}

// Presents the oldest output when its time has come; false when there is nothing more to do now.
bool PlaybackSession::presentNext()
{
    const std::optional<StreamOutput> output = worker_->peek();
    if (!output)
        return false;
    if (output->epoch != epoch_) {
        worker_->pop();
        return true;
    }
    if (output->kind == StreamOutput::Kind::Frame && output->preroll) {
        worker_->pop();
        presenter_(output->image);
        if (state_ == GraphState::Playing)
            anchorClock();
        return true;
    }
    if (state_ != GraphState::Playing || completed_)
        return false;
    if (output->kind == StreamOutput::Kind::EndOfStream) {
        if (!hasVideo_ && clock() < duration_)
            return false;
        worker_->pop();
        finish();
        return false;
    }
    if (output->time > clock())
        return false;
    worker_->pop();
    position_ = output->time;
    presenter_(output->image);
    return true;
}

void PlaybackSession::feedAudio()
{
    if (!audio_)
        return;
    if (audio_->wantsMore())
        audio_->queue(worker_->takeAudio(epoch_), gain_);
    else
        audio_->pump();
}

void PlaybackSession::finish()
{
    position_ = duration_;
    completed_ = true;
    // Like any graph event it arrives through the event loop, never inside the call (a wait for the
    // graph's state, a play) that caused it, so the caller's own updates cannot overwrite its effect.
    QMetaObject::invokeMethod(this, &PlaybackSession::complete, Qt::QueuedConnection);
}

}  // namespace media
