// Running the graph: the position follows the presented frame, the end raises graph complete,
// states settle, volume maps to gain.
#include "Player.h"

#include "media/AudioRenderer.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace mediatest;

namespace {

TEST(Playback, PositionWhilePlayingIsTheTimeOfTheFrameOnScreen)
{
    Player player;
    ASSERT_NO_FATAL_FAILURE(player.open("h264_bframes.mkv"));
    player.graph.play();
    // Until a new frame is presented, the position stays where it was.
    EXPECT_EQ(player.position(), 0);
    ASSERT_TRUE(testenv::waitUntil([&] { return player.position() >= 1000 * kMs; }));
    player.graph.pause();
    ASSERT_NO_FATAL_FAILURE(player.settle());
    const media::MediaTime paused = player.position();
    EXPECT_EQ(paused % kFrame, 0) << "a frame's start time";
    EXPECT_EQ(player.frameOnScreen(), paused / kFrame);
    EXPECT_EQ(player.frameInGrabber(), paused / kFrame);
    EXPECT_EQ(player.graph.state(), media::GraphState::Paused);
}

TEST(Playback, SeekingWhilePlayingGoesOnFromTheTarget)
{
    Player player;
    ASSERT_NO_FATAL_FAILURE(player.open("xvid_bframes.avi"));
    player.graph.play();
    ASSERT_NO_FATAL_FAILURE(player.seek(5000 * kMs));
    EXPECT_EQ(player.graph.state(), media::GraphState::Playing);
    ASSERT_TRUE(testenv::waitUntil([&] { return player.position() > 5000 * kMs; }));
    player.graph.pause();
    ASSERT_NO_FATAL_FAILURE(player.settle());
    EXPECT_GT(player.frameOnScreen(), 125);
    EXPECT_EQ(player.frameOnScreen(), player.position() / kFrame);
}

TEST(Playback, PlayingFromTheStopPositionRaisesGraphComplete)
{
    Player player;
    ASSERT_NO_FATAL_FAILURE(player.open("wmv2.asf"));
    QSignalSpy complete(&player.graph, &media::FilterGraph::graphComplete);
    ASSERT_NO_FATAL_FAILURE(player.seek(player.duration()));
    player.graph.play();
    ASSERT_NO_FATAL_FAILURE(player.settle());
    EXPECT_EQ(complete.count(), 0) << "graph events arrive through the event loop, not inside a wait";
    ASSERT_TRUE(testenv::waitUntil([&] { return complete.count() > 0; }));
    EXPECT_EQ(player.position(), player.duration());
}

// The main window pauses a graph whose position reached the stop position; that pause must not
// swallow the end of a stream that was played from there.
TEST(Playback, PausingRightAfterPlayingFromTheStopPositionStillRaisesGraphComplete)
{
    Player player;
    ASSERT_NO_FATAL_FAILURE(player.open("h264_bframes.mkv"));
    QSignalSpy complete(&player.graph, &media::FilterGraph::graphComplete);
    ASSERT_NO_FATAL_FAILURE(player.seek(player.duration()));
    player.graph.play();
    player.graph.pause();
    ASSERT_TRUE(testenv::waitUntil([&] { return complete.count() > 0; }));
    QCoreApplication::processEvents();
    EXPECT_EQ(complete.count(), 1);
}

TEST(Playback, PlayingToTheEndRaisesGraphCompleteOnce)
{
    Player player;
    ASSERT_NO_FATAL_FAILURE(player.open("mpeg1.mpg"));
    QSignalSpy complete(&player.graph, &media::FilterGraph::graphComplete);
    ASSERT_NO_FATAL_FAILURE(player.seek(9500 * kMs));
    player.graph.play();
    ASSERT_TRUE(testenv::waitUntil([&] { return complete.count() > 0; }));
    EXPECT_EQ(player.frameOnScreen(), 249);
    EXPECT_EQ(player.position(), player.duration());
    QCoreApplication::processEvents();
    EXPECT_EQ(complete.count(), 1);
}

TEST(Playback, AudioOnlyFilesPlayWithoutVideoAndWithoutASoundDevice)
{
    Player player;
    ASSERT_NO_FATAL_FAILURE(player.open("audio.wav"));
    EXPECT_TRUE(player.graph.videoSize().isEmpty());
    EXPECT_NEAR(static_cast<double>(player.duration()), 2000.0 * kMs, 1.0 * kMs);
    QSignalSpy complete(&player.graph, &media::FilterGraph::graphComplete);
    player.graph.play();
    ASSERT_TRUE(testenv::waitUntil([&] { return complete.count() > 0; }));
    EXPECT_EQ(player.position(), player.duration());
    EXPECT_TRUE(player.window.currentImage().isNull());
}

TEST(Playback, StatesFollowTheCommands)
{
    Player player;
    EXPECT_EQ(player.graph.state(), media::GraphState::Stopped);
    ASSERT_NO_FATAL_FAILURE(player.open("divx.avi"));
    media::GraphState state;
    const std::pair<void (media::FilterGraph::*)(), media::GraphState> steps[] = {
        {&media::FilterGraph::play, media::GraphState::Playing},
        {&media::FilterGraph::pause, media::GraphState::Paused},
        {&media::FilterGraph::stop, media::GraphState::Stopped},
    };
    for (const auto& [command, expected] : steps) {
        (player.graph.*command)();
        ASSERT_TRUE(player.graph.getState(20s, state));
        EXPECT_EQ(state, expected);
    }
    player.graph.setActive(false);
    EXPECT_EQ(player.graph.state(), media::GraphState::Uninitialised);
}

TEST(Volume, LevelIsHundredthsOfADecibelBelowFullScale)
{
    EXPECT_DOUBLE_EQ(media::volumeGain(10000), 1.0);
    EXPECT_NEAR(media::volumeGain(8000), 0.1, 1e-12);    // -20 dB
    EXPECT_NEAR(media::volumeGain(5000), 0.00316, 1e-5);  // -50 dB
    // Level 0 (-100 dB) silences even a full-scale signal.
    QByteArray pcm;
    for (int16_t sample : {int16_t(32767), int16_t(-32768), int16_t(12345)})
        pcm.append(reinterpret_cast<const char*>(&sample), 2);
    QByteArray silent = pcm;
    media::applyGain(silent, media::volumeGain(0));
    EXPECT_EQ(silent, QByteArray(6, '\0'));
    media::applyGain(pcm, media::volumeGain(8000));
    EXPECT_EQ(reinterpret_cast<const int16_t*>(pcm.constData())[2], 1235);
}

TEST(Volume, TheGraphKeepsItsVolumeWithinRange)
{
    media::FilterGraph graph;
    for (const auto& [set, kept] : {std::pair{-5, 0}, {0, 0}, {7500, 7500}, {20000, 10000}}) {
        graph.setVolume(set);
        EXPECT_EQ(graph.volume(), kept) << set;
    }
}

}  // namespace
