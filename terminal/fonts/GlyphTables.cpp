#include "terminal/fonts/GlyphTables.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <vector>

const char* const UnsupportedFontText =
    "\xc1\xf6\xbf\xf8\xb5\xc7\xc1\xf6 \xbe\xca\xb4\xc2 \xc6\xf9\xc6\xae\xc0\xd4\xb4\xcf\xb4\xd9."
    "\r"
    "\xc8\xad\xc0\xcf\xc5\xa9\xb1\xe2\xb8\xa6 \xc8\xae\xc0\xce\xc7\xcf\xbc\xbc\xbf\xe4";
const char* const FontCaption = "\xc6\xf9\xc6\xae";

namespace {

TGlyphTables& Tables()
{
    static TGlyphTables tables;
    return tables;
}

TFontMessageHook& MessageHook()
{
    static TFontMessageHook hook;
    return hook;
}

std::vector<TGlyphTablesWatch*>& Watches()
{
    static std::vector<TGlyphTablesWatch*> watches;
    return watches;
}

void ShowMessage(const AnsiString& text, const AnsiString& caption)
{
    if (MessageHook())
        MessageHook()(text, caption);
    else
        std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
}

// The size of a regular file, or nothing when there is none of that name.
std::optional<size_t> FileSize(const std::string& name)
{
    std::error_code ec;
    if (!std::filesystem::is_regular_file(name, ec))
        return std::nullopt;
    const auto size = std::filesystem::file_size(name, ec);
    if (ec)
        return std::nullopt;
    return static_cast<size_t>(size);
}

// Up to `limit` bytes from the start of a file; nothing when it cannot be opened or read.
std::optional<std::vector<uint8_t>> ReadFileBytes(const std::string& name, size_t limit)
{
    std::error_code ec;
    if (!std::filesystem::is_regular_file(name, ec))
        return std::nullopt;
    std::ifstream in(name, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::vector<uint8_t> bytes(limit);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(limit));
    if (in.bad())
        return std::nullopt;
    bytes.resize(static_cast<size_t>(in.gcount()));
    return bytes;
}

// Glyphs are stored complemented: ink is 0, so composing jamo is an AND of their rows.
template <size_t N>
void StoreComplemented(std::array<uint8_t, N>& table, const uint8_t* fileForm)
{
    for (size_t i = 0; i < N; ++i)
        table[i] = static_cast<uint8_t>(~fileForm[i]);
}

// Copies the sets of one jamo table from a compact file, where every set lacks its glyph 0.
void ExpandSets(uint8_t* dest, const uint8_t* src, int sets, int glyphsPerSet)
{
    const size_t setBytes = static_cast<size_t>(glyphsPerSet) * 32;
    for (int s = 0; s < sets; ++s) {
        uint8_t* set = dest + static_cast<size_t>(s) * setBytes;
        std::fill(set, set + 32, 0);
        std::copy(src, src + setBytes - 32, set + 32);
        src += setBytes - 32;
    }
}

}  // namespace

// A watch may go while another is told (a terminal freed by a redraw's event): each is looked up
// again before it is told.
void TGlyphTablesWatch::TellAll()
{
    const std::vector<TGlyphTablesWatch*> watches = Watches();
    for (TGlyphTablesWatch* watch : watches)
        if (std::find(Watches().begin(), Watches().end(), watch) != Watches().end() && watch->FChanged)
            watch->FChanged();
}

TGlyphTablesWatch::TGlyphTablesWatch(std::function<void()> Changed) : FChanged(std::move(Changed))
{
    Watches().push_back(this);
}

TGlyphTablesWatch::~TGlyphTablesWatch() { std::erase(Watches(), this); }

TGlyphTables::TGlyphTables()
{
    Initial.fill(0xFF);
    Medial.fill(0xFF);
    Final.fill(0xFF);
    English.fill(0xFF);
    Special.fill(0xFF);
    Symbol.fill(0xFF);
}

const TGlyphTables& GlyphTables() { return Tables(); }

void RestoreGlyphTables(const TGlyphTables& kept)
{
    Tables() = kept;
    TGlyphTablesWatch::TellAll();
}

void SetFontMessageHook(TFontMessageHook Hook) { MessageHook() = std::move(Hook); }

void LoadHanFont(const std::string& FileName)
{
    const auto size = FileSize(FileName);
    if (!size)
        return;
    if (*size != HanFontFullSize && *size != HanFontCompactSize) {
        ShowMessage(UnsupportedFontText, FontCaption);
        return;
    }
    const auto bytes = ReadFileBytes(FileName, *size);
    if (!bytes || bytes->size() != *size)
        return;

    constexpr size_t total = TGlyphTables::InitialBytes + TGlyphTables::MedialBytes + TGlyphTables::FinalBytes;
    std::vector<uint8_t> full(total);
    if (*size == HanFontFullSize) {
        std::copy(bytes->begin(), bytes->end(), full.begin());
    } else {
        const uint8_t* src = bytes->data();
        uint8_t* dest = full.data();
        ExpandSets(dest, src, 8, 20);
        src += 8 * 19 * 32;
        dest += TGlyphTables::InitialBytes;
        ExpandSets(dest, src, 4, 22);
        src += 4 * 21 * 32;
        dest += TGlyphTables::MedialBytes;
        ExpandSets(dest, src, 4, 28);
    }
    TGlyphTables& t = Tables();
    StoreComplemented(t.Initial, full.data());
    StoreComplemented(t.Medial, full.data() + TGlyphTables::InitialBytes);
    StoreComplemented(t.Final, full.data() + TGlyphTables::InitialBytes + TGlyphTables::MedialBytes);
    TGlyphTablesWatch::TellAll();
}

void LoadEngFont(const std::string& FileName)
{
    const auto bytes = ReadFileBytes(FileName, TGlyphTables::EnglishBytes);
    if (!bytes || bytes->size() != TGlyphTables::EnglishBytes)
        return;
    StoreComplemented(Tables().English, bytes->data());
    TGlyphTablesWatch::TellAll();
}

void LoadSpcFont(const std::string& FileName)
{
    const auto bytes = ReadFileBytes(FileName, TGlyphTables::SpecialBytes);
    if (!bytes || bytes->size() != TGlyphTables::SpecialBytes)
        return;
    StoreComplemented(Tables().Special, bytes->data());
    TGlyphTablesWatch::TellAll();
}

void LoadKsgFont(const std::string& FileName)
{
    const auto size = FileSize(FileName);
    if (!size)
        return;
    const auto bytes = ReadFileBytes(FileName, TGlyphTables::SymbolBytes);
    if (!bytes || bytes->size() != std::min(*size, TGlyphTables::SymbolBytes))
        return;

    // The file covers the table from its start; glyphs past its end keep what they showed.
    TGlyphTables& t = Tables();
    std::vector<uint8_t> image(TGlyphTables::SymbolBytes);
    for (size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<uint8_t>(~t.Symbol[i]);
    std::copy(bytes->begin(), bytes->end(), image.begin());

    if (*size == KsgFontCompactSize) {
        // The compact layout leaves out three unassigned blocks; open them again. Each move
        // carries everything above it, so the last glyphs of the file land at the table's end.
        struct TGap {
            size_t From, To;
        };
        constexpr TGap gaps[] = {{5216, 6016}, {17184, 18016}, {29408, 29760}};
        size_t used = KsgFontCompactSize;
        for (const TGap& g : gaps) {
            const size_t count = std::min(used - g.From, image.size() - g.To);
            std::copy_backward(image.begin() + static_cast<std::ptrdiff_t>(g.From),
                               image.begin() + static_cast<std::ptrdiff_t>(g.From + count),
                               image.begin() + static_cast<std::ptrdiff_t>(g.To + count));
            used = g.To + count;
        }
    }
    StoreComplemented(t.Symbol, image.data());
    TGlyphTablesWatch::TellAll();
}
