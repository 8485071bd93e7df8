#pragma once

// A playback graph with a mixing-renderer window and a sample grabber, as the media tests drive it.
#include "support/TestEnv.h"
#include "fixtures/FramePattern.h"
#include "media/FilterGraph.h"
#include "media/SampleGrabber.h"
#include "media/VideoWindow.h"

#include <QSignalSpy>
#include <chrono>
#include <gtest/gtest.h>
#include <memory>

namespace mediatest {

using namespace std::chrono_literals;

constexpr media::MediaTime kMs = 10'000;           // media time units per millisecond
constexpr media::MediaTime kFrame = 40 * kMs;      // the fixtures' frame length (25 fps)

struct Player {
    media::FilterGraph graph;
    media::VideoWindow window;
    media::SampleGrabber grabber;

    Player()
    {
        graph.setActive(true);
        window.setMode(media::VideoWindow::Mode::VMR);
        window.setFilterGraph(&graph);
        grabber.setFilterGraph(&graph);
    }

    void open(const QString& clip) { graph.renderFile(testenv::fixture(clip)); settle(); }

    // Waits for the pending state change or seek (generously: two shared cores).
    void settle()
    {
        media::GraphState state;
        ASSERT_TRUE(graph.getState(20s, state)) << "state change did not complete";
    }

    void seek(media::MediaTime target)
    {
        ASSERT_TRUE(graph.querySeeking()->setPositions(target, media::Positioning::Absolute));
        settle();
    }

    media::MediaTime position() const
    {
        media::MediaTime current = -1;
        graph.querySeeking()->getCurrentPosition(current);
        return current;
    }

    media::MediaTime duration() const
    {
        media::MediaTime stop = -1;
        graph.querySeeking()->getDuration(stop);
        return stop;
    }

    int frameOnScreen() const { return framepattern::readFrameNumber(window.currentImage()); }
    int frameInGrabber() const { return framepattern::readFrameNumber(grabber.lastSample()); }
};

}  // namespace mediatest
