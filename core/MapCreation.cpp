#include "core/MapCreation.h"

#include "core/MapModel.h"
#include "settings/Settings.h"

#include <algorithm>
#include <chrono>
#include <random>

namespace {

std::mt19937 Generator;

constexpr int HeightLevels = 7;
// Ground is one byte: a larger sprite count could only wrap around and favour low codes.
constexpr int GroundCodeLimit = 256;

}  // namespace

void Randomize()
{
    const auto ticks = std::chrono::system_clock::now().time_since_epoch().count();
    const auto bits = static_cast<std::uint64_t>(ticks);
    Randomize(static_cast<std::uint32_t>(bits ^ (bits >> 32)));
}

void Randomize(std::uint32_t seed) { Generator.seed(seed); }

int Random(int n)
{
    if (n <= 0)
        return 0;
    return std::uniform_int_distribution<int>(0, n - 1)(Generator);
}

void RandomMap()
{
    const int groundCodes = std::min(GroundSpriteCount, GroundCodeLimit);
    for (int x = 1; x <= MapSize; ++x)
        for (int y = 1; y <= MapSize; ++y) {
            // Height first, then ground: one draw each per cell.
            const int height = Random(HeightLevels);
            const int ground = Random(groundCodes);
            ResetCell(x, y, height, static_cast<std::uint8_t>(ground));
        }
    MapName = QStringLiteral("Random");
    MapModified = false;
    UpdateCaption();
}
