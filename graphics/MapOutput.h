#pragma once
// The map image put out of the program: onto a printed page, or into a Windows BMP or PNG file.

#include <QString>

class QPaintDevice;
class QPainter;

// A rectangle on the page in device pixels, right and bottom exclusive.
struct PrintArea {
    int Left;
    int Top;
    int Right;
    int Bottom;
    bool operator==(const PrintArea&) const = default;
};

// One inch in from the left, top and right of a printable page of pageWidth by pageHeight
// pixels at dpiX by dpiY; the bottom is the page height times the map image's height to
// width ratio, truncated, less one inch. The map is stretched to it, not kept in proportion.
PrintArea PrintRectangle(int dpiX, int dpiY, int pageWidth, int pageHeight);

// The whole map image stretched into area; an empty area draws nothing.
void DrawMapImage(QPainter& painter, const PrintArea& area);

// Paints one page: the map image into the print rectangle of page, by its own resolution
// and size. On a printer this begins and ends the job. Throws GcError when page refuses.
void PrintMapImage(QPaintDevice& page);

// The whole map image at its own size as a Windows BMP file. A file left unwritten keeps
// what it held. Throws GcError "Cannot create file " or "Cannot write file " + path, with
// the system's reason after a colon.
void WriteMapImageFile(const QString& path);

// The name an image of the map is proposed under: the map's name with the extension of its
// last part, if any, replaced by extension: "NewMap" gives "NewMap.png", "/maps/m1.KVX"
// "/maps/m1.png".
QString ImageNameFor(const QString& mapName, const QString& extension);

// The name Write BMP proposes: ImageNameFor(mapName, ".BMP").
QString BitmapNameFor(const QString& mapName);
