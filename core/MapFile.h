#pragma once
// Map files: the raw 20480 bytes of MapGrid, no header.

#include <QString>
#include <cstdint>

inline constexpr std::int64_t MapFileRecordSize = 20480;

// Writes MapGrid to path through WriteFileSafely. Throws GcError naming the file and reason.
void WriteMapFile(const QString& path);

// Reads the first 20480 bytes of path into MapGrid. A file that cannot be opened, is not a
// regular file or is shorter than 20480 bytes throws GcError naming the file and the reason,
// and MapGrid is left untouched.
void ReadMapFile(const QString& path);
