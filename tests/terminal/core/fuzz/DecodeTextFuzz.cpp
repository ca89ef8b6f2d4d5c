// Feeds arbitrary bytes to the decoder in pieces whose sizes come from the input itself, with a
// handler that sometimes feeds text back, and checks the model's invariants after each piece.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "terminal/core/TerminalCore.h"

namespace {
void Check(bool ok)
{
    if (!ok)
        std::abort();
}

void CheckInvariants(const TTerminalCore& t)
{
    Check(t.CurX() >= 0);
    Check(t.MaxLinePos() >= 0 && t.MaxLinePos() + t.PageSize() <= TDataList::kCount - 1);
    Check(t.CurY() >= t.MaxLinePos() && t.CurY() <= t.MaxLinePos() + t.PageSize());
    Check(t.LinePos() <= t.MaxLinePos());
    Check(t.CollectedText().size() <= static_cast<size_t>(t.Columns()) + 2);
    for (int y = t.MaxLinePos(); y <= t.MaxLinePos() + t.PageSize(); ++y) {
        Check(t.Data().Strings(y).size() <= static_cast<size_t>(2 * t.Columns() + 16));
        int end = 0;
        for (const TConfig& r : t.Data().Objects(y)) {
            Check(r.Start >= end && r.Length > 0);
            end = r.End();
        }
        Check(end <= 2 * t.Columns() + 16);
    }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TTerminalCore t;
    t.AlphaUse = size > 0 && (data[0] & 1);
    int echoes = 0;
    t.OnAfterPut = [&](const AnsiString& s) {
        if (s == "!" && echoes < 64) {
            ++echoes;
            t.DecodeText("\x1b[1;31mecho\r\n");
        }
    };
    size_t i = size > 0 ? 1 : 0;
    while (i < size) {
        size_t n = 1 + data[i] % 64;
        ++i;
        n = n < size - i ? n : size - i;
        t.DecodeText(std::string_view(reinterpret_cast<const char*>(data + i), n));
        CheckInvariants(t);
        i += n;
    }
    return 0;
}
