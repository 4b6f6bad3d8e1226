#pragma once
// Copied hexes as the clipboard carries them between editors: each hex's place and content
// (CellContent.h). Two forms: the records of the map file, in a type of our own, and plain
// text for any other program, one line per hex.

#include "core/HexGrid.h"
#include "core/HexSet.h"
#include "core/MapModel.h"

#include <QByteArray>
#include <QString>
#include <optional>
#include <span>
#include <vector>

// The clipboard's type of the records.
inline constexpr char HexRecordsMimeType[] = "application/x-korvane-hexes";

struct CopiedHex {
    HexAddress Place;
    // Only the content counts: what is read back holds zeros in the other fields.
    MapCell Content;
};

// The hexes of the set with the content they have in MapGrid, in grid order.
std::vector<CopiedHex> CopyHexes(const HexSet& hexes);

// One map file record per hex, 20 bytes, X and Y naming its place, Reserved and padding 0.
QByteArray HexRecords(std::span<const CopiedHex> hexes);

// "column row height ground mines fire smoke swamp road river", in decimal, one line each.
QString HexText(std::span<const CopiedHex> hexes);

// The hexes back from either form. None when the bytes or the text hold no hexes, or hold
// anything else: a part record, a line of other words or numbers a cell cannot hold, a place
// off the map, a hex twice.
std::optional<std::vector<CopiedHex>> ReadHexRecords(const QByteArray& records);
std::optional<std::vector<CopiedHex>> ReadHexText(const QString& text);
