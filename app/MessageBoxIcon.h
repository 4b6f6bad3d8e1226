#pragma once
// A message box's icon for the device pixels of its screen. The style draws its icons once,
// 32 pixels wide, and Qt scales them up smoothly, which blurs them beside the sharp map.

class QMessageBox;

// Gives box its standard icon drawn for its device pixel ratio: as the style draws it where
// the style has the pixels, otherwise the plain icon scaled with each device pixel taking the
// colour of the icon pixel under it, as the map is. At a ratio of 1 the box keeps its icon.
void DrawIconForDevicePixels(QMessageBox& box);
