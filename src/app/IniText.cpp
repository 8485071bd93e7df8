#include "app/IniText.h"

#include <cstring>

namespace initext {

namespace {

enum class LineKind { Blank, Comment, Section, Key, Other };

// One line of the text: [begin, end) is its content without the line break; next is where the
// following line starts. For a section or key line, [nameBegin, nameEnd) is the trimmed name and
// [valueBegin, valueEnd) the trimmed value.
struct Line {
    qsizetype begin = 0, end = 0, next = 0;
    LineKind kind = LineKind::Blank;
    qsizetype nameBegin = 0, nameEnd = 0, valueBegin = 0, valueEnd = 0;
};

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

qsizetype skipBlanks(const char* d, qsizetype from, qsizetype to)
{
    while (from < to && isBlank(d[from]))
        ++from;
    return from;
}

qsizetype trimEnd(const char* d, qsizetype from, qsizetype to)
{
    while (to > from && isBlank(d[to - 1]))
        --to;
    return to;
}

qsizetype findIn(const char* d, qsizetype from, qsizetype to, char c)
{
    const void* hit = std::memchr(d + from, c, static_cast<size_t>(to - from));
    return hit ? static_cast<const char*>(hit) - d : -1;
}

void classify(const char* d, Line& line)
{
    const qsizetype start = skipBlanks(d, line.begin, line.end);
    if (start == line.end) {
        line.kind = LineKind::Blank;
    } else if (d[start] == ';') {
        line.kind = LineKind::Comment;
    } else if (const qsizetype close = d[start] == '[' ? findIn(d, start, line.end, ']') : -1; close > 0) {
        line.kind = LineKind::Section;
        line.nameBegin = skipBlanks(d, start + 1, close);
        line.nameEnd = trimEnd(d, line.nameBegin, close);
    } else if (const qsizetype equals = findIn(d, start, line.end, '='); equals >= 0) {
        line.kind = LineKind::Key;
        line.nameBegin = start;
        line.nameEnd = trimEnd(d, start, equals);
        line.valueBegin = skipBlanks(d, equals + 1, line.end);
        line.valueEnd = trimEnd(d, line.valueBegin, line.end);
    } else {
        line.kind = LineKind::Other;
    }
}

// Walks the lines of a text one by one, in a single pass.
class LineReader {
public:
    explicit LineReader(const QByteArray& text) : text_(text)
    {
        if (text_.startsWith("\xEF\xBB\xBF"))  // a UTF-8 byte order mark is not part of the first line
            pos_ = 3;
    }

    bool next(Line& line)
    {
        const qsizetype size = text_.size();
        if (pos_ >= size)
            return false;
        const char* d = text_.constData();
        const qsizetype newline = findIn(d, pos_, size, '\n');
        line.begin = pos_;
        line.next = newline < 0 ? size : newline + 1;
        line.end = newline < 0 ? size : newline;
        if (newline >= 0 && line.end > line.begin && d[line.end - 1] == '\r')
            --line.end;
        classify(d, line);
        pos_ = line.next;
        return true;
    }

private:
    const QByteArray& text_;
    qsizetype pos_ = 0;
};

bool nameIs(const QByteArray& text, const Line& line, const QString& name)
{
    const QByteArray bytes = QByteArray::fromRawData(text.constData() + line.nameBegin, line.nameEnd - line.nameBegin);
    return QString::fromUtf8(bytes).compare(name, Qt::CaseInsensitive) == 0;
}

// Where a key stands in the text, or where it would go.
struct Place {
    std::optional<Line> key;          // the key's line when it exists
    std::optional<Line> sectionLast;  // last line of the section that is not blank or a comment
};

Place locate(const QByteArray& text, const QString& section, const QString& key)
{
    Place place;
    LineReader reader(text);
    Line line;
    bool inSection = false;
    while (reader.next(line)) {
        if (line.kind == LineKind::Section) {
            if (inSection)
                break;  // only the first section of the name counts
            inSection = nameIs(text, line, section);
            if (inSection)
                place.sectionLast = line;
        } else if (inSection && (line.kind == LineKind::Key || line.kind == LineKind::Other)) {
            place.sectionLast = line;
            if (line.kind == LineKind::Key && nameIs(text, line, key)) {
                place.key = line;
                break;
            }
        }
    }
    return place;
}

QByteArray lineBreakOf(const QByteArray& text)
{
    const qsizetype newline = text.indexOf('\n');
    return newline > 0 && text[newline - 1] == '\r' ? QByteArrayLiteral("\r\n") : QByteArrayLiteral("\n");
}

bool endsWithBlankLine(const QByteArray& text)
{
    qsizetype end = text.size();
    if (end == 0 || text[end - 1] != '\n')
        return false;
    --end;
    while (end > 0 && text[end - 1] != '\n') {
        if (!isBlank(text[end - 1]))
            return false;
        --end;
    }
    return true;
}

}  // namespace

std::optional<QByteArray> findValue(const QByteArray& text, const QString& section, const QString& key)
{
    const Place place = locate(text, section, key);
    if (!place.key)
        return std::nullopt;
    return text.mid(place.key->valueBegin, place.key->valueEnd - place.key->valueBegin);
}

QByteArray withValue(const QByteArray& text, const QString& section, const QString& key, const QByteArray& value)
{
    const Place place = locate(text, section, key);
    const QByteArray eol = lineBreakOf(text);
    QByteArray result = text;
    if (place.key) {
        const Line& line = *place.key;
        const QByteArray keyLine = text.mid(line.nameBegin, line.nameEnd - line.nameBegin) + '=' + value;
        return result.replace(line.begin, line.end - line.begin, keyLine);
    }
    const QByteArray keyLine = key.toUtf8() + '=' + value + eol;
    if (place.sectionLast) {
        const Line& last = *place.sectionLast;
        const bool lastHasBreak = last.next > last.end;
        return result.insert(last.next, lastHasBreak ? keyLine : eol + keyLine);
    }
    if (!result.isEmpty() && !result.endsWith('\n'))
        result += eol;
    if (!result.isEmpty() && !endsWithBlankLine(result))
        result += eol;
    return result + '[' + section.toUtf8() + ']' + eol + keyLine;
}

}  // namespace initext
