// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

#include "core/CellContent.h"

#include <cstddef>
#include <cstring>
#include <limits>

namespace {

// The content is one run of bytes of the record.
constexpr std::size_t ContentStart = offsetof(MapCell, Height);
constexpr std::size_t ContentEnd = offsetof(MapCell, Padding2);
static_assert(ContentEnd - ContentStart == 11);

const std::byte* Content(const MapCell& cell)
{
    return reinterpret_cast<const std::byte*>(&cell) + ContentStart;
}

template <std::uint8_t MapOverlays::*Flag>
constexpr ContentField FlagField(std::string_view name)
{
    return {name, [](const MapCell& cell) -> std::int64_t { return cell.Overlays.*Flag; },
            [](MapCell& cell, std::int64_t value) {
                cell.Overlays.*Flag = static_cast<std::uint8_t>(value);
            },
            0, 255};
}

}  // namespace

const std::array<ContentField, 8> ContentFields = {{
    {"Height", [](const MapCell& cell) -> std::int64_t { return cell.Height; },
     [](MapCell& cell, std::int64_t value) { cell.Height = static_cast<std::int32_t>(value); },
     std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()},
    {"Ground", [](const MapCell& cell) -> std::int64_t { return cell.Ground; },
     [](MapCell& cell, std::int64_t value) { cell.Ground = static_cast<std::uint8_t>(value); }, 0,
     255},
    {"Mines", [](const MapCell& cell) -> std::int64_t { return cell.Mines; },
     [](MapCell& cell, std::int64_t value) { cell.Mines = static_cast<std::uint8_t>(value); }, 0,
     255},
    FlagField<&MapOverlays::Fire>("Fire"),
    FlagField<&MapOverlays::Smoke>("Smoke"),
    FlagField<&MapOverlays::Swamp>("Swamp"),
    FlagField<&MapOverlays::Road>("Road"),
    FlagField<&MapOverlays::River>("River"),
}};

bool SameContent(const MapCell& a, const MapCell& b)
{
    return std::memcmp(Content(a), Content(b), ContentEnd - ContentStart) == 0;
}

MapCell ContentOnly(const MapCell& cell)
{
    MapCell only{};
    std::memcpy(reinterpret_cast<std::byte*>(&only) + ContentStart, Content(cell),
                ContentEnd - ContentStart);
    return only;
}

void PlaceContent(HexAddress place, const MapCell& from)
{
    MapCell& cell = Cell(place.x, place.y);
    std::memmove(reinterpret_cast<std::byte*>(&cell) + ContentStart, Content(from),
                 ContentEnd - ContentStart);
    cell.X = static_cast<std::uint8_t>(place.x);
    cell.Y = static_cast<std::uint8_t>(place.y);
}

QStringList DifferingFields(const MapCell& a, const MapCell& b)
{
    QStringList names;
    for (const ContentField& field : ContentFields)
        if (field.Get(a) != field.Get(b))
            names << QString::fromLatin1(field.Name.data(),
                                         static_cast<qsizetype>(field.Name.size()));
    return names;
}
