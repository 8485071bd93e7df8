// The main window's own items and operations reaching the playback: "E&xit", the close box and
// destruction releasing the graph, the video mode at creation and from the menu, the commands that
// follow an open video, the batch operations and the slider's keys.
#include "app/window/MainWindowFixture.h"
#include "fixtures/FramePattern.h"
#include "media/VideoWindow.h"
#include "media/ufrmMainPlayback.h"
#include "media/ufrmVideoMode.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QRadioButton>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QToolButton>

namespace {

constexpr media::MediaTime kMs = 10'000;

struct MixingRendererAnswer {
    explicit MixingRendererAnswer(bool available) { media::VideoWindow::setMixingRendererAvailableForTesting(available); }
    ~MixingRendererAnswer() { media::VideoWindow::setMixingRendererAvailableForTesting(std::nullopt); }
};

class MainWindowPlayback : public MainWindowTest {
protected:
    TMainPlayback& playback() { return *TMainPlayback::of(window.get()); }

    // A window in video mode 1 with `clip` open through the playback, the one-time hint already seen.
    TfrmMain& openClip(const QString& clip)
    {
        TfrmMain& w = open();
        w.VideoMode = 1;
        w.ShowRenderMessage = false;
        w.OpenDialog.fileName = testenv::fixture(clip);
        EXPECT_TRUE(playback().OpenVideoFile(testenv::fixture(clip))) << clip.toStdString();
        return w;
    }

    media::MediaTime position()
    {
        media::MediaTime current = -1;
        playback().MediaSeeking->getCurrentPosition(current);
        return current;
    }

    // Answers the video mode dialog, once it is shown, with `choice` and OK.
    void answerVideoMode(QRadioButton* TfrmVideoMode::*choice)
    {
        TfrmVideoMode* dialog = playback().frmVideoMode;
        QTimer::singleShot(0, dialog, [dialog, choice] {
            (dialog->*choice)->click();
            dialog->btnOK->click();
        });
    }
};

TEST_F(MainWindowPlayback, ExitCloseBoxAndDestructionReleaseTheGraphAndTheSettingsAreWritten)
{
    const bool quitOnClose = QApplication::quitOnLastWindowClosed();
    QApplication::setQuitOnLastWindowClosed(false);  // only "E&xit" may end the loop here
    const std::pair<const char*, std::function<void(TfrmMain&)>> cases[] = {
        {"E&xit", [](TfrmMain& w) { EXPECT_EQ(runMessageLoop([&] { w.Exit1->trigger(); }), 0); }},
        {"close box", [](TfrmMain& w) {
             w.show();
             EXPECT_EQ(runMessageLoop([&] { w.close(); }), 0);
         }},
        {"destruction alone", [](TfrmMain&) {}},
    };
    for (const auto& [path, leave] : cases) {
        TfrmMain& w = openClip("h264_bframes.mkv");
        w.tbSeekAmount->setValue(7);
        const std::shared_ptr<media::MediaSeeking> seeking = playback().MediaSeeking;
        ASSERT_NE(seeking, nullptr);
        leave(w);
        if (std::string(path) != "destruction alone") {
            EXPECT_EQ(playback().FilterGraph.state(), media::GraphState::Uninitialised) << path;
            EXPECT_FALSE(playback().FilterGraph.active()) << path;
            EXPECT_EQ(playback().MediaSeeking, nullptr) << path;
            EXPECT_TRUE(w.VideoOpen) << path << ": the settings of an open video are still written";
        }
        destroy();
        media::MediaTime current = 0;
        EXPECT_FALSE(seeking->getCurrentPosition(current)) << path << ": the graph and its streaming thread are gone";
        EXPECT_EQ(setupValue(QStringLiteral("tbSeekAmount")), "7") << path;
        EXPECT_EQ(setupValue(QStringLiteral("VideoMode")), "1") << path;
    }
    QApplication::setQuitOnLastWindowClosed(quitOnClose);
}

TEST_F(MainWindowPlayback, AStoredMixingRendererModeFallsBackWhenTheRendererIsMissing)
{
    const std::pair<bool, int> cases[] = {{true, 3}, {false, 1}};
    for (const auto& [available, mode] : cases) {
        writeSettings("[Setup]\nVideoMode=3\n");
        MixingRendererAnswer answer(available);
        EXPECT_EQ(open().VideoMode, mode) << available;
        destroy();
    }
}

TEST_F(MainWindowPlayback, ChangeVideoModeItemReopensTheVideoInTheNewMode)
{
    TfrmMain& w = openClip("divx.avi");
    ASSERT_EQ(playback().SkipMilliseconds(2000, 0), 0);
    answerVideoMode(&TfrmVideoMode::rbColorSpaceConverter);
    w.ChangeVideoMode1->trigger();
    EXPECT_EQ(w.VideoMode, 2);
    EXPECT_TRUE(w.VideoOpen);
    EXPECT_EQ(playback().FilterGraph.state(), media::GraphState::Playing);
    EXPECT_LT(position(), 2000 * kMs) << "reopened from the start";
    EXPECT_NE(playback().FilterGraph.description().findByClassId(media::clsid::ColorSpaceConverter), nullptr);
}

TEST_F(MainWindowPlayback, OpenItemAsksForAVideoModeFirstAndShowsTheHintOnce)
{
    writeSettings("[Setup]\nVideoMode=0\n");
    TfrmMain& w = open();
    ASSERT_EQ(w.VideoMode, 0);
    for (const char* clip : {"divx.avi", "wmv2.asf"}) {
        dialogs.queueOpenFile(testenv::fixture(clip));
        if (w.VideoMode == 0)
            answerVideoMode(&TfrmVideoMode::rbStandard);
        w.Open1->trigger();
        EXPECT_TRUE(w.VideoOpen) << clip;
        EXPECT_EQ(w.VideoMode, 1) << clip;
    }
    const QStringList texts = dialogs.texts();
    ASSERT_EQ(texts.count(), 1);
    EXPECT_TRUE(texts.first().startsWith("If no video displays, try changing the Video Mode\r\n"));
}

TEST_F(MainWindowPlayback, VideoCommandsFollowTheOpenVideo)
{
    TfrmMain& w = openClip("divx.avi");
    for (QAction* command : {w.Skorrel1, w.CopyFullFrame1, w.ShowFilters1, w.ShowFilterTree1})
        EXPECT_TRUE(command->isEnabled()) << command->text().toStdString();
    EXPECT_FALSE(playback().OpenVideoFile(testenv::fixture("corrupt.avi")));
    for (QAction* command : {w.Skorrel1, w.CopyFullFrame1, w.ShowFilters1, w.ShowFilterTree1})
        EXPECT_FALSE(command->isEnabled()) << command->text().toStdString();
}

TEST_F(MainWindowPlayback, BatchOperationsMoveThroughTheOpenVideo)
{
    TfrmMain& w = open();
    w.VideoMode = 1;
    w.ShowRenderMessage = false;
    TfrmMainParent& parent = w;
    ASSERT_TRUE(parent.OpenVideoFile(testenv::fixture("h264_bframes.mkv")));
    EXPECT_EQ(position(), 0) << "held at the first frame";
    EXPECT_EQ(parent.GetDuration(), 10000);
    const std::pair<int32_t, media::MediaTime> steps[] = {{3, 105 * kMs}, {-1, 70 * kMs}, {40, 1470 * kMs}};
    for (const auto& [frames, expected] : steps) {
        parent.SkipFrames(frames);
        EXPECT_EQ(position(), expected) << frames;
        EXPECT_EQ(framepattern::readFrameNumber(playback().SampleGrabber.lastSample()), expected / (40 * kMs)) << frames;
        EXPECT_EQ(playback().FilterGraph.state(), media::GraphState::Paused) << frames;
    }
    parent.PreviousChapter();
    EXPECT_EQ(position(), 0);
}

// A batch open shows the video it opened and a paused graph; the dialogs keep following the user's
// last choice.
TEST_F(MainWindowPlayback, ABatchOpenShowsItsVideoPausedAndTheDialogsFollowTheLastChoice)
{
    TfrmMain& w = openClip("divx.avi");
    TfrmMainParent& parent = w;
    ASSERT_TRUE(parent.OpenVideoFile(testenv::fixture("h264_bframes.mkv")));
    EXPECT_EQ(w.txtVideoFileName->text(), testenv::fixture("h264_bframes.mkv"));
    EXPECT_EQ(w.SaveDialog1.fileName, "divx.jpg");
    EXPECT_EQ(w.OpenDialog.initialDir, QFileInfo(testenv::fixture("divx.avi")).absolutePath());
    EXPECT_EQ(playback().FilterGraph.state(), media::GraphState::Paused);
    EXPECT_EQ(w.btnPlay->toolTip(), "Play");
}

// A command-line run opens before any dialog was used: the remembered folder is written back as it was.
TEST_F(MainWindowPlayback, AnOpenBeforeAnyDialogChoiceKeepsTheRememberedFolder)
{
    const QString remembered = dir.filePath(QStringLiteral("videos"));
    writeSettings("[Setup]\nInitialDir=" + remembered.toUtf8() + "\n");
    TfrmMain& w = open();
    w.VideoMode = 1;
    w.ShowRenderMessage = false;
    TfrmMainParent& parent = w;
    ASSERT_TRUE(parent.OpenVideoFile(testenv::fixture("h264_bframes.mkv")));
    EXPECT_EQ(w.txtVideoFileName->text(), testenv::fixture("h264_bframes.mkv"));
    EXPECT_EQ(w.OpenDialog.initialDir, remembered);
    EXPECT_TRUE(w.SaveDialog1.fileName.isEmpty());
    destroy();
    EXPECT_EQ(setupValue(QStringLiteral("InitialDir")), remembered);
}

TEST_F(MainWindowPlayback, SliderKeysPlayAndChangeTheAmountAndNeverMoveTheSlider)
{
    TfrmMain& w = openClip("divx.avi");
    w.tbSeekAmount->setValue(5);
    QTest::keyClick(w.tbVideoSlider, Qt::Key_Space);
    EXPECT_EQ(playback().FilterGraph.state(), media::GraphState::Paused);
    EXPECT_EQ(w.btnPlay->toolTip(), "Play");
    EXPECT_EQ(w.btnPlay->icon().cacheKey(), w.ImageList1[3].cacheKey());
    QTest::keyClick(w.tbVideoSlider, Qt::Key_Space);
    EXPECT_EQ(playback().FilterGraph.state(), media::GraphState::Playing);
    EXPECT_EQ(w.btnPlay->toolTip(), "Pause");
    EXPECT_EQ(w.btnPlay->icon().cacheKey(), w.ImageList1[2].cacheKey());

    QTest::keyClick(w.tbVideoSlider, Qt::Key_Space);
    const int slider = w.tbVideoSlider->value();
    const media::MediaTime paused = position();
    for (Qt::Key key : {Qt::Key_PageUp, Qt::Key_End, Qt::Key_Home, Qt::Key_PageDown})
        QTest::keyClick(w.tbVideoSlider, key);
    EXPECT_EQ(w.tbVideoSlider->value(), slider);
    EXPECT_EQ(position(), paused);
    QTest::keyClick(w.tbVideoSlider, Qt::Key_Down);
    EXPECT_EQ(w.tbSeekAmount->value(), 4);
    w.tbSeekAmount->setValue(1);
    QTest::keyClick(w.tbVideoSlider, Qt::Key_Down);
    EXPECT_EQ(w.tbSeekAmount->value(), 1) << "the amount stays within 1..35";
}

}  // namespace
