// The main window's side of the batch contract: opening and transport are the playback's.
#include "app/ufrmMain.h"
#include "media/ufrmMainPlayback.h"

namespace {

TMainPlayback& Playback(TfrmMain* form)
{
    form->ConnectOpeningAndTransport();  // creates the playback once
    return *TMainPlayback::of(form);
}

// The playback that opening starts would move on while the worker's next step waits in the message
// loop; held at the first frame, thumbnail k lies exactly at max(SkipFront, 0) + (k - 1) x StepMs.
void HoldFirstFrame(TMainPlayback& playback)
{
    playback.FilterGraph.pause();
    if (playback.MediaSeeking)  // none when the graph gave no seeking (already reported)
        playback.MediaSeeking->setPositions(0, media::Positioning::Absolute);
    playback.WaitForGraphState();
    playback.ShowPosition(0);
    playback.SyncSlider();
    playback.UpdatePlayButton();
}

}  // namespace

// Only the batch worker opens through here; the window's own "Open" goes to the playback directly.
bool TfrmMain::OpenVideoFile(const QString& fileName)
{
    TMainPlayback& playback = Playback(this);
    if (!playback.OpenVideoFile(fileName))
        return false;
    HoldFirstFrame(playback);
    return true;
}

int TfrmMain::SkipMilliseconds(int64_t distanceMs, int64_t endMarginMs)
{
    return Playback(this).SkipMilliseconds(distanceMs, endMarginMs);
}

void TfrmMain::SkipFrames(int32_t frames)
{
    Playback(this).SkipFrames(frames);
}

int64_t TfrmMain::GetDuration()
{
    return Playback(this).GetDuration();
}

void TfrmMain::PreviousChapter()
{
    Playback(this).PreviousChapter();
}
