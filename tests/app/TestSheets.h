#pragma once
// Small sprite sheets for the window tests: every ground tile a flat colour over the whole
// cell, the effects a small square in the middle of the cell, roads, rivers and mechs
// transparent. So a cell's middle shows its top effect and its left part its ground.

#include <QColor>
#include <QPoint>
#include <QString>

// The sheets for the default sprite counts, as Windows BMP files in spritesDir.
void WriteTestSheets(const QString& spritesDir);

QColor GroundColour(int code);
QColor EffectColour(int index);

// Pixels of hex (x, y) on the map image: inside the effect square, and on the ground only.
QPoint EffectPixel(int x, int y);
QPoint GroundPixel(int x, int y);
