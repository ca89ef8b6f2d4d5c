#include "platform/core/ShortCuts.h"

#include "platform/core/VirtualKeys.h"

AnsiString KeyName(uint8_t key)
{
    static const char* const kNavigation[] = {"Space", "PgUp", "PgDn", "End", "Home", "Left", "Up", "Right", "Down"};
    if (key >= VK_SPACE && key <= VK_DOWN)
        return kNavigation[key - VK_SPACE];
    if (key >= '0' && key <= '9')
        return AnsiString(1, static_cast<char>(key));
    if (key >= 'A' && key <= 'Z')
        return AnsiString(1, static_cast<char>(key));
    // The framework names the number pad's digits like the main row's.
    if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9)
        return AnsiString(1, static_cast<char>('0' + key - VK_NUMPAD0));
    if (key >= VK_F1 && key <= VK_F24)
        return "F" + IntToStr(key - VK_F1 + 1);
    switch (key) {
    case VK_BACK: return "BkSp";
    case VK_TAB: return "Tab";
    case VK_RETURN: return "Enter";
    case VK_ESCAPE: return "Esc";
    case VK_INSERT: return "Ins";
    case VK_DELETE: return "Del";
    // Keys the framework names after the keyboard layout (a US layout here).
    case VK_PAUSE: return "Pause";
    case VK_CAPITAL: return "Caps Lock";
    case VK_HANGUL: return "Hangul";
    case VK_HANJA: return "Hanja";
    case VK_SNAPSHOT: return "Prnt Scrn";
    case VK_APPS: return "Application";
    case VK_MULTIPLY: return "Num *";
    case VK_ADD: return "Num +";
    case VK_SUBTRACT: return "Num -";
    case VK_DECIMAL: return "Num Del";
    case VK_DIVIDE: return "Num /";
    case VK_NUMLOCK: return "Num Lock";
    case VK_SCROLL: return "Scroll Lock";
    case VK_OEM_1: return ";";
    case VK_OEM_PLUS: return "=";
    case VK_OEM_COMMA: return ",";
    case VK_OEM_MINUS: return "-";
    case VK_OEM_PERIOD: return ".";
    case VK_OEM_2: return "/";
    case VK_OEM_3: return "`";
    case VK_OEM_4: return "[";
    case VK_OEM_5: return "\\";
    case VK_OEM_6: return "]";
    case VK_OEM_7: return "'";
    default: return AnsiString();
    }
}

AnsiString ShortCutToText(TShortCut shortCut)
{
    AnsiString name = KeyName(static_cast<uint8_t>(shortCut & 0xFF));
    if (name.empty())
        return name;
    AnsiString prefix;
    if (shortCut & scShift)
        prefix += "Shift+";
    if (shortCut & scCtrl)
        prefix += "Ctrl+";
    if (shortCut & scAlt)
        prefix += "Alt+";
    return prefix + name;
}

TShortCut TextToShortCut(std::string_view text)
{
    static const struct {
        const char* prefix;
        TShortCut bit;
    } kModifiers[] = {{"Shift+", scShift}, {"Ctrl+", scCtrl}, {"Alt+", scAlt}};
    TShortCut modifiers = 0;
    for (bool found = true; found;) {
        found = false;
        for (const auto& m : kModifiers) {
            std::string_view p = m.prefix;
            // "+" alone is a key name ("Num +"), so a prefix needs text after it.
            if (text.size() > p.size() && SameText(text.substr(0, p.size()), p)) {
                modifiers |= m.bit;
                text.remove_prefix(p.size());
                found = true;
            }
        }
    }
    for (int key = 0x08; key <= 0xFF; ++key) {
        AnsiString name = KeyName(static_cast<uint8_t>(key));
        if (!name.empty() && SameText(name, text))
            return static_cast<TShortCut>(key | modifiers);
    }
    return 0;
}
