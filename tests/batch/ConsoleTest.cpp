#include "BatchRunFixture.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <utility>

namespace {

TEST(Console, LayoutAndCaptionsAtLoad)
{
    TfrmConsole console;
    EXPECT_EQ(console.windowTitle(), QStringLiteral("Generating"));
    EXPECT_EQ(console.size(), QSize(417, 239));
    EXPECT_TRUE(console.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(console.lblConsoleMessage->geometry(), QRect(8, 8, 409, 41));
    EXPECT_TRUE(console.lblConsoleMessage->wordWrap());
    EXPECT_EQ(console.ProgressBarBatch->geometry(), QRect(8, 55, 401, 16));
    EXPECT_EQ(console.ProgressBarVideo->geometry(), QRect(8, 72, 401, 16));
    EXPECT_EQ(console.btnStop->geometry(), QRect(16, 93, 75, 25));
    EXPECT_EQ(console.btnStop->text(), QStringLiteral("Stop"));
    EXPECT_EQ(console.lblTime->pos(), QPoint(96, 92));
    EXPECT_EQ(console.lblTime->text(), QStringLiteral("00:00:00"));
    EXPECT_EQ(console.txtError->geometry(), QRect(8, 122, 401, 113));
    EXPECT_EQ(console.Timer1.interval(), 10);
    EXPECT_FALSE(console.Timer1.isActive());
}

TEST(Console, ElapsedTimeShowsTheTimeOfDay)
{
    EXPECT_EQ(FormatElapsedTime(0), QStringLiteral("00:00:00"));
    EXPECT_EQ(FormatElapsedTime(999), QStringLiteral("00:00:00"));
    EXPECT_EQ(FormatElapsedTime(3723004), QStringLiteral("01:02:03"));
    EXPECT_EQ(FormatElapsedTime(25LL * 3600 * 1000), QStringLiteral("01:00:00"));
}

TEST_F(BatchRun, StartShowsStartingAndStopCaption)
{
    AddItem(QStringLiteral("a"), 10000, 0, 2);
    QString messageAtOpen;
    QString captionAtOpen;
    bool timerAtOpen = false;
    main.onSave = [&](int number) {
        if (number == 1) {
            captionAtOpen = console.btnStop->text();
            timerAtOpen = console.Timer1.isActive();
            messageAtOpen = console.lblConsoleMessage->text();
        }
    };
    console.txtError->setPlainText(QStringLiteral("left over from an earlier run"));
    console.show();
    ASSERT_TRUE(console.BeginBatch(ItemList(), &main));
    EXPECT_EQ(console.lblConsoleMessage->text(), QStringLiteral("Starting..."));
    EXPECT_TRUE(console.txtError->toPlainText().isEmpty());
    ASSERT_TRUE(testenv::waitUntil([] { return ActiveWorker == nullptr; }));
    EXPECT_EQ(captionAtOpen, QStringLiteral("Stop"));
    EXPECT_TRUE(timerAtOpen);
    EXPECT_EQ(messageAtOpen, QStringLiteral("Creating Thumbnail: /out/a1.jpg"));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d$")).match(console.lblTime->text()).hasMatch());
}

TEST_F(BatchRun, ElapsedTimeRunsWhileAStepWaits)
{
    AddItem(QStringLiteral("a"), 10000, 0, 2);
    bool timeAdvanced = false;
    main.onSave = [&](int number) {
        if (number == 1)
            timeAdvanced = testenv::waitUntil([&] { return console.lblTime->text() != QStringLiteral("00:00:00"); });
    };
    Run();
    EXPECT_TRUE(timeAdvanced);
}

// Closing by the frame or by Escape while the worker runs acts like Stop; the console closes
// once the worker has ended, so the borrowed items are never freed under it.
TEST_F(BatchRun, ClosingWhileRunningStopsAndClosesWhenTheWorkerHasEnded)
{
    for (const bool byEscape : {false, true}) {
        SCOPED_TRACE(byEscape ? "Escape" : "frame");
        items.clear();
        main.calls.clear();
        AddItem(QStringLiteral("a"), 10000, 3000, 0);
        bool visibleAfterClose = false;
        bool closed = false;
        main.onSave = [&](int) {
            if (std::exchange(closed, true))
                return;
            if (byEscape)
                QTest::keyClick(&console, Qt::Key_Escape);
            else
                console.close();
            visibleAfterClose = console.isVisible();
        };
        Run();
        EXPECT_TRUE(visibleAfterClose);
        EXPECT_FALSE(console.isVisible());
        EXPECT_EQ(main.calls.count(QStringLiteral("snapshot")), 1);
        EXPECT_EQ(MemoLines(), QStringList{"Processing finished."});
    }
}

TEST(ConsoleLifetime, DestroyingTheConsoleMidRunLetsTheWorkerEndFirst)
{
    TBatchItem item;
    item.VideoFile = QStringLiteral("/v/a.avi");
    item.ThumbCount = 5;
    FakeMainWindow main;
    main.durations[item.VideoFile] = 10000;
    {
        TfrmConsole console;
        ASSERT_TRUE(console.BeginBatch({&item}, &main));
    }
    EXPECT_EQ(ActiveWorker, nullptr);
    EXPECT_EQ(CurrentMessageRoute(), nullptr);
    EXPECT_FALSE(main.calls.contains(QStringLiteral("snapshot")));
}

}  // namespace
