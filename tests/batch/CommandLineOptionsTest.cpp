// Reading the command line of a batch start: which argument is what, and what each option sets.
#include "app/IniFile.h"
#include "batch/CommandLineOptions.h"
#include "batch/uLibBatchMode.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class CommandLineOptions : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        QFile file(video());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    QString video() const { return dir.filePath(QStringLiteral("clip.avi")); }

    QTemporaryDir dir;
};

TEST_F(CommandLineOptions, TheLastArgumentIsTheFolderOnlyWhenItIsOne)
{
    TCommandLineRequest request = ParseCommandLine({"-thumbs", "12", video(), dir.path()});
    EXPECT_EQ(request.VideoFile, video());
    EXPECT_EQ(request.OutputFolder, dir.path());
    EXPECT_TRUE(request.Problem.isEmpty());

    request = ParseCommandLine({"-thumbs", "12", video()});
    EXPECT_EQ(request.VideoFile, video());
    EXPECT_TRUE(request.OutputFolder.isEmpty());

    request = ParseCommandLine({video(), "-thumbs", "5"});
    EXPECT_EQ(request.VideoFile, "5");
    EXPECT_TRUE(request.Problem.contains("\"5\"")) << request.Problem.toStdString();

    EXPECT_FALSE(ParseCommandLine({dir.path()}).Problem.isEmpty());
    EXPECT_FALSE(ParseCommandLine({dir.path(), dir.path()}).Problem.isEmpty());
    EXPECT_FALSE(ParseCommandLine({}).Problem.isEmpty());
}

struct OptionCase {
    QStringList options;
    std::optional<int> thumbs, ms, skipFront, skipBack;
};

TEST_F(CommandLineOptions, OptionsArePresentByTheirSwitchAndReadZeroWhenUnusable)
{
    const std::optional<int> absent;
    const QList<OptionCase> cases = {
        {{}, absent, absent, absent, absent},
        {{"/THUMBS", "3"}, 3, absent, absent, absent},
        {{"-thumbs", "12", "-THUMBS", "20"}, 20, absent, absent, absent},
        {{"-thumbs", "x", "-ms", "2000"}, 0, 2000, absent, absent},
        {{"-thumbs", "x", "-thumbs", "7"}, 0, absent, absent, absent},  // the scan stops at x
        {{"-ms", "$10", "-SkipFront", "-250", "/skipback", "0x20"}, absent, 16, -250, 32},
        {{"--thumbs", "4", "thumbs", "4"}, absent, absent, absent, absent},
    };
    for (const OptionCase& c : cases) {
        SCOPED_TRACE(c.options.join(' ').toStdString());
        const TCommandLineRequest request = ParseCommandLine(c.options + QStringList{video()});
        EXPECT_EQ(request.ThumbCount, c.thumbs);
        EXPECT_EQ(request.Milliseconds, c.ms);
        EXPECT_EQ(request.SkipFront, c.skipFront);
        EXPECT_EQ(request.SkipBack, c.skipBack);
    }
}

TEST_F(CommandLineOptions, AUsableThumbCountWinsOverMilliseconds)
{
    TBatchItem item;
    ApplyCommandLine(ParseCommandLine({"-ms", "1000", "-thumbs", "5", video()}), item);
    EXPECT_EQ(item.ThumbCount, 5);
    EXPECT_EQ(item.Milliseconds, 0);

    TBatchItem counted;
    ApplyCommandLine(ParseCommandLine({"-thumbs", "x", "-ms", "2000", "-skipfront", "-3", video(), dir.path()}), counted);
    EXPECT_EQ(counted.ThumbCount, 0);
    EXPECT_EQ(counted.Milliseconds, 2000);
    EXPECT_EQ(counted.SkipFront, -3);
    EXPECT_EQ(counted.Destination, dir.path());
}

TEST_F(CommandLineOptions, TheSavedIntervalFillsOnlyAnEmptyOne)
{
    struct Case {
        QByteArray ini;
        int32_t ms, thumbs;
    };
    const QList<Case> cases = {
        {"", 500, 0},
        {"[Setup]\nAutoThumbBy=ThumbCount\n", 0, 10},
        {"[Setup]\nAutoThumbBy=ThumbCount\nAutoThumbByValue=0\n", 0, 10},
        {"[Setup]\nAutoThumbBy=Milliseconds\nAutoThumbByValue=0\n", 0, 10},
        {"[Setup]\nAutoThumbBy=MILLISECONDS\nAutoThumbByValue=7\n", 0, 7},
        {"[Setup]\nAutoThumbByValue=-5\n", -5, 0},
    };
    const QString ini = dir.filePath(QStringLiteral("Skorrel.ini"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ini.toStdString());
        QFile file(ini);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(c.ini);
        file.close();
        TBatchItem item;
        ApplyDefaultInterval(TIniFile(ini), item);
        EXPECT_EQ(item.Milliseconds, c.ms);
        EXPECT_EQ(item.ThumbCount, c.thumbs);
    }
    TBatchItem given;
    given.ThumbCount = -2;
    ApplyDefaultInterval(TIniFile(ini), given);
    EXPECT_EQ(given.ThumbCount, -2);
    EXPECT_EQ(given.Milliseconds, 0);
}

TEST(CommandLineHelp, AnyHelpSwitchAsksForTheUsage)
{
    EXPECT_TRUE(IsHelpRequest({"-h"}));
    EXPECT_TRUE(IsHelpRequest({"--help"}));
    EXPECT_TRUE(IsHelpRequest({"-thumbs", "3", "/?", "clip.avi"}));
    EXPECT_FALSE(IsHelpRequest({"-H"}));
    EXPECT_FALSE(IsHelpRequest({"-thumbs", "3", "clip.avi"}));
    EXPECT_TRUE(CommandLineUsage().startsWith("Usage: skorrel"));
}

}  // namespace
