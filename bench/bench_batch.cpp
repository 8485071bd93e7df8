// The command-line batch against the ffmpeg command line, side by side: `skorrel -thumbs 20` on a
// 120 s 1920 x 1080 H.264 clip with 250-frame groups of pictures, and the same 20 exact frames taken by
// one `ffmpeg -ss T -i clip -frames:v 1 -vf scale=250:-1:flags=lanczos -q:v 2 out.jpg` per thumbnail.
// Both run as processes, as a user would run them; every thumbnail's frame number is checked.
#include "fixtures/FramePattern.h"
#include "thumbs/JpegIO.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <spawn.h>
#include <stdexcept>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

constexpr int kThumbs = 20;
constexpr int64_t kDurationMs = 120'000;
constexpr int kFps = 25;

const QString kWork = QStringLiteral(SKORREL_BENCH_WORK);
const QString kClip = kWork + QStringLiteral("/bench_h264_1080p_gop250_120s.mkv");

struct ProcessRun {
    double seconds = 0;
    long peakKb = 0;
};

// Runs a program to its end, its output discarded, with `extraEnv` set and every display variable
// removed; the wall time and the child's own peak resident size.
ProcessRun runProcess(const QStringList& args, const std::vector<std::string>& extraEnv = {})
{
    std::vector<std::string> strings;
    for (const QString& arg : args)
        strings.push_back(arg.toStdString());
    std::vector<char*> argv;
    for (std::string& s : strings)
        argv.push_back(s.data());
    argv.push_back(nullptr);
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        if (entry.rfind("DISPLAY=", 0) != 0 && entry.rfind("WAYLAND_DISPLAY=", 0) != 0
            && entry.rfind("QT_QPA_PLATFORM=", 0) != 0)
            env.push_back(entry);
    }
    env.insert(env.end(), extraEnv.begin(), extraEnv.end());
    std::vector<char*> envp;
    for (std::string& s : env)
        envp.push_back(s.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        throw std::runtime_error("cannot start " + strings[0]);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    ProcessRun run;
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.peakKb = usage.ru_maxrss;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error(strings[0] + " failed");
    return run;
}

// The clip, made once: the frame-number pattern in the top half, a moving test picture below.
void makeClip()
{
    if (QFileInfo(kClip).size() > 0)
        return;
    QDir().mkpath(kWork);
    const QString cell = QStringLiteral("(Y*4+X)");
    const QString pattern = QStringLiteral("format=gray,geq=lum='16+219*if(lt(%1,12),mod(floor(N/pow(2,%1)),2),mod(%1,2))',"
                                           "scale=1920:540:flags=neighbor,format=yuv420p").arg(cell);
    const QString duration = QString::number(kDurationMs / 1000);
    std::fprintf(stderr, "making %s (once; about a minute or two)\n", qPrintable(kClip));
    runProcess({"ffmpeg", "-hide_banner", "-y", "-f", "lavfi", "-i", "color=c=black:s=4x4:r=25:d=" + duration,
                "-f", "lavfi", "-i", "testsrc2=s=1920x540:r=25:d=" + duration, "-filter_complex",
                "[0:v]" + pattern + "[top];[1:v]format=yuv420p[bottom];[top][bottom]vstack", "-c:v", "libx264",
                "-preset", "veryfast", "-g", "250", "-keyint_min", "250", "-sc_threshold", "0", "-bf", "3",
                kClip + ".part.mkv"});
    QFile::rename(kClip + ".part.mkv", kClip);
}

// Where skorrel puts thumbnail k (from 0): the span split over 19 steps, the last one clamped to
// 100 ms before the end.
int64_t thumbTimeMs(int k)
{
    return std::min<int64_t>(k * (kDurationMs / (kThumbs - 1)), kDurationMs - 100);
}

int64_t expectedFrame(int k)
{
    return thumbTimeMs(k) * kFps / 1000;
}

// Thumbnails whose pattern (top half) shows the frame their time says.
int exactFrames(const QStringList& files)
{
    int exact = 0;
    for (int k = 0; k < files.size(); ++k) {
        const QImage image = ReadJpeg(files[k]);
        if (framepattern::readFrameNumber(image, QRect(0, 0, image.width(), image.height() / 2)) == expectedFrame(k))
            ++exact;
    }
    return exact;
}

QString freshFolder(const QString& name)
{
    QDir folder(kWork + QLatin1Char('/') + name);
    folder.removeRecursively();
    QDir().mkpath(folder.path());
    return folder.path();
}

struct Side {
    double seconds = 0;
    long peakKb = 0;
    int exact = 0;
};

Side runSkorrel(const QString& ini)
{
    const QString out = freshFolder(QStringLiteral("skorrel"));
    const ProcessRun run = runProcess({SKORREL_BINARY, "-thumbs", QString::number(kThumbs), kClip, out},
                                      {"SKORREL_INI=" + ini.toStdString()});
    QStringList files;
    for (const QString& name : QDir(out).entryList({"*.jpg"}, QDir::Files, QDir::Name))
        files << out + QLatin1Char('/') + name;
    return {run.seconds, run.peakKb, exactFrames(files)};
}

Side runFfmpegLoop()
{
    const QString out = freshFolder(QStringLiteral("ffmpeg"));
    Side side;
    QStringList files;
    for (int k = 0; k < kThumbs; ++k) {
        const QString file = out + QStringLiteral("/out%1.jpg").arg(k + 1, 2, 10, QLatin1Char('0'));
        // ffmpeg keeps the first frame at or after -ss: give it the start of the frame on screen.
        const double frameStart = static_cast<double>(expectedFrame(k)) / kFps;
        const ProcessRun run = runProcess({"ffmpeg", "-hide_banner", "-y", "-ss", QString::number(frameStart, 'f', 3),
                                           "-i", kClip, "-frames:v", "1", "-vf", "scale=250:-1:flags=lanczos",
                                           "-q:v", "2", file});
        side.seconds += run.seconds;
        side.peakKb = std::max(side.peakKb, run.peakKb);
        files << file;
    }
    side.exact = exactFrames(files);
    return side;
}

// Each round runs skorrel and then the ffmpeg loop, so both see the same machine load; the time
// reported is skorrel's, the counters hold both sides and their ratio over all rounds.
void BM_BatchThumbs20SideBySide(benchmark::State& state)
{
    makeClip();
    const QString ini = kWork + QStringLiteral("/Skorrel.ini");
    QFile settings(ini);
    settings.open(QIODevice::WriteOnly | QIODevice::Truncate);
    settings.write("[Setup]\nTrimthumb=0\nCropthumb=0\n");  // the same 250-wide picture as ffmpeg's
    settings.close();
    double skorrelTotal = 0;
    double ffmpegTotal = 0;
    long skorrelPeakKb = 0;
    int rounds = 0;
    for (auto _ : state) {
        const Side skorrel = runSkorrel(ini);
        const Side ffmpeg = runFfmpegLoop();
        state.SetIterationTime(skorrel.seconds);
        std::printf("round %d: skorrel %.2f s (%d/%d frames exact), ffmpeg loop %.2f s (%d/%d exact)\n", ++rounds,
                    skorrel.seconds, skorrel.exact, kThumbs, ffmpeg.seconds, ffmpeg.exact, kThumbs);
        if (skorrel.exact != kThumbs)
            state.SkipWithError("a skorrel thumbnail does not show the frame its time says");
        skorrelTotal += skorrel.seconds;
        ffmpegTotal += ffmpeg.seconds;
        skorrelPeakKb = std::max(skorrelPeakKb, skorrel.peakKb);
    }
    state.counters["skorrel_s"] = skorrelTotal / rounds;
    state.counters["ffmpeg_loop_s"] = ffmpegTotal / rounds;
    state.counters["ratio"] = ffmpegTotal / skorrelTotal;  // target: 1.5 or more
    state.counters["skorrel_peak_MB"] = static_cast<double>(skorrelPeakKb) / 1024;
}

}  // namespace

BENCHMARK(BM_BatchThumbs20SideBySide)->Unit(benchmark::kSecond)->Iterations(3)->UseManualTime();

BENCHMARK_MAIN();
