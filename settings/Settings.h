#pragma once
// The settings file shared with the game installation.

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>

extern std::int32_t EffectSpriteCount;
extern std::int32_t MechSpriteCount;
extern std::int32_t GroundSpriteCount;
extern QString SpriteDir;

// "v2" and the sharp s, byte 0xDF of Windows-1252.
inline const QByteArray SettingsVersion = QByteArrayLiteral("v2\xDF");
inline const QString SettingsFileName = QStringLiteral("..\\Korvane.INI");

// Creates the file with defaults when missing, warns on another version, sets the four values.
void LoadSettings();
void WriteDefaultSettings();

// A settings integer: blanks, then decimal with optional sign or "$"/"0x" hexadecimal;
// nothing when the text is no 32-bit integer.
std::optional<std::int32_t> ParseSettingsInteger(const QByteArray& text);
