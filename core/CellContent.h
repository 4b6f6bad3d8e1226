#pragma once
// What travels with a hex when it is copied, pasted, cut or turned: its content, the height,
// ground, mines and five overlays (bytes 4 to 14 of the record). X and Y name the place, and
// Reserved and the padding stay with the place too, so a moved cell always names where it is.

#include "core/HexGrid.h"
#include "core/MapModel.h"

#include <QStringList>
#include <array>
#include <cstdint>
#include <string_view>

// One field of the content, as the clipboard's text and the fairness report name it.
struct ContentField {
    std::string_view Name;
    std::int64_t (*Get)(const MapCell& cell);
    void (*Set)(MapCell& cell, std::int64_t value);
    // The values the record can hold.
    std::int64_t Least;
    std::int64_t Most;
};

// In the order of the record and of the clipboard's text.
extern const std::array<ContentField, 8> ContentFields;

// Whether a and b hold the same content, whatever their places.
bool SameContent(const MapCell& a, const MapCell& b);

// A cell holding cell's content and zeros in every other field.
MapCell ContentOnly(const MapCell& cell);

// Gives the cell at place the content of from, and place as its X and Y; its Reserved and
// padding stay.
void PlaceContent(HexAddress place, const MapCell& from);

// The names of the content fields in which a and b differ, in ContentFields' order.
QStringList DifferingFields(const MapCell& a, const MapCell& b);
