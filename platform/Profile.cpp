#include "platform/Profile.h"

#include "platform/Errors.h"
#include "platform/SafeFile.h"
#include "platform/WinPath.h"

#include <QFile>
#include <QFileInfo>
#include <optional>

namespace {

const QByteArray NewLineEnd = QByteArrayLiteral("\r\n");

// A stretch of the file's bytes, [begin, end).
struct Span {
    qsizetype begin = 0;
    qsizetype end = 0;
};

// Where a key sits in the file, or where it would go.
struct Lookup {
    bool sectionFound = false;
    // End of the section's last entry line (or of its header): where a new key goes.
    qsizetype insertAt = 0;
    // The line ending at insertAt is the file's last and has no line end of its own.
    bool insertAfterUnterminated = false;
    // The key's value, blanks around it excluded.
    std::optional<Span> value;
};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

Span Trimmed(const QByteArray& bytes, Span span)
{
    while (span.begin < span.end && IsBlank(bytes[span.begin]))
        ++span.begin;
    while (span.end > span.begin && IsBlank(bytes[span.end - 1]))
        --span.end;
    return span;
}

QByteArray TrimmedName(const QByteArray& name)
{
    const Span span = Trimmed(name, Span{0, name.size()});
    return name.mid(span.begin, span.end - span.begin);
}

bool NameEquals(const QByteArray& bytes, Span span, const QByteArray& name)
{
    if (span.end - span.begin != name.size())
        return false;
    for (qsizetype i = 0; i < name.size(); ++i)
        if (AsciiLower(bytes[span.begin + i]) != AsciiLower(name[i]))
            return false;
    return true;
}

// Searches the span only: a search running on past it would make reading quadratic.
qsizetype IndexIn(const QByteArray& bytes, Span span, char c)
{
    for (qsizetype i = span.begin; i < span.end; ++i)
        if (bytes[i] == c)
            return i;
    return -1;
}

qsizetype LastIndexIn(const QByteArray& bytes, Span span, char c)
{
    for (qsizetype i = span.end - 1; i >= span.begin; --i)
        if (bytes[i] == c)
            return i;
    return -1;
}

// The section name of a header line ("[name]", blanks ignored), or nothing.
std::optional<Span> SectionName(const QByteArray& bytes, Span line)
{
    if (line.begin == line.end || bytes[line.begin] != '[')
        return std::nullopt;
    const qsizetype close = LastIndexIn(bytes, line, ']');
    if (close < 0)
        return std::nullopt;
    return Trimmed(bytes, Span{line.begin + 1, close});
}

// Scans the file once, line by line, up to the first matching key of the first matching section.
Lookup Find(const QByteArray& bytes, const QByteArray& section, const QByteArray& key)
{
    Lookup found;
    bool inSection = false;
    qsizetype lineBegin = 0;
    while (lineBegin < bytes.size()) {
        const qsizetype newline = bytes.indexOf('\n', lineBegin);
        const bool terminated = newline >= 0;
        const qsizetype lineEnd = terminated ? newline + 1 : bytes.size();
        qsizetype contentEnd = terminated ? newline : bytes.size();
        if (contentEnd > lineBegin && bytes[contentEnd - 1] == '\r')
            --contentEnd;
        const Span line = Trimmed(bytes, Span{lineBegin, contentEnd});
        lineBegin = lineEnd;

        if (const std::optional<Span> name = SectionName(bytes, line)) {
            if (inSection)
                break;
            if (NameEquals(bytes, *name, section)) {
                inSection = true;
                found.sectionFound = true;
                found.insertAt = lineEnd;
                found.insertAfterUnterminated = !terminated;
            }
            continue;
        }
        if (!inSection || line.begin == line.end || bytes[line.begin] == ';')
            continue;
        found.insertAt = lineEnd;
        found.insertAfterUnterminated = !terminated;
        const qsizetype equals = IndexIn(bytes, line, '=');
        if (equals >= 0 && NameEquals(bytes, Trimmed(bytes, Span{line.begin, equals}), key)) {
            found.value = Trimmed(bytes, Span{equals + 1, line.end});
            break;
        }
    }
    return found;
}

QByteArray Unquoted(QByteArray value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        return value.mid(1, value.size() - 2);
    return value;
}

QByteArray Limited(const QByteArray& value) { return value.left(ProfileValueLimit); }

// The file's bytes: empty when it does not exist, nothing when it exists but cannot be read.
std::optional<QByteArray> ReadProfile(const QString& path)
{
    QFile file(path);
    if (!file.exists())
        return QByteArray();
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

// Ends an unterminated last line. A lone carriage return there only gets its line feed: a
// second one would stay in the line and become part of its value.
QByteArray LineEnded(const QByteArray& bytes)
{
    return bytes + (bytes.endsWith('\r') ? QByteArrayLiteral("\n") : NewLineEnd);
}

bool BreaksLines(const QByteArray& text) { return text.contains('\n') || text.contains('\r'); }

QByteArray WithValue(QByteArray bytes, const QByteArray& section, const QByteArray& key,
                     const QByteArray& value)
{
    const Lookup found = Find(bytes, section, key);
    if (found.value)
        return bytes.replace(found.value->begin, found.value->end - found.value->begin, value);

    const QByteArray entry = key + '=' + value + NewLineEnd;
    if (found.sectionFound) {
        if (found.insertAfterUnterminated)
            return LineEnded(bytes) + entry;
        return bytes.insert(found.insertAt, entry);
    }
    if (!bytes.isEmpty() && !bytes.endsWith('\n'))
        bytes = LineEnded(bytes);
    // A blank line sets the new section apart from the one before it.
    if (!bytes.isEmpty() && !bytes.endsWith(NewLineEnd + NewLineEnd) && !bytes.endsWith("\n\n"))
        bytes += NewLineEnd;
    return bytes + '[' + section + ']' + NewLineEnd + entry;
}

[[noreturn]] void FailToWrite(const QString& fileName)
{
    throw GcError(QStringLiteral("Unable to write to ") + fileName);
}

}  // namespace

QByteArray GetPrivateProfileString(const QByteArray& section, const QByteArray& key,
                                   const QByteArray& fallback, const QString& fileName)
{
    QFile file(NativePath(fileName));
    if (!file.open(QIODevice::ReadOnly))
        return Limited(fallback);
    const QByteArray bytes = file.readAll();
    const Lookup found = Find(bytes, TrimmedName(section), TrimmedName(key));
    if (!found.value)
        return Limited(fallback);
    return Limited(Unquoted(bytes.mid(found.value->begin, found.value->end - found.value->begin)));
}

void WritePrivateProfileString(const QByteArray& section, const QByteArray& key,
                               const QByteArray& value, const QString& fileName)
{
    // A line break in a name or value would forge lines of its own in the file.
    if (BreaksLines(section) || BreaksLines(key) || BreaksLines(value))
        FailToWrite(fileName);
    const QString path = NativePath(fileName);
    const std::optional<QByteArray> old = ReadProfile(path);
    if (!old)
        FailToWrite(fileName);
    const QByteArray updated = WithValue(*old, TrimmedName(section), TrimmedName(key), value);
    if (updated == *old && QFileInfo::exists(path))
        return;
    try {
        WriteFileSafely(path, updated);
    } catch (const GcError&) {
        FailToWrite(fileName);
    }
}
