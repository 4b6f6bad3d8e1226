#pragma once
// The history of the one map: every change is a step that undo and redo replay, and the
// saved position that MapModified follows. Steps keep only what changed, in order; Qt's
// QUndoStack holds thin commands over a window of them, rebuilt as the position moves, so
// a long history costs a few dozen bytes a step.

#include "core/HexGrid.h"
#include "core/HexSet.h"
#include "core/MapModel.h"

#include <QString>
#include <cstddef>
#include <functional>
#include <optional>
#include <vector>

class QUndoStack;

// The commands that replace the whole map, each one step.
enum class MapStep { New, RandomMap, Clear, Load, Reload };

// "New", "Random map", "Clear", "Load", "Reload".
QString MapStepName(MapStep step);

// An empty history whose start is the saved state; MapModified false.
void ResetMapHistory();

// Key turned the cell (x, y) from before into what it holds now: one step, unless no byte
// changed. Returns whether a step was made.
bool RecordCellChange(int x, int y, char key, const MapCell& before);

// A stroke of key: the cell (x, y), which the stroke had not changed before, went from
// before to what it holds now. The first cell that changed makes one step; the cells after
// it join that step until EndStrokeStep, another key, or any other change of the history
// (a step, undo, redo, a save, a reset), after which they make a new one. Returns whether
// the cell changed.
bool RecordStrokeCell(int x, int y, char key, const MapCell& before);
void EndStrokeStep();

// Runs change, which may rewrite the grid, MapName and the caption, as one step. When
// change throws, the grid and MapName are put back, no step is made, and the error goes on.
void ChangeWholeMap(MapStep step, const std::function<void()>& change);

// Runs change, which may rewrite every field of any cells but their padding (and never
// MapName), as one step called name ("Paste", "Road"), unless no cell changed. The step
// keeps the cursor cell, for undo and redo to put the cursor back there, and 19 bytes for
// each cell that changed. When change throws, the grid is put back, no step is made, and
// the error goes on. Returns the cells that changed.
HexSet ChangeCells(const QString& name, const std::function<void()>& change);

// The present state is the saved one: MapModified false until undo, redo or a step leaves it.
void MarkMapSaved();

// No state of the history is saved any more (its file went away, or the map came back from a
// recovery): MapModified true until the next MarkMapSaved.
void MarkMapUnsaved();

bool CanUndoMapChange();
bool CanRedoMapChange();
// The step that undo or redo would replay, named as the Edit menu shows it ("Road",
// "Clear"); empty when there is none.
QString UndoStepName();
QString RedoStepName();

// What undo or redo put back, for the view to show.
struct ReplayedStep {
    // The step replaced the whole map; MapName may have changed with it.
    bool WholeMap;
    bool NameChanged;
    // A key or stroke step: the cells it changed, in the order they were changed; a step of
    // ChangeCells: in grid order.
    std::vector<HexAddress> Cells;
    // A step of ChangeCells: the cursor cell when it was made.
    std::optional<HexAddress> Cursor = std::nullopt;
};

// Replays the step before (undo) or after (redo) the present position on the grid and
// MapName. Nothing happens, and none is returned, while another change is under way or when
// there is no such step.
std::optional<ReplayedStep> UndoMapChange();
std::optional<ReplayedStep> RedoMapChange();

// Called after every change of the history: a step, undo, redo, a save, a reset.
void SetMapHistorySink(std::function<void()> sink);

// One change of the history, as its listeners are told.
enum class HistoryChangeKind { Step, Undo, Redo, Saved, Unsaved, Reset };
struct MapHistoryChange {
    HistoryChangeKind Kind;
    // For a step, an undo or a redo: the whole-map step made or replayed; none for a key or a
    // stroke.
    std::optional<MapStep> WholeMap;
};

// Adds listener, called after the sink with every change of the history, and returns the key
// that removes it again. Listeners are called in the order they were added.
int AddMapHistoryListener(std::function<void(const MapHistoryChange&)> listener);
// Removes the listener added under key; an unknown key is ignored.
void RemoveMapHistoryListener(int key);

// The most commands the QUndoStack holds (at least 2); the rest wait in the step records.
void SetMapHistoryWindow(std::size_t commands);
inline constexpr std::size_t DefaultMapHistoryWindow = 1000;
const QUndoStack& MapUndoStack();
