// Merging a watermark into a 250 x 200 thumbnail: two lines of text with a soft shadow, and a picture.
#include "thumbs/ImageEnView.h"
#include "watermark/Watermark.h"

#include "OffscreenBenchmarkMain.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

QImage thumbnail()
{
    QImage picture(250, 200, QImage::Format_BGR888);
    picture.fill(QColor(90, 120, 150));
    return picture;
}

// Each iteration merges the mark into a fresh copy of the thumbnail.
void renderOntoThumbnail(benchmark::State& state, TWatermark& mark)
{
    mark.ResetOffsets();
    TImageEnView view;
    mark.View = &view;
    const QImage picture = thumbnail();
    for (auto _ : state) {
        view.Assign(picture);
        mark.Render(true);
    }
    mark.View = nullptr;
}

void BM_RenderTextWithShadow(benchmark::State& state)
{
    TWatermark mark;
    mark.Lines = {QStringLiteral("Skorrel!"), QStringLiteral("sample watermark")};
    mark.Font.setPointSize(12);
    mark.FontColor = Qt::white;
    mark.ShadowRadius = static_cast<int>(state.range(0));
    mark.ShadowOffsetX = 2;
    mark.ShadowOffsetY = 2;
    mark.MeasureText();
    renderOntoThumbnail(state, mark);
}
BENCHMARK(BM_RenderTextWithShadow)->Arg(0)->Arg(3)->Arg(10)->Unit(benchmark::kMicrosecond);

void BM_RenderPicture(benchmark::State& state)
{
    QTemporaryDir dir;
    QImage logo(80, 40, QImage::Format_ARGB32);
    logo.fill(QColor(255, 255, 255, 160));
    const QString path = dir.filePath(QStringLiteral("logo.png"));
    logo.save(path);
    TWatermark mark;
    mark.LoadImage(path);
    mark.WatermarkType = TWatermark::TypeImage;
    renderOntoThumbnail(state, mark);
}
BENCHMARK(BM_RenderPicture)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv)
{
    return runOffscreenBenchmarks(argc, argv);
}
