// Opening a video in the main window and moving through it with the transport controls.
#include "app/window/MainWindowFixture.h"
#include "fixtures/FramePattern.h"
#include "media/ufrmMainPlayback.h"
#include "media/ufrmVideoMode.h"
#include "platform/ScriptedDialogs.h"
#include "support/TestEnv.h"

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>
#include <memory>

namespace {

constexpr media::MediaTime kMs = 10'000;

// Each test on a settings file of its own, so the one-time hint and the remembered controls do not
// carry over from one test to the next when the program runs them all.
class OpeningAndTransport : public MainWindowTest {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(MainWindowTest::SetUp());
        open().ConnectOpeningAndTransport();
        playback = TMainPlayback::of(window.get());
        ASSERT_NE(playback, nullptr);
        window->VideoMode = 1;
    }

    bool openClip(const QString& name)
    {
        window->OpenDialog.fileName = testenv::fixture(name);
        return playback->OpenVideoFile(testenv::fixture(name));
    }

    media::MediaTime position() const
    {
        media::MediaTime current = -1;
        playback->MediaSeeking->getCurrentPosition(current);
        return current;
    }

    int frameInGrabber() const { return framepattern::readFrameNumber(playback->SampleGrabber.lastSample()); }

    TMainPlayback* playback = nullptr;
};

TEST_F(OpeningAndTransport, OpeningShowsTheVideoSizedIntoTheAreaAndPlays)
{
    ASSERT_TRUE(openClip("h264_bframes.mkv"));
    EXPECT_TRUE(window->VideoOpen);
    EXPECT_TRUE(window->Skorrel1->isEnabled());
    EXPECT_EQ(window->lblWidth->text(), "640");
    EXPECT_EQ(window->lblHeight->text(), "480");
    EXPECT_EQ(window->VideoPanel->size(), QSize(288, 216));
    EXPECT_EQ(window->VideoPanel->pos(), QPoint((window->ParentVideoPanel->width() - 288) / 2,
                                                (window->ParentVideoPanel->height() - 216) / 2));
    EXPECT_EQ(window->lblVideoDuration->text(), "00:00:10.000");
    EXPECT_EQ(window->txtVideoFileName->text(), testenv::fixture("h264_bframes.mkv"));
    EXPECT_EQ(window->SaveDialog1.fileName, "h264_bframes.jpg");
    EXPECT_EQ(playback->FilterGraph.state(), media::GraphState::Playing);
    EXPECT_EQ(window->btnPlay->toolTip(), "Pause");
    // The one-time hint, then never again.
    EXPECT_EQ(dialogs.texts().count(), 1);
    EXPECT_TRUE(dialogs.texts().value(0).startsWith("If no video displays, try changing the Video Mode\r\n"));
    ASSERT_TRUE(openClip("divx.avi"));
    EXPECT_EQ(dialogs.texts().count(), 1);
}

TEST_F(OpeningAndTransport, TheVideoAreaFitsLargeVideosAndShowsSmallOnesAtTheirSize)
{
    window->ShowRenderMessage = false;
    const std::pair<const char*, QSize> cases[] = {
        {"size_320x240.avi", {288, 216}}, {"size_720x576.avi", {288, 230}}, {"size_200x150.avi", {200, 150}}};
    for (const auto& [clip, area] : cases) {
        ASSERT_TRUE(openClip(clip)) << clip;
        EXPECT_EQ(window->VideoPanel->size(), area) << clip;
        EXPECT_EQ(playback->VideoWindow->size(), area) << clip;
    }
}

TEST_F(OpeningAndTransport, ChangingTheVideoModeReopensTheVideoOnlyWhenTheModeChanges)
{
    window->ShowRenderMessage = false;
    ASSERT_TRUE(openClip("divx.avi"));
    ASSERT_EQ(playback->SkipMilliseconds(2000, 0), 0);
    auto choose = [&](QRadioButton* choice) {
        QTimer::singleShot(0, playback->frmVideoMode, [this, choice] {
            choice->click();
            playback->frmVideoMode->btnOK->click();
        });
        playback->ChangeVideoMode1Click();
    };
    choose(playback->frmVideoMode->rbStandard);  // the mode in use: nothing reopens
    EXPECT_EQ(position(), 2000 * kMs);
    choose(playback->frmVideoMode->rbVMR);
    EXPECT_EQ(window->VideoMode, 3);
    EXPECT_EQ(playback->VideoWindow->mode(), media::VideoWindow::Mode::VMR);
    EXPECT_EQ(playback->FilterGraph.state(), media::GraphState::Playing);
    EXPECT_LT(position(), 2000 * kMs) << "reopened from the start";
    EXPECT_EQ(playback->FilterGraph.description().findByClassId(media::clsid::SampleGrabber), nullptr);
}

TEST_F(OpeningAndTransport, ArrowKeysSkipTheSeekAmountInStepsOf35Ms)
{
    ASSERT_TRUE(openClip("xvid_bframes.avi"));
    window->tbSeekAmount->setValue(10);
    QTest::keyClick(window->tbVideoSlider, Qt::Key_Right);
    EXPECT_EQ(playback->FilterGraph.state(), media::GraphState::Paused);
    const media::MediaTime after = position();
    QTest::keyClick(window->tbVideoSlider, Qt::Key_Right);
    EXPECT_EQ(position(), after + 350 * kMs);
    EXPECT_EQ(frameInGrabber(), (after + 350 * kMs) / (40 * kMs));
    QTest::keyClick(window->tbVideoSlider, Qt::Key_Left);
    EXPECT_EQ(position(), after);
    QTest::keyClick(window->tbVideoSlider, Qt::Key_Up);
    EXPECT_EQ(window->tbSeekAmount->value(), 11);
    EXPECT_EQ(window->btnPlay->toolTip(), "Play");
}

TEST_F(OpeningAndTransport, SkipsClampAtBothEndsAndAZeroSkipFails)
{
    ASSERT_TRUE(openClip("divx.avi"));
    media::MediaTime stop = 0;
    ASSERT_TRUE(playback->MediaSeeking->getStopPosition(stop));
    EXPECT_EQ(playback->SkipMilliseconds(-100000, 0), 1);
    EXPECT_EQ(position(), 0);
    EXPECT_EQ(playback->SkipMilliseconds(100000, 0), 1);
    EXPECT_EQ(position(), stop - 100 * kMs);
    dialogs.clearShown();
    EXPECT_EQ(playback->SkipMilliseconds(100000, 0), 1);
    EXPECT_TRUE(dialogs.texts().isEmpty());
    EXPECT_EQ(playback->SkipMilliseconds(-5000, 0), 0);
    EXPECT_EQ(playback->SkipMilliseconds(0, 0), 2);
    EXPECT_EQ(dialogs.texts(), QStringList{"A problem was encountered trying to seek.\r\nThis file may not be seekable."});
}

TEST_F(OpeningAndTransport, StartAndEndButtons)
{
    ASSERT_TRUE(openClip("wmv2.asf"));
    window->ToolButton3->click();  // while playing: plays on from 0
    EXPECT_EQ(playback->FilterGraph.state(), media::GraphState::Playing);
    playback->btnPlayClick();
    window->ToolButton3->click();  // while paused: stays paused at 0
    EXPECT_EQ(playback->FilterGraph.state(), media::GraphState::Paused);
    EXPECT_EQ(position(), 0);

    QSignalSpy complete(&playback->FilterGraph, &media::FilterGraph::graphComplete);
    window->ToolButton2->click();
    ASSERT_TRUE(testenv::waitUntil([&] { return complete.count() > 0; }));
    EXPECT_EQ(window->btnPlay->toolTip(), "Play");
    // The slider's next tick finds the position at the stop position and pauses the graph.
    ASSERT_TRUE(testenv::waitUntil([&] { return playback->FilterGraph.state() == media::GraphState::Paused; }));
    EXPECT_EQ(window->btnPlay->toolTip(), "Play");
    EXPECT_EQ(complete.count(), 1);
}

TEST_F(OpeningAndTransport, AFailedBuildReportsTheAdviceAndLeavesNoVideo)
{
    window->ShowRenderMessage = false;
    EXPECT_FALSE(openClip("corrupt.avi"));
    EXPECT_FALSE(window->VideoOpen);
    EXPECT_FALSE(window->Skorrel1->isEnabled());
    ASSERT_EQ(dialogs.texts().count(), 1);
    const QString message = dialogs.texts().first();
    EXPECT_TRUE(message.startsWith("An error occured attempting to play this file.\r\nTry changing the video mode\r\n"));
    EXPECT_TRUE(message.endsWith("\r\n\r\nInstall compatible codecs to play this file")) << message.toStdString();
    EXPECT_EQ(playback->GetDuration(), 0);
    EXPECT_EQ(playback->SkipMilliseconds(35, 0), 2) << "no video: the skip fails, nothing crashes";
}

TEST_F(OpeningAndTransport, AnAudioOnlyFileOpensWithUnknownSize)
{
    window->ShowRenderMessage = false;
    const QSize before = window->VideoPanel->size();
    ASSERT_TRUE(openClip("audio.mp3"));
    EXPECT_LE(window->lblWidth->text().toInt(), 0);
    EXPECT_LE(window->lblHeight->text().toInt(), 0);
    EXPECT_EQ(window->VideoPanel->size(), before);
}

TEST_F(OpeningAndTransport, VolumeLevelsFollowTheSlider)
{
    const std::pair<int, int> cases[] = {{0, 0}, {1, 0}, {10, 5000}, {50, 8495}, {100, 10000}};
    for (const auto& [position, level] : cases) {
        window->tbVolume->setValue(position);
        EXPECT_EQ(playback->GetVolumeLevel(), level) << position;
        EXPECT_EQ(playback->FilterGraph.volume(), level) << position;
    }
}

}  // namespace
