#pragma once
// A set of the map's hexes, one bit each: a selection, the hexes a command reaches, the cells
// a step changed. Hexes are listed in grid order, column by column and each column from the
// top, the order of the map file's records.

#include "core/HexGrid.h"

#include <bitset>
#include <cstddef>
#include <vector>

inline constexpr int MapHexes = MapSize * MapSize;

class HexSet {
public:
    // Every hex of the map.
    static HexSet All()
    {
        HexSet all;
        all.bits_.set();
        return all;
    }

    // Whether hex, which must be on the map, is in the set.
    bool Contains(HexAddress hex) const { return bits_.test(Bit(hex)); }
    // Adds or takes out hex, which must be on the map.
    void Insert(HexAddress hex) { bits_.set(Bit(hex)); }
    void Erase(HexAddress hex) { bits_.reset(Bit(hex)); }
    // Adds every hex of other.
    HexSet& operator|=(const HexSet& other)
    {
        bits_ |= other.bits_;
        return *this;
    }

    int Count() const { return static_cast<int>(bits_.count()); }
    bool Empty() const { return bits_.none(); }

    // Calls visit(hex) for each hex of the set in grid order.
    template <typename Visit>
    void ForEach(Visit visit) const
    {
        for (std::size_t i = 0; i < bits_.size(); ++i)
            if (bits_.test(i))
                visit(HexAddress{static_cast<int>(i) / MapSize + 1,
                                 static_cast<int>(i) % MapSize + 1});
    }

    // The hexes in grid order.
    std::vector<HexAddress> Hexes() const
    {
        std::vector<HexAddress> hexes;
        hexes.reserve(static_cast<std::size_t>(Count()));
        ForEach([&hexes](HexAddress hex) { hexes.push_back(hex); });
        return hexes;
    }

    bool operator==(const HexSet&) const = default;

private:
    static std::size_t Bit(HexAddress hex)
    {
        return static_cast<std::size_t>((hex.x - 1) * MapSize + hex.y - 1);
    }

    std::bitset<MapHexes> bits_;
};
