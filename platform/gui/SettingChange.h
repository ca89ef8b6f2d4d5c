#pragma once
// The system's word that the user changed the locale settings: WM_SETTINGCHANGE to every form,
// and to the listeners that stand in for controls hooking the main window for it. The program
// takes new format settings on it while UpdateFormatSettings is on (the default).

#include <functional>

constexpr unsigned WM_SETTINGCHANGE = 0x001A;

bool UpdateFormatSettings();
void SetUpdateFormatSettings(bool Value);
// Tells every form and, while UpdateFormatSettings is on, every listener. The caller has already
// changed FormatSettings().
void BroadcastSettingChange();
// A listener of the broadcast; the number removes it.
int AddSettingChangeListener(std::function<void()> Listener);
void RemoveSettingChangeListener(int Id);
