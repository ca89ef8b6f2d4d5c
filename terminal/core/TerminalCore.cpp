#include "terminal/core/TerminalCore.h"

#include <algorithm>
#include <utility>

namespace {
ITerminalPainter gNoPainter;
// Nested DecodeText calls from event handlers run at once up to this depth; deeper ones are
// queued and decoded when the outermost call finishes, so a chatty handler cannot exhaust the
// stack.
constexpr int kMaxDepth = 8;

struct DepthGuard {
    explicit DepthGuard(int& d) : depth(d) { ++depth; }
    ~DepthGuard() { --depth; }
    int& depth;
};
}  // namespace

TTerminalCore::TTerminalCore()
    : FPainter(&gNoPainter), FFontColor(clWhite), FBackColor(clNavy), FDefaultFontColor(clWhite),
      FDefaultBackColor(clNavy), FSavedFontColor(clWhite), FSavedBackColor(clNavy)
{}

void TTerminalCore::SetPainter(ITerminalPainter* painter) { FPainter = painter ? painter : &gNoPainter; }

bool TTerminalCore::IsHanLeadByte(std::string_view s, int index)
{
    if (index < 1 || static_cast<size_t>(index) > s.size())
        return false;
    size_t n = 0;
    for (size_t i = static_cast<size_t>(index); i > 0 && static_cast<unsigned char>(s[i - 1]) >= 0x80; --i)
        ++n;
    return n % 2 == 1;
}

void TTerminalCore::DecodeText(std::string_view s) { DecodeInput(s, false); }

void TTerminalCore::DecodeLocalText(std::string_view s) { DecodeInput(s, true); }

void TTerminalCore::AppendPending(std::string_view s, bool local)
{
    if (s.empty())
        return;
    FPending.append(s);
    if (!FPendingRuns.empty() && FPendingRuns.back().second == local)
        FPendingRuns.back().first += s.size();
    else
        FPendingRuns.emplace_back(s.size(), local);
}

void TTerminalCore::DecodePending(const AnsiString& pending, std::vector<std::pair<size_t, bool>>& runs)
{
    size_t at = 0;
    for (const auto& [length, local] : runs) {
        FLocal = local;
        DecodeBytes(std::string_view(pending).substr(at, length));
        at += length;
    }
}

void TTerminalCore::DecodeInput(std::string_view s, bool local)
{
    // Held text waits; past a generous limit it is shown anyway rather than kept without bound.
    if (Held() && FPending.size() + s.size() <= kMaxPending) {
        AppendPending(s, local);
        return;
    }
    if (FDepth >= kMaxDepth) {
        AppendPending(s, local);
        return;
    }
    // A handler may decode local text inside host text and the other way round.
    const bool outerLocal = FLocal;
    {
        DepthGuard guard(FDepth);
        // Both texts are copied out first: a handler may append to the pending text or change
        // the caller's buffer, and nothing may be decoded twice.
        AnsiString pending;
        pending.swap(FPending);
        auto runs = std::exchange(FPendingRuns, {});
        const AnsiString text(s);
        DecodePending(pending, runs);
        if (!text.empty())
            FLocal = local;
        DecodeBytes(text);
        ProcessAfterDecode();
    }
    if (FDepth == 0) {
        while (!FPending.empty() && !Held()) {
            DepthGuard guard(FDepth);
            AnsiString pending;
            pending.swap(FPending);
            auto runs = std::exchange(FPendingRuns, {});
            DecodePending(pending, runs);
            ProcessAfterDecode();
        }
    }
    FLocal = outerLocal;
}

void TTerminalCore::ReleasePending()
{
    if (Held() || FPending.empty())
        return;
    DecodeText({});
}

void TTerminalCore::PaintString(std::string_view s)
{
    const AnsiString text(s);
    DecodeBytes(text);
    MiscProcess();
    FPainter->Invalidate();
}

void TTerminalCore::MiscProcess()
{
    if (FCollectedLen == 0)
        return;
    // The painter must not feed text back; nothing else here calls out.
    const std::string_view text = CollectedText();
    const int x = FCurX;
    const int len = static_cast<int>(text.size());
    FData.InsertString(text, x, FCurY);
    FData.Edit(FCurY).Runs.Add(x, len, FFontColor, FBackColor, FUnderline ? 1 : 0);
    FPainter->TextOut(x, ScreenRow(), text, FFontColor, FBackColor, FUnderline);
    FCurX = x + len;
    FCollectedLen = 0;
    FHighRun = 0;
}

void TTerminalCore::ProcessAfterDecode()
{
    if (FHighRun % 2 == 1)
        return;  // the pair completes with the next chunk
    MiscProcess();
    const AnsiString line = FData.Strings(FCurY);
    if (!line.empty() && AutoReply && Answering()) {
        if (!FReplyPrefix.empty()) {
            AutoReply(Copy(line, static_cast<int>(FReplyPrefix.size()) + 1, FColumns));
        } else if (AutoReply(line)) {
            FReplyPrefix = line;
        }
    }
    FPainter->ChunkDecoded();
    FPainter->Invalidate();
}

void TTerminalCore::WriteBlanks(int x, int y, int n)
{
    if (n <= 0)
        return;
    FData.InsertString(AnsiString(static_cast<size_t>(n), ' '), x, y);
    FData.Edit(y).Runs.Add(x, n, FFontColor, FBackColor, FUnderline ? 1 : 0);
}

void TTerminalCore::SetCurY(int y)
{
    if (y > TDataList::kCount - 1) {
        // Only reachable with a full buffer: the oldest lines go, the screen stays at the end.
        const int n = std::min(y - (TDataList::kCount - 1), Rows());
        FData.UpScroll(0, n);
        FCurY = TDataList::kCount - 1;
        FPainter->ScrollRows(0, FPageSize, n, FBackColor);
        return;
    }
    FCurY = std::max(y, FMaxLinePos);
    if (FCurY > FMaxLinePos + FPageSize)
        AdvanceScreen(FCurY - FPageSize - FMaxLinePos);
}

// Moves the live screen down by d lines; when the buffer is full it scrolls instead.
void TTerminalCore::AdvanceScreen(int d)
{
    if (d <= 0)
        return;
    const bool live = Live();
    const int oldMax = FMaxLinePos;
    const int last = TDataList::kCount - 1;
    int target = FMaxLinePos + d;
    if (target + FPageSize > last) {
        const int over = target + FPageSize - last;
        target = last - FPageSize;
        FData.UpScroll(0, std::min(over, TDataList::kCount));
        FCurY = std::max(FCurY - over, target);
    }
    FMaxLinePos = target;
    if (FCurY > FMaxLinePos + FPageSize)
        FCurY = FMaxLinePos + FPageSize;
    FPainter->ScrollRows(0, FPageSize, d, FBackColor);
    if (FMaxLinePos != oldMax)
        FPainter->MaxLinePosChanged(FMaxLinePos);
    if (live) {
        FPrevLinePos = FLinePos;
        FLinePos = FMaxLinePos;
    }
}

void TTerminalCore::SetRow(int r)
{
    if (r <= 0)
        return;
    r = std::min(r, TDataList::kCount - 2);
    if (r == FPageSize)
        return;
    const int last = TDataList::kCount - 1;
    if (FPageSize > r && FMaxLinePos + r <= FCurY) {
        // Shrinking keeps the cursor line as the last visible row.
        FPrevLinePos = FLinePos;
        FLinePos = FMaxLinePos = FCurY - r;
    } else if (FMaxLinePos + r > last) {
        // Growing with a full buffer: the screen reaches up into the scroll-back.
        FPrevLinePos = FLinePos;
        FLinePos = FMaxLinePos = last - r;
    }
    FPageSize = r;
    if (FRegionOn && FRegionBottom > Rows())
        FRegionOn = false;
    FPainter->MaxLinePosChanged(FMaxLinePos);
    FPainter->ViewChanged(FPrevLinePos, FLinePos);
    if (OnChangeRow)
        OnChangeRow(r + 1);
}

void TTerminalCore::SetColumns(int c) { FColumns = std::clamp(c, 2, kMaxColumns); }

bool TTerminalCore::ScrollView(int pos)
{
    pos = std::clamp(pos, 0, FMaxLinePos);
    if (pos == FLinePos)
        return false;
    FPrevLinePos = FLinePos;
    FLinePos = pos;
    FPainter->ViewChanged(FPrevLinePos, FLinePos);
    if (Live())
        ReleasePending();
    return true;
}

void TTerminalCore::SetDefaultFontColor(TColor c)
{
    for (int y = 0; y < FData.Used(); ++y)
        FData.Edit(y).Runs.ReplaceFontColor(FDefaultFontColor, c);
    FDefaultFontColor = c;
    FFontColor = c;
}

void TTerminalCore::SetDefaultBackColor(TColor c)
{
    for (int y = 0; y < FData.Used(); ++y)
        FData.Edit(y).Runs.ReplaceBackColor(FDefaultBackColor, c);
    FDefaultBackColor = c;
    FBackColor = c;
}

void TTerminalCore::RestoreColors(TColor fg, TColor bg)
{
    FUnderline = FReverse = FBright = FBlink = false;
    FDefaultFontColor = FFontColor = fg;
    FDefaultBackColor = FBackColor = bg;
    for (int y = 0; y < FData.Used(); ++y)
        FData.Edit(y).Runs.SetAllColors(fg, bg);
    FPainter->ViewChanged(FLinePos, FLinePos);
}
