#pragma once
// Editing the map from the keyboard: the key table, cursor moves with the scroll band,
// and what has to be drawn afterwards. The mouse edits through the same key table. The
// main window is reached through EditorView.

#include "core/MapModel.h"
#include "graphics/HexGeometry.h"

#include <QString>
#include <optional>
#include <span>

// The main window as the keyboard editor sees it.
class EditorView {
public:
    virtual ~EditorView() = default;
    virtual void DrawCell(int x, int y, bool repaint) = 0;
    virtual void DrawCursor(int x, int y) = 0;
    virtual void RepaintMap() = 0;
    // Panel 0 of the status bar gets DescribeHex(x, y).
    virtual void ShowHexInfo(int x, int y) = 0;
    // The scroll box: its whole size (border and scroll bars included) and its scroll
    // positions in pixels; setting a position keeps it within the scroll range.
    virtual int ViewWidth() const = 0;
    virtual int ViewHeight() const = 0;
    virtual int HorzScrollPosition() const = 0;
    virtual int VertScrollPosition() const = 0;
    virtual void SetHorzScrollPosition(int position) = 0;
    virtual void SetVertScrollPosition(int position) = 0;
    virtual void SetEditCaption(const QString& caption) = 0;
    // The whole map anew, without the cursor mark.
    virtual void RedrawWholeMap() = 0;
    // Whether editing mode is on, so that the cursor mark shows.
    virtual bool EditingMode() const = 0;
};

// Upper-cases "a" to "z" only.
char UpperKey(char key);

// Whether the (upper-cased) key counts as a change of the map whatever it did to the cell.
bool IsEditKey(char key);

// The keys that change a cell: the edit keys and the height keys.
bool IsMapKey(char key);

// For a toggling key (F, E, P, ".", ",", N): whether the cell holds what the key toggles
// (the flag's lowest bit set, the mines at MineValue); none for the other keys.
std::optional<bool> ToggledOn(char key, MapCell cell);

// What an editing key does, as the Edit menu names its step: "Road", "Water", "Raise".
QString KeyStepName(char key);

// The typed character, already upper-cased, applied to the cursor cell and the cursor:
// the key table, the scroll band, the limits and the redraws. A change of the cell's bytes
// is one step of the map's history.
void EditorKeyPress(char key, EditorView& view);

// The cell half of the key table on the cursor cell, drawn and shown as typing the key does
// (the cursor mark only while editing); a map key becomes LastMapKey. Returns the cell's
// bytes before, for the history.
MapCell EditCursorCell(char key, EditorView& view);

// The cursor put on hex (x, y) as a cursor key moves it, without scrolling: the old cell
// drawn over its mark, the mark while editing, and the description, also when it stays.
void MoveCursorTo(int x, int y, EditorView& view);

// Undo or redo changed these cells: the cursor moves to the last (its old mark painted
// over), the cells and their neighbours are drawn anew so that the joins follow, the mark
// shows while editing, and the status bar describes the cursor cell.
void ShowReplayedCells(std::span<const HexAddress> cells, EditorView& view);

// Whether the cursor cell lies outside the band in which the view keeps it.
bool NeedsHorzScroll(const EditorView& view);
bool NeedsVertScroll(const EditorView& view);

// What switching editing mode on or off draws and shows.
void EditingModeSwitched(bool on, EditorView& view);
