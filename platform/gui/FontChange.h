#pragma once
// The system's word that the installed fonts changed: WM_FONTCHANGE to every form, which passes
// it on to its controls, each windowed control to its children. Nothing announces it under Linux,
// so the platform watches the folders fontconfig reads fonts from (one not made yet only for its
// coming into being, not the whole folder it will appear in); when one changes and has been
// quiet for a moment, fontconfig and Qt read the fonts again and the word goes out. Fonts the
// program adds to Qt's database send it too. The watch starts the first time a control that
// listens for the word asks for it.

constexpr unsigned WM_FONTCHANGE = 0x001D;

// Sends WM_FONTCHANGE to every form now; face names looked up before are looked up again.
void BroadcastFontChange();
// Starts watching the installed fonts (once for the program; nothing without an application).
void WatchInstalledFonts();
