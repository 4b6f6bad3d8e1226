#pragma once
// Tests of the broad edits start from the editor's state after start-up with nothing selected
// and point symmetry off, drawing on a recording view.

#include "core/HexSet.h"
#include "editor/EditScope.h"
#include "editor/MouseEditing.h"
#include "tests/core/FreshMap.h"
#include "tests/editor/RecordingView.h"

#include <initializer_list>

class FreshScope : public FreshMap {
protected:
    void SetUp() override
    {
        FreshMap::SetUp();
        TheEditScope() = EditScope();
        EndStroke();
    }
    void TearDown() override
    {
        TheEditScope() = EditScope();
        FreshMap::TearDown();
    }

    static HexSet Hexes(std::initializer_list<HexAddress> hexes)
    {
        HexSet set;
        for (const HexAddress& hex : hexes)
            set.Insert(hex);
        return set;
    }

    // Whether every cell but those of hexes holds what it held in before.
    static bool OnlyChanged(const MapGridType& before, const HexSet& hexes)
    {
        for (int x = 1; x <= MapSize; ++x)
            for (int y = 1; y <= MapSize; ++y)
                if (!hexes.Contains({x, y}) &&
                    std::memcmp(
                        &before[static_cast<std::size_t>(x - 1)][static_cast<std::size_t>(y - 1)],
                        &Cell(x, y), sizeof(MapCell)) != 0)
                    return false;
        return true;
    }

    RecordingView view{800, 600};
};
