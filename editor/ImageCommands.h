#pragma once
// The commands that put the map image into a file of the user's choosing: Write BMP and
// Export image.

// Files, Write BMP: the bitmap dialog preset to BitmapNameFor(MapName), the file, then the
// notice that names it. A name that reaches the open map's file is refused with a warning
// and nothing is written.
void WriteBitmapCommand();

// Files, Export image: as Write BMP, but the dialog offers PNG first and proposes the map's
// name with ".png"; the file is a PNG image or a bitmap by its name (WriteImageFile) of the
// map drawn anew from the map itself, as gridcrafter-render draws it: without the cursor mark
// and the showcases' mechs that the map image may hold, and without the layers the view hides,
// which the dialog's title names. A file that cannot be written is reported with the system's
// reason. withCoordinates (Export image with coordinates): the map
// drawn anew with the hexes' coordinates over it (HexLabels), the title saying so.
void ExportImageCommand(bool withCoordinates = false);
