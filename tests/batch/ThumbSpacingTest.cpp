#include "batch/ThumbSpacing.h"
#include "batch/uLibBatchMode.h"

#include <gtest/gtest.h>
#include <limits>

namespace {

TBatchItem MakeItem(int64_t duration, int32_t milliseconds, int32_t thumbCount, int64_t skipFront = 0,
                    int64_t skipBack = 0)
{
    TBatchItem item;
    item.Duration = duration;
    item.Milliseconds = milliseconds;
    item.ThumbCount = thumbCount;
    item.SkipFront = skipFront;
    item.SkipBack = skipBack;
    return item;
}

struct SpacingCase {
    const char* name;
    TBatchItem item;
    TThumbSpacing expected;
};

class ThumbSpacingTest : public ::testing::TestWithParam<SpacingCase> {};

TEST_P(ThumbSpacingTest, GivesStepAndTotal)
{
    EXPECT_EQ(ComputeThumbSpacing(GetParam().item), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, ThumbSpacingTest,
    ::testing::Values(
        SpacingCase{"IntervalWithSkips", MakeItem(10000, 3000, 0, 500, 500), {3000, 4, false}},
        SpacingCase{"IntervalRaisedToTwo", MakeItem(1000, 5000, 0), {5000, 2, false}},
        SpacingCase{"IntervalSkipsPastEnd", MakeItem(1000, 300, 0, 900, 900), {300, 2, false}},
        SpacingCase{"IntervalLongVideo", MakeItem(600000, 500, 0), {500, 1201, false}},
        SpacingCase{"IntervalIgnoresCount", MakeItem(10000, 3000, 7), {3000, 4, false}},
        // 2^31 ms at 1 ms would wrap to a negative 32-bit total; it is held at the largest instead.
        SpacingCase{"IntervalTotalClamped", MakeItem(int64_t{1} << 31, 1, 0),
                    {1, std::numeric_limits<int32_t>::max(), false}},
        SpacingCase{"CountSpread", MakeItem(10000, 0, 5), {2500, 5, false}},
        SpacingCase{"CountWithSkips", MakeItem(10000, 0, 3, 1000, 1000), {4000, 3, false}},
        SpacingCase{"CountZeroStep", MakeItem(10000, 0, 3, 5000, 5000), {0, 3, false}},
        SpacingCase{"CountNegativeStep", MakeItem(10000, 0, 3, 0, 11000), {-500, 3, false}},
        SpacingCase{"CountOne", MakeItem(10000, 0, 1), {0, 1, true}},
        SpacingCase{"CountZero", MakeItem(10000, 0, 0), {0, 1, true}},
        SpacingCase{"CountNegative", MakeItem(10000, 0, -4), {0, 1, true}},
        SpacingCase{"NegativeIntervalNoCount", MakeItem(10000, -5, 0), {0, 1, true}}),
    [](const auto& info) { return std::string(info.param.name); });

struct NameCase {
    const char* name;
    const char* destination;
    int32_t number;
    int32_t total;
    const char* expected;
};

class ThumbFileNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(ThumbFileNameTest, PadsToTheDigitsOfTheTotal)
{
    TBatchItem item;
    item.Destination = QString::fromUtf8(GetParam().destination);
    item.OutputName = QStringLiteral("clip");
    EXPECT_EQ(ThumbFileName(item, GetParam().number, GetParam().total), QString::fromUtf8(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Widths, ThumbFileNameTest,
    ::testing::Values(NameCase{"OneDigitFirst", "/out/", 1, 9, "/out/clip1.jpg"},
                      NameCase{"OneDigitLast", "/out/", 9, 9, "/out/clip9.jpg"},
                      NameCase{"TwoDigitsFirst", "/out/", 1, 10, "/out/clip01.jpg"},
                      NameCase{"TwoDigitsLast", "/out/", 10, 10, "/out/clip10.jpg"},
                      NameCase{"ThreeDigitsFirst", "/out/", 1, 100, "/out/clip001.jpg"},
                      NameCase{"ThreeDigitsLast", "/out/", 100, 100, "/out/clip100.jpg"},
                      NameCase{"FourDigits", "/out/", 1, 1201, "/out/clip0001.jpg"},
                      NameCase{"SingleUnnumbered", "/out/", 1, 1, "/out/clip.jpg"},
                      // A typed folder without its separator gets one.
                      NameCase{"SeparatorAdded", "/out", 3, 12, "/out/clip03.jpg"},
                      // No folder is the current folder, never the file system's root.
                      NameCase{"CurrentFolder", "", 2, 4, "clip2.jpg"},
                      NameCase{"CurrentFolderSingle", "", 1, 1, "clip.jpg"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ThumbFileName, IntervalModeWithAStaleCountOfOneStillNumbersEveryFile)
{
    TBatchItem item = MakeItem(10000, 3000, 1);
    item.OutputName = QStringLiteral("clip");
    const TThumbSpacing spacing = ComputeThumbSpacing(item);
    ASSERT_EQ(spacing.TotalThumbs, 4);
    EXPECT_EQ(ThumbFileName(item, 1, spacing.TotalThumbs), QStringLiteral("clip1.jpg"));
    EXPECT_EQ(ThumbFileName(item, 4, spacing.TotalThumbs), QStringLiteral("clip4.jpg"));
}

}  // namespace
