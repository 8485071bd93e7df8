#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class TBatchItem;
class TIniFile;

// What the command line asks of a batch run: options first, then the video, then optionally an
// existing output folder.
struct TCommandLineRequest {
    QString VideoFile;
    QString OutputFolder;  // as given; empty when the last argument names no folder
    // Options present on the command line; an unusable value reads 0.
    std::optional<int> ThumbCount;
    std::optional<int> Milliseconds;
    std::optional<int> SkipFront;
    std::optional<int> SkipBack;
    // Why no run can take place; empty when the video argument names an existing file.
    QString Problem;
};

// `args` are the arguments without the program path.
TCommandLineRequest ParseCommandLine(const QStringList& args);

// -h, --help or /? anywhere among the arguments.
bool IsHelpRequest(const QStringList& args);
QString CommandLineUsage();

// The given output folder and options, as far as they are present.
void ApplyCommandLine(const TCommandLineRequest& request, TBatchItem& item);
// With no interval from the command line, the saved batch interval ([Setup] AutoThumbBy and
// AutoThumbByValue); 10 thumbnails when that gives none either.
void ApplyDefaultInterval(const TIniFile& settings, TBatchItem& item);
