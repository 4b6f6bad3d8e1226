// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

#include "editor/EditScope.h"

#include "core/MapSymmetry.h"

#include <utility>

void EditScope::Select(const HexSet& hexes)
{
    if (hexes == selection_)
        return;
    selection_ = hexes;
    if (selectionSink_)
        selectionSink_();
}

HexSet EditScope::Mirrored(const HexSet& hexes) const { return WithMirrors(hexes, pointSymmetry_); }

void EditScope::SetSelectionSink(std::function<void()> sink) { selectionSink_ = std::move(sink); }

EditScope& TheEditScope()
{
    static EditScope scope;
    return scope;
}

ViewMarks ScopeMarks()
{
    const EditScope& scope = TheEditScope();
    return {scope.Selection(), scope.ShowAsymmetry() ? AsymmetricHexes() : HexSet(),
            scope.PointSymmetry()};
}
