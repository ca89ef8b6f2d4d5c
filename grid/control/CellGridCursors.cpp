// The grid's own cursors and panning pictures, drawn by code: 8000 the pan at rest, 8001 to
// 8008 the pan by direction (down, left, right, up, down-left, up-left, down-right, up-right),
// 8009 a link, 8010 row select, 8011 column select, 8012 select all; the bitmaps "INTLI1"
// (both ways), "INTLI2" (across) and "INTLI3" (up and down) mark a pan's starting point. The
// cursors are installed in the screen's table under their numbers.

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/gui/Application.h"
#include "platform/gui/Resources.h"

namespace {

using TRows = std::vector<std::string>;

// A 17 x 17 picture with a ring at its centre.
TRows Ring()
{
    TRows rows(17, std::string(17, ' '));
    for (int y = -2; y <= 2; ++y)
        for (int x = -2; x <= 2; ++x)
            if (std::abs(x) + std::abs(y) <= 3)
                rows[static_cast<size_t>(8 + y)][static_cast<size_t>(8 + x)] =
                    std::abs(x) + std::abs(y) == 3 ? '#' : '.';
    return rows;
}

void Put(TRows& rows, int x, int y, char c)
{
    if (x >= 0 && y >= 0 && x < 17 && y < 17)
        rows[static_cast<size_t>(y)][static_cast<size_t>(x)] = c;
}

// An arrow from the centre's edge towards (Dx, Dy), its head at the picture's border.
void Arrow(TRows& rows, int dx, int dy, int from = 4)
{
    for (int t = from; t <= 7; ++t)
        Put(rows, 8 + dx * t, 8 + dy * t, '#');
    // The head: two strokes back from the tip, at right angles to each other.
    const int px = -dy, py = dx;
    for (int k = 1; k <= 3; ++k) {
        Put(rows, 8 + dx * (7 - k) + px * k, 8 + dy * (7 - k) + py * k, '#');
        Put(rows, 8 + dx * (7 - k) - px * k, 8 + dy * (7 - k) - py * k, '#');
    }
}

TRows Pan(std::initializer_list<std::pair<int, int>> directions)
{
    TRows rows = Ring();
    for (auto [dx, dy] : directions)
        Arrow(rows, dx, dy);
    return rows;
}

// A thick arrow from the centre to the border, for the selection cursors.
TRows Select(int dx, int dy)
{
    TRows rows(17, std::string(17, ' '));
    Arrow(rows, dx, dy, -7);
    Arrow(rows, dx, dy, -6);
    const int px = -dy, py = dx;
    for (int t = -7; t <= 7; ++t)
        Put(rows, 8 + dx * t + px, 8 + dy * t + py, '#');
    return rows;
}

TRows Hand()
{
    return {"     ##          ", "    #..#         ", "    #..#         ", "    #..#         ", "    #..###       ",
            "    #..#..###    ", " ## #..#..#..##  ", "#..##........#.# ", "#...#..........# ", " #.............# ",
            "  #............# ", "  #...........#  ", "   #..........#  ", "    #........#   ", "     #.......#   ",
            "     #########   ", "                 "};
}

}  // namespace

void RegisterGridCursors()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    const std::pair<int, TRows> cursors[] = {
        {8000, Pan({{0, 1}, {-1, 0}, {1, 0}, {0, -1}})},
        {8001, Pan({{0, 1}})},
        {8002, Pan({{-1, 0}})},
        {8003, Pan({{1, 0}})},
        {8004, Pan({{0, -1}})},
        {8005, Pan({{-1, 1}})},
        {8006, Pan({{-1, -1}})},
        {8007, Pan({{1, 1}})},
        {8008, Pan({{1, -1}})},
        {8009, Hand()},
        {8010, Select(1, 0)},
        {8011, Select(0, 1)},
        {8012, Select(1, 1)},
    };
    for (const auto& [id, rows] : cursors) {
        const QPoint hot = id == 8009 ? QPoint(5, 0) : QPoint(8, 8);
        RegisterRowsPicture(rtCursor, ResourceIdName(id), rows, hot);
    }
    RegisterRowsPicture(rtBitmap, "INTLI1", Pan({{0, 1}, {-1, 0}, {1, 0}, {0, -1}}), QPoint());
    RegisterRowsPicture(rtBitmap, "INTLI2", Pan({{-1, 0}, {1, 0}}), QPoint());
    RegisterRowsPicture(rtBitmap, "INTLI3", Pan({{0, 1}, {0, -1}}), QPoint());
    AddStartupProc([] {
        for (int id = 8000; id <= 8012; ++id) {
            const QCursor cursor = LoadCursorResource(ResourceIdName(id));
            Screen->SetCursors(id, &cursor);
        }
    });
}
