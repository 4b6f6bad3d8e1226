#include "platform/Cp1252.h"

#include <array>

namespace {

// Unicode of the codes 0x80 to 0x9F; the five codes Windows leaves undefined map to the
// C1 controls of the same value, so every byte survives a round trip.
constexpr std::array<char16_t, 32> HighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char16_t UnicodeOf(unsigned char byte)
{
    return byte >= 0x80 && byte <= 0x9F ? HighControls[byte - 0x80u] : char16_t{byte};
}

char ByteOf(char16_t unicode)
{
    if (unicode < 0x80 || (unicode >= 0xA0 && unicode <= 0xFF))
        return static_cast<char>(unicode);
    for (std::size_t i = 0; i < HighControls.size(); ++i)
        if (HighControls[i] == unicode)
            return static_cast<char>(0x80 + i);
    return '?';
}

}  // namespace

QString FromCp1252(const QByteArray& bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i)
        text[i] = QChar(UnicodeOf(static_cast<unsigned char>(bytes[i])));
    return text;
}

QByteArray ToCp1252(const QString& text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        // A character beyond the basic plane is two UTF-16 units but one '?'.
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        bytes.append(ByteOf(text[i].unicode()));
    }
    return bytes;
}
