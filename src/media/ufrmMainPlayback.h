#pragma once

#include "media/FilterGraph.h"
#include "media/SampleGrabber.h"
#include "media/VideoWindow.h"

#include <QObject>
#include <QTimer>
#include <cstdint>
#include <memory>

class TfrmMain;
class TfrmVideoMode;

// The main window's playback: its graph, renderers and the operations of opening a video and of
// transport and seeking. A child object of the window, created by ConnectOpeningAndTransport.
class TMainPlayback : public QObject {
    Q_OBJECT
public:
    explicit TMainPlayback(TfrmMain& form);
    ~TMainPlayback() override;
    static TMainPlayback* of(const TfrmMain* form);
    // "E&xit" and the window's destruction: stops, clears and deactivates the graph (its streaming
    // thread ends here); the window's state, VideoOpen included, stays for the settings it writes.
    void ReleaseGraph();

    media::FilterGraph FilterGraph;
    media::VideoWindow* VideoWindow = nullptr;  // fills the window's video area
    media::SampleGrabber SampleGrabber;
    media::FilterColorSpaceConverter FilterColorSpaceConverter;
    std::shared_ptr<media::MediaSeeking> MediaSeeking;
    TfrmVideoMode* frmVideoMode = nullptr;

    // Opening
    bool OpenVideoFile(const QString& fileName);
    void CloseVideo();
    bool BuildFileGraph(const QString& fileName);

    // Transport and seeking. SkipMilliseconds codes: 0 moved, 1 clamped, 2 failed (reported).
    int SkipMilliseconds(int64_t distanceMs, int64_t endMarginMs);
    void SkipFrames(int32_t count);
    int64_t GetDuration();
    void PreviousChapter();
    void NextChapter();
    void UpdatePlayButton(media::GraphState state = media::GraphState::Uninitialised);
    void ShowPosition(int64_t milliseconds);
    void SyncSlider();
    void WaitForGraphState();
    int GetVolumeLevel() const;

    // Handlers
    void btnOpenClick();
    void btnPlayClick();
    void ToolButton3Click();
    void ToolButton2Click();
    void btnBackClick();
    void btnForwardClick();
    void tbVolumeChange();
    void ChangeVideoMode1Click();
    void FilterGraphGraphComplete();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void connectControls();
    void sizeVideoPanel();
    void followOpenDialog();
    void sliderTick();
    void seekFromSlider();
    QString renderFailureMessage(const QString& fourCC, const QString& error) const;

    TfrmMain& form_;
    QTimer sliderTimer_;
    bool sliderHeld_ = false;
};
