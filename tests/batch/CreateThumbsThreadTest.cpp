#include "BatchRunFixture.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <tuple>

namespace {

using Saved = FakeMainWindow::Saved;

const QString SeekLine =
    QStringLiteral("/v/clip.avi: Unable to seek in file. Make sure video file is seekable.");

struct PositionCase {
    const char* name;
    int64_t duration;
    int32_t milliseconds;
    int32_t thumbCount;
    int64_t skipFront;
    int64_t skipBack;
    std::vector<Saved> expected;
    QStringList lines;
};

class ThumbPositions : public BatchRun, public ::testing::WithParamInterface<PositionCase> {};

TEST_P(ThumbPositions, EachThumbnailLiesWhereTheSpacingPutsIt)
{
    const PositionCase& c = GetParam();
    AddItem(QStringLiteral("clip"), c.duration, c.milliseconds, c.thumbCount, c.skipFront, c.skipBack);
    Run();
    EXPECT_EQ(main.saved, c.expected);
    EXPECT_EQ(MemoLines(), c.lines);
    EXPECT_EQ(ErrorCount, c.lines.size());
    EXPECT_EQ(items[0]->Duration, c.duration);
}

INSTANTIATE_TEST_SUITE_P(
    Spacing, ThumbPositions,
    ::testing::Values(
        PositionCase{"IntervalWithSkips", 10000, 3000, 0, 500, 500,
                     {{"/out/clip1.jpg", 500}, {"/out/clip2.jpg", 3500}, {"/out/clip3.jpg", 6500},
                      {"/out/clip4.jpg", 9500}}, {}},
        PositionCase{"CountLastClampedAtTheEndMargin", 10000, 0, 5, 0, 0,
                     {{"/out/clip1.jpg", 0}, {"/out/clip2.jpg", 2500}, {"/out/clip3.jpg", 5000},
                      {"/out/clip4.jpg", 7500}, {"/out/clip5.jpg", 9900}}, {}},
        PositionCase{"ShortVideoRaisedToTwo", 1000, 5000, 0, 0, 0,
                     {{"/out/clip1.jpg", 0}, {"/out/clip2.jpg", 900}}, {}},
        PositionCase{"TwelveNumberedWithTwoDigits", 12000, 0, 12, 0, 1000,
                     {{"/out/clip01.jpg", 0}, {"/out/clip02.jpg", 1000}, {"/out/clip03.jpg", 2000},
                      {"/out/clip04.jpg", 3000}, {"/out/clip05.jpg", 4000}, {"/out/clip06.jpg", 5000},
                      {"/out/clip07.jpg", 6000}, {"/out/clip08.jpg", 7000}, {"/out/clip09.jpg", 8000},
                      {"/out/clip10.jpg", 9000}, {"/out/clip11.jpg", 10000}, {"/out/clip12.jpg", 11000}}, {}},
        PositionCase{"SingleAtTheFrontSkip", 10000, 0, 1, 700, 0, {{"/out/clip.jpg", 700}}, {}},
        PositionCase{"NoIntervalAtAllIsOne", 10000, 0, 0, 700, 0, {{"/out/clip.jpg", 700}}, {}},
        PositionCase{"NegativeFrontSkipMeansNone", 10000, 0, 1, -300, 0, {{"/out/clip.jpg", 0}}, {}},
        PositionCase{"IntervalWithStaleCountOfOne", 10000, 3000, 1, 0, 0,
                     {{"/out/clip1.jpg", 0}, {"/out/clip2.jpg", 3000}, {"/out/clip3.jpg", 6000},
                      {"/out/clip4.jpg", 9000}}, {}},
        PositionCase{"CountZeroStepEndsWithSeekLine", 10000, 0, 3, 5000, 5000, {{"/out/clip1.jpg", 5000}},
                     {SeekLine}},
        PositionCase{"CountNegativeStepEndsWithSeekLine", 10000, 0, 3, 0, 11000, {{"/out/clip1.jpg", 0}},
                     {SeekLine}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(BatchRun, ASingleThumbnailSetsTheCountToOneAndSeeksNoFurther)
{
    AddItem(QStringLiteral("clip"), 10000, 0, -4, 700);
    Run();
    EXPECT_EQ(items[0]->ThumbCount, 1);
    EXPECT_EQ(main.calls, (QStringList{"open /v/clip.avi", "duration", "skip 700 0", "snapshot", "save /out/clip.jpg"}));
}

TEST_F(BatchRun, ProgressBarsCountThumbnailsAndVideos)
{
    AddItem(QStringLiteral("a"), 10000, 0, 2);
    AddItem(QStringLiteral("b"), 10000, 0, 2);
    std::vector<std::tuple<int, int, int>> bars;  // video position, video maximum, batch position
    std::vector<bool> routedToWorker;
    main.onSave = [&](int) {
        bars.emplace_back(console.ProgressBarVideo->value(), console.ProgressBarVideo->maximum(),
                          console.ProgressBarBatch->value());
        routedToWorker.push_back(ActiveWorker && CurrentMessageRoute() == ActiveWorker);
    };
    Run();
    EXPECT_EQ(bars, (std::vector<std::tuple<int, int, int>>{{1, 2, 0}, {2, 2, 1}, {1, 2, 1}, {2, 2, 2}}));
    EXPECT_EQ(routedToWorker, std::vector<bool>(4, true));
    EXPECT_EQ(CurrentMessageRoute(), nullptr);
    EXPECT_EQ(console.ProgressBarBatch->value(), console.ProgressBarBatch->maximum());
    EXPECT_EQ(console.lblConsoleMessage->text(), QStringLiteral("done"));
    EXPECT_EQ(console.btnStop->text(), QStringLiteral("Close"));
    EXPECT_FALSE(console.Timer1.isActive());
    EXPECT_TRUE(console.isVisible());
}

struct QueuedVideo {
    const char* name;
    int64_t duration;  // 0: fails to open
};

struct FailureCase {
    const char* name;
    std::vector<QueuedVideo> videos;  // two thumbnails each
    QSet<int> failingSaves;
    std::vector<Saved> expected;
    QStringList lines;
};

class RunAfterFailure : public BatchRun, public ::testing::WithParamInterface<FailureCase> {};

// A failure ends only its own video; the run goes on with the next one.
TEST_P(RunAfterFailure, TheOtherVideosAreMadeWhole)
{
    const FailureCase& c = GetParam();
    QStringList opens;
    for (const QueuedVideo& video : c.videos) {
        AddItem(QString::fromUtf8(video.name), video.duration, 0, 2);
        opens << QStringLiteral("open /v/%1.avi").arg(QString::fromUtf8(video.name));
    }
    main.failingSaves = c.failingSaves;
    Run();
    EXPECT_EQ(main.saved, c.expected);
    EXPECT_EQ(main.calls.filter(QStringLiteral("open ")), opens);
    EXPECT_EQ(MemoLines(), c.lines);
    EXPECT_EQ(ErrorCount, c.lines.size());
}

INSTANTIATE_TEST_SUITE_P(
    Failures, RunAfterFailure,
    ::testing::Values(
        FailureCase{"FirstFailsToOpen", {{"a", 0}, {"b", 10000}}, {},
                    {{"/out/b1.jpg", 0}, {"/out/b2.jpg", 9900}}, {"/v/a.avi: Unable to open the video."}},
        FailureCase{"MiddleOfThreeFailsToOpen", {{"a", 10000}, {"b", 0}, {"c", 10000}}, {},
                    {{"/out/a1.jpg", 0}, {"/out/a2.jpg", 9900}, {"/out/c1.jpg", 0}, {"/out/c2.jpg", 9900}},
                    {"/v/b.avi: Unable to open the video."}},
        FailureCase{"MiddleOfThreeFailsToSave", {{"a", 10000}, {"b", 10000}, {"c", 10000}}, {3},
                    {{"/out/a1.jpg", 0}, {"/out/a2.jpg", 9900}, {"/out/c1.jpg", 0}, {"/out/c2.jpg", 9900}},
                    {"/v/b.avi: Unable to save the thumbnail."}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(BatchRun, StopDuringASaveFinishesThatThumbnailAndItsSeekOnly)
{
    AddItem(QStringLiteral("a"), 10000, 3000, 0);
    AddItem(QStringLiteral("b"), 10000, 3000, 0);
    main.onSave = [&](int number) {
        if (number == 2)
            QTest::mouseClick(console.btnStop, Qt::LeftButton);
    };
    Run();
    EXPECT_EQ(main.saved, (std::vector<Saved>{{"/out/a1.jpg", 0}, {"/out/a2.jpg", 3000}}));
    EXPECT_EQ(main.calls.last(), QStringLiteral("skip 3000 0"));
    EXPECT_EQ(main.calls.count(QStringLiteral("snapshot")), 2);
    EXPECT_FALSE(main.calls.contains(QStringLiteral("open /v/b.avi")));
    EXPECT_EQ(MemoLines(), QStringList{"Processing finished."});
    EXPECT_EQ(ErrorCount, 0);  // the closing line does not count
    EXPECT_EQ(console.btnStop->text(), QStringLiteral("Close"));
    EXPECT_TRUE(console.isVisible());

    QTest::mouseClick(console.btnStop, Qt::LeftButton);
    EXPECT_FALSE(console.isVisible());
    EXPECT_EQ(MemoLines(), (QStringList{"Processing finished.", "Processing finished."}));
}

TEST_F(BatchRun, NoSecondRunStartsWhileOneIsLive)
{
    AddItem(QStringLiteral("a"), 10000, 0, 2);
    bool secondStarted = true;
    main.onSave = [&](int number) {
        if (number == 1)
            secondStarted = console.BeginBatch(ItemList(), &main);
    };
    Run();
    EXPECT_FALSE(secondStarted);
    EXPECT_EQ(main.saved.size(), 2u);
}

TEST_F(BatchRun, AnEmptyQueueEndsAtOnce)
{
    Run();
    EXPECT_TRUE(main.calls.isEmpty());
    EXPECT_EQ(console.lblConsoleMessage->text(), QStringLiteral("done"));
    EXPECT_EQ(ErrorCount, 0);
}

TEST_F(BatchRun, CommandLineModeClosesByItselfAndEchoesEveryLine)
{
    CommandLineMode = true;
    AddItem(QStringLiteral("a"), 10000, 0, 2);
    main.failingSaves = {2};
    ::testing::internal::CaptureStdout();
    console.StartBatch(ItemList(), &main);  // modal; returns once the console has closed itself
    const QString out = QString::fromStdString(::testing::internal::GetCapturedStdout());
    EXPECT_EQ(ActiveWorker, nullptr);
    EXPECT_FALSE(console.isVisible());
    EXPECT_EQ(ErrorCount, 1);
    EXPECT_EQ(out.split(QLatin1Char('\n'), Qt::SkipEmptyParts),
              (QStringList{"Starting...", "Creating Thumbnail: /out/a1.jpg", "Creating Thumbnail: /out/a2.jpg",
                           "/v/a.avi: Unable to save the thumbnail.", "done"}));
}

}  // namespace
