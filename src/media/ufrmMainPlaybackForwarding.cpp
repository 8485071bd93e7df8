// The main window's frame items that belong to the playback, handed to it.
#include "app/ufrmMain.h"
#include "media/VideoWindow.h"
#include "media/ufrmMainPlayback.h"

bool (*TfrmMain::MixingRendererAvailable)() = &media::VideoWindow::mixingRendererAvailable;

void TfrmMain::ReleasePlayback()
{
    if (TMainPlayback* playback = TMainPlayback::of(this))
        playback->ReleaseGraph();
}

void TfrmMain::ChangeVideoMode1Click()
{
    if (TMainPlayback* playback = TMainPlayback::of(this))
        playback->ChangeVideoMode1Click();
}
