// Seeking on a 1280 x 720 H.264 clip with 250-frame groups of pictures: a 35 ms step forward and one
// back while paused, an exact seek to a random point, and the ffmpeg command line's own seek to the
// same points for comparison (process start included, as a user would see it).
#include "media/FilterGraph.h"
#include "media/SampleGrabber.h"

#include "OffscreenBenchmarkMain.h"

#include <QProcess>
#include <benchmark/benchmark.h>
#include <chrono>
#include <random>

namespace {

using media::MediaTime;
constexpr MediaTime kMs = 10'000;
constexpr MediaTime kStep = 35 * kMs;

struct Clip {
    media::FilterGraph graph;
    media::SampleGrabber grabber;

    Clip()
    {
        graph.setActive(true);
        grabber.setFilterGraph(&graph);
        graph.renderFile(QStringLiteral(SKORREL_BENCH_CLIP));
        settle();
    }
    void settle()
    {
        media::GraphState state;
        if (!graph.getState(std::chrono::seconds(30), state))
            throw std::runtime_error("seek did not complete");
    }
    void seek(MediaTime target)
    {
        graph.querySeeking()->setPositions(target, media::Positioning::Absolute);
        settle();
    }
    MediaTime duration()
    {
        MediaTime stop = 0;
        graph.querySeeking()->getDuration(stop);
        return stop;
    }
};

// Random points in the middle of groups of pictures, the same on every run.
std::vector<MediaTime> randomPoints(MediaTime duration, int count)
{
    std::mt19937 random(20261211);
    std::uniform_int_distribution<MediaTime> pick(0, duration - kMs);
    std::vector<MediaTime> points;
    for (int i = 0; i < count; ++i)
        points.push_back(pick(random));
    return points;
}

void BM_ForwardStepWhilePaused(benchmark::State& state)
{
    Clip clip;
    const MediaTime start = 2000 * kMs;  // well inside the first group (keyframes at 0 and 10 s)
    MediaTime position = start;
    clip.seek(position);
    for (auto _ : state) {
        if (position + kStep >= 9500 * kMs) {
            state.PauseTiming();
            position = start;
            clip.seek(position);
            state.ResumeTiming();
        }
        position += kStep;
        clip.seek(position);
    }
    state.counters["seeks"] = clip.graph.demuxerSeekCount();
}

void BM_BackwardStepWhilePaused(benchmark::State& state)
{
    Clip clip;
    const MediaTime start = 9500 * kMs;  // the end of the group: a step back must not redecode it all
    MediaTime position = start;
    clip.seek(position);
    for (auto _ : state) {
        if (position - kStep <= 500 * kMs) {
            state.PauseTiming();
            position = start;
            clip.seek(position);
            state.ResumeTiming();
        }
        position -= kStep;
        clip.seek(position);
    }
    state.counters["seeks"] = clip.graph.demuxerSeekCount();
}

void BM_ExactSeekToRandomPoint(benchmark::State& state)
{
    Clip clip;
    const std::vector<MediaTime> points = randomPoints(clip.duration(), 64);
    size_t next = 0;
    for (auto _ : state)
        clip.seek(points[next++ % points.size()]);
}

void BM_FfmpegCliSeekToRandomPoint(benchmark::State& state)
{
    Clip clip;
    const std::vector<MediaTime> points = randomPoints(clip.duration(), 64);
    size_t next = 0;
    for (auto _ : state) {
        const QString at = QString::number(static_cast<double>(points[next++ % points.size()]) / 1e7, 'f', 3);
        QProcess::execute(QStringLiteral("ffmpeg"), {"-v", "quiet", "-ss", at, "-i", SKORREL_BENCH_CLIP,
                                                     "-frames:v", "1", "-f", "null", "-"});
    }
}

BENCHMARK(BM_ForwardStepWhilePaused)->Unit(benchmark::kMillisecond)->MinTime(2)->UseRealTime();
BENCHMARK(BM_BackwardStepWhilePaused)->Unit(benchmark::kMillisecond)->MinTime(2)->UseRealTime();
BENCHMARK(BM_ExactSeekToRandomPoint)->Unit(benchmark::kMillisecond)->MinTime(2)->UseRealTime();
BENCHMARK(BM_FfmpegCliSeekToRandomPoint)->Unit(benchmark::kMillisecond)->MinTime(2)->UseRealTime();

}  // namespace

int main(int argc, char** argv)
{
    return runOffscreenBenchmarks(argc, argv);
}
