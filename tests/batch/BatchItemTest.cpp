#include "batch/uLibBatchMode.h"

#include "batch/ThumbSpacing.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class BatchItemFromFile : public ::testing::Test {
protected:
    // A playable clip copied under `name` into a folder of the test's own.
    QString CopyClip(const QString& name)
    {
        const QString path = dir.filePath(name);
        EXPECT_TRUE(QFile::copy(testenv::fixture(QStringLiteral("divx.avi")), path));
        return path;
    }

    QTemporaryDir dir;
};

TEST_F(BatchItemFromFile, TakesFolderNameAndDurationFromTheVideo)
{
    const QString video = CopyClip(QStringLiteral("clip.final.avi"));
    const auto item = TBatchItem::CreateFromFile(video);
    ASSERT_TRUE(item);
    EXPECT_EQ(item->VideoFile, video);
    EXPECT_EQ(item->Destination, dir.path() + QLatin1Char('/'));
    EXPECT_EQ(item->OutputName, QStringLiteral("clip.final"));
    EXPECT_GT(item->Duration, 0);
    EXPECT_EQ(item->Milliseconds, 0);
    EXPECT_EQ(item->ThumbCount, 0);
    EXPECT_EQ(item->SkipFront, 0);
    EXPECT_EQ(item->SkipBack, 0);
}

TEST_F(BatchItemFromFile, ANameWithoutExtensionIsItsOwnOutputName)
{
    const auto item = TBatchItem::CreateFromFile(CopyClip(QStringLiteral("clip")));
    ASSERT_TRUE(item);
    EXPECT_EQ(item->OutputName, QStringLiteral("clip"));
}

TEST_F(BatchItemFromFile, ABareNameKeepsItsThumbnailsInTheCurrentFolder)
{
    CopyClip(QStringLiteral("clip.avi"));
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    const auto item = TBatchItem::CreateFromFile(QStringLiteral("clip.avi"));
    QDir::setCurrent(previous);
    ASSERT_TRUE(item);
    EXPECT_EQ(item->Destination, QString());
    EXPECT_EQ(ThumbFileName(*item, 1, 3), QStringLiteral("clip1.jpg"));
}

TEST_F(BatchItemFromFile, GivesNoItemForAMissingOrUnplayableFile)
{
    EXPECT_FALSE(TBatchItem::CreateFromFile(dir.filePath(QStringLiteral("missing.avi"))));
    EXPECT_FALSE(TBatchItem::CreateFromFile(testenv::fixture(QStringLiteral("empty.avi"))));
    EXPECT_FALSE(TBatchItem::CreateFromFile(testenv::fixture(QStringLiteral("corrupt.avi"))));
    EXPECT_FALSE(TBatchItem::CreateFromFile(dir.path()));
}

TEST(ExpandOutputName, ReplacesEveryStarWithTheBaseName)
{
    const QString video = QStringLiteral("/videos/clip.mpg");
    EXPECT_EQ(ExpandOutputName(QStringLiteral("*_thumb"), video), QStringLiteral("clip_thumb"));
    EXPECT_EQ(ExpandOutputName(QStringLiteral("**"), video), QStringLiteral("clipclip"));
    EXPECT_EQ(ExpandOutputName(QStringLiteral("shot"), video), QStringLiteral("shot"));
    EXPECT_EQ(ExpandOutputName(QString(), video), QString());
    // A star in the base name itself is inserted once, not expanded again.
    EXPECT_EQ(ExpandOutputName(QStringLiteral("a*b"), QStringLiteral("/v/x*y.avi")), QStringLiteral("ax*yb"));
}

TEST(BatchItem, SetOutputNameExpandsAgainstItsOwnVideo)
{
    TBatchItem item;
    item.VideoFile = QStringLiteral("/videos/clip.mpg");
    item.SetOutputName(QStringLiteral("*-*"));
    EXPECT_EQ(item.OutputName, QStringLiteral("clip-clip"));
}

TEST(BatchItem, IntervalTextFollowsTheMode)
{
    struct Case {
        int32_t milliseconds;
        int32_t thumbCount;
        const char* expected;
    };
    for (const Case& c : {Case{250, 7, "250ms"}, Case{0, 7, "7 thumbs"}, Case{-5, 0, "0 thumbs"}, Case{0, 0, "0 thumbs"}}) {
        TBatchItem item;
        item.Milliseconds = c.milliseconds;
        item.ThumbCount = c.thumbCount;
        EXPECT_EQ(item.IntervalText(), QString::fromUtf8(c.expected)) << c.milliseconds << " " << c.thumbCount;
    }
}

TEST(BatchItem, AssignCopiesEveryField)
{
    TBatchItem source;
    source.VideoFile = QStringLiteral("/v/a.avi");
    source.Destination = QStringLiteral("/out");
    source.Milliseconds = 1;
    source.ThumbCount = 2;
    source.Duration = 3;
    source.SkipFront = 4;
    source.SkipBack = 5;
    source.OutputName = QStringLiteral("a_x");
    TBatchItem target;
    target.Assign(source);
    EXPECT_EQ(target.VideoFile, source.VideoFile);
    EXPECT_EQ(target.Destination, source.Destination);
    EXPECT_EQ(target.Milliseconds, 1);
    EXPECT_EQ(target.ThumbCount, 2);
    EXPECT_EQ(target.Duration, 3);
    EXPECT_EQ(target.SkipFront, 4);
    EXPECT_EQ(target.SkipBack, 5);
    EXPECT_EQ(target.OutputName, source.OutputName);
}

}  // namespace
