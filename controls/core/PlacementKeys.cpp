#include "controls/core/PlacementKeys.h"

#include "controls/core/AppUtils.h"
#include "controls/core/CtrlGeometry.h"

namespace {

const char kFlags[] = "Flags";
const char kShowCmd[] = "ShowCmd";
const char kPixels[] = "PixelsPerInch";
const char kMinMaxPos[] = "MinMaxPos";
const char kNormPos[] = "NormPos";

AnsiString SizedKey(const char* key, const TPlacementScreen& screen)
{
    return Format("%s(%dx%d)", key, screen.Width, screen.Height);
}

// Four comma-separated integers into `values`, each cut to what a screen can show; a missing or
// bad number keeps its value.
void ReadFour(const AnsiString& text, int (&values)[4])
{
    size_t start = 0;
    for (int& value : values) {
        if (start > text.size())
            break;
        size_t end = text.find(',', start);
        if (end == AnsiString::npos)
            end = text.size();
        int n = 0;
        if (TryStrToInt(Trim(text.substr(start, end - start)), n))
            value = ClampToScreen(n);
        start = end + 1;
    }
}

// The sized key's text, else the plain key's; empty when neither is stored.
AnsiString ReadPosition(TObject* store, const AnsiString& section, const char* key, const TPlacementScreen& screen)
{
    AnsiString text = IniReadString(store, section, SizedKey(key, screen), AnsiString());
    if (text.empty())
        text = IniReadString(store, section, key, AnsiString());
    return text;
}

}  // namespace

void WritePlacementKeys(TObject* store, const AnsiString& section, const TPlacementRecord& placement,
                        const TPlacementScreen& screen)
{
    IniWriteInteger(store, section, kFlags, placement.Flags);
    IniWriteInteger(store, section, kShowCmd, placement.ShowCmd);
    IniWriteInteger(store, section, kPixels, screen.PixelsPerInch);
    const AnsiString minMax = Format("%d,%d,%d,%d", placement.MinPosition.x, placement.MinPosition.y,
                                     placement.MaxPosition.x, placement.MaxPosition.y);
    const TRect& r = placement.NormalPosition;
    const AnsiString normal = Format("%d,%d,%d,%d", r.Left, r.Top, r.Right, r.Bottom);
    IniWriteString(store, section, SizedKey(kMinMaxPos, screen), minMax);
    IniWriteString(store, section, kMinMaxPos, minMax);
    IniWriteString(store, section, SizedKey(kNormPos, screen), normal);
    IniWriteString(store, section, kNormPos, normal);
}

TPlacementReading ReadPlacementKeys(TObject* store, const AnsiString& section, const TRect& current,
                                    const TPlacementScreen& screen)
{
    TPlacementReading out;
    out.Flags = IniReadInteger(store, section, kFlags, 0);
    out.ShowCmd = IniReadInteger(store, section, kShowCmd, 0);
    const AnsiString minMax = ReadPosition(store, section, kMinMaxPos, screen);
    const AnsiString normal = ReadPosition(store, section, kNormPos, screen);
    int points[4] = {0, 0, 0, 0};
    ReadFour(minMax, points);
    int rect[4] = {current.Left, current.Top, current.Right, current.Bottom};
    ReadFour(normal, rect);
    out.Placement.Flags = out.Flags;
    out.Placement.ShowCmd = out.ShowCmd;
    out.Placement.MinPosition = {points[0], points[1]};
    out.Placement.MaxPosition = {points[2], points[3]};
    out.Placement.NormalPosition = Rect(rect[0], rect[1], rect[2], rect[3]);
    const bool found = !minMax.empty() || !normal.empty();
    out.ApplyPosition = found && IniReadInteger(store, section, kPixels, screen.PixelsPerInch) == screen.PixelsPerInch;
    return out;
}

TStoredWindowState StoredWindowState(int showCmd, TStoredWindowState def)
{
    switch (showCmd) {
    case 1:
    case 5:
    case 9: return swsNormal;
    case 2:
    case 6:
    case 7: return swsMinimized;
    case 3: return swsMaximized;
    default: return def;
    }
}
