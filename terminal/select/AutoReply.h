#pragma once
// The terminal's own auto reply: patterns tested against host lines, each with an answer, a
// sound and a message, and one J pattern whose match reports an identifier. A pattern is literal
// text with two-character codes ('%' and a letter or digit); a code matches a word of the line.
// Everything the reply does goes out through hooks, so the owner decides how to send, sound and
// show.

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "platform/core/AnsiString.h"

class TAutoReply {
public:
    struct TReply {
        uint8_t Enabled = 1;
        AnsiString Pattern;
        std::vector<AnsiString> Pieces;  // empty for a pattern without codes
    };

    // Indexed like the patterns; a missing entry counts as empty.
    std::vector<AnsiString> Answers, Sounds, Messages;
    // The code letter whose capture is the J identifier.
    char JCode = 0;

    std::function<void(const AnsiString& data)> OnSendReplyData;
    // Text towards the host (the control's PutDirectString).
    std::function<void(const AnsiString& data)> SendString;
    std::function<void(const AnsiString& fileName)> PlaySound;
    std::function<void(const AnsiString& text, int durationMs)> ShowMessage;
    std::function<void(const AnsiString& context, const AnsiString& id)> OnJReply;

    void AddReplyText(const AnsiString& s);
    void ClearReplyText();
    void AssignJText(const AnsiString& s);
    int Count() const { return static_cast<int>(FReplies.size()); }
    const TReply& Reply(int i) const { return FReplies.at(static_cast<size_t>(i)); }
    void SetEnabled(int i, bool on);
    const std::vector<AnsiString>& JPieces() const { return FJPieces; }

    // Tests the line against every enabled reply in order; true when one was performed.
    bool AutoReply(const AnsiString& line);
    void JReply(const AnsiString& line);
    void ProcessReply(int index, const std::vector<AnsiString>* captures);

    // '%' and the character after it form a code piece; the text between codes is a literal one.
    static std::vector<AnsiString> CutPieces(std::string_view s);
    static bool IsCode(const AnsiString& piece) { return !piece.empty() && piece[0] == '%'; }

private:
    std::vector<TReply> FReplies;
    std::vector<AnsiString> FJPieces;
};
