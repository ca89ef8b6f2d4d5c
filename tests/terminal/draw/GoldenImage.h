#pragma once
// Golden pictures of the screen image, kept as text: a size line, then one line per pixel row
// of palette indexes, run-length coded ("f*12 0*4" is twelve pixels of index 15 and four of 0),
// and "=N" for N rows equal to the row before.
//
// The pictures are ours. When drawing changes on purpose, regenerate them with
//     HM_UPDATE_GOLDEN=1 BUILD/bin/terminal_draw_tests
//     HM_UPDATE_GOLDEN=1 BUILD/bin/terminal_draw_qt_tests
// and review the difference of tests/terminal/draw/data/ before committing it.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/gui/FrameBuffer.h"
#include "tests/TempName.h"

namespace golden {

inline std::string RowText(const TFrameBuffer& fb, int y)
{
    std::string out;
    int x = 0;
    while (x < fb.Width()) {
        const uint8_t v = fb.Pixel(x, y);
        int n = 1;
        while (x + n < fb.Width() && fb.Pixel(x + n, y) == v)
            ++n;
        if (!out.empty())
            out += ' ';
        out += "0123456789abcdef"[v & 15];
        out += '*' + std::to_string(n);
        x += n;
    }
    return out;
}

inline std::string Encode(const TFrameBuffer& fb)
{
    std::ostringstream out;
    out << fb.Width() << ' ' << fb.Height() << '\n';
    std::string prev;
    int repeats = 0;
    for (int y = 0; y < fb.Height(); ++y) {
        std::string row = RowText(fb, y);
        if (y > 0 && row == prev) {
            ++repeats;
            continue;
        }
        if (repeats)
            out << '=' << repeats << '\n';
        repeats = 0;
        out << row << '\n';
        prev = std::move(row);
    }
    if (repeats)
        out << '=' << repeats << '\n';
    return out.str();
}

inline std::string Path(const std::string& name)
{
    return std::string(HM_SOURCE_DIR) + "/tests/terminal/draw/data/" + name + ".txt";
}

// Compares the picture with its golden file (or writes the file in regeneration mode).
inline void Expect(const TFrameBuffer& fb, const std::string& name)
{
    const std::string picture = Encode(fb);
    if (std::getenv("HM_UPDATE_GOLDEN")) {
        std::ofstream(Path(name), std::ios::binary) << picture;
        return;
    }
    std::ifstream in(Path(name), std::ios::binary);
    ASSERT_TRUE(in) << "no golden picture " << Path(name) << " (HM_UPDATE_GOLDEN=1 writes it)";
    std::ostringstream expected;
    expected << in.rdbuf();
    if (expected.str() == picture)
        return;
    // Name the first row that differs and keep the picture for a look.
    std::istringstream a(expected.str()), b(picture);
    std::string la, lb;
    int line = 0;
    while (std::getline(a, la) && std::getline(b, lb) && la == lb)
        ++line;
    const std::string actual = KeptTempFile(name + "-actual", "txt");
    std::ofstream(actual, std::ios::binary) << picture;
    ADD_FAILURE() << "picture differs from " << Path(name) << " at line " << line + 1 << "\n  golden: " << la
                  << "\n  drawn:  " << lb << "\n  (whole picture in " << actual << ")";
}

}  // namespace golden
