// Saving one thumbnail from a 1080p frame through the main window: trim, crop, Lanczos3 into a
// 250 x 200 box, a text watermark with a soft shadow, JPEG at quality 90, read back for display.
#include "app/ufrmMain.h"
#include "platform/ScriptedDialogs.h"
#include "thumbs/Resampler.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPainter>
#include <QSlider>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

// A letterboxed frame with detail everywhere inside the picture, so trim and resampling do real work.
QImage letterboxedFrame()
{
    QImage frame(1920, 1080, QImage::Format_BGR888);
    frame.fill(Qt::black);
    QPainter painter(&frame);
    const QRect picture(0, 140, 1920, 800);
    QLinearGradient gradient(picture.topLeft(), picture.bottomRight());
    gradient.setColorAt(0, QColor(200, 60, 30));
    gradient.setColorAt(1, QColor(30, 120, 220));
    painter.fillRect(picture, gradient);
    for (int x = 0; x < 1920; x += 48)
        painter.fillRect(x, 140, 8, 800, QColor(240, 240, 240));
    return frame;
}

void ConfigureUserWatermark(TWatermark& watermark)
{
    watermark.WatermarkType = TWatermark::TypeText;
    watermark.Lines = {QStringLiteral("Skorrel!"), QStringLiteral("sample watermark")};
    watermark.Font.setPointSize(12);
    watermark.FontColor = Qt::white;
    watermark.Transparency = 60;
    watermark.ShadowRadius = 3;
    watermark.ShadowOffsetX = 2;
    watermark.ShadowOffsetY = 2;
    watermark.MeasureText();
    watermark.ResetOffsets();
}

void BM_SaveThumb1080p(benchmark::State& state)
{
    QTemporaryDir dir;
    platform::ScopedScriptedDialogs dialogs;
    TfrmMain window;
    window.VideoWidth = 1920;
    window.VideoHeight = 1080;
    window.FullFrame = letterboxedFrame();
    window.txtThumbWidth->setText(QStringLiteral("250"));
    window.txtThumbHeight->setText(QStringLiteral("200"));
    window.ckbTrimthumb->setChecked(true);
    window.ckbCropThumb->setChecked(true);
    window.CurrentResampleFilter = rfLanczos3;
    window.tbJPEGQuality->setValue(90);
    ConfigureUserWatermark(*window.UserWatermark);
    const QString target = dir.filePath(QStringLiteral("thumb.jpg"));
    for (auto _ : state) {
        if (!window.SaveThumb(target)) {
            state.SkipWithError("the save failed");
            break;
        }
    }
}
BENCHMARK(BM_SaveThumb1080p)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir settings;
    qputenv("SKORREL_INI", settings.filePath(QStringLiteral("Skorrel.ini")).toLocal8Bit());
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
