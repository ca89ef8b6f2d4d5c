// Seeded random streams fed to our core and to libvterm, on the part of the language where the
// two terminals agree (text on lines shorter than the wrap column, CR, LF, BS, cursor moves
// inside the screen, erase in line, insert and delete characters and lines, scroll regions with
// LF and reverse index, save and restore cursor); the screens are compared cell by cell.

#include <gtest/gtest.h>

#include <random>

extern "C" {
#include <vterm.h>
}

#include "TermTestSupport.h"

namespace {

constexpr int kRows = 25, kCols = 80, kTextLimit = 70;

class Vterm {
public:
    Vterm()
    {
        FVt = vterm_new(kRows, kCols);
        vterm_set_utf8(FVt, 0);
        FScreen = vterm_obtain_screen(FVt);
        vterm_screen_reset(FScreen, 1);
    }
    ~Vterm() { vterm_free(FVt); }
    void Write(const std::string& s) { vterm_input_write(FVt, s.data(), s.size()); }
    uint32_t Cell(int row, int col) const
    {
        VTermScreenCell cell;
        vterm_screen_get_cell(FScreen, VTermPos{row, col}, &cell);
        return cell.chars[0];
    }
    std::string RowText(int row) const
    {
        std::string s;
        for (int c = 0; c < kCols; ++c) {
            uint32_t ch = Cell(row, c);
            s += ch >= 0x20 && ch < 0x7F ? std::string(1, static_cast<char>(ch))
                : ch == 0                ? std::string(" ")
                                         : Format("\\u%04X", ch);
        }
        return s;
    }
    VTermPos Cursor() const
    {
        VTermPos pos;
        vterm_state_get_cursorpos(vterm_obtain_state(FVt), &pos);
        return pos;
    }

private:
    VTerm* FVt;
    VTermScreen* FScreen;
};

// What libvterm shows for each byte printed on its own (blank for an empty cell).
std::array<uint32_t, 256> ByteCells()
{
    std::array<uint32_t, 256> map{};
    for (int b = 0x20; b < 0x100; ++b) {
        if (b == 0x7F || (b >= 0x80 && b < 0xA1))
            continue;
        Vterm v;
        v.Write(std::string(1, static_cast<char>(b)));
        map[static_cast<size_t>(b)] = v.Cell(0, 0);
    }
    map[' '] = ' ';
    return map;
}

// Generates operations from the subset, keeping them in bounds by looking at our cursor.
class Generator {
public:
    Generator(uint32_t seed, const TTerminalCore& t) : FRng(seed), FT(t) {}
    std::string Next()
    {
        const int row = FT.CurY() - FT.MaxLinePos(), col = FT.CurX();
        const int top = FRegion ? FTop : 0, bottom = FRegion ? FBottom : kRows - 1;
        const bool inRegion = row >= top && row <= bottom;
        switch (Pick(17)) {
        case 0:
        case 1:
        case 2: {
            std::string s;
            int room = kTextLimit - col;
            while (room > 0 && Pick(12)) {
                if (room >= 2 && Pick(3) == 0) {
                    s.push_back(static_cast<char>(0xB0 + Pick(25)));
                    s.push_back(static_cast<char>(0xA1 + Pick(94)));
                    room -= 2;
                } else {
                    s.push_back(static_cast<char>(0x21 + Pick(94)));
                    --room;
                }
            }
            return s;
        }
        case 3: return "\r";
        case 4:
            // On the bottom row outside a region the two terminals differ; skip it.
            if (FRegion && !inRegion && row == kRows - 1)
                return "\r";
            return "\n";
        case 5: return "\b";
        // Up and down stay inside the distance to the region's edge (or the screen's): libvterm
        // does not stop at the region, which the two terminals treat differently.
        case 6: {
            const int room = FRegion && row >= top ? row - top : row;
            return room > 0 ? Csi(1 + Pick(room), 'A') : "\r";
        }
        case 7: {
            const int room = (FRegion && row <= bottom ? bottom : kRows - 1) - row;
            return room > 0 ? Csi(1 + Pick(room), 'B') : "\r";
        }
        case 8: return Csi(Pick(std::max(1, kTextLimit - col)), 'C');
        case 9: return Csi(Pick(col + 2), 'D');
        case 10: return "\x1b[" + std::to_string(1 + Pick(kRows)) + ";" + std::to_string(1 + Pick(kTextLimit)) + "H";
        case 11: return Csi(Pick(3), 'K');
        case 12:
            // libvterm leaves rows outside the region alone here.
            if (FRegion && !inRegion)
                return "\r";
            return Csi(Pick(kCols - col - 1), Pick(2) ? '@' : 'P');
        case 13:
            if (FRegion)
                return "\x1bM";
            return Csi(Pick(kRows), Pick(2) ? 'L' : 'M');
        case 14:
            if (Pick(3) == 0) {
                FRegion = false;
                return "\x1b[r";
            }
            FRegion = true;
            FTop = 1 + Pick(10);
            FBottom = FTop + 1 + Pick(kRows - FTop - 1);
            return "\x1b[" + std::to_string(FTop + 1) + ";" + std::to_string(FBottom + 1) + "r";
        case 15: return "\x1bM";
        default:
            return Pick(2) ? "\x1b"
                             "7"
                           : "\x1b"
                             "8";
        }
    }

private:
    int Pick(int n) { return n <= 0 ? 0 : static_cast<int>(FRng() % static_cast<uint32_t>(n)); }
    static std::string Csi(int n, char final) { return "\x1b[" + (n ? std::to_string(n) : std::string()) + final; }
    std::mt19937 FRng;
    const TTerminalCore& FT;
    bool FRegion = false;
    int FTop = 0, FBottom = kRows - 1;
};

TEST(Differential, ScreensMatchLibvtermCellByCell)
{
    const std::array<uint32_t, 256> cells = ByteCells();
    for (uint32_t seed = 1; seed <= 40; ++seed) {
        TTerminalCore ours;
        Vterm theirs;
        Generator gen(seed, ours);
        std::string history;
        for (int step = 0; step < 1000; ++step) {
            const std::string op = gen.Next();
            const int beforeRow = ours.CurY() - ours.MaxLinePos();
            const std::string before = Format(" before: cursor %d,%d ", ours.CurX(), beforeRow) + "\n[" +
                Escaped(ours.Data().Strings(ours.CurY())) + "]\n[" + theirs.RowText(beforeRow) + "]";
            history += op;
            ours.DecodeText(op);
            theirs.Write(op);
            const VTermPos cursor = theirs.Cursor();
            const std::string where = Format("seed %u step %d op ", seed, step) + Escaped(op) + before;
            const std::string region =
                Format(" region %d %d %d", ours.RegionOn(), ours.RegionTop(), ours.RegionBottom());
            ASSERT_EQ(ours.CurY() - ours.MaxLinePos(), cursor.row) << where << region;
            ASSERT_EQ(ours.CurX(), cursor.col) << where << region;
            for (int row = 0; row < kRows; ++row) {
                const std::string& line = ours.Data().Strings(ours.MaxLinePos() + row);
                for (int col = 0; col < kCols; ++col) {
                    const unsigned char b = col < static_cast<int>(line.size())
                        ? static_cast<unsigned char>(line[static_cast<size_t>(col)])
                        : ' ';
                    uint32_t want = theirs.Cell(row, col);
                    if (want == 0)
                        want = ' ';
                    ASSERT_EQ(cells[b], want) << where << " row " << row << " col " << col << "\nours   ["
                                              << Escaped(line) << "]\ntheirs [" << theirs.RowText(row) << "]";
                }
            }
        }
    }
}

}  // namespace
