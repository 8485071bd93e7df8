#include "app/uLibPivex.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <limits>

namespace {

int digitValue(QChar c, int base)
{
    const char16_t u = c.unicode();
    int d = -1;
    if (u >= u'0' && u <= u'9')
        d = u - u'0';
    else if (u >= u'a' && u <= u'f')
        d = u - u'a' + 10;
    else if (u >= u'A' && u <= u'F')
        d = u - u'A' + 10;
    return d < base ? d : -1;
}

// Skips a hexadecimal prefix ("$", "x", "X", "0x", "0X") at `i`; returns the number base.
int takeBase(const QString& text, qsizetype& i)
{
    const qsizetype n = text.size();
    if (i < n && (text[i] == u'$' || text[i] == u'x' || text[i] == u'X')) {
        ++i;
        return 16;
    }
    if (i + 1 < n && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
        i += 2;
        return 16;
    }
    return 10;
}

bool isFileNameChar(QChar c)
{
    static const QString forbidden = QStringLiteral("\"*/:;<=>?\\|");
    const char16_t u = c.unicode();
    return u == u' ' || (u >= 0x21 && u <= 0x7E && !forbidden.contains(c));
}

// Start of the file name: after the last path separator, or after a drive ("C:").
qsizetype fileNameStart(const QString& path)
{
    const qsizetype slash = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
    if (slash >= 0)
        return slash + 1;
    return path.size() >= 2 && path[1] == u':' ? 2 : 0;
}

const QString escapedLineBreak = QStringLiteral("#$D#$A");
const QString lineBreak = QStringLiteral("\r\n");

}  // namespace

int GetParamInt(const QStringList& args, const QString& name, int defaultValue)
{
    const QString wanted = name.toLower();
    int result = defaultValue;
    for (qsizetype i = 0; i + 1 < args.size(); ++i) {
        if (args[i].toLower().mid(1) != wanted)
            continue;
        if (!TryStrToInt(args[i + 1], result))
            break;
    }
    return result;
}

int GetParamInt(const QString& name, int defaultValue)
{
    if (QCoreApplication::instance() == nullptr)
        return defaultValue;
    return GetParamInt(QCoreApplication::arguments().mid(1), name, defaultValue);
}

bool SplitAtLast(const QString& text, QChar separator, QString& before, QString& after)
{
    const qsizetype at = text.lastIndexOf(separator);
    if (at < 0) {
        before = text;
        after.clear();
        return false;
    }
    before = text.left(at);
    after = text.mid(at + 1);
    return true;
}

QString GetFileExtLower(const QString& path)
{
    QString before, after;
    SplitAtLast(path, u'.', before, after);
    return after.toLower();
}

QString GetFileNameNoExt(const QString& path)
{
    QString before, after;
    SplitAtLast(path.mid(fileNameStart(path)), u'.', before, after);
    return before;
}

bool IsInteger(const QString& text)
{
    int ignored = 0;
    return TryStrToInt(text, ignored);
}

bool TryStrToInt(const QString& text, int& value)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && text[i] == u' ')
        ++i;
    bool negative = false;
    if (i < n && (text[i] == u'-' || text[i] == u'+'))
        negative = text[i++] == u'-';
    const int base = takeBase(text, i);
    if (i == n)
        return false;
    // Hexadecimal is a 32-bit pattern ($FFFFFFFF is -1); decimal must lie in the signed range.
    const uint64_t limit = base == 16 ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
    uint64_t magnitude = 0;
    for (; i < n; ++i) {
        const int d = digitValue(text[i], base);
        if (d < 0)
            return false;
        magnitude = magnitude * base + d;
        if (magnitude > limit)
            return false;
    }
    const auto bits = static_cast<uint32_t>(magnitude);
    value = static_cast<int32_t>(negative ? 0u - bits : bits);
    return true;
}

bool IsValidFileName(const QString& text)
{
    return std::all_of(text.begin(), text.end(), isFileNameChar);
}

QString EscapeLineBreaks(const QString& text)
{
    return QString(text).replace(lineBreak, escapedLineBreak);
}

QString UnescapeLineBreaks(const QString& text)
{
    return QString(text).replace(escapedLineBreak, lineBreak);
}

TSplitTime SplitRefTime(int64_t mediaTime)
{
    return SplitMilliseconds(mediaTime / 10000);
}

TSplitTime SplitMilliseconds(int64_t milliseconds)
{
    TSplitTime t;
    t.Hours = static_cast<uint16_t>(milliseconds / 3600000);
    int64_t rest = milliseconds % 3600000;
    t.Minutes = static_cast<uint16_t>(rest / 60000);
    rest %= 60000;
    t.Seconds = static_cast<uint16_t>(rest / 1000);
    t.Milliseconds = static_cast<uint16_t>(rest % 1000);
    return t;
}

QString FormatSplitTime(const TSplitTime& time)
{
    return QString::asprintf("%.2d:%.2d:%.2d.%.3d", time.Hours, time.Minutes, time.Seconds, time.Milliseconds);
}

int32_t FileSizeOf(const QString& path)
{
    // Linux paths need no wildcard matching: the path names the file itself.
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isFile() || info.isHidden())
        return -1;
    return static_cast<int32_t>(std::min<qint64>(info.size(), std::numeric_limits<int32_t>::max()));
}

int ClampEditInt(QLineEdit* edit, int minimum, int maximum, int fallback)
{
    if (maximum == 0)
        maximum = 10000;
    int value = 0;
    if (!TryStrToInt(edit->text(), value))
        value = fallback;
    else if (value > maximum)
        value = maximum;
    else if (value < minimum)
        value = minimum;
    edit->setText(QString::number(value));
    return value;
}
