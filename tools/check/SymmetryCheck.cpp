// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

#include "tools/check/SymmetryCheck.h"

#include "core/Catalogue.h"
#include "core/CellContent.h"
#include "core/KeyTable.h"
#include "core/MapFile.h"
#include "core/MapModel.h"
#include "core/MapSymmetry.h"
#include "platform/Errors.h"

#include <array>
#include <cstdint>

namespace {

constexpr unsigned TerrainCount = tcCratered + 1;
constexpr int NameWidth = 22;
constexpr int CountWidth = 14;

// A value as the report shows it: ground codes with their terrain's name.
QString Shown(const ContentField& field, const MapCell& cell)
{
    const std::int64_t value = field.Get(cell);
    if (field.Name == "Ground")
        return QStringLiteral("%1 (%2)").arg(value).arg(TerrainName(static_cast<unsigned>(value)));
    return QString::number(value);
}

QString Difference(HexAddress west)
{
    const HexAddress east = MirrorHex(west);
    const MapCell& a = Cell(west.x, west.y);
    const MapCell& b = Cell(east.x, east.y);
    QStringList fields;
    for (const ContentField& field : ContentFields)
        if (field.Get(a) != field.Get(b))
            fields << QStringLiteral("%1 %2 and %3")
                          .arg(QLatin1String(field.Name.data(),
                                             static_cast<qsizetype>(field.Name.size())),
                               Shown(field, a), Shown(field, b));
    return QStringLiteral("(%1,%2) and (%3,%4) differ: %5")
        .arg(west.x)
        .arg(west.y)
        .arg(east.x)
        .arg(east.y)
        .arg(fields.join(QStringLiteral(", ")));
}

QString Row(const QString& name, std::int64_t west, std::int64_t east)
{
    return QStringLiteral("%1%2%3")
        .arg(name, -NameWidth)
        .arg(west, CountWidth)
        .arg(east, CountWidth);
}

QStringList Halves()
{
    const std::array<HalfCounts, 2> halves = CountHalves();
    QStringList lines{QStringLiteral("%1%2%3")
                          .arg(QString(), -NameWidth)
                          .arg(QStringLiteral("west (1-16)"), CountWidth)
                          .arg(QStringLiteral("east (17-32)"), CountWidth)};
    for (unsigned code = 0; code < halves[0].Grounds.size(); ++code) {
        const int west = halves[0].Grounds[code];
        const int east = halves[1].Grounds[code];
        if (code < TerrainCount || west + east > 0)
            lines << Row(
                code < TerrainCount ? TerrainName(code) : QStringLiteral("Ground %1").arg(code),
                west, east);
    }
    // The keys that toggle each overlay, in MapOverlay's order.
    const char overlayKeys[] = {'F', 'E', 'P', '.', ','};
    for (std::size_t i = 0; i < std::size(overlayKeys); ++i)
        lines << Row(KeyStepName(overlayKeys[i]), halves[0].Overlays[i], halves[1].Overlays[i]);
    lines << Row(QStringLiteral("Mined hexes"), halves[0].MinedHexes, halves[1].MinedHexes)
          << Row(QStringLiteral("Mines"), halves[0].MineSum, halves[1].MineSum)
          << Row(QStringLiteral("Sum of heights"), halves[0].HeightSum, halves[1].HeightSum);
    return lines;
}

}  // namespace

SymmetryReport CheckSymmetry(const QString& path)
{
    try {
        ReadMapFile(path);
    } catch (const GcError& error) {
        return {error.Text(), {}, {}};
    }
    SymmetryReport report;
    AsymmetricHexes().ForEach([&report](HexAddress hex) {
        if (hex.x <= WestHalfColumns)
            report.differences << Difference(hex);
    });
    report.halves = Halves();
    return report;
}
