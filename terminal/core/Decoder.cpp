// The byte-at-a-time interpreter: states, parameters and the dispatch of each byte.

#include <array>
#include <string_view>

#include "terminal/core/TerminalCore.h"

namespace {

// Bytes that mean something in some state (a digit, a sign, a final or escape byte). Outside
// the state where they mean something they are printed but leave the state as it is; every
// other byte is of the default printable set and ends any open escape or sequence.
constexpr std::string_view kListed = "0123456789;*=>^?,#+-.<INTV"  // parameters, sub-modes and enders
                                     "ABCDEHfJKLMPX@mrsuhlza"      // standard finals
                                     "FGObcdgip%"                  // own finals
                                     "[78";                        // escape selection (its letters are listed above)

constexpr std::array<bool, 256> MakeListed()
{
    std::array<bool, 256> t{};
    for (char c : kListed)
        t[static_cast<unsigned char>(c)] = true;
    return t;
}
constexpr std::array<bool, 256> kIsListed = MakeListed();

// Swallowed without effect inside a sequence after '^'.
constexpr std::array<bool, 256> MakeCaretSwallowed()
{
    std::array<bool, 256> t{};
    for (char c : std::string_view("0123456789#>ABCDEFGLMOP+-.<INTV"))
        t[static_cast<unsigned char>(c)] = true;
    return t;
}
constexpr std::array<bool, 256> kCaretSwallowed = MakeCaretSwallowed();

// Bytes that are printed whenever no escape or sequence is open: all but the controls.
constexpr std::array<bool, 256> MakePlain()
{
    std::array<bool, 256> t{};
    for (int c = 0; c < 256; ++c)
        t[static_cast<size_t>(c)] = true;
    for (int c : {0x00, 0x07, 0x08, 0x09, 0x0A, 0x0D, 0x0F, 0x1B, 0x84, 0x85, 0x8D, 0x9B})
        t[static_cast<size_t>(c)] = false;
    return t;
}
constexpr std::array<bool, 256> kPlain = MakePlain();

// The one-byte strings handed to OnAfterPut: made once, never changed, so a handler that feeds
// text back still holds its own byte afterwards.
using ByteStrings = std::array<AnsiString, 256>;
const ByteStrings& AllByteStrings()
{
    static const ByteStrings strings = [] {
        ByteStrings a;
        for (int c = 0; c < 256; ++c)
            a[static_cast<size_t>(c)] = AnsiString(1, static_cast<char>(c));
        return a;
    }();
    return strings;
}
const AnsiString& ByteString(unsigned char ch) { return AllByteStrings()[ch]; }

bool IsDigit(unsigned char ch) { return ch >= '0' && ch <= '9'; }

}  // namespace

// The common case, text in the ground state, is handled here without the full dispatch; it
// does exactly what Decode would.
void TTerminalCore::DecodeBytes(std::string_view s)
{
    const ByteStrings& pieces = AllByteStrings();
    for (char c : s) {
        const unsigned char ch = static_cast<unsigned char>(c);
        if (FInCsi && FSubMode != saCaret && (IsDigit(ch) || ch == ';')) {
            // Parameters: they change neither the text nor the cursor, so the wrap test of
            // the byte before still holds.
            if (ch == ';')
                PushParam();
            else
                AddDigit(ch);
            continue;
        }
        if (!kPlain[ch] || FEscSeen || FInCsi || FHashSeen || FExtension || (ch == '@' && AlphaUse)) {
            Decode(ch, true);
            continue;
        }
        FSiGuard = false;
        if (OnAfterPut && Answering())
            OnAfterPut(pieces[ch]);
        Collect(c);
        if (static_cast<int>(FCollectedLen) + FCurX >= FColumns - 1 && FHighRun % 2 == 0) {
            DecodeByte('\r', false);
            DecodeByte('\n', false);
        }
    }
}

void TTerminalCore::Decode(unsigned char ch, bool report)
{
    const bool swallowed = DecodeByte(ch, report);
    if (swallowed)
        return;
    // Automatic wrap: after Columns - 1 cells, never between the two bytes of a pair.
    if (static_cast<int>(FCollectedLen) + FCurX >= FColumns - 1 && FHighRun % 2 == 0) {
        DecodeByte('\r', false);
        DecodeByte('\n', false);
    }
}

// Handles one byte; true when the '^' sub-mode swallowed it (no wrap test then).
bool TTerminalCore::DecodeByte(unsigned char ch, bool report)
{
    if (!kPlain[ch] && Control(ch, report))
        return false;
    if (!FEscSeen && !FInCsi && FExtension && FExtension->DataByte(*this, ch))
        return false;
    if (FInCsi)
        return CsiByte(ch, report);
    if (AlphaUse && ch == '@') {
        MiscProcess();
        StartEscape();
        return false;
    }
    if (FEscSeen) {
        EscByte(ch, report);
        return false;
    }
    if (FHashSeen && ch >= '3' && ch <= '6') {
        FHashSeen = false;
        return false;
    }
    if (ch == 'R' || ch == 'e') {
        Print(ch, report, true);
        return false;
    }
    Print(ch, report, !kIsListed[ch]);
    return false;
}

void TTerminalCore::Report(unsigned char ch, bool report)
{
    if (report && OnAfterPut && Answering())
        OnAfterPut(ByteString(ch));
}

void TTerminalCore::Print(unsigned char ch, bool report, bool clearState)
{
    if (clearState)
        FInCsi = FEscSeen = FHashSeen = false;
    FSiGuard = false;
    Report(ch, report);
    Collect(static_cast<char>(ch));
}

void TTerminalCore::StartEscape()
{
    FInCsi = FHashSeen = false;
    FSubMode = saNone;
    FEscSeen = true;
    FParams.clear();
    FCurParam = TParam{};
}

void TTerminalCore::StartCsi()
{
    FEscSeen = FHashSeen = false;
    FSubMode = saNone;
    FInCsi = true;
    FParams.clear();
    FCurParam = TParam{};
}

void TTerminalCore::AddDigit(unsigned char ch)
{
    const int v = FCurParam.Value * 10 + (ch - '0');
    FCurParam.Value = v > kMaxParamValue ? kMaxParamValue : v;
    FCurParam.Empty = false;
}

void TTerminalCore::PushParam()
{
    // Parameters past the limit are dropped; no sequence uses that many.
    if (FParams.size() < static_cast<size_t>(kMaxParams))
        FParams.push_back(FCurParam);
    FCurParam = TParam{};
}

void TTerminalCore::EscByte(unsigned char ch, bool report)
{
    switch (ch) {
    case '[': StartCsi(); return;
    case '#':
        FEscSeen = false;
        FHashSeen = true;
        return;
    case '7':
        FEscSeen = false;
        SaveCursor();
        return;
    case '8':
        FEscSeen = false;
        RestoreCursor();
        return;
    case 'D':
        FEscSeen = false;
        Index();
        return;
    case 'E':
        FEscSeen = false;
        Index();
        SetCurX(0);
        return;
    case 'M':
        FEscSeen = false;
        ReverseIndex();
        return;
    case '=':
    case '>': FEscSeen = false; return;
    case 'G':
        FEscSeen = false;
        FCurX = 79;
        return;
    case 'R':
    case 'e': Print(ch, report, true); return;
    default: Print(ch, report, !kIsListed[ch]); return;
    }
}

bool TTerminalCore::CsiByte(unsigned char ch, bool report)
{
    if (FSubMode == saCaret && kCaretSwallowed[ch])
        return true;
    if (IsDigit(ch)) {
        AddDigit(ch);
        return false;
    }
    switch (ch) {
    case ';': PushParam(); return false;
    case '*': FSubMode = saStar; return false;
    case '=': FSubMode = saEqual; return false;
    case '>': FSubMode = saRArrow; return false;
    case '^': FSubMode = saCaret; return false;
    case '?': FSubMode = saQuery; return false;
    case '#':
    case '+':
    case '-':
    case '.':
    case '<':
    case 'I':
    case 'N':
    case 'T':
    case 'V':
    case 'E':
    case 'h':
    case 'l':
    case 'z':
    case 'a': EndSequence(); return false;
    case 'R':
    case 'e': Print(ch, report, true); return false;
    case ',':
    case 'F':
    case 'G':
    case 'O':
    case 'b':
    case 'c':
    case 'd':
    case 'g':
    case 'i':
    case 'p':
    case '%':
        EndSequence();
        if (FExtension)
            FExtension->Sequence(*this, ch);
        return false;
    case 'A':
    case 'B':
    case 'C':
    case 'D':
    case 'H':
    case 'f':
    case 'J':
    case 'K':
    case 'L':
    case 'M':
    case 'P':
    case '@':
    case 'X':
    case 'm':
    case 'r':
    case 's':
    case 'u':
        EndSequence();
        Final(ch);
        return false;
    default: Print(ch, report, !kIsListed[ch]); return false;
    }
}
