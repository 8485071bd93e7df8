// Batch runs through the real main window and the real console: the command-line start in process,
// and a queue with a broken video in it.
#include "app/window/MainWindowFixture.h"
#include "batch/CreateThumbsThread.h"
#include "batch/uLibBatchMode.h"
#include "batch/ufrmConsole.h"
#include "fixtures/FramePattern.h"
#include "thumbs/JpegIO.h"

#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>

namespace {

class CommandLineRun : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        // Without trimming and cropping the frame-number pattern survives whole.
        writeSettings("[Setup]\nTrimthumb=0\nCropthumb=0\n");
        ASSERT_TRUE(out.isValid());
        open();
    }

    void TearDown() override
    {
        CommandLineMode = false;
        MainWindowTest::TearDown();
    }

    QStringList jpegs() const { return QDir(out.path()).entryList({QStringLiteral("*.jpg")}, QDir::Files, QDir::Name); }
    QString outFile(const QString& name) const { return out.filePath(name); }

    QTemporaryDir out;
};

struct PositionCase {
    const char* clip;
    QStringList options;
    int64_t skipFront;
    int64_t skipBack;
    int count;  // thumbnails planned
    int64_t stepMs;  // 0: thumb-count mode, the span split over count - 1 steps
};

// Thumbnail k lies at max(SkipFront, 0) + (k - 1) x step, at most 100 ms before the end; the frame on
// screen there is the one whose 40 ms interval holds that time.
TEST_F(CommandLineRun, EveryThumbnailCarriesTheFrameItsTimeSays)
{
    const QList<PositionCase> cases = {
        {"divx.avi", {"-thumbs", "5", "-skipfront", "1300"}, 1300, 0, 5, 0},
        {"divx.avi", {"-ms", "1500"}, 0, 0, 7, 1500},
        {"xvid_bframes.avi", {"-thumbs", "5", "-skipfront", "1300"}, 1300, 0, 5, 0},
        {"h264_bframes.mkv", {"-thumbs", "5", "-skipfront", "1300"}, 1300, 0, 5, 0},
        {"h264_bframes.mkv", {"-ms", "1500", "-skipback", "-700"}, 0, -700, 8, 1500},
        {"h264.mp4", {"-thumbs", "4", "-skipfront", "-500"}, -500, 0, 4, 0},
        {"mpeg1.mpg", {"-thumbs", "5", "-skipfront", "1300", "-skipback", "2000"}, 1300, 2000, 5, 0},
        {"mpeg2.mpg", {"-ms", "1500"}, 0, 0, 7, 1500},
        {"wmv2.asf", {"-thumbs", "5", "-skipfront", "1300"}, 1300, 0, 5, 0},
        {"div3.avi", {"-ms", "2300", "-skipfront", "700"}, 700, 0, 5, 2300},
    };
    for (const PositionCase& c : cases) {
        SCOPED_TRACE(QStringLiteral("%1 %2").arg(QString::fromLatin1(c.clip), c.options.join(' ')).toStdString());
        for (const QString& name : jpegs())
            QFile::remove(outFile(name));
        ASSERT_EQ(window->RunCommandLine(c.options + QStringList{testenv::fixture(QString::fromLatin1(c.clip)), out.path()}), 0);
        EXPECT_TRUE(CommandLineMode);
        const int64_t duration = window->GetDuration();
        ASSERT_GT(duration, 9000);
        const QStringList files = jpegs();
        ASSERT_EQ(files.size(), c.count);
        const int64_t step = c.stepMs ? c.stepMs : (duration - c.skipFront - c.skipBack) / (c.count - 1);
        for (int k = 1; k <= c.count; ++k) {
            const int64_t at = std::min(std::max<int64_t>(c.skipFront, 0) + (k - 1) * step, duration - 100);
            EXPECT_EQ(framepattern::readFrameNumber(ReadJpeg(outFile(files[k - 1]))), at * 25 / 1000)
                << "thumbnail " << k << " at " << at << " ms";
        }
    }
}

TEST_F(CommandLineRun, TheFirstActivationRunsTheBatchAndEndsTheLoopWithItsStatus)
{
    TfrmConsole console(window.get());
    window->frmConsole = &console;
    window->CommandLineArguments = {"-thumbs", "2", testenv::fixture("divx.avi"), out.path()};
    EXPECT_EQ(runMessageLoop([this] { window->show(); window->activateWindow(); }), 0);
    EXPECT_TRUE(window->CommandLineStarted);
    EXPECT_EQ(jpegs(), QStringList({"divx1.jpg", "divx2.jpg"}));
    EXPECT_FALSE(console.isVisible());
}

TEST_F(CommandLineRun, WithoutArgumentsActivationRunsNothingAndLeavesInteractiveRuns)
{
    CommandLineMode = true;  // as a command-line run leaves it
    window->show();
    window->activateWindow();
    ASSERT_TRUE(testenv::waitUntil([this] { return window->isActiveWindow(); }));
    EXPECT_TRUE(testenv::waitUntil([] { return !CommandLineMode; }));
    EXPECT_FALSE(window->CommandLineStarted);
}

TEST_F(CommandLineRun, NoUsableVideoRunsNothing)
{
    const QString folder = out.path();
    for (const QStringList& args : QList<QStringList>{{testenv::fixture("divx.avi"), "-thumbs", "5"},
                                                      {testenv::fixture("empty.avi"), folder},
                                                      {folder}}) {
        SCOPED_TRACE(args.join(' ').toStdString());
        EXPECT_EQ(window->RunCommandLine(args), 2);
        EXPECT_FALSE(window->VideoOpen);
        EXPECT_TRUE(jpegs().isEmpty());
    }
}

TEST_F(CommandLineRun, AFileWithALengthButNoPictureRunsAndFails)
{
    EXPECT_EQ(window->RunCommandLine({"-thumbs", "3", testenv::fixture("audio.wav"), out.path()}), 1);
    EXPECT_GE(ErrorCount, 1);
    EXPECT_TRUE(jpegs().isEmpty());
}

TEST_F(CommandLineRun, ABrokenVideoInTheMiddleOfAQueueDoesNotStopTheOthers)
{
    std::vector<std::unique_ptr<TBatchItem>> items;
    for (const char* clip : {"divx.avi", "corrupt.avi", "h264.mp4"}) {
        auto item = std::make_unique<TBatchItem>();
        item->VideoFile = testenv::fixture(QString::fromLatin1(clip));
        item->Destination = out.path();
        item->SetOutputName(QStringLiteral("*_"));
        item->ThumbCount = 3;
        items.push_back(std::move(item));
    }
    TfrmConsole console(window.get());
    console.show();
    ASSERT_TRUE(console.BeginBatch({items[0].get(), items[1].get(), items[2].get()}, window.get()));
    ASSERT_TRUE(testenv::waitUntil([] { return ActiveWorker == nullptr; }, std::chrono::minutes(3)));

    EXPECT_EQ(jpegs(), QStringList({"divx_1.jpg", "divx_2.jpg", "divx_3.jpg", "h264_1.jpg", "h264_2.jpg", "h264_3.jpg"}));
    EXPECT_EQ(framepattern::readFrameNumber(ReadJpeg(outFile("h264_3.jpg"))), (items[2]->Duration - 100) * 25 / 1000);
    // Whatever was reported came from opening the broken video.
    const QString memo = console.txtError->toPlainText();
    EXPECT_TRUE(memo.isEmpty() || memo.startsWith(items[1]->VideoFile + ": ")) << memo.toStdString();
    EXPECT_FALSE(memo.contains(items[0]->VideoFile));
    EXPECT_FALSE(memo.contains(items[2]->VideoFile));
    EXPECT_EQ(console.lblConsoleMessage->text(), "done");
}

}  // namespace
