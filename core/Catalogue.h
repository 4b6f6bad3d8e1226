#pragma once
// The map's vocabulary: terrain codes, effect sprite order, cell predicates, descriptions.

#include <QString>

enum TerrainCode : unsigned {
    tcGrass,
    tcRough,
    tcLightWoods,
    tcHeavyWoods,
    tcConcrete,
    tcWater0,
    tcWater1,
    tcWater2,
    tcWater3,
    tcIce,
    tcMud,
    tcSand,
    tcLava,
    tcVolcano,
    tcImpassable,
    tcCratered
};

// Images of the effects sheet.
enum EffectIndex : unsigned { eiCursor, eiFire, eiSmoke, eiSwamp, eiMines };

QString TerrainName(unsigned code);
QString TerrainKeyLabel(unsigned code);
QString EffectName(unsigned index);
QString EffectKeyLabel(unsigned index);

// Predicates on the cell of column x, row y (1 to 32).
bool IsWater(int x, int y);
bool IsImpassable(int x, int y);
bool HasFire(int x, int y);
bool HasSmoke(int x, int y);
bool HasSwamp(int x, int y);
bool HasRoad(int x, int y);
bool HasRiver(int x, int y);

// One line of words for the status bar, e.g. "(3,7): Grass, Height 2 (10 Mines) (Fire)".
QString DescribeHex(int x, int y);
