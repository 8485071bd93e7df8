// The built skorrel run as a child process with no display, as scripts and servers run it.
#include "fixtures/FramePattern.h"
#include "support/TestEnv.h"
#include "thumbs/JpegIO.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct Outcome {
    int exitCode = -1;
    QString out;
    QString err;

    // The length printed as "Duration: <ms> ms"; -1 when none is.
    int64_t duration() const
    {
        const QRegularExpressionMatch match = QRegularExpression(QStringLiteral("\\nDuration: (\\d+) ms\\n$")).match(out);
        return match.hasMatch() ? match.captured(1).toLongLong() : -1;
    }
};

// Output folder for one case and a copy of a 10 s, 25 frames a second clip named clip.avi.
class CommandLineProcess : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("v")));
        ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("out")));
        ASSERT_TRUE(QFile::copy(testenv::fixture(QStringLiteral("divx.avi")), video()));
        // Without trimming and cropping the frame-number pattern survives whole.
        writeSettings("[Setup]\nTrimthumb=0\nCropthumb=0\n");
    }

    QString path(const QString& name) const { return dir.filePath(name); }
    QString video() const { return path(QStringLiteral("v/clip.avi")); }
    QString ini() const { return path(QStringLiteral("Skorrel.ini")); }

    void writeSettings(const QByteArray& text)
    {
        QFile file(ini());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
    }

    // Runs skorrel with no display and the test's own settings file, in `workDir`.
    Outcome run(const QStringList& args, const QString& workDir = QString())
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(QString::fromLatin1(name));
        env.insert(QStringLiteral("SKORREL_INI"), ini());
        QProcess process;
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(workDir.isEmpty() ? dir.path() : workDir);
        process.start(testenv::skorrelBinary(), args);
        Outcome outcome;
        if (!process.waitForFinished(240000)) {
            process.kill();
            process.waitForFinished();
            ADD_FAILURE() << "skorrel did not end: " << args.join(' ').toStdString();
            return outcome;
        }
        outcome.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        outcome.out = QString::fromLocal8Bit(process.readAllStandardOutput());
        outcome.err = QString::fromLocal8Bit(process.readAllStandardError());
        return outcome;
    }

    static QStringList jpegsIn(const QString& folder)
    {
        return QDir(folder).entryList({QStringLiteral("*.jpg")}, QDir::Files, QDir::Name);
    }

    // clip<prefix-padded 1..count>.jpg
    static QStringList numbered(int count, int digits)
    {
        QStringList names;
        for (int n = 1; n <= count; ++n)
            names << QStringLiteral("clip%1.jpg").arg(n, digits, 10, QLatin1Char('0'));
        return names;
    }

    QTemporaryDir dir;
};

struct FilesCase {
    const char* name;
    QStringList args;  // "{video}" and "{out}" stand for the clip and the output folder
    const char* folder;  // where the thumbnails are expected: "v" or "out"
    QStringList files;
};

TEST_F(CommandLineProcess, ArgumentsChooseCountFolderAndNames)
{
    const QList<FilesCase> cases = {
        {"thumbs 12 into a folder", {"-thumbs", "12", "{video}", "{out}"}, "out", numbered(12, 2)},
        {"slash switch, any case", {"/THUMBS", "3", "{video}"}, "v", numbered(3, 1)},
        {"usable thumbs beats ms", {"-ms", "1000", "-thumbs", "5", "{video}"}, "v", numbered(5, 1)},
        {"unusable thumbs gives 0, ms applies", {"-thumbs", "x", "-ms", "2000", "{video}"}, "v", numbered(6, 1)},
        {"one thumbnail carries no number", {"-thumbs", "1", "{video}"}, "v", {"clip.jpg"}},
        {"skips narrow the span", {"-skipfront", "1000", "-skipback", "1000", "-ms", "4000", "{video}"}, "v",
         numbered(3, 1)},
    };
    for (const FilesCase& c : cases) {
        SCOPED_TRACE(c.name);
        for (const QString& folder : {QStringLiteral("v"), QStringLiteral("out")})
            for (const QString& name : jpegsIn(path(folder)))
                QFile::remove(path(folder + QLatin1Char('/') + name));
        QStringList args;
        for (QString arg : c.args)
            args << arg.replace(QStringLiteral("{video}"), video()).replace(QStringLiteral("{out}"), path(QStringLiteral("out")));
        const Outcome outcome = run(args);
        EXPECT_EQ(outcome.exitCode, 0) << outcome.err.toStdString();
        EXPECT_EQ(jpegsIn(path(QString::fromLatin1(c.folder))), c.files);
        EXPECT_GT(outcome.duration(), 10000) << outcome.out.toStdString();  // the mp3 track ends a little later
    }
}

TEST_F(CommandLineProcess, EveryConsoleLineIsEchoedAndThePositionsAreExact)
{
    const Outcome outcome = run({"-thumbs", "x", "-ms", "2000", video(), path(QStringLiteral("out"))});
    ASSERT_EQ(outcome.exitCode, 0) << outcome.err.toStdString();
    EXPECT_TRUE(outcome.out.startsWith(QStringLiteral("Starting...\n"))) << outcome.out.toStdString();
    EXPECT_TRUE(outcome.out.contains(QStringLiteral("Creating Thumbnail: ") + path(QStringLiteral("out/clip6.jpg")) + '\n'));
    EXPECT_TRUE(outcome.out.contains(QStringLiteral("\ndone\nDuration: "))) << outcome.out.toStdString();
    // The one-time video-mode hint went to standard error instead of waiting for an answer.
    EXPECT_TRUE(outcome.err.contains(QStringLiteral("If no video displays, try changing the Video Mode"))) << outcome.err.toStdString();
    const int64_t duration = outcome.duration();
    ASSERT_GT(duration, 10000);
    // One every 2,000 ms from the first frame; the last seek stops 100 ms before the end.
    const QList<int64_t> frames = {0, 50, 100, 150, 200, (duration - 100) * 25 / 1000};
    for (int n = 1; n <= frames.size(); ++n) {
        const QImage thumb = ReadJpeg(path(QStringLiteral("out/clip%1.jpg").arg(n)));
        EXPECT_EQ(framepattern::readFrameNumber(thumb), frames[n - 1]) << "thumbnail " << n;
    }
}

TEST_F(CommandLineProcess, TheSavedIntervalAppliesWhenTheArgumentsGiveNone)
{
    struct Case {
        const char* name;
        QByteArray ini;  // empty: no settings file at all
        int count;
    };
    const QList<Case> cases = {
        {"no settings file: every 500 ms", {}, 21},
        {"thumb count 0 gives 10", "[Setup]\nAutoThumbBy=ThumbCount\nAutoThumbByValue=0\n", 10},
        {"saved interval", "[Setup]\nAutoThumbBy=Milliseconds\nAutoThumbByValue=2500\n", 5},
        {"mode compared exactly", "[Setup]\nAutoThumbBy=milliseconds\nAutoThumbByValue=4\n", 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (const QString& name : jpegsIn(path(QStringLiteral("out"))))
            QFile::remove(path(QStringLiteral("out/") + name));
        QFile::remove(ini());
        if (!c.ini.isEmpty())
            writeSettings(c.ini);
        const Outcome outcome = run({video(), path(QStringLiteral("out"))});
        EXPECT_EQ(outcome.exitCode, 0) << outcome.err.toStdString();
        EXPECT_EQ(jpegsIn(path(QStringLiteral("out"))), numbered(c.count, c.count >= 10 ? 2 : 1));
    }
}

TEST_F(CommandLineProcess, NoUsableVideoMeansNoRunExitTwoAndAReason)
{
    QFile text(path(QStringLiteral("v/notes.avi")));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("not a video at all");
    text.close();
    const QList<QStringList> cases = {
        {video(), "-thumbs", "5"},  // the last argument, 5, is taken as the video
        {"-thumbs", "5", path(QStringLiteral("v/missing.avi"))},
        {path(QStringLiteral("out"))},  // a folder alone names no video
        {"-thumbs", "5", path(QStringLiteral("v/notes.avi"))},
        {"-thumbs", "5", path(QStringLiteral("v"))  + "/", path(QStringLiteral("out"))},
    };
    for (const QStringList& args : cases) {
        SCOPED_TRACE(args.join(' ').toStdString());
        const Outcome outcome = run(args);
        EXPECT_EQ(outcome.exitCode, 2);
        EXPECT_TRUE(outcome.err.contains(QStringLiteral("no run"))) << outcome.err.toStdString();
        EXPECT_FALSE(outcome.out.contains(QStringLiteral("Duration")));
        EXPECT_TRUE(jpegsIn(path(QStringLiteral("v"))).isEmpty());
        EXPECT_TRUE(jpegsIn(path(QStringLiteral("out"))).isEmpty());
    }
}

TEST_F(CommandLineProcess, AFailedSaveExitsOneWithTheErrorLineOnStandardOutput)
{
    // A folder where the second thumbnail should go: its save fails and ends the video.
    ASSERT_TRUE(QDir(path(QStringLiteral("out"))).mkpath(QStringLiteral("clip2.jpg")));
    const Outcome outcome = run({"-thumbs", "3", video(), path(QStringLiteral("out"))});
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_TRUE(outcome.out.contains(QLatin1Char('\n') + video() + QStringLiteral(": "))) << outcome.out.toStdString();
    EXPECT_GT(outcome.duration(), 10000);
    EXPECT_EQ(jpegsIn(path(QStringLiteral("out"))), QStringList{"clip1.jpg"});
    EXPECT_TRUE(QFileInfo(path(QStringLiteral("out/clip2.jpg"))).isDir());
}

TEST_F(CommandLineProcess, ABareVideoNameWritesIntoTheCurrentFolder)
{
    const Outcome outcome = run({"-thumbs", "2", "clip.avi"}, path(QStringLiteral("v")));
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err.toStdString();
    EXPECT_EQ(jpegsIn(path(QStringLiteral("v"))), numbered(2, 1));
    EXPECT_FALSE(QFileInfo::exists(QStringLiteral("/clip1.jpg")));
}

TEST_F(CommandLineProcess, HelpPrintsTheUsageAndRunsNothing)
{
    for (const QStringList& args : QList<QStringList>{{"--help"}, {"-h"}, {"/?"}, {"-thumbs", "3", "-h", video()}}) {
        SCOPED_TRACE(args.join(' ').toStdString());
        const Outcome outcome = run(args);
        EXPECT_EQ(outcome.exitCode, 0);
        EXPECT_TRUE(outcome.out.startsWith(QStringLiteral("Usage: skorrel"))) << outcome.out.toStdString();
        EXPECT_TRUE(jpegsIn(path(QStringLiteral("v"))).isEmpty());
    }
}

}  // namespace
