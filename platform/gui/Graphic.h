#pragma once
// The framework's graphic: a picture of some kind (bitmap, icon) that knows its size, draws
// itself into a rectangle and reads and writes its file format as bytes.

#include <string>
#include <string_view>

#include "platform/core/AnsiString.h"
#include "platform/core/Object.h"
#include "platform/gui/GraphicsTypes.h"

class TCanvas;

// The bytes of a picture file (a program path), at most 64 MiB: EFOpenError for a file that
// cannot be opened or is larger, EReadError when reading fails.
std::string ReadGraphicFile(const AnsiString& fileName);

class TGraphic : public TPersistent {
public:
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual bool Empty() const { return Width() == 0 || Height() == 0; }
    // Draws the whole picture scaled into the rectangle.
    virtual void DrawInto(TCanvas* canvas, const TRect& rect) = 0;
    // The file format's bytes: EInvalidGraphic for data that is not one.
    virtual void LoadFromBytes(std::string_view data) = 0;
    virtual std::string SaveToBytes() = 0;
    // File names are program paths; writing goes through the atomic writer. EFOpenError,
    // EFCreateError as the framework raises them.
    virtual void LoadFromFile(const AnsiString& fileName);
    virtual void SaveToFile(const AnsiString& fileName);
    TNotifyEvent OnChange;

protected:
    void NotifyChange()
    {
        if (OnChange)
            OnChange(this);
    }
};
