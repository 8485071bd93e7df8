// Building the graph: broken files fail clearly and quickly, refused components are skipped, the
// filters that play are described and registered, seeking capabilities are honest.
#include "Player.h"

#include "media/MediaDecoder.h"
#include "media/MediaError.h"
#include "platform/ComponentRegistry.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <csignal>
#include <fstream>
#include <future>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>

extern "C" {
#include <libavcodec/avcodec.h>
}

using namespace mediatest;

namespace {

// Renders `path` and returns the error it raised; fails if it raised none.
media::EMediaError renderError(media::FilterGraph& graph, const QString& path)
{
    try {
        graph.renderFile(path);
    } catch (const media::EMediaError& error) {
        return error;
    }
    ADD_FAILURE() << "no error for " << path.toStdString();
    return media::EMediaError(0, QString());
}

TEST(GraphBuild, BrokenFilesFailWithAClearErrorWithinBoundedTime)
{
    QTemporaryDir folder;
    const QString cases[] = {testenv::fixture("empty.avi"), testenv::fixture("corrupt.avi"),
                             testenv::fixture("truncated.mp4"), folder.path(),
                             folder.filePath("missing.avi")};
    for (const QString& path : cases) {
        SCOPED_TRACE(path.toStdString());
        // The decoder's open alone, on a thread of its own, so that a hang fails instead of hanging.
        auto opened = std::make_shared<std::promise<QString>>();
        std::thread([opened, path] {
            try {
                media::MediaDecoder::open(path, {}, std::nullopt);
                opened->set_value(QString());
            } catch (const media::EMediaError& error) {
                opened->set_value(error.message());
            }
        }).detach();
        auto result = opened->get_future();
        ASSERT_EQ(result.wait_for(20s), std::future_status::ready) << "open hangs";
        EXPECT_FALSE(result.get().isEmpty());

        media::FilterGraph graph;
        graph.setActive(true);
        const media::EMediaError error = renderError(graph, path);
        EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\S.* \\(\\$[0-9a-f]{1,8}\\)\\.$")).match(error.message()).hasMatch())
            << error.message().toStdString();
        EXPECT_EQ(graph.querySeeking(), nullptr);
    }
}

TEST(GraphBuild, ErrorMessagesCarryFFmpegsTextAndTheCode)
{
    const media::EMediaError invalid = media::EMediaError::fromAv(AVERROR_INVALIDDATA);
    EXPECT_EQ(invalid.message(), QStringLiteral("Invalid data found when processing input ($bebbb1b7)."));
    EXPECT_EQ(invalid.code(), 0xbebbb1b7u);
    EXPECT_EQ(media::EMediaError::fromCode(media::VFW_E_CANNOT_RENDER).message(),
              QStringLiteral("No combination of filters could be found to render the stream ($80040218)."));
}

TEST(GraphBuild, ATruncatedFilePlaysWhatItHasToTheEnd)
{
    Player player;
    ASSERT_NO_FATAL_FAILURE(player.open("truncated.avi"));
    QSignalSpy complete(&player.graph, &media::FilterGraph::graphComplete);
    ASSERT_NO_FATAL_FAILURE(player.seek(9000 * kMs));  // beyond the data that is left
    EXPECT_FALSE(player.window.currentImage().isNull());
    ASSERT_NO_FATAL_FAILURE(player.seek(1000 * kMs));
    EXPECT_EQ(player.frameOnScreen(), 25);
    player.graph.play();
    ASSERT_TRUE(testenv::waitUntil([&] { return complete.count() > 0; }, 60s));
}

TEST(GraphBuild, ARefusedDecoderIsSkippedForTheNextCandidate)
{
    const QString mpeg2video = media::decoderClassId(avcodec_find_decoder_by_name("mpeg2video"));
    const QString mpegvideo = media::decoderClassId(avcodec_find_decoder_by_name("mpegvideo"));
    Player player;
    ASSERT_NO_FATAL_FAILURE(player.open("mpeg2.mpg"));
    EXPECT_NE(player.graph.description().findByClassId(mpeg2video), nullptr);

    player.graph.setRefusedClassIds({mpeg2video.toLower()});
    ASSERT_NO_FATAL_FAILURE(player.open("mpeg2.mpg"));
    EXPECT_EQ(player.graph.description().findByClassId(mpeg2video), nullptr);
    EXPECT_NE(player.graph.description().findByClassId(mpegvideo), nullptr);
    ASSERT_NO_FATAL_FAILURE(player.seek(3500 * kMs));
    EXPECT_EQ(player.frameOnScreen(), 87);

    // With the filter block off, the list is not consulted.
    player.graph.setBlockFilters(false);
    ASSERT_NO_FATAL_FAILURE(player.open("mpeg2.mpg"));
    EXPECT_NE(player.graph.description().findByClassId(mpeg2video), nullptr);
}

TEST(GraphBuild, RefusingTheOnlyVideoDecoderFailsTheRender)
{
    media::FilterGraph graph;
    graph.setActive(true);
    graph.setRefusedClassIds({media::decoderClassId(avcodec_find_decoder_by_name("mpeg4"))});
    EXPECT_EQ(renderError(graph, testenv::fixture("xvid_bframes.avi")).code(), media::VFW_E_CANNOT_RENDER);
}

TEST(GraphBuild, TheDescriptionShowsTheFiltersThatPlayAndTheRegistryKnowsThem)
{
    Player player;
    media::FilterColorSpaceConverter converter;
    converter.setFilterGraph(&player.graph);
    ASSERT_NO_FATAL_FAILURE(player.open("divx.avi"));
    QStringList names;
    for (const auto& filter : player.graph.description().filters()) {
        names << filter->name;
        const auto registered = platform::ComponentRegistry::instance().find(filter->classId);
        ASSERT_TRUE(registered.has_value()) << filter->name.toStdString();
        EXPECT_FALSE(registered->libraryPath.isEmpty());
        for (const auto& pin : filter->pins)
            EXPECT_NE(pin->connectedTo, nullptr) << filter->name.toStdString() << " " << pin->name.toStdString();
    }
    EXPECT_EQ(names, (QStringList{"divx.avi", "FFmpeg Demultiplexer (avi)", "FFmpeg Video Decoder (mpeg4)",
                                  "Color Space Converter", "SampleGrabber", "Video Mixing Renderer 9",
                                  "FFmpeg Audio Decoder (mp3float)", "Audio Renderer"}));
    const auto* decoder = player.graph.description().findByClassId(
        media::decoderClassId(avcodec_find_decoder_by_name("mpeg4")));
    ASSERT_NE(decoder, nullptr);
    EXPECT_TRUE(decoder->libraryPath.contains("libavcodec")) << decoder->libraryPath.toStdString();

    // Out of the graph, the grabber and converter are left out of the next build.
    player.grabber.setFilterGraph(nullptr);
    converter.setFilterGraph(nullptr);
    player.window.setMode(media::VideoWindow::Mode::Normal);
    ASSERT_NO_FATAL_FAILURE(player.open("div3.avi"));
    names.clear();
    for (const auto& filter : player.graph.description().filters())
        names << filter->name;
    EXPECT_EQ(names, (QStringList{"div3.avi", "FFmpeg Demultiplexer (avi)", "FFmpeg Video Decoder (msmpeg4)",
                                  "Video Renderer"}));
    EXPECT_TRUE(player.window.currentImage().isNull()) << "the standard renderer hands out no image";
}

TEST(GraphBuild, SeekingIsReportedHonestly)
{
    Player player;
    ASSERT_NO_FATAL_FAILURE(player.open("h264.mp4"));
    const uint32_t all = media::CanSeekAbsolute | media::CanSeekForwards | media::CanSeekBackwards | media::CanGetDuration;
    EXPECT_EQ(player.graph.seekCapabilities() & all, all);
    EXPECT_NEAR(static_cast<double>(player.duration()), 10'000.0 * kMs, 30.0 * kMs);
    media::MediaTime current = -1, stop = -1;
    ASSERT_TRUE(player.graph.querySeeking()->getPositions(current, stop));
    EXPECT_EQ(stop, player.duration()) << "the stop position is the duration";

    // A pipe plays but cannot seek.
    std::signal(SIGPIPE, SIG_IGN);
    QTemporaryDir folder;
    const QString fifo = folder.filePath("pipe.mpg");
    ASSERT_EQ(mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    std::thread writer([&] {
        std::ifstream in(testenv::fixture("mpeg2.mpg").toStdString(), std::ios::binary);
        std::ofstream out(fifo.toStdString(), std::ios::binary);
        out << in.rdbuf();
    });
    player.graph.renderFile(fifo);
    EXPECT_EQ(player.graph.seekCapabilities() & (media::CanSeekAbsolute | media::CanSeekBackwards), 0u);
    EXPECT_FALSE(player.graph.querySeeking()->setPositions(1000 * kMs, media::Positioning::Absolute));
    player.graph.clearGraph();
    writer.join();
}

TEST(GraphBuild, ASeekingInterfaceOfAClearedGraphFailsInsteadOfReachingTheNextFile)
{
    Player player;
    ASSERT_NO_FATAL_FAILURE(player.open("divx.avi"));
    const auto old = player.graph.querySeeking();
    ASSERT_NO_FATAL_FAILURE(player.open("wmv2.asf"));
    media::MediaTime current;
    EXPECT_FALSE(old->getCurrentPosition(current));
    EXPECT_FALSE(old->setPositions(0, media::Positioning::Absolute));
    player.graph.clearGraph();
    EXPECT_EQ(player.graph.querySeeking(), nullptr);
    EXPECT_THROW(media::FilterGraph().renderFile(testenv::fixture("divx.avi")), media::EMediaError)
        << "an inactive graph renders nothing";
}

TEST(GraphBuild, MixingRendererAvailabilityCanBeInjected)
{
    EXPECT_TRUE(media::VideoWindow::mixingRendererAvailable());
    media::VideoWindow::setMixingRendererAvailableForTesting(false);
    EXPECT_FALSE(media::VideoWindow::mixingRendererAvailable());
    media::VideoWindow::setMixingRendererAvailableForTesting(std::nullopt);
    EXPECT_TRUE(media::VideoWindow::mixingRendererAvailable());
}

}  // namespace
