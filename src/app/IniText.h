#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// The text of a private-profile (INI) file, worked on as bytes so that lines it does not
// understand (comments, garbage, invalid UTF-8) are kept exactly as they are.
//
// Lines are "[section]" headers (blanks around the name ignored), "key=value" lines (key and value
// trimmed of blanks), comments starting with ";" and anything else, which belongs to the section
// it stands in and is never changed. Names compare without regard to case; the first section of a
// name and its first key of a name are the ones that count.
namespace initext {

// The value of `key` in `section`, undecoded, or nothing when either is missing.
std::optional<QByteArray> findValue(const QByteArray& text, const QString& section, const QString& key);

// `text` with `key` in `section` set to `value`: an existing key line is rewritten in place; a new
// key goes after the last line of its section that is not blank or a comment; a new section goes
// at the end of the file, after a blank line.
QByteArray withValue(const QByteArray& text, const QString& section, const QString& key, const QByteArray& value);

}  // namespace initext
