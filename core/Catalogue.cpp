#include "core/Catalogue.h"

#include "core/KeyTable.h"
#include "core/MapModel.h"

#include <array>

namespace {

constexpr std::array<const char*, 17> TerrainNames = {
    "Grass",         "Rough",         "Light Woods",   "Heavy Woods", "Concrete", "Water Level 0",
    "Water Level 1", "Water Level 2", "Water Level 3", "Ice",         "Mud",      "Sand",
    "Lava",          "Volcano",       "Impassable",    "Cratered",    "Unknown",
};

constexpr std::array<const char*, 6> EffectNames = {
    "Cursor", "Fire", "Smoke", "Swamp", "Mines", "Unknown",
};

// Values outside a table give its last row.
template <std::size_t N>
const char* Row(const std::array<const char*, N>& table, unsigned index)
{
    return table[index < N - 1 ? index : N - 1];
}

// The label of the key whose row matches; "???" when none does.
template <typename Matches>
QString LabelOfKeyThat(Matches matches)
{
    for (const KeyRow& row : KeyTable)
        if (matches(row))
            return KeyLabel(row.Key);
    return QStringLiteral("???");
}

}  // namespace

QString TerrainName(unsigned code) { return QString::fromLatin1(Row(TerrainNames, code)); }

QString TerrainKeyLabel(unsigned code)
{
    const bool water = code >= tcWater0 && code <= tcWater3;
    return LabelOfKeyThat([code, water](const KeyRow& row) {
        return water
                   ? row.Action == KeyAction::NextWaterLevel
                   : row.Action == KeyAction::SetGround && static_cast<unsigned>(row.Value) == code;
    });
}

QString EffectName(unsigned index) { return QString::fromLatin1(Row(EffectNames, index)); }

QString EffectKeyLabel(unsigned index)
{
    // Fire, smoke and swamp are the effects sheet's images 1 to 3 and the first three overlays.
    return LabelOfKeyThat([index](const KeyRow& row) {
        if (index == eiMines)
            return row.Action == KeyAction::ToggleMines;
        return index >= eiFire && index <= eiSwamp && row.Action == KeyAction::ToggleOverlay &&
               row.Value == static_cast<int>(index - eiFire) + moFire;
    });
}

bool IsWater(int x, int y)
{
    const unsigned ground = Cell(x, y).Ground;
    return ground >= tcWater0 && ground <= tcWater3;
}

bool IsImpassable(int x, int y) { return Cell(x, y).Ground == tcImpassable; }
bool HasFire(int x, int y) { return Cell(x, y).Overlays.Fire != 0; }
bool HasSmoke(int x, int y) { return Cell(x, y).Overlays.Smoke != 0; }
bool HasSwamp(int x, int y) { return Cell(x, y).Overlays.Swamp != 0; }
bool HasRoad(int x, int y) { return Cell(x, y).Overlays.Road != 0; }
bool HasRiver(int x, int y) { return Cell(x, y).Overlays.River != 0; }

QString DescribeHex(int x, int y)
{
    const MapCell& cell = Cell(x, y);
    QString text = QStringLiteral("(%1,%2): ").arg(x).arg(y) + TerrainName(cell.Ground);
    if (!IsWater(x, y) && !IsImpassable(x, y))
        text += QStringLiteral(", Height ") + QString::number(cell.Height);
    if (HasSwamp(x, y))
        text += QStringLiteral(" (Swamp)");
    if (cell.Mines > 0)
        text += QStringLiteral(" (%1 Mines)").arg(cell.Mines);
    if (HasFire(x, y))
        text += QStringLiteral(" (Fire)");
    if (HasSmoke(x, y))
        text += QStringLiteral(" (Smoke)");
    return text;
}
