#pragma once
// The texts under a character window's terminal: the eight status-bar panels, the status line
// built from the player's template, and the table of the window's system timers that refresh
// them. The window only puts the texts in place.

#include <array>
#include <cstdint>
#include <optional>

#include "platform/core/AnsiString.h"
#include "script/Records.h"

class TScriptState;

namespace StatusText {
inline constexpr const char* Hangul = "\xC7\xD1\xB1\xDB";     // 한글
inline constexpr const char* English = "\xBF\xB5\xB9\xAE";    // 영문
inline constexpr const char* Insert = "\xBB\xF0\xC0\xD4";     // 삽입
inline constexpr const char* Overwrite = "\xBC\xF6\xC1\xA4";  // 수정
// 연결 되었습니다
inline constexpr const char* Connected = "\xBF\xAC\xB0\xE1 \xB5\xC7\xBE\xFA\xBD\xC0\xB4\xCF\xB4\xD9";
// 연결되지 않았습니다
inline constexpr const char* NotConnected = "\xBF\xAC\xB0\xE1\xB5\xC7\xC1\xF6 \xBE\xCA\xBE\xD2\xBD\xC0\xB4\xCF\xB4\xD9";
inline constexpr const char* CpuBarHint = "CPU \xC1\xA1\xC0\xAF\xC0\xB2";  // CPU 점유율
inline constexpr const char* NoConnectedTime = "00:00:00";
}  // namespace StatusText

// The panels in order, as the form sets them up (the status bar control's TStatusPanel takes them).
struct TStatusPanelLayout {
    const char* Text;
    int Width;
    bool RightAligned;
    bool OwnerDrawn;     // covered by the CPU bar
    const char* Widest;  // the longest of the fixed texts it shows, or none; the panel is widened
                         // to show it whole in a font wider than the one Width was made for
};
constexpr int kPanelIme = 0, kPanelInsert = 1, kPanelCpu = 2, kPanelFile = 3, kPanelConnectedTime = 4,
              kPanelTrigger = 5, kPanelWalk = 6, kPanelStatus = 7;
extern const std::array<TStatusPanelLayout, 8> kStatusPanels;

// The system timers of the window, as the form sets them up. The window refreshes the status line
// and panels 5 and 6 at StatusEvent, panel 4 at ConnectedTimer and the CPU bar at CpuTimer.
struct TSystemTimer {
    const char* Name;
    int Interval;  // ms
    bool Cycled;
    bool EnabledAtStart;
};
extern const std::array<TSystemTimer, 5> kSystemTimers;

// Panel 0: the input method's conversion status; none when the window has no input method
// context or the query fails. Only the native mode (1) is Hangul.
AnsiString ImeIndicatorText(std::optional<uint32_t> conversionStatus);
// Panel 1: the Insert key's toggle.
AnsiString InsertIndicatorText(bool insertOn);
// Panel 3: the file name of the entry's command file.
AnsiString CmdFilePanelText(const AnsiString& triggerFile);
// Panel 4: the time since connectTime as hours (past 99 with more digits), minutes and seconds;
// "00:00:00" while not connected or when the clock went back.
AnsiString ConnectedTimeText(bool connected, int64_t now, int64_t connectTime);
// Panel 5.
AnsiString TriggerModeText(uint8_t trigMode);
// Panel 6: the walk's state; "W:Paused" while the walk timer runs.
AnsiString WalkStatusText(const cWalk& walk, bool walkTimerRunning);
// Panel 7 after a socket status report: the error number, then the status text.
AnsiString SocketStatusText(int errorNumber, const AnsiString& statusText);
// The T/D button's caption for the entry's translate bit.
AnsiString TranslateCaption(bool translate);

// The longest status line: what the original's buffer held. A longer one is cut there, never
// inside a two-byte character.
constexpr size_t kMaxStatusLine = 1023;
// The template expanded: its function calls first, then its variable references.
AnsiString StatusLineText(TScriptState& state);

// What the status event refreshes.
struct TStatusRefresh {
    AnsiString StatusLine;
    AnsiString Trigger;  // panel 5
    AnsiString Walk;     // panel 6
};
// The texts while connected; none while not connected (everything keeps its last text).
std::optional<TStatusRefresh> StatusEventTexts(TScriptState& state, bool connected);
