#pragma once
// The clipboard's text, in cp949 both ways (text outside cp949 reads as "?").

#include "platform/core/AnsiString.h"

class TClipboard {
public:
    AnsiString AsText() const;
    void SetAsText(const AnsiString& text);
    bool HasText() const;
    void Clear();
};

// The program's clipboard.
TClipboard* Clipboard();
