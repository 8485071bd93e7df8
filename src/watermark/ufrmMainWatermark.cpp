// The main window's side of the user's watermark: configured from the settings file at creation,
// written back at destruction.
#include "app/IniFile.h"
#include "app/ufrmMain.h"
#include "watermark/WatermarkSettings.h"

// A picture watermark whose file cannot be loaded starts as no watermark (the load error is shown).
void TfrmMain::CreateWatermark()
{
    UserWatermark = std::make_unique<TWatermark>();
    ReadWatermarkKeys(*IniFile, *UserWatermark);
}

// The snapshot view is where the watermark is measured and previewed.
void TfrmMain::AttachWatermark()
{
    UserWatermark->View = ImageSnapshot;
    UserWatermark->MeasureText();
}

// Before the watermark exists (start-up stopped early) the file keeps its values.
void TfrmMain::WriteWatermarkSettings()
{
    if (UserWatermark)
        WriteWatermarkKeys(*IniFile, *UserWatermark);
}
