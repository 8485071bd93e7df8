#include "app/IniFile.h"

#include "app/IniText.h"
#include "app/uLibPivex.h"
#include "platform/AppError.h"
#include "platform/DevLog.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <algorithm>

namespace {

// Text values are read through a buffer of 2048 characters, terminating zero included.
constexpr qsizetype maxValueChars = 2047;
constexpr qint64 maxFileBytes = qint64(64) << 20;

QString fullPath(const QString& fileName)
{
    return QFileInfo(fileName).absoluteFilePath();
}

[[noreturn]] void refuseWrite(const QString& fileName, const QString& reason)
{
    qCDebug(lcSkorrel) << "Settings write refused:" << fileName << reason;
    throw AppError(QStringLiteral("Unable to write to %1").arg(fullPath(fileName)));
}

// Reads the whole file; a missing file is empty. Nothing when it exists but cannot be read, or is
// far too big to be a settings file (it is then neither loaded into memory nor rewritten).
std::optional<QByteArray> readText(const QString& fileName)
{
    QFile file(fileName);
    if (!file.exists())
        return QByteArray();
    const QFileInfo info(fileName);
    if (!info.isFile() || info.size() > maxFileBytes || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

// UTF-8; a value that is not valid UTF-8 (a file from an older, 8-bit world) is read as Latin-1.
QString decode(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    return utf8.hasError() ? QString::fromLatin1(bytes) : text;
}

// The first bytes of a UTF-8 text, never cutting a character in two.
QByteArray utf8Prefix(const QByteArray& bytes, qsizetype maxBytes)
{
    if (bytes.size() <= maxBytes)
        return bytes;
    qsizetype cut = maxBytes;
    while (cut > 0 && (static_cast<unsigned char>(bytes[cut]) & 0xC0) == 0x80)
        --cut;
    return bytes.left(cut);
}

QString limited(QString text)
{
    if (text.size() <= maxValueChars)
        return text;
    text.truncate(maxValueChars);
    if (text.back().isHighSurrogate())
        text.chop(1);
    return text;
}

// A value is one line: a line break would end the key's line and start a line of its own.
QByteArray oneLine(const QString& value)
{
    const auto it = std::find_if(value.begin(), value.end(), [](QChar c) { return c == u'\r' || c == u'\n'; });
    if (it == value.end())
        return value.toUtf8();
    const qsizetype lineBreak = it - value.begin();
    qCDebug(lcSkorrel) << "Settings value cut at its first line break:" << value.left(40);
    return value.left(lineBreak).toUtf8();
}

}  // namespace

TIniFile::TIniFile(QString fileName) : fileName_(std::move(fileName)) {}

QString TIniFile::ReadString(const QString& section, const QString& key, const QString& defaultValue) const
{
    const std::optional<QByteArray> text = readText(fileName_);
    if (!text)
        return defaultValue;
    const std::optional<QByteArray> value = initext::findValue(*text, section, key);
    if (!value)
        return defaultValue;
    // Decoding more than the limit can return would only cost time on a huge line.
    return limited(decode(utf8Prefix(*value, maxValueChars * 4)));
}

int TIniFile::ReadInteger(const QString& section, const QString& key, int defaultValue) const
{
    int value = defaultValue;
    return TryStrToInt(ReadString(section, key, QString()), value) ? value : defaultValue;
}

bool TIniFile::ReadBool(const QString& section, const QString& key, bool defaultValue) const
{
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void TIniFile::WriteString(const QString& section, const QString& key, const QString& value)
{
    const std::optional<QByteArray> text = readText(fileName_);
    if (!text)
        refuseWrite(fileName_, QStringLiteral("cannot read the file as it is"));
    QSaveFile file(fileName_);
    if (!file.open(QIODevice::WriteOnly))
        refuseWrite(fileName_, file.errorString());
    const QByteArray changed = initext::withValue(*text, section, key, oneLine(value));
    if (file.write(changed) != changed.size() || !file.commit())
        refuseWrite(fileName_, file.errorString());
}

void TIniFile::WriteInteger(const QString& section, const QString& key, int value)
{
    WriteString(section, key, QString::number(value));
}

void TIniFile::WriteBool(const QString& section, const QString& key, bool value)
{
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}
