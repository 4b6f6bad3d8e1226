#pragma once
// INI files read and written with the behaviour of the Win32 profile functions
// GetPrivateProfileStringA and WritePrivateProfileStringA. Names and values are bytes
// (Windows-1252); the file name is Windows-style and goes through NativePath.

#include <QByteArray>
#include <QString>

// Longest value a read returns, in characters.
inline constexpr int ProfileValueLimit = 1023;

// The value of key in section, or fallback when the file, section or key is missing.
QByteArray GetPrivateProfileString(const QByteArray& section, const QByteArray& key,
                                   const QByteArray& fallback, const QString& fileName);

// Creates the file, section and key as needed; replaces an existing value in place and
// keeps every other line as it was. Throws GcError "Unable to write to " + fileName.
void WritePrivateProfileString(const QByteArray& section, const QByteArray& key,
                               const QByteArray& value, const QString& fileName);
