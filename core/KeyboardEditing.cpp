#include "core/KeyboardEditing.h"

#include "core/Catalogue.h"
#include "core/MapHistory.h"
#include "core/MapModel.h"
#include "graphics/HexGeometry.h"

#include <algorithm>
#include <string_view>

namespace {

constexpr std::string_view EditKeys = ",.ACEFGHILMNOPRSVWX";
constexpr int HeightMin = 0;
constexpr int HeightMax = 6;
// The cursor is kept this far inside the view's edges.
constexpr int BandNearEdge = 5;
constexpr int BandFarEdge = 100;

// Flags hold any byte from a file; the editor flips only the lowest bit.
void Toggle(std::uint8_t& flag) { flag ^= 1u; }

std::uint8_t NextWaterLevel(std::uint8_t ground)
{
    return ground >= tcWater0 && ground < tcWater3 ? static_cast<std::uint8_t>(ground + 1)
                                                   : static_cast<std::uint8_t>(tcWater0);
}

bool HoldsMineValue(const MapCell& cell) { return cell.Mines == MineValue; }

void ToggleMines(MapCell& cell)
{
    cell.Mines = HoldsMineValue(cell) ? std::uint8_t{0} : static_cast<std::uint8_t>(MineValue);
}

// The overlay flag a key toggles; none for the other keys.
std::uint8_t* ToggledFlag(char key, MapCell& cell)
{
    switch (key) {
    case 'F': return &cell.Overlays.Fire;
    case 'E': return &cell.Overlays.Smoke;
    case 'P': return &cell.Overlays.Swamp;
    case '.': return &cell.Overlays.Road;
    case ',': return &cell.Overlays.River;
    default: return nullptr;
    }
}

// Returns whether the height changed.
bool StepHeight(MapCell& cell, int step)
{
    const bool possible = step < 0 ? cell.Height > HeightMin : cell.Height < HeightMax;
    if (possible)
        cell.Height += step;
    return possible;
}

void MoveCursorHorz(int step, EditorView& view)
{
    CursorX += step;
    if (NeedsHorzScroll(view))
        view.SetHorzScrollPosition(view.HorzScrollPosition() + step * ColumnStep);
}

void MoveCursorVert(int step, EditorView& view)
{
    CursorY += step;
    if (NeedsVertScroll(view))
        view.SetVertScrollPosition(view.VertScrollPosition() + step * RowStep);
}

void SetGround(MapCell& cell, TerrainCode code) { cell.Ground = static_cast<std::uint8_t>(code); }

// The cursor keys of the key table.
void MoveCursorByKey(char key, EditorView& view)
{
    switch (key) {
    case '8': MoveCursorVert(-1, view); break;
    case '2': MoveCursorVert(+1, view); break;
    case '4': MoveCursorHorz(-1, view); break;
    case '6': MoveCursorHorz(+1, view); break;
    default: break;
    }
}

// The keys of the key table that change a cell. Returns whether a height key changed the
// height; the other changes are marked by IsEditKey.
bool ChangeCell(char key, MapCell& cell)
{
    if (std::uint8_t* flag = ToggledFlag(key, cell)) {
        Toggle(*flag);
        return false;
    }
    switch (key) {
    case 'G': SetGround(cell, tcGrass); break;
    case 'R': SetGround(cell, tcRough); break;
    case 'L': SetGround(cell, tcLightWoods); break;
    case 'H': SetGround(cell, tcHeavyWoods); break;
    case 'C': SetGround(cell, tcConcrete); break;
    case 'W': cell.Ground = NextWaterLevel(cell.Ground); break;
    case 'I': SetGround(cell, tcIce); break;
    case 'M': SetGround(cell, tcMud); break;
    case 'S': SetGround(cell, tcSand); break;
    case 'A': SetGround(cell, tcLava); break;
    case 'V': SetGround(cell, tcVolcano); break;
    case 'X': SetGround(cell, tcImpassable); break;
    case 'O': SetGround(cell, tcCratered); break;
    case 'N': ToggleMines(cell); break;
    case '<': return StepHeight(cell, -1);
    case '>': return StepHeight(cell, +1);
    default: break;
    }
    return false;
}

// Keys reach the editor only while editing mode is on; the mouse edits with it off too.
void ShowCursorAt(int x, int y, EditorView& view)
{
    if (view.EditingMode())
        view.DrawCursor(x, y);
    view.ShowHexInfo(x, y);
}

// The cursor left (oldX, oldY): that cell is drawn over its mark.
void ShowCursorMove(int oldX, int oldY, EditorView& view)
{
    view.DrawCell(oldX, oldY, true);
    ShowCursorAt(CursorX, CursorY, view);
}

// Road and river joins of the neighbours follow the change of cell (x, y).
void DrawNeighbours(int x, int y, EditorView& view)
{
    for (int d = 1; d <= 6; ++d) {
        const HexStep next = HexNeighbour(x, y, d);
        if (next.ok)
            view.DrawCell(next.nx, next.ny, false);
    }
}

bool OutsideBand(int edge, int scrollPosition, int viewExtent)
{
    const int inView = edge - scrollPosition;
    return inView > viewExtent - BandFarEdge || inView < BandNearEdge;
}

}  // namespace

char UpperKey(char key)
{
    return key >= 'a' && key <= 'z' ? static_cast<char>(key - 'a' + 'A') : key;
}

bool IsEditKey(char key) { return key != '\0' && EditKeys.find(key) != std::string_view::npos; }

QString KeyStepName(char key)
{
    switch (key) {
    case 'G': return QStringLiteral("Grass");
    case 'R': return QStringLiteral("Rough");
    case 'L': return QStringLiteral("Light Woods");
    case 'H': return QStringLiteral("Heavy Woods");
    case 'C': return QStringLiteral("Concrete");
    case 'W': return QStringLiteral("Water");
    case 'I': return QStringLiteral("Ice");
    case 'M': return QStringLiteral("Mud");
    case 'S': return QStringLiteral("Sand");
    case 'A': return QStringLiteral("Lava");
    case 'V': return QStringLiteral("Volcano");
    case 'X': return QStringLiteral("Impassable");
    case 'O': return QStringLiteral("Cratered");
    case 'F': return QStringLiteral("Fire");
    case 'E': return QStringLiteral("Smoke");
    case 'P': return QStringLiteral("Swamp");
    case '.': return QStringLiteral("Road");
    case ',': return QStringLiteral("River");
    case 'N': return QStringLiteral("Mines");
    case '<': return QStringLiteral("Lower");
    case '>': return QStringLiteral("Raise");
    default: return {};
    }
}

bool IsMapKey(char key) { return IsEditKey(key) || key == '<' || key == '>'; }

std::optional<bool> ToggledOn(char key, MapCell cell)
{
    if (key == 'N')
        return HoldsMineValue(cell);
    if (const std::uint8_t* flag = ToggledFlag(key, cell))
        return (*flag & 1u) != 0;
    return std::nullopt;
}

void EditorKeyPress(char key, EditorView& view)
{
    const int oldX = CursorX;
    const int oldY = CursorY;
    MoveCursorByKey(key, view);
    CursorX = std::clamp(CursorX, 1, MapSize);
    CursorY = std::clamp(CursorY, 1, MapSize);
    if (CursorX != oldX || CursorY != oldY)
        ShowCursorMove(oldX, oldY, view);
    const MapCell before = EditCursorCell(key, view);
    RecordCellChange(CursorX, CursorY, key, before);
}

MapCell EditCursorCell(char key, EditorView& view)
{
    MapCell& cell = Cell(CursorX, CursorY);
    const MapCell before = cell;
    if (ChangeCell(key, cell) || IsEditKey(key)) {
        view.DrawCell(CursorX, CursorY, true);
        ShowCursorAt(CursorX, CursorY, view);
    }
    if (key == '.' || key == ',') {
        DrawNeighbours(CursorX, CursorY, view);
        view.RepaintMap();
    }
    if (IsMapKey(key))
        LastMapKey = key;
    return before;
}

void MoveCursorTo(int x, int y, EditorView& view)
{
    if (x == CursorX && y == CursorY) {
        view.ShowHexInfo(x, y);
        return;
    }
    const int oldX = CursorX;
    const int oldY = CursorY;
    CursorX = x;
    CursorY = y;
    ShowCursorMove(oldX, oldY, view);
}

void ShowReplayedCells(std::span<const HexAddress> cells, EditorView& view)
{
    const HexAddress last = cells.back();
    if (last.x != CursorX || last.y != CursorY)
        view.DrawCell(CursorX, CursorY, false);
    CursorX = last.x;
    CursorY = last.y;
    for (const HexAddress& cell : cells)
        view.DrawCell(cell.x, cell.y, false);
    for (const HexAddress& cell : cells)
        DrawNeighbours(cell.x, cell.y, view);
    view.RepaintMap();
    ShowCursorAt(last.x, last.y, view);
}

bool NeedsHorzScroll(const EditorView& view)
{
    return OutsideBand(HexToPixel(CursorX, CursorY).px, view.HorzScrollPosition(),
                       view.ViewWidth());
}

bool NeedsVertScroll(const EditorView& view)
{
    return OutsideBand(HexToPixel(CursorX, CursorY).py, view.VertScrollPosition(),
                       view.ViewHeight());
}

void EditingModeSwitched(bool on, EditorView& view)
{
    if (on) {
        view.DrawCursor(CursorX, CursorY);
        view.SetEditCaption(QStringLiteral("Editing..."));
        view.ShowHexInfo(CursorX, CursorY);
    } else {
        view.DrawCell(CursorX, CursorY, true);
        view.SetEditCaption(QStringLiteral("Edit"));
    }
}
