#include "fuzz/SheetBundle.h"

#include <QtEndian>
#include <algorithm>

namespace {

class Reader {
public:
    Reader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    std::uint32_t Word()
    {
        std::uint8_t bytes[4] = {};
        const std::size_t n = std::min<std::size_t>(4, size_ - at_);
        std::copy_n(data_ + at_, n, bytes);
        at_ += n;
        return qFromLittleEndian<quint32>(bytes);
    }

    QByteArray Bytes(std::uint32_t length)
    {
        const std::size_t n = std::min<std::size_t>(length, size_ - at_);
        QByteArray bytes(reinterpret_cast<const char*>(data_ + at_), static_cast<qsizetype>(n));
        at_ += n;
        return bytes;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

void AppendWord(QByteArray& out, std::uint32_t value)
{
    char bytes[4];
    qToLittleEndian<quint32>(value, bytes);
    out.append(bytes, 4);
}

}  // namespace

QByteArray PackSheets(const SheetBundle& bundle)
{
    QByteArray out;
    AppendWord(out, static_cast<std::uint32_t>(bundle.EffectSprites));
    AppendWord(out, static_cast<std::uint32_t>(bundle.MechSprites));
    AppendWord(out, static_cast<std::uint32_t>(bundle.GroundSprites));
    for (const QByteArray& sheet : bundle.Sheets) {
        AppendWord(out, static_cast<std::uint32_t>(sheet.size()));
        out += sheet;
    }
    return out;
}

SheetBundle UnpackSheets(const std::uint8_t* data, std::size_t size)
{
    Reader reader(data, size);
    SheetBundle bundle;
    bundle.EffectSprites = static_cast<std::int32_t>(reader.Word());
    bundle.MechSprites = static_cast<std::int32_t>(reader.Word());
    bundle.GroundSprites = static_cast<std::int32_t>(reader.Word());
    for (QByteArray& sheet : bundle.Sheets)
        sheet = reader.Bytes(reader.Word());
    return bundle;
}
