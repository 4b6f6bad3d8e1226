#include "settings/Settings.h"

#include "platform/Cp1252.h"
#include "platform/Profile.h"
#include "platform/Prompts.h"
#include "platform/WinPath.h"

#include <QFileInfo>
#include <limits>

namespace {

const QByteArray GeneralSection = QByteArrayLiteral("General");
const QByteArray SpriteAmountSection = QByteArrayLiteral("SpriteAmount");
const QByteArray DirectoriesSection = QByteArrayLiteral("Directories");

constexpr std::int32_t DefaultEffectSprites = 5;
constexpr std::int32_t DefaultMechSprites = 4;
constexpr std::int32_t DefaultGroundSprites = 16;
const QByteArray DefaultSpriteDir = QByteArrayLiteral("..\\Sprites\\");
const QByteArray DefaultAudioDir = QByteArrayLiteral("..\\Audio\\Default\\");
// What a file without a version label counts as.
const QByteArray AbsentVersion = QByteArrayLiteral("0.0");

QByteArray ReadText(const QByteArray& section, const QByteArray& key, const QByteArray& fallback)
{
    return GetPrivateProfileString(section, key, fallback, SettingsFileName);
}

std::int32_t ReadInteger(const QByteArray& section, const QByteArray& key, std::int32_t fallback)
{
    return ParseSettingsInteger(ReadText(section, key, QByteArray())).value_or(fallback);
}

void WriteText(const QByteArray& section, const QByteArray& key, const QByteArray& value)
{
    WritePrivateProfileString(section, key, value, SettingsFileName);
}

void WriteInteger(const QByteArray& section, const QByteArray& key, std::int32_t value)
{
    WriteText(section, key, QByteArray::number(value));
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

int DigitValue(char c, int base)
{
    int digit = base;
    if (c >= '0' && c <= '9')
        digit = c - '0';
    else if (c >= 'a' && c <= 'f')
        digit = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        digit = c - 'A' + 10;
    return digit < base ? digit : -1;
}

// Digits in base up to the end of text, at most limit in value; nothing for anything else.
std::optional<std::uint32_t> ParseDigits(const QByteArray& text, qsizetype from, int base,
                                         std::uint32_t limit)
{
    if (from >= text.size())
        return std::nullopt;
    std::uint64_t value = 0;
    for (qsizetype i = from; i < text.size(); ++i) {
        const int digit = DigitValue(text[i], base);
        if (digit < 0)
            return std::nullopt;
        value = value * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digit);
        if (value > limit)
            return std::nullopt;
    }
    return static_cast<std::uint32_t>(value);
}

void WarnOfVersion(const QByteArray& version)
{
    CurrentPrompts().Warning(
        QStringLiteral("INI file version mismatch detected (INI file is version ") +
        FromCp1252(version) + QStringLiteral(")!") + QChar('\r') +
        QStringLiteral("Better have a look at ") + SettingsFileName);
}

}  // namespace

std::int32_t EffectSpriteCount = DefaultEffectSprites;
std::int32_t MechSpriteCount = DefaultMechSprites;
std::int32_t GroundSpriteCount = DefaultGroundSprites;
QString SpriteDir = FromCp1252(DefaultSpriteDir);

std::optional<std::int32_t> ParseSettingsInteger(const QByteArray& text)
{
    QByteArray number = text;
    if (number.size() > 2 && (number.startsWith("0x") || number.startsWith("0X")))
        number.replace(0, 2, "$");
    qsizetype at = 0;
    while (at < number.size() && IsBlank(number[at]))
        ++at;
    if (at < number.size() && number[at] == '$') {
        // Eight hexadecimal digits are a 32-bit pattern, so $FFFFFFFF is -1.
        const auto bits =
            ParseDigits(number, at + 1, 16, std::numeric_limits<std::uint32_t>::max());
        if (!bits)
            return std::nullopt;
        return static_cast<std::int32_t>(*bits);
    }
    const bool negative = at < number.size() && number[at] == '-';
    if (at < number.size() && (number[at] == '-' || number[at] == '+'))
        ++at;
    const std::uint32_t limit = negative ? 2147483648u : 2147483647u;
    const auto magnitude = ParseDigits(number, at, 10, limit);
    if (!magnitude)
        return std::nullopt;
    const std::int64_t value =
        negative ? -static_cast<std::int64_t>(*magnitude) : static_cast<std::int64_t>(*magnitude);
    return static_cast<std::int32_t>(value);
}

void WriteDefaultSettings()
{
    WriteText(GeneralSection, "Version", SettingsVersion);
    WriteInteger(SpriteAmountSection, "EffectSprites", DefaultEffectSprites);
    WriteInteger(SpriteAmountSection, "MechSprites", DefaultMechSprites);
    WriteInteger(SpriteAmountSection, "GroundSprites", DefaultGroundSprites);
    WriteText(DirectoriesSection, "Sprites", DefaultSpriteDir);
    WriteText(DirectoriesSection, "Audio", DefaultAudioDir);
}

void LoadSettings()
{
    // A directory of that name is no settings file; writing the defaults then fails loudly.
    if (!QFileInfo(NativePath(SettingsFileName)).isFile()) {
        CurrentPrompts().Warning(SettingsFileName +
                                 QStringLiteral(" not found, default one created."));
        WriteDefaultSettings();
    }
    const QByteArray version = ReadText(GeneralSection, "Version", AbsentVersion);
    if (version != SettingsVersion)
        WarnOfVersion(version);
    EffectSpriteCount = ReadInteger(SpriteAmountSection, "EffectSprites", DefaultEffectSprites);
    MechSpriteCount = ReadInteger(SpriteAmountSection, "MechSprites", DefaultMechSprites);
    GroundSpriteCount = ReadInteger(SpriteAmountSection, "GroundSprites", DefaultGroundSprites);
    SpriteDir = FromCp1252(ReadText(DirectoriesSection, "Sprites", DefaultSpriteDir));
}
