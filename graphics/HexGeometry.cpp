#include "graphics/HexGeometry.h"

#include <algorithm>

namespace {

bool OnMap(int x, int y) { return x >= 1 && x <= 32 && y >= 1 && y <= 32; }

struct Offset {
    int dx;
    int dy;
};

// Neighbour offsets for directions 1 to 6, odd columns and even columns.
constexpr Offset OddColumn[6] = {{0, -1}, {1, -1}, {1, 0}, {0, 1}, {-1, 0}, {-1, -1}};
constexpr Offset EvenColumn[6] = {{0, -1}, {1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}};

}  // namespace

PixelPoint HexToPixel(int x, int y)
{
    return {ColumnStep * (x - 1), RowStep * (y - 1) + (x % 2 != 0 ? 2 : 22)};
}

HexStep HexNeighbour(int x, int y, int d)
{
    if (d < 1 || d > 6)
        return {false, x, y};
    const Offset step = (x % 2 != 0 ? OddColumn : EvenColumn)[d - 1];
    const int nx = x + step.dx;
    const int ny = y + step.dy;
    return OnMap(nx, ny) ? HexStep{true, nx, ny} : HexStep{false, x, y};
}

int TurnDirection(int d, int k)
{
    int turned = d + k;
    if (turned > 6)
        turned -= 6;
    if (turned < 1)
        turned += 6;
    return turned;
}

bool InsideHex(int a, int b)
{
    return a >= 0 && a <= 64 && b >= 0 && b <= 38 && std::min(a, 66 - a) + std::min(b, 40 - b) >= 19;
}
