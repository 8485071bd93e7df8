// Resampling a 1080p frame into the default 250 x 200 box with every filter, the trim scan, and the
// same Lanczos reduction by libvips (in process), Pillow and ImageMagick side by side.
// glib before Qt: Qt's "signals" keyword would clash with a glib field of that name.
#include <vips/vips.h>

#include "thumbs/ImageEnView.h"
#include "thumbs/JpegConv.h"
#include "thumbs/Resampler.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cstdio>
#include <malloc.h>
#include <map>
#include <string>

namespace {

constexpr int kWidth = 1920, kHeight = 1080, kBoxWidth = 250, kBoxHeight = 200;
constexpr int kFitHeight = 141;  // 1920 x 1080 fitted into 250 x 200

// A smooth picture with grain, like a video frame.
const QImage& frame()
{
    static const QImage picture = [] {
        QImage img(kWidth, kHeight, QImage::Format_BGR888);
        QRandomGenerator rng(42);
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                uchar* p = img.scanLine(y) + x * 3;
                p[0] = uchar((x * 255 / kWidth + rng.bounded(16)) & 255);
                p[1] = uchar((y * 255 / kHeight + rng.bounded(16)) & 255);
                p[2] = uchar(((x + y) / 12 + rng.bounded(16)) & 255);
            }
        return img;
    }();
    return picture;
}

void BM_ResampleToFit(benchmark::State& state)
{
    const auto filter = TResampleFilter(state.range(0));
    state.SetLabel(ResampleFilterName(filter));
    for (auto _ : state) {
        QImage picture = frame();
        ResampleToFit(picture, kBoxWidth, kBoxHeight, filter);
        benchmark::DoNotOptimize(picture.constBits());
    }
}
BENCHMARK(BM_ResampleToFit)->DenseRange(0, ResampleFilterCount - 1)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);

void BM_VipsLanczos3(benchmark::State& state)
{
    const QImage& src = frame();
    for (auto _ : state) {
        VipsImage* in = vips_image_new_from_memory(src.constBits(), size_t(src.sizeInBytes()), kWidth, kHeight, 3,
                                                   VIPS_FORMAT_UCHAR);
        VipsImage* out = nullptr;
        if (vips_resize(in, &out, double(kBoxWidth) / kWidth, "vscale", double(kFitHeight) / kHeight, "kernel",
                        VIPS_KERNEL_LANCZOS3, "gap", 0.0, nullptr) != 0) {
            state.SkipWithError(vips_error_buffer());
            g_object_unref(in);
            break;
        }
        size_t size = 0;
        void* pixels = vips_image_write_to_memory(out, &size);
        benchmark::DoNotOptimize(pixels);
        g_free(pixels);
        g_object_unref(out);
        g_object_unref(in);
    }
}
BENCHMARK(BM_VipsLanczos3)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);

void BM_TrimScanBorderless(benchmark::State& state)
{
    TImageEnView view;
    view.Assign(frame());
    for (auto _ : state)
        benchmark::DoNotOptimize(FindBlackBorders(view));
}
BENCHMARK(BM_TrimScanBorderless)->MeasureProcessCPUTime()->Unit(benchmark::kMicrosecond);

// Remembers CPU milliseconds per iteration of every benchmark it prints, the median when run with
// repetitions. The process's CPU time counts libvips's worker thread too, and stays fair when other
// work shares the machine.
class Collecting : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> ms;
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (run.iterations > 0 && (run.run_type == Run::RT_Iteration || run.aggregate_name == "median"))
                ms[run.run_name.str()] = run.GetAdjustedCPUTime() *
                                           benchmark::GetTimeUnitMultiplier(benchmark::kMillisecond) /
                                           benchmark::GetTimeUnitMultiplier(run.time_unit);
    }
};

double pillowMs(const QString& raw)
{
    QProcess python;
    python.start("/usr/bin/python3", {QStringLiteral(SKORREL_BENCH_DIR "/pillow_resample.py"), raw,
                                      QString::number(kWidth), QString::number(kHeight), QString::number(kBoxWidth),
                                      QString::number(kFitHeight), "30"});
    if (!python.waitForFinished(120000) || python.exitCode() != 0)
        return -1;
    return python.readAllStandardOutput().trimmed().toDouble();
}

// Whole command: process start, reading the PPM, the reduction and writing the result.
double imageMagickMs(const QString& ppm, const QString& out)
{
    constexpr int kRuns = 5;
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < kRuns; ++i) {
        QProcess convert;
        convert.start("/usr/bin/convert", {ppm, "-filter", "Lanczos", "-resize",
                                           QStringLiteral("%1x%2").arg(kBoxWidth).arg(kBoxHeight), out});
        if (!convert.waitForFinished(120000) || convert.exitCode() != 0)
            return -1;
    }
    return double(timer.elapsed()) / kRuns;
}

void printComparison(const Collecting& reporter)
{
    QTemporaryDir dir;
    const QImage rgb = frame().convertToFormat(QImage::Format_RGB888);
    QFile raw(dir.filePath("frame.rgb"));
    if (raw.open(QIODevice::WriteOnly)) {
        for (int y = 0; y < kHeight; ++y)
            raw.write(reinterpret_cast<const char*>(rgb.constScanLine(y)), kWidth * 3);
        raw.close();
    }
    rgb.save(dir.filePath("frame.ppm"));

    const auto find = [&](const std::string& name) {
        const auto it = reporter.ms.find(name);
        return it == reporter.ms.end() ? -1.0 : it->second;
    };
    const double ours = find("BM_ResampleToFit/5/process_time");
    const struct { const char* name; double ms; } rows[] = {
        {"Skorrel Lanczos3", ours},
        {"libvips vips_resize lanczos3, gap 0, 1 thread", find("BM_VipsLanczos3/process_time")},
        {"Pillow Image.resize LANCZOS", pillowMs(raw.fileName())},
        {"ImageMagick convert -filter Lanczos (whole command)", imageMagickMs(dir.filePath("frame.ppm"), dir.filePath("out.ppm"))},
    };
    std::printf("\n1920 x 1080 -> 250 x %d, Lanczos, single-threaded, CPU time (ImageMagick: wall time)\n", kFitHeight);
    std::printf("%-52s %10s %14s\n", "", "ms/picture", "x Skorrel time");
    for (const auto& row : rows) {
        if (row.ms < 0)
            std::printf("%-52s %10s\n", row.name, "failed");
        else
            std::printf("%-52s %10.2f %14.2f\n", row.name, row.ms, row.ms / ours);
    }
    std::printf("%-52s %10.3f\n", "Trim scan, borderless 1080p frame", find("BM_TrimScanBorderless/process_time"));
}

}  // namespace

int main(int argc, char** argv)
{
    // Large buffers stay in the heap: otherwise libvips, run alone, maps and faults in fresh pages
    // on every call and doubles its time, and which benchmark ran first would decide the ratio.
    mallopt(M_MMAP_THRESHOLD, 64 << 20);
    mallopt(M_TRIM_THRESHOLD, 128 << 20);
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    if (VIPS_INIT(argv[0]) != 0)
        return 1;
    vips_concurrency_set(1);
    vips_cache_set_max(0);  // every iteration really resamples
    benchmark::Initialize(&argc, argv);
    Collecting reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    printComparison(reporter);
    benchmark::Shutdown();
    vips_shutdown();
    return 0;
}
