// Resources, cursors, message dialogs and variants of the utility unit.

#include <map>
#include <memory>

#include "controls/lib/CtrlUtils.h"
#include "controls/lib/ExConst.h"
#include "platform/gui/Resources.h"

namespace {

AnsiString NameOf(const TResID& ResID) { return ResID.ByNumber ? ResourceIdName(ResID.Number) : ResID.Name; }

constexpr TCursor kFirstFreeCursor = 100, kLastCursor = 32767;

std::map<TCursor, AnsiString>& CursorNames()
{
    static std::map<TCursor, AnsiString> names;
    return names;
}

}  // namespace

TBitmap* MakeModuleBitmap(void*, const TResID& ResID)
{
    auto bitmap = std::make_unique<TBitmap>();
    LoadBitmapResource(bitmap.get(), NameOf(ResID));
    return bitmap.release();
}

TBitmap* MakeBitmap(const TResID& ResID) { return MakeModuleBitmap(nullptr, ResID); }

TBitmap* MakeBitmapID(int Id) { return MakeModuleBitmap(nullptr, TResID(Id)); }

TIcon* MakeModuleIcon(void*, const TResID& ResID)
{
    if (!FindResource(rtIcon, NameOf(ResID)))
        return nullptr;
    auto icon = std::make_unique<TIcon>();
    LoadIconResource(icon.get(), NameOf(ResID));
    return icon->Empty() ? nullptr : icon.release();
}

TIcon* MakeIcon(const TResID& ResID) { return MakeModuleIcon(nullptr, ResID); }

TIcon* MakeIconID(int Id) { return MakeModuleIcon(nullptr, TResID(Id)); }

AnsiString DefinedCursorName(TCursor Cursor)
{
    auto it = CursorNames().find(Cursor);
    return it != CursorNames().end() && Screen->HasCursor(Cursor) ? it->second : AnsiString();
}

void InstallCursor(TCursor Cursor, const AnsiString& ResName)
{
    const QCursor cursor = LoadCursorResource(ResName);
    Screen->SetCursors(Cursor, &cursor);
    CursorNames()[Cursor] = ResName;
}

TCursor DefineCursor(void*, const TResID& ResID)
{
    const AnsiString name = NameOf(ResID);
    LoadCursorResource(name);  // raises when there is no such cursor
    for (TCursor slot = kFirstFreeCursor; slot <= kLastCursor; ++slot) {
        if (!Screen->HasCursor(slot)) {
            InstallCursor(slot, name);
            return slot;
        }
    }
    throw EOutOfResources("Out of system resources");
}

void NotImplemented()
{
    Screen->SetCursor(crDefault);
    MessageDlg(ResStr(SNotImplemented), mtInformation, mbOK, 0);
    Abort();
}

int MsgDlg(const AnsiString& Msg, TMsgDlgType AType, TMsgDlgButtons AButtons, int HelpCtx)
{
    return MessageDlg(Msg, AType, AButtons, HelpCtx);
}

Variant MakeVariant(const Variant* Values, int Count)
{
    if (Count <= 0 || !Values)
        return Variant();
    if (Count == 1)
        return Values[0];
    return Variant::ArrayOf(std::vector<Variant>(Values, Values + Count));
}

TRect ScreenWorkArea() { return Screen->WorkAreaRect(); }
