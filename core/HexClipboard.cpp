// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

#include "core/HexClipboard.h"

#include "core/CellContent.h"

#include <QStringList>
#include <charconv>
#include <cstring>
#include <iterator>
#include <string>

namespace {

constexpr qsizetype RecordSize = sizeof(MapCell);

// The hexes, unless one is off the map or comes twice.
std::optional<std::vector<CopiedHex>> Distinct(std::vector<CopiedHex> hexes)
{
    HexSet seen;
    for (const CopiedHex& hex : hexes) {
        if (!IsOnMap(hex.Place.x, hex.Place.y) || seen.Contains(hex.Place))
            return std::nullopt;
        seen.Insert(hex.Place);
    }
    if (hexes.empty())
        return std::nullopt;
    return hexes;
}

std::optional<CopiedHex> ReadLine(const QString& line)
{
    const QStringList words = line.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.size() != 2 + static_cast<qsizetype>(ContentFields.size()))
        return std::nullopt;
    std::vector<qlonglong> numbers;
    for (const QString& word : words) {
        bool ok = false;
        numbers.push_back(word.toLongLong(&ok));
        if (!ok)
            return std::nullopt;
    }
    CopiedHex hex{{}, {}};
    for (std::size_t i = 0; i < ContentFields.size(); ++i) {
        const ContentField& field = ContentFields[i];
        const qlonglong value = numbers[i + 2];
        if (value < field.Least || value > field.Most)
            return std::nullopt;
        field.Set(hex.Content, value);
    }
    if (numbers[0] < 1 || numbers[0] > MapSize || numbers[1] < 1 || numbers[1] > MapSize)
        return std::nullopt;
    hex.Place = {static_cast<int>(numbers[0]), static_cast<int>(numbers[1])};
    return hex;
}

}  // namespace

std::vector<CopiedHex> CopyHexes(const HexSet& hexes)
{
    std::vector<CopiedHex> copied;
    hexes.ForEach([&copied](HexAddress hex) {
        copied.push_back({hex, ContentOnly(Cell(hex.x, hex.y))});
    });
    return copied;
}

QByteArray HexRecords(std::span<const CopiedHex> hexes)
{
    QByteArray records;
    records.reserve(static_cast<qsizetype>(hexes.size()) * RecordSize);
    for (const CopiedHex& hex : hexes) {
        MapCell record = ContentOnly(hex.Content);
        record.X = static_cast<std::uint8_t>(hex.Place.x);
        record.Y = static_cast<std::uint8_t>(hex.Place.y);
        records.append(reinterpret_cast<const char*>(&record), RecordSize);
    }
    return records;
}

QString HexText(std::span<const CopiedHex> hexes)
{
    std::string text;
    text.reserve(hexes.size() * 32);
    const auto append = [&text](std::int64_t value, char after) {
        char digits[24];
        const auto end = std::to_chars(std::begin(digits), std::end(digits), value).ptr;
        text.append(digits, end);
        text += after;
    };
    for (const CopiedHex& hex : hexes) {
        append(hex.Place.x, ' ');
        append(hex.Place.y, ' ');
        for (std::size_t i = 0; i < ContentFields.size(); ++i)
            append(ContentFields[i].Get(hex.Content), i + 1 < ContentFields.size() ? ' ' : '\n');
    }
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

std::optional<std::vector<CopiedHex>> ReadHexRecords(const QByteArray& records)
{
    if (records.size() % RecordSize != 0 || records.size() > MapHexes * RecordSize)
        return std::nullopt;
    std::vector<CopiedHex> hexes;
    for (qsizetype at = 0; at < records.size(); at += RecordSize) {
        MapCell record;
        std::memcpy(&record, records.constData() + at, RecordSize);
        hexes.push_back({{record.X, record.Y}, ContentOnly(record)});
    }
    return Distinct(std::move(hexes));
}

std::optional<std::vector<CopiedHex>> ReadHexText(const QString& text)
{
    std::vector<CopiedHex> hexes;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        if (line.trimmed().isEmpty())
            continue;
        const std::optional<CopiedHex> hex = ReadLine(line);
        if (!hex || hexes.size() == static_cast<std::size_t>(MapHexes))
            return std::nullopt;
        hexes.push_back(*hex);
    }
    return Distinct(std::move(hexes));
}
