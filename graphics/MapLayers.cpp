// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

#include "graphics/MapLayers.h"

#include <algorithm>

QString LayerName(MapLayer layer)
{
    switch (layer) {
    case MapLayer::Heights: return QStringLiteral("Heights");
    case MapLayer::Fire: return QStringLiteral("Fire");
    case MapLayer::Smoke: return QStringLiteral("Smoke");
    case MapLayer::Swamp: return QStringLiteral("Swamp");
    case MapLayer::Mines: return QStringLiteral("Mines");
    case MapLayer::Road: return QStringLiteral("Road");
    case MapLayer::River: return QStringLiteral("River");
    }
    return {};
}

QStringList HiddenLayerNames(LayerMask shown)
{
    QStringList names;
    for (const MapLayer layer : MapLayers)
        if (!Shows(shown, layer))
            names << LayerName(layer);
    return names;
}

std::optional<LayerMask> ParseLayerNames(const QString& list)
{
    LayerMask named = 0;
    for (const QString& name : list.split(QLatin1Char(','))) {
        const auto layer = std::find_if(MapLayers.begin(), MapLayers.end(), [&](MapLayer l) {
            return LayerName(l).compare(name.trimmed(), Qt::CaseInsensitive) == 0;
        });
        if (layer == MapLayers.end())
            return std::nullopt;
        named |= LayerBit(*layer);
    }
    return named;
}
