#pragma once
// The program's resources by name: pictures, icons and cursors that the program draws itself
// or ships as Qt resources (":/hanmud/NAME.png"), and a string table. A missing resource raises
// EResNotFound ("Resource %s not found", with the name or the decimal number).

#include <QCursor>
#include <QImage>
#include <functional>
#include <string>
#include <vector>

#include "platform/core/AnsiString.h"
#include "platform/core/Exceptions.h"

class TBitmap;
class TIcon;

enum TResourceType { rtBitmap, rtIcon, rtCursor };

// A resource drawn by code: the picture, and for a cursor its hot spot.
struct TPictureResource {
    std::function<QImage()> Make;
    QPoint HotSpot;
};
// Names compare without regard to case. A later registration replaces an earlier one.
void RegisterPictureResource(TResourceType type, const AnsiString& name, TPictureResource resource);
// A bitmap resource that code draws on the canvas of the bitmap it is handed, each time it is
// loaded.
void RegisterBitmapResource(const AnsiString& name, std::function<void(TBitmap*)> draw);
// A picture drawn as rows of characters: '#' black, '.' white, anything else see-through.
void RegisterRowsPicture(TResourceType type, const AnsiString& name, std::vector<std::string> rows, QPoint hotSpot);
// The name an integer identifier has as a resource name ("#" is not added: "101").
AnsiString ResourceIdName(int id);
bool FindResource(TResourceType type, const AnsiString& name);

// Each raises EResNotFound when the program has no such resource.
void LoadBitmapResource(TBitmap* bitmap, const AnsiString& name);
void LoadIconResource(TIcon* icon, const AnsiString& name);
QCursor LoadCursorResource(const AnsiString& name);

// The string table: LoadStr gives "" for an identifier without a string.
void RegisterResourceString(int ident, const AnsiString& text);
AnsiString LoadStr(int ident);
