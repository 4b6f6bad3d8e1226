#pragma once
// How far the editor's changes reach beyond the cursor cell: the selected hexes, and whether
// each change is made at the point mirror too. One for the process, beside the map: the
// commands read it, the window shows it (tints and the centre mark) and switches it.

#include "core/HexSet.h"
#include "graphics/ViewMarks.h"

#include <functional>

class EditScope {
public:
    // The selected hexes; empty when nothing is selected.
    const HexSet& Selection() const { return selection_; }
    // Makes hexes the selection; the sink hears of it when it changed.
    void Select(const HexSet& hexes);

    // While on, every change by a key, a menu entry, a stroke, a fill or a paste is made at
    // the mirror (33 - x, 33 - y) of each hex it changes as well.
    bool PointSymmetry() const { return pointSymmetry_; }
    void SetPointSymmetry(bool on) { pointSymmetry_ = on; }

    // Whether the view tints the hexes that differ from their mirrors.
    bool ShowAsymmetry() const { return showAsymmetry_; }
    void SetShowAsymmetry(bool on) { showAsymmetry_ = on; }

    // hexes and, while point symmetry is on, the mirror of each.
    HexSet Mirrored(const HexSet& hexes) const;

    // Called after every change of the selection; nullptr for none.
    void SetSelectionSink(std::function<void()> sink);

private:
    HexSet selection_;
    bool pointSymmetry_ = false;
    bool showAsymmetry_ = false;
    std::function<void()> selectionSink_;
};

// The editor's one scope.
EditScope& TheEditScope();

// What the view marks for the scope: the selection, the hexes of MapGrid that differ from
// their mirrors while ShowAsymmetry, and the centre while PointSymmetry.
ViewMarks ScopeMarks();
