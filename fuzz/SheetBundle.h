#pragma once
// One fuzz input for the sprite loader: the three counts of the settings file and the bytes
// of the six sheets. Layout: the counts as little-endian 32-bit integers (effects, mechs,
// ground), then each sheet as a little-endian 32-bit length and that many bytes; a length
// beyond the input takes what is left.

#include <QByteArray>
#include <QString>
#include <array>
#include <cstddef>
#include <cstdint>

inline constexpr int SheetCount = 6;

// In loading order.
inline const std::array<QString, SheetCount> SheetFileNames{
    QStringLiteral("Height.BMP"), QStringLiteral("EFFECTS.BMP"), QStringLiteral("GROUND.BMP"),
    QStringLiteral("MECHS.BMP"),  QStringLiteral("ROAD.BMP"),    QStringLiteral("RIVER.BMP")};

struct SheetBundle {
    std::int32_t EffectSprites = 0;
    std::int32_t MechSprites = 0;
    std::int32_t GroundSprites = 0;
    std::array<QByteArray, SheetCount> Sheets;
};

QByteArray PackSheets(const SheetBundle& bundle);
// Any bytes unpack: what is missing is zero or empty.
SheetBundle UnpackSheets(const std::uint8_t* data, std::size_t size);
