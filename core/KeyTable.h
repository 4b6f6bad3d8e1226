#pragma once
// The one table of the editor's keys: what each key does to a cell or to the cursor, the name
// of its undo step and its entry in the right-button menu. Keyboard and mouse editing, the
// history's step names, the catalogue's key labels and the menu are all read from it.

#include "core/Catalogue.h"
#include "core/MapModel.h"

#include <QString>
#include <array>
#include <optional>
#include <string_view>

enum class KeyAction : unsigned char {
    SetGround,       // Value: the terrain code
    NextWaterLevel,  // water levels 0 to 3 in turn, level 0 from any other ground
    ToggleOverlay,   // Value: the MapOverlay flag
    ToggleMines,     // MineValue mines, or none
    StepHeight,      // Value: +1 or -1, within 0 to 6
    MoveCursorHorz,  // Value: the step in columns
    MoveCursorVert,  // Value: the step in rows
};

enum MapOverlay : int { moFire, moSmoke, moSwamp, moRoad, moRiver };

struct KeyRow {
    char Key;
    KeyAction Action;
    int Value;
    // The undo step's name ("Road", "Raise"), also the menu entry's unless MenuName is set.
    std::string_view Name;
    std::string_view MenuName;
};

// In the right-button menu's order; the cursor keys come last and have no entry.
inline constexpr std::array<KeyRow, 25> KeyTable = {{
    {'G', KeyAction::SetGround, tcGrass, "Grass", {}},
    {'R', KeyAction::SetGround, tcRough, "Rough", {}},
    {'L', KeyAction::SetGround, tcLightWoods, "Light Woods", {}},
    {'H', KeyAction::SetGround, tcHeavyWoods, "Heavy Woods", {}},
    {'C', KeyAction::SetGround, tcConcrete, "Concrete", {}},
    {'W', KeyAction::NextWaterLevel, tcWater0, "Water", {}},
    {'I', KeyAction::SetGround, tcIce, "Ice", {}},
    {'M', KeyAction::SetGround, tcMud, "Mud", {}},
    {'S', KeyAction::SetGround, tcSand, "Sand", {}},
    {'A', KeyAction::SetGround, tcLava, "Lava", {}},
    {'V', KeyAction::SetGround, tcVolcano, "Volcano", {}},
    {'X', KeyAction::SetGround, tcImpassable, "Impassable", {}},
    {'O', KeyAction::SetGround, tcCratered, "Cratered", {}},
    {'F', KeyAction::ToggleOverlay, moFire, "Fire", {}},
    {'E', KeyAction::ToggleOverlay, moSmoke, "Smoke", {}},
    {'P', KeyAction::ToggleOverlay, moSwamp, "Swamp", {}},
    {'.', KeyAction::ToggleOverlay, moRoad, "Road", {}},
    {',', KeyAction::ToggleOverlay, moRiver, "River", {}},
    {'N', KeyAction::ToggleMines, 0, "Mines", {}},
    {'>', KeyAction::StepHeight, +1, "Raise", "Raise height"},
    {'<', KeyAction::StepHeight, -1, "Lower", "Lower height"},
    {'8', KeyAction::MoveCursorVert, -1, {}, {}},
    {'2', KeyAction::MoveCursorVert, +1, {}, {}},
    {'4', KeyAction::MoveCursorHorz, -1, {}, {}},
    {'6', KeyAction::MoveCursorHorz, +1, {}, {}},
}};

// The row of key; none for a key outside the table. '\0' is never a key.
constexpr const KeyRow* FindKey(char key)
{
    for (const KeyRow& row : KeyTable)
        if (row.Key == key && key != '\0')
            return &row;
    return nullptr;
}

// Whether the row changes a cell rather than moving the cursor.
constexpr bool ChangesCell(const KeyRow& row)
{
    return row.Action != KeyAction::MoveCursorHorz && row.Action != KeyAction::MoveCursorVert;
}

// Upper-cases "a" to "z" only.
char UpperKey(char key);

// Whether the (upper-cased) key counts as a change of the map whatever it did to the cell:
// every key that changes a cell but the height keys, which count only when the height moved.
bool IsEditKey(char key);

// The keys that change a cell: the edit keys and the height keys.
bool IsMapKey(char key);

// Whether the key toggles a road or a river, whose joins reach into the neighbours.
bool ChangesJoins(char key);

// What a key's undo step is called, as the Edit menu names it: "Road", "Water", "Raise";
// empty for the other keys.
QString KeyStepName(char key);

// The right-button menu's entry for a map key: its step name, "Raise height", "Lower height".
QString KeyMenuName(char key);

// How the help and the menus show a key: "[G]", "[.]".
QString KeyLabel(char key);

// For a toggling key (F, E, P, ".", ",", N): whether the cell holds what the key toggles
// (the flag's lowest bit set, the mines at MineValue); none for the other keys.
std::optional<bool> ToggledOn(char key, const MapCell& cell);

// The cell half of the key table: applies a map key to cell, toggles flipping only the
// lowest bit of a flag. Returns whether a height key changed the height; other keys leave
// that to IsEditKey. Keys that do not change cells do nothing.
bool ApplyKeyToCell(char key, MapCell& cell);
