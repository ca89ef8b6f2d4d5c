#pragma once
// The keys of a form's window placement in an INI file or the registry substitute, without the
// form: "Flags", "ShowCmd", "PixelsPerInch", and "MinMaxPos" and "NormPos" each written twice,
// under the key followed by the screen size ("NormPos(1024x768)") and under the plain key.
// Reading prefers the key of the current screen size, so a change of resolution falls back to
// the plain key; a placement written at another pixels-per-inch value is not applied.

#include "platform/core/AnsiString.h"
#include "platform/core/Geometry.h"
#include "platform/core/Object.h"

// A window placement as stored (ShowCmd a Win32 show command: 1 normal, 2 minimised, 3
// maximised); the minimised and maximised points are -1,-1 here (the window system places such
// windows).
struct TPlacementRecord {
    int Flags = 0;
    int ShowCmd = 1;
    TPoint MinPosition{-1, -1};
    TPoint MaxPosition{-1, -1};
    TRect NormalPosition;
};

struct TPlacementScreen {
    int Width = 0;
    int Height = 0;
    int PixelsPerInch = 96;
};

// Writes the five keys (the two positions twice) into the section of the store (a TIniFile or
// a TRegIniFile).
void WritePlacementKeys(TObject* store, const AnsiString& section, const TPlacementRecord& placement,
                        const TPlacementScreen& screen);

struct TPlacementReading {
    int Flags = 0;
    int ShowCmd = 0;  // 0 when not stored
    TPlacementRecord Placement;
    // At least one of the two position keys was found and the pixels per inch match.
    bool ApplyPosition = false;
};

// Reads the keys back. `current` gives the values kept for a missing key or a bad number (the
// form's rectangle; the points read as 0 when bad).
TPlacementReading ReadPlacementKeys(TObject* store, const AnsiString& section, const TRect& current,
                                    const TPlacementScreen& screen);

enum TStoredWindowState { swsNormal, swsMinimized, swsMaximized };
// The state a stored show command asks for: 1, 5, 9 normal; 2, 6, 7 minimised; 3 maximised;
// anything else the default.
TStoredWindowState StoredWindowState(int showCmd, TStoredWindowState def);
