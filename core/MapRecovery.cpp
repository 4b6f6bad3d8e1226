// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

#include "core/MapRecovery.h"

#include "core/MapFile.h"
#include "core/MapHistory.h"

#include <QCryptographicHash>
#include <QtEndian>
#include <algorithm>
#include <cstring>

namespace {

constexpr char Magic[] = "GCRECOV1";
constexpr qsizetype MagicSize = sizeof Magic - 1;
constexpr QCryptographicHash::Algorithm Checksum = QCryptographicHash::Sha256;

template <typename T>
void Put(QByteArray& bytes, T value)
{
    char little[sizeof(T)];
    qToLittleEndian(value, little);
    bytes.append(little, sizeof little);
}

void PutText(QByteArray& bytes, const QString& text)
{
    const QString kept = text.left(MaxRecoveryText);
    Put<quint32>(bytes, static_cast<quint32>(kept.size()));
    for (const QChar unit : kept)
        Put<quint16>(bytes, unit.unicode());
}

// Reads the parts of a record in turn; once a part runs past the end, every later read fails.
class RecordReader {
public:
    explicit RecordReader(QByteArrayView bytes) : bytes_(bytes) {}

    QByteArrayView Take(qsizetype count)
    {
        if (!ok_ || count > bytes_.size() - at_) {
            ok_ = false;
            return {};
        }
        const QByteArrayView part = bytes_.sliced(at_, count);
        at_ += count;
        return part;
    }

    template <typename T>
    T Get()
    {
        const QByteArrayView part = Take(sizeof(T));
        return ok_ ? qFromLittleEndian<T>(part.data()) : T{};
    }

    QString GetText()
    {
        const quint32 units = Get<quint32>();
        if (units > MaxRecoveryText) {
            ok_ = false;
            return {};
        }
        QString text(static_cast<qsizetype>(units), Qt::Uninitialized);
        for (QChar& unit : text)
            unit = QChar(Get<quint16>());
        return text;
    }

    bool Ok() const { return ok_; }
    qsizetype Position() const { return at_; }

private:
    QByteArrayView bytes_;
    qsizetype at_ = 0;
    bool ok_ = true;
};

bool OnTheMap(std::int32_t coordinate) { return coordinate >= 1 && coordinate <= MapSize; }

}  // namespace

QByteArray EncodeMapRecovery(const MapRecovery& recovery)
{
    QByteArray bytes(Magic, MagicSize);
    bytes.append(recovery.Map);
    Put<std::int32_t>(bytes, recovery.CursorX);
    Put<std::int32_t>(bytes, recovery.CursorY);
    Put<qint64>(bytes, recovery.Time.toMSecsSinceEpoch());
    PutText(bytes, recovery.Name);
    PutText(bytes, recovery.File);
    bytes.append(QCryptographicHash::hash(bytes, Checksum));
    return bytes;
}

std::optional<MapRecovery> DecodeMapRecovery(const QByteArray& bytes)
{
    RecordReader reader(bytes);
    if (reader.Take(MagicSize) != QByteArrayView(Magic, MagicSize))
        return std::nullopt;
    MapRecovery recovery;
    recovery.Map = reader.Take(sizeof(MapGridType)).toByteArray();
    recovery.CursorX = reader.Get<std::int32_t>();
    recovery.CursorY = reader.Get<std::int32_t>();
    recovery.Time = QDateTime::fromMSecsSinceEpoch(reader.Get<qint64>(), Qt::UTC);
    recovery.Name = reader.GetText();
    recovery.File = reader.GetText();
    const qsizetype checked = reader.Position();
    const QByteArrayView checksum = reader.Take(QCryptographicHash::hashLength(Checksum));
    if (!reader.Ok() || reader.Position() != bytes.size() ||
        checksum != QCryptographicHash::hash(QByteArrayView(bytes).first(checked), Checksum) ||
        !OnTheMap(recovery.CursorX) || !OnTheMap(recovery.CursorY))
        return std::nullopt;
    return recovery;
}

MapRecovery CaptureMapRecovery(const QDateTime& time)
{
    // A cursor off the map, as before the start-up put it at (1, 1), would make the record junk.
    return {QByteArray(reinterpret_cast<const char*>(&MapGrid), sizeof MapGrid),
            MapName,
            OpenMapFile(),
            std::clamp(CursorX, 1, MapSize),
            std::clamp(CursorY, 1, MapSize),
            time};
}

void RestoreMapRecovery(const MapRecovery& recovery)
{
    std::memcpy(&MapGrid, recovery.Map.constData(), sizeof MapGrid);
    MapName = recovery.Name;
    CursorX = recovery.CursorX;
    CursorY = recovery.CursorY;
    ResetMapHistory();
    MarkMapUnsaved();
    UpdateCaption();
}
