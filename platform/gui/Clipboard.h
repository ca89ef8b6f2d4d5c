#pragma once
// The clipboard: text in cp949 both ways (text outside cp949 reads as "?"), any registered
// format as bytes, and pictures as PNG images. Between Open and Close every format set goes
// onto the clipboard together; outside, each set replaces what the clipboard held.

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/core/AnsiString.h"

class QByteArray;
class QMimeData;
class TGraphic;
class TBitmap;

// The window system's standard format numbers, and registered ones from 0xC000.
enum : unsigned { CF_TEXT = 1, CF_BITMAP = 2, CF_UNICODETEXT = 13, CF_HDROP = 15 };

// The same name always gives the same number. A format is a private MIME type
// ("application/x-hanmud-" and the name); "Rich Text Format" is text/rtf. 0 for an empty name.
unsigned RegisterClipboardFormat(const AnsiString& name);
// The MIME type of a format (text/plain, image/png, text/uri-list, registered ones), or empty.
std::string ClipboardFormatMime(unsigned format);

class TClipboard {
public:
    TClipboard();
    ~TClipboard();
    AnsiString AsText() const;
    void SetAsText(const AnsiString& text);
    bool HasText() const;
    void Clear();

    void Open();
    void Close();
    bool HasFormat(unsigned format) const;
    // The bytes held under a format; empty when it holds none.
    std::string GetBytes(unsigned format) const;
    void SetBytes(unsigned format, std::string_view data);
    // A picture goes on as image/png (CF_BITMAP); reading takes it back into a bitmap, false
    // when the clipboard holds none.
    void Assign(TGraphic* graphic);
    bool GetBitmap(TBitmap* bitmap) const;

private:
    // The data being collected while open, else a new one set at once.
    void Put(const std::string& mime, const QByteArray& bytes);
    void Put(const std::function<void(QMimeData*)>& fill);
    int FOpenCount = 0;
    std::unique_ptr<QMimeData> FPending;
};

// The program's clipboard.
TClipboard* Clipboard();
