#pragma once
// The layers of the map picture that a view can leave out, each the sprites of one kind:
// heights, fire, smoke, swamp, mines, roads and rivers. Ground is always drawn.

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <optional>

enum class MapLayer : std::uint8_t { Heights, Fire, Smoke, Swamp, Mines, Road, River };

inline constexpr std::array<MapLayer, 7> MapLayers = {
    MapLayer::Heights, MapLayer::Fire, MapLayer::Smoke, MapLayer::Swamp,
    MapLayer::Mines,   MapLayer::Road, MapLayer::River};

// A set of layers, one bit each.
using LayerMask = std::uint8_t;

constexpr LayerMask LayerBit(MapLayer layer)
{
    return static_cast<LayerMask>(1u << static_cast<unsigned>(layer));
}

inline constexpr LayerMask AllLayers = (1u << MapLayers.size()) - 1;

constexpr bool Shows(LayerMask shown, MapLayer layer) { return (shown & LayerBit(layer)) != 0; }

// The layer's name as menus show it: "Heights", "Fire", ..., "River".
QString LayerName(MapLayer layer);

// The names of the layers of AllLayers that shown leaves out, in the order of MapLayers.
QStringList HiddenLayerNames(LayerMask shown);

// The layers named in a list such as "fire,smoke" (names in any letter case, separated by
// commas); nothing when a name is not a layer's or the list names none.
std::optional<LayerMask> ParseLayerNames(const QString& list);
