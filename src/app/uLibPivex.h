#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

class QLineEdit;

// Small routines shared across the program, and the program-wide message route.

// Value of the integer option `name` among `args` (the arguments without the program path).
int GetParamInt(const QStringList& args, const QString& name, int defaultValue);
// The same over the application's own command line.
int GetParamInt(const QString& name, int defaultValue);

bool SplitAtLast(const QString& text, QChar separator, QString& before, QString& after);
QString GetFileExtLower(const QString& path);
QString GetFileNameNoExt(const QString& path);

bool IsInteger(const QString& text);
// Converts like IsInteger; returns false (leaving value alone) when the text is not an integer.
bool TryStrToInt(const QString& text, int& value);
bool IsValidFileName(const QString& text);

QString EscapeLineBreaks(const QString& text);
QString UnescapeLineBreaks(const QString& text);

struct TSplitTime {
    uint16_t Hours = 0;
    uint16_t Minutes = 0;
    uint16_t Seconds = 0;
    uint16_t Milliseconds = 0;
    bool operator==(const TSplitTime&) const = default;
};

TSplitTime SplitRefTime(int64_t mediaTime);
TSplitTime SplitMilliseconds(int64_t milliseconds);
// "%.2d:%.2d:%.2d.%.3d"
QString FormatSplitTime(const TSplitTime& time);

int32_t FileSizeOf(const QString& path);
int ClampEditInt(QLineEdit* edit, int minimum, int maximum, int fallback);

QString GetInprocServerPath(const QString& classId);
void UnregisterInprocServer(const QString& libraryPath);

// The message route: where warnings and errors are shown. A message box by default; the batch
// worker while a run is live.
class TMessageTarget {
public:
    virtual ~TMessageTarget() = default;
    virtual void ShowMessageText(const QString& text) = 0;
};

void SetMessageRoute(TMessageTarget* target);
TMessageTarget* CurrentMessageRoute();
// Shows `text` through the route; dropped while the route is empty.
void RouteMessage(const QString& text);
void RestoreMessageRoute();
void ClearMessageRoute();
void DefaultShowMessage(const QString& text);
