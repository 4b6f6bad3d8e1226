// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

#include "core/KeyTable.h"

#include <cstddef>
#include <cstdint>

namespace {

constexpr int HeightMin = 0;
constexpr int HeightMax = 6;

QString Text(std::string_view text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// By MapOverlay.
constexpr std::uint8_t MapOverlays::*OverlayFlags[] = {&MapOverlays::Fire, &MapOverlays::Smoke,
                                                       &MapOverlays::Swamp, &MapOverlays::Road,
                                                       &MapOverlays::River};

std::uint8_t MapOverlays::*OverlayFlag(const KeyRow& row)
{
    return OverlayFlags[static_cast<std::size_t>(row.Value)];
}

std::uint8_t NextWaterLevel(std::uint8_t ground)
{
    return ground >= tcWater0 && ground < tcWater3 ? static_cast<std::uint8_t>(ground + 1)
                                                   : static_cast<std::uint8_t>(tcWater0);
}

bool HoldsMineValue(const MapCell& cell) { return cell.Mines == MineValue; }

// Returns whether the height changed.
bool StepHeight(MapCell& cell, int step)
{
    const bool possible = step < 0 ? cell.Height > HeightMin : cell.Height < HeightMax;
    if (possible)
        cell.Height += step;
    return possible;
}

}  // namespace

char UpperKey(char key)
{
    return key >= 'a' && key <= 'z' ? static_cast<char>(key - 'a' + 'A') : key;
}

bool IsEditKey(char key)
{
    const KeyRow* row = FindKey(key);
    return row && ChangesCell(*row) && row->Action != KeyAction::StepHeight;
}

bool IsMapKey(char key)
{
    const KeyRow* row = FindKey(key);
    return row && ChangesCell(*row);
}

bool ChangesJoins(char key)
{
    const KeyRow* row = FindKey(key);
    return row && row->Action == KeyAction::ToggleOverlay &&
           (row->Value == moRoad || row->Value == moRiver);
}

QString KeyStepName(char key)
{
    const KeyRow* row = FindKey(key);
    return row ? Text(row->Name) : QString();
}

QString KeyMenuName(char key)
{
    const KeyRow* row = FindKey(key);
    if (!row)
        return {};
    return Text(row->MenuName.empty() ? row->Name : row->MenuName);
}

QString KeyLabel(char key) { return QStringLiteral("[%1]").arg(QLatin1Char(key)); }

std::optional<bool> ToggledOn(char key, const MapCell& cell)
{
    const KeyRow* row = FindKey(key);
    if (!row)
        return std::nullopt;
    if (row->Action == KeyAction::ToggleMines)
        return HoldsMineValue(cell);
    if (row->Action == KeyAction::ToggleOverlay)
        return (cell.Overlays.*OverlayFlag(*row) & 1u) != 0;
    return std::nullopt;
}

bool ApplyKeyToCell(char key, MapCell& cell)
{
    const KeyRow* row = FindKey(key);
    if (!row)
        return false;
    switch (row->Action) {
    case KeyAction::SetGround: cell.Ground = static_cast<std::uint8_t>(row->Value); break;
    case KeyAction::NextWaterLevel: cell.Ground = NextWaterLevel(cell.Ground); break;
    // Flags hold any byte from a file; the editor flips only the lowest bit.
    case KeyAction::ToggleOverlay: cell.Overlays.*OverlayFlag(*row) ^= 1u; break;
    case KeyAction::ToggleMines:
        cell.Mines = HoldsMineValue(cell) ? std::uint8_t{0} : static_cast<std::uint8_t>(MineValue);
        break;
    case KeyAction::StepHeight: return StepHeight(cell, row->Value);
    case KeyAction::MoveCursorHorz:
    case KeyAction::MoveCursorVert: break;
    }
    return false;
}
