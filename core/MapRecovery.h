#pragma once
// The recovery of a map: what an editor keeps of its unsaved map so that another start can
// bring it back after the editor died. The record is the 20480 map bytes, the map's name, the
// file it was loaded from or saved to, the cursor cell and the time, as bytes:
//
//   "GCRECOV1"  the map bytes  cursor x, y (int32)  time (int64, ms since 1970 UTC)
//   name  file  (each a uint32 count of UTF-16 units, then the units)  SHA-256 of all before
//
// little-endian throughout, nothing after. Reading checks every part, so junk, a cut or a
// longer file is refused, never taken for a map.

#include "core/MapModel.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <optional>

struct MapRecovery {
    // sizeof(MapGridType) bytes, as the map file holds them.
    QByteArray Map;
    QString Name;
    // The file the map was loaded from or saved to; empty for none.
    QString File;
    std::int32_t CursorX = 1;
    std::int32_t CursorY = 1;
    QDateTime Time;

    friend bool operator==(const MapRecovery&, const MapRecovery&) = default;
};

// The longest name or file a recovery holds, in UTF-16 units.
inline constexpr qsizetype MaxRecoveryText = 32768;

// Turns recovery into its bytes. Texts longer than MaxRecoveryText are cut.
QByteArray EncodeMapRecovery(const MapRecovery& recovery);

// Reads bytes as a recovery; none when they are not one: a wrong start, length or checksum,
// a cursor off the map.
std::optional<MapRecovery> DecodeMapRecovery(const QByteArray& bytes);

// Takes the map, MapName, its file (OpenMapFile) and the cursor (kept on the map) as they are
// now, at time.
MapRecovery CaptureMapRecovery(const QDateTime& time);

// Puts the map, its name and the cursor of recovery back and updates the caption; the history
// starts anew from it, unsaved. recovery.Map must hold a whole map.
void RestoreMapRecovery(const MapRecovery& recovery);
