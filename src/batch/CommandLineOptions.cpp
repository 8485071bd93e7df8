#include "batch/CommandLineOptions.h"

#include "app/IniFile.h"
#include "app/uLibPivex.h"
#include "batch/uLibBatchMode.h"

#include <QFileInfo>

namespace {

// Present when some argument is the switch "-name" or "/name" in any letter case; its value is
// the option lookup's, 0 when unusable.
std::optional<int> Option(const QStringList& args, const QString& name)
{
    for (const QString& arg : args) {
        if ((arg.startsWith(QLatin1Char('-')) || arg.startsWith(QLatin1Char('/')))
            && arg.mid(1).compare(name, Qt::CaseInsensitive) == 0)
            return GetParamInt(args, name, 0);
    }
    return std::nullopt;
}

QString Quoted(const QString& text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

}  // namespace

TCommandLineRequest ParseCommandLine(const QStringList& args)
{
    TCommandLineRequest request;
    if (args.isEmpty()) {
        request.Problem = QStringLiteral("no video file given");
        return request;
    }
    qsizetype videoIndex = args.size() - 1;
    if (QFileInfo(args.last()).isDir()) {
        request.OutputFolder = args.last();
        --videoIndex;
    }
    if (videoIndex < 0) {
        request.Problem = QStringLiteral("no video file given before the output folder ") + Quoted(args.last());
        return request;
    }
    request.VideoFile = args[videoIndex];
    const QFileInfo video(request.VideoFile);
    if (!video.exists())
        request.Problem = Quoted(request.VideoFile) + QStringLiteral(" is neither an existing video file nor an existing folder");
    else if (!video.isFile())
        request.Problem = Quoted(request.VideoFile) + QStringLiteral(" is not a file");
    request.ThumbCount = Option(args, QStringLiteral("thumbs"));
    request.Milliseconds = Option(args, QStringLiteral("ms"));
    request.SkipFront = Option(args, QStringLiteral("skipfront"));
    request.SkipBack = Option(args, QStringLiteral("skipback"));
    return request;
}

bool IsHelpRequest(const QStringList& args)
{
    return args.contains(QStringLiteral("-h")) || args.contains(QStringLiteral("--help"))
           || args.contains(QStringLiteral("/?"));
}

QString CommandLineUsage()
{
    return QStringLiteral(
        "Usage: skorrel [options] VIDEO [OUTPUT-FOLDER]\n"
        "Makes numbered JPEG thumbnails of VIDEO without any dialog, then ends.\n"
        "Without arguments the program opens its window.\n"
        "\n"
        "Options (either - or / in front, any letter case, each followed by an integer):\n"
        "  -thumbs N      N thumbnails spread over the video\n"
        "  -ms N          one thumbnail every N milliseconds (when -thumbs is absent or 0)\n"
        "  -skipfront N   skip N milliseconds at the start\n"
        "  -skipback N    leave out N milliseconds at the end\n"
        "  -h, --help, /? show this text\n"
        "\n"
        "Without -thumbs and -ms the saved batch interval applies (a thumbnail every 500 ms when\n"
        "none is saved). The thumbnails go to OUTPUT-FOLDER when it names an existing folder,\n"
        "otherwise beside the video, named after it: clip01.jpg, clip02.jpg, ...\n"
        "\n"
        "Exit status: 0 done without an error, 1 an error was reported during the run,\n"
        "2 no run took place (no usable video named). The video's length is printed as\n"
        "\"Duration: <ms> ms\".\n");
}

void ApplyCommandLine(const TCommandLineRequest& request, TBatchItem& item)
{
    if (!request.OutputFolder.isEmpty())
        item.Destination = request.OutputFolder;
    if (request.ThumbCount)
        item.ThumbCount = *request.ThumbCount;
    if (item.ThumbCount == 0 && request.Milliseconds)
        item.Milliseconds = *request.Milliseconds;
    if (request.SkipFront)
        item.SkipFront = *request.SkipFront;
    if (request.SkipBack)
        item.SkipBack = *request.SkipBack;
}

void ApplyDefaultInterval(const TIniFile& settings, TBatchItem& item)
{
    if (item.ThumbCount != 0 || item.Milliseconds != 0)
        return;
    const QString setup = QStringLiteral("Setup");
    const QString by = QStringLiteral("AutoThumbByValue");
    // Compared exactly: any other spelling selects thumb-count mode.
    if (settings.ReadString(setup, QStringLiteral("AutoThumbBy"), QStringLiteral("Milliseconds")) == QStringLiteral("Milliseconds"))
        item.Milliseconds = settings.ReadInteger(setup, by, 500);
    else
        item.ThumbCount = settings.ReadInteger(setup, by, 10);
    if (item.ThumbCount == 0 && item.Milliseconds == 0)
        item.ThumbCount = 10;
}
