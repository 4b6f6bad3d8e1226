#include "core/Catalogue.h"

#include "core/MapModel.h"

#include <array>

namespace {

struct Entry {
    const char* name;
    const char* keyLabel;
};

constexpr std::array<Entry, 17> Terrains = {{
    {"Grass", "[G]"},
    {"Rough", "[R]"},
    {"Light Woods", "[L]"},
    {"Heavy Woods", "[H]"},
    {"Concrete", "[C]"},
    {"Water Level 0", "[W]"},
    {"Water Level 1", "[W]"},
    {"Water Level 2", "[W]"},
    {"Water Level 3", "[W]"},
    {"Ice", "[I]"},
    {"Mud", "[M]"},
    {"Sand", "[S]"},
    {"Lava", "[A]"},
    {"Volcano", "[V]"},
    {"Impassable", "[X]"},
    {"Cratered", "[O]"},
    {"Unknown", "???"},
}};

constexpr std::array<Entry, 6> Effects = {{
    {"Cursor", "???"},
    {"Fire", "[F]"},
    {"Smoke", "[E]"},
    {"Swamp", "[P]"},
    {"Mines", "[N]"},
    {"Unknown", "???"},
}};

// Values outside a table give its last row.
template <std::size_t N>
const Entry& Row(const std::array<Entry, N>& table, unsigned index)
{
    return table[index < N - 1 ? index : N - 1];
}

}  // namespace

QString TerrainName(unsigned code) { return QString::fromLatin1(Row(Terrains, code).name); }
QString TerrainKeyLabel(unsigned code) { return QString::fromLatin1(Row(Terrains, code).keyLabel); }
QString EffectName(unsigned index) { return QString::fromLatin1(Row(Effects, index).name); }
QString EffectKeyLabel(unsigned index) { return QString::fromLatin1(Row(Effects, index).keyLabel); }

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
