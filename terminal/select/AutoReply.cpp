#include "terminal/select/AutoReply.h"

#include "terminal/select/LineChars.h"

namespace {

// The first place s occurs in w, on a character boundary; npos when absent (an empty s never
// occurs: an empty pattern would answer every line).
size_t FindIn(std::string_view w, std::string_view s)
{
    const int at = TLineChars(w).Find(s);
    return at < 0 ? std::string_view::npos : static_cast<size_t>(at);
}

std::string_view UpToSpace(std::string_view w) { return w.substr(0, w.find(' ')); }

const AnsiString& Entry(const std::vector<AnsiString>& list, int i)
{
    static const AnsiString kEmpty;
    return i >= 0 && static_cast<size_t>(i) < list.size() ? list[static_cast<size_t>(i)] : kEmpty;
}

AnsiString Substitute(const AnsiString& answer, const std::vector<AnsiString>& captures)
{
    AnsiString out;
    for (size_t i = 0; i < answer.size(); ++i) {
        const char c = answer[i];
        if (c == '%' && i + 1 < answer.size() && answer[i + 1] >= '0' && answer[i + 1] <= '9') {
            const size_t n = static_cast<size_t>(answer[i + 1] - '0');
            // A number with no capture behind it stays as written.
            if (n < captures.size()) {
                out += captures[n];
                ++i;
                continue;
            }
        }
        out += c;
    }
    return out;
}

}  // namespace

std::vector<AnsiString> TAutoReply::CutPieces(std::string_view s)
{
    std::vector<AnsiString> pieces;
    size_t p = 0;
    while (p < s.size()) {
        const size_t pc = s.find('%', p);
        if (pc == std::string_view::npos)
            break;
        if (pc > p) {
            pieces.emplace_back(s.substr(p, pc - p));
            p = pc;
            continue;
        }
        // The code's character is taken whole, so a two-byte character is never split.
        const size_t len = pc + 1 < s.size() ? 1 + static_cast<size_t>(CharLengthAt(s, pc + 1)) : 1;
        pieces.emplace_back(s.substr(pc, len));
        p = pc + len;
    }
    if (p < s.size())
        pieces.emplace_back(s.substr(p));
    return pieces;
}

void TAutoReply::AddReplyText(const AnsiString& s)
{
    TReply r;
    r.Pattern = s;
    if (s.find('%') != AnsiString::npos)
        r.Pieces = CutPieces(s);
    FReplies.push_back(std::move(r));
}

void TAutoReply::ClearReplyText() { FReplies.clear(); }

void TAutoReply::AssignJText(const AnsiString& s)
{
    for (AnsiString& piece : CutPieces(s))
        FJPieces.push_back(std::move(piece));
}

void TAutoReply::SetEnabled(int i, bool on)
{
    if (i >= 0 && i < Count())
        FReplies[static_cast<size_t>(i)].Enabled = on ? 1 : 0;
}

bool TAutoReply::AutoReply(const AnsiString& line)
{
    bool answered = false;
    // A hook may add or clear replies: the list is re-read at each step and a reply is copied
    // before it is used.
    for (int i = 0; i < Count(); ++i) {
        const TReply reply = FReplies[static_cast<size_t>(i)];
        if (reply.Enabled == 0)
            continue;
        if (reply.Pieces.empty()) {
            if (FindIn(line, reply.Pattern) == std::string_view::npos)
                continue;
            ProcessReply(i, nullptr);
            return true;
        }
        std::string_view w = line;
        std::vector<AnsiString> captures;
        const size_t last = reply.Pieces.size() - 1;
        bool matched = true;
        for (size_t k = 0; k <= last && matched; ++k) {
            const AnsiString& piece = reply.Pieces[k];
            if (IsCode(piece) && k < last) {
                const size_t at = FindIn(w, reply.Pieces[k + 1]);
                if (at == std::string_view::npos) {
                    matched = false;
                    break;
                }
                if (k == 0) {
                    size_t from = at;
                    while (from > 0 && w[from - 1] != ' ')
                        --from;
                    captures.emplace_back(w.substr(from, at - from));
                } else {
                    const std::string_view capture = w.substr(0, at);
                    if (capture.find(' ') != std::string_view::npos)
                        return answered;
                    captures.emplace_back(capture);
                }
                w = w.substr(at);
            } else if (IsCode(piece)) {
                captures.emplace_back(UpToSpace(w));
            } else if (k == 0) {
                const size_t at = FindIn(w, piece);
                if (at == std::string_view::npos) {
                    matched = false;
                    break;
                }
                w = w.substr(at + piece.size());
            } else {
                if (w.substr(0, piece.size()) != piece) {
                    matched = false;
                    break;
                }
                w = w.substr(piece.size());
            }
        }
        if (!matched)
            continue;
        ProcessReply(i, &captures);
        answered = true;
    }
    return answered;
}

void TAutoReply::ProcessReply(int index, const std::vector<AnsiString>* captures)
{
    const AnsiString sound = Entry(Sounds, index);
    const AnsiString message = Entry(Messages, index);
    if (!sound.empty() && PlaySound)
        PlaySound(sound);
    AnsiString r = captures ? Substitute(Entry(Answers, index), *captures) : Entry(Answers, index);
    if (OnSendReplyData)
        OnSendReplyData(r);
    if (!message.empty() && ShowMessage)
        ShowMessage(message, 1000);
    static constexpr std::string_view kEnter = "<Enter>";
    for (size_t at; (at = r.find(kEnter)) != AnsiString::npos;) {
        const AnsiString part = r.substr(0, at) + "\r";
        r.erase(0, at + kEnter.size());
        if (SendString)
            SendString(part);
    }
    if (!r.empty() && SendString)
        SendString(r);
}

void TAutoReply::JReply(const AnsiString& line)
{
    if (FJPieces.empty())
        return;
    const std::vector<AnsiString> pieces = FJPieces;
    std::string_view w = line;
    AnsiString id;
    bool captured = false;
    const size_t last = pieces.size() - 1;
    for (size_t k = 0; k <= last; ++k) {
        const AnsiString& piece = pieces[k];
        if (IsCode(piece) && k < last) {
            const size_t at = FindIn(w, pieces[k + 1]);
            if (at == std::string_view::npos)
                return;
            if (piece.size() == 2 && piece[1] == JCode) {
                const std::string_view capture = w.substr(0, at);
                if (capture.find(' ') != std::string_view::npos)
                    return;
                id = AnsiString(capture);
                captured = true;
            }
            w = w.substr(at);
        } else if (IsCode(piece)) {
            const std::string_view word = UpToSpace(w);
            if (!captured)
                id = AnsiString(word);
            w = w.substr(word.size());
        } else {
            if (w.substr(0, piece.size()) != piece)
                return;
            w = w.substr(piece.size());
        }
    }
    if (OnJReply)
        OnJReply(AnsiString(w), id);
}
