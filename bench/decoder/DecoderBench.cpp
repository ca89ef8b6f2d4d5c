// Throughput of the terminal core on a 20 MB Korean MUD stream, without and with drawing into
// the screen image, against libvterm on the same stream (its screen layer, with a scroll-back
// callback that keeps every line pushed off the screen, as ours does), and the heap held by a
// full scroll-back of coloured 80-column lines.

#include <malloc.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

extern "C" {
#include <vterm.h>
}

#include "MudStream.h"
#include "platform/core/ProgramFolder.h"
#include "terminal/core/TerminalCore.h"
#include "terminal/draw/OwnSequences.h"
#include "terminal/draw/ScreenPainter.h"
#include "terminal/fonts/GlyphTables.h"

namespace {

constexpr size_t kStreamBytes = 20u << 20;
constexpr size_t kChunk = 4096;  // about what one socket read brings
constexpr int kRows = 25, kCols = 80;

double Seconds(std::chrono::steady_clock::time_point from)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - from).count();
}

double RunOurs(const std::string& stream)
{
    TTerminalCore t;
    size_t pieces = 0;
    t.OnAfterPut = [&pieces](const AnsiString&) { ++pieces; };
    const auto start = std::chrono::steady_clock::now();
    for (size_t i = 0; i < stream.size(); i += kChunk)
        t.DecodeText(std::string_view(stream).substr(i, kChunk));
    const double s = Seconds(start);
    if (pieces == 0)
        std::fprintf(stderr, "no pieces reported\n");
    return s;
}

// The same with drawing on, as the terminal control runs it: the screen image in Hangul mode
// with the generated bitmap fonts, and the own sequences. The window shows the image at most
// once a display frame (16 ms); each showing brings the image up to date, and so does the end.
double RunOursDrawing(const std::string& stream)
{
    TTerminalCore t;
    TScreenPainter painter(t);
    TOwnSequences own(t, painter);
    painter.SetHanMode(true);
    painter.Resize(kCols * 8, kRows * 16);
    t.SetRow(kRows - 1);
    painter.Redraw();
    size_t pieces = 0;
    t.OnAfterPut = [&pieces](const AnsiString&) { ++pieces; };
    const auto start = std::chrono::steady_clock::now();
    auto shown = start;
    size_t frames = 0;
    for (size_t i = 0; i < stream.size(); i += kChunk) {
        t.DecodeText(std::string_view(stream).substr(i, kChunk));
        if (std::chrono::steady_clock::now() - shown >= std::chrono::milliseconds(16)) {
            painter.Flush();
            shown = std::chrono::steady_clock::now();
            ++frames;
        }
    }
    painter.Flush();
    const double s = Seconds(start);
    if (pieces == 0 || frames == 0)
        std::fprintf(stderr, "no pieces reported or no frame shown\n");
    return s;
}

// libvterm's scroll-back: a ring of 10000 lines of cells, filled by the push callback.
struct VtermScrollBack {
    std::vector<VTermScreenCell> cells = std::vector<VTermScreenCell>(10000u * kCols);
    size_t next = 0;
    static int Push(int cols, const VTermScreenCell* line, void* user)
    {
        auto* self = static_cast<VtermScrollBack*>(user);
        const size_t n = static_cast<size_t>(cols < kCols ? cols : kCols);
        std::memcpy(&self->cells[(self->next % 10000) * kCols], line, n * sizeof(VTermScreenCell));
        ++self->next;
        return 1;
    }
};

double RunVterm(const std::string& stream)
{
    VTerm* vt = vterm_new(kRows, kCols);
    vterm_set_utf8(vt, 0);
    VTermScreen* screen = vterm_obtain_screen(vt);
    VtermScrollBack back;
    VTermScreenCallbacks callbacks;
    std::memset(&callbacks, 0, sizeof callbacks);
    callbacks.sb_pushline = &VtermScrollBack::Push;
    vterm_screen_set_callbacks(screen, &callbacks, &back);
    vterm_screen_reset(screen, 1);
    const auto start = std::chrono::steady_clock::now();
    for (size_t i = 0; i < stream.size(); i += kChunk)
        vterm_input_write(vt, stream.data() + i, std::min(kChunk, stream.size() - i));
    const double s = Seconds(start);
    if (back.next == 0)
        std::fprintf(stderr, "libvterm pushed no lines\n");
    vterm_free(vt);
    return s;
}

size_t HeapInUse() { return mallinfo2().uordblks; }

// Nanoseconds per line feed on the bottom row, with the scroll-back as `t` has it.
double LineFeedNs(TTerminalCore& t)
{
    const std::string feeds(9000, '\n');  // fewer than fill an empty scroll-back
    const auto start = std::chrono::steady_clock::now();
    t.DecodeText(feeds);
    return Seconds(start) * 1e9 / static_cast<double>(feeds.size());
}

}  // namespace

int main()
{
    const std::string stream = MakeMudStream(kStreamBytes, 1);
    const double mb = static_cast<double>(stream.size()) / (1024.0 * 1024.0);

    double ours = 1e9, theirs = 1e9;
    for (int round = 0; round < 3; ++round) {
        ours = std::min(ours, RunOurs(stream));
        theirs = std::min(theirs, RunVterm(stream));
    }
    std::printf("METRIC decoder_mb_per_s %.1f\n", mb / ours);
    std::printf("METRIC libvterm_mb_per_s %.1f\n", mb / theirs);
    std::printf("METRIC decoder_speed_ratio %.2f\n", theirs / ours);

    // Drawing on: the glyphs are the ones the build generates beside the program.
    const std::string fonts = ExecutableFolder() + "/Fonts/";
    LoadHanFont(fonts + "뻗음꼴.han");
    LoadEngFont(fonts + "영문정형체.eng");
    LoadSpcFont(fonts + "smooth.spc");
    LoadKsgFont(fonts + "산.ksg");
    double drawing = 1e9;
    for (int round = 0; round < 3; ++round)
        drawing = std::min(drawing, RunOursDrawing(stream));
    std::printf("METRIC decoder_drawing_mb_per_s %.1f\n", mb / drawing);
    // Kept above 0.5: drawing must not halve the decoder's throughput.
    std::printf("METRIC decoder_drawing_throughput_ratio %.2f\n", ours / drawing);

    // Memory: a full scroll-back of coloured lines, then as many again (must stay flat).
    const std::string lines = MakeColouredLines(10000, 2);
    const std::string more = MakeColouredLines(20000, 3);
    const size_t before = HeapInUse();
    auto* t = new TTerminalCore;
    t->DecodeText(lines);
    const size_t full = HeapInUse();
    t->DecodeText(more);
    const size_t later = HeapInUse();
    std::printf("METRIC scrollback_bytes_per_line %.1f\n", static_cast<double>(full - before) / TDataList::kCount);
    std::printf("METRIC scrollback_bytes_per_line_after_30000 %.1f\n",
                static_cast<double>(later - before) / TDataList::kCount);
    // A line feed costs the same with a full scroll-back as with an empty one.
    double emptyNs = 1e9, fullNs = 1e9;
    for (int round = 0; round < 10; ++round) {
        TTerminalCore fresh;
        fresh.DecodeText(std::string(24, '\n'));
        emptyNs = std::min(emptyNs, LineFeedNs(fresh));
        fullNs = std::min(fullNs, LineFeedNs(*t));
    }
    std::printf("METRIC line_feed_ns_empty_scrollback %.1f\n", emptyNs);
    std::printf("METRIC line_feed_ns_full_scrollback %.1f\n", fullNs);
    delete t;
    return 0;
}
