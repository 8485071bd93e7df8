// The main window's frame grab: the frame on screen into FullFrame and its fitted preview.
#include "app/uLibPivex.h"
#include "app/ufrmMain.h"
#include "media/ufrmMainPlayback.h"
#include "thumbs/ImageEnView.h"
#include "thumbs/JpegConv.h"

#include <QSlider>

namespace {

const QString kUnableToGrab = QStringLiteral(
    "Unable to grab a snapshot.\r\n"
    "Try changing the video mode\r\n"
    "Select \"Change Video Mode\" from the tools Menu.\r\n"
    "\r\n"
    "Make sure the video is not corrupt and proper codecs are installed");

// The mixing renderer hands out the image it holds; the standard renderer has the grabber behind it.
QImage frameOnScreen(const TMainPlayback* playback)
{
    if (!playback)
        return QImage();
    if (playback->VideoWindow->mode() == media::VideoWindow::Mode::VMR)
        return playback->VideoWindow->currentImage();
    return playback->SampleGrabber.lastSample();
}

}  // namespace

bool TfrmMain::GrabFrame(QImage& bitmap)
{
    try {
        bitmap = QImage();
        bitmap = frameOnScreen(TMainPlayback::of(this));
        if (bitmap.width() < 1 || bitmap.height() < 1) {
            RouteMessage(kUnableToGrab);
            SetSnapshotAvailable(false);
            return false;
        }
        return true;
    } catch (const std::exception& error) {
        RouteMessage(QStringLiteral("Error taking snapshot: ") + QString::fromUtf8(error.what()));
        return false;
    }
}

bool TfrmMain::TakeSnapshot()
{
    if (!GrabFrame(FullFrame))
        return false;
    FullFrame = FullFrame.convertToFormat(QImage::Format_BGR888);
    TImageEnView preview;
    preview.Assign(FullFrame);
    const int height = GetThumbHeight();
    const int width = GetThumbWidth();
    ResampleToFit(preview.Bitmap(), width, height, static_cast<TResampleFilter>(CurrentResampleFilter));
    ImageSnapshot->Assign(preview);
    ImageSnapshot->Update();
    SetSnapshotAvailable(true);
    return true;
}

void TfrmMain::btnSnapshotClick()
{
    TakeSnapshot();
    tbVideoSlider->setFocus();
}
