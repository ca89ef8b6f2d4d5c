#include "app/forms/MessageHook.h"

#include "app/core/CharBooks.h"
#include "app/forms/AnsiTerminal.h"
#include "platform/gui/Application.h"
#include "platform/gui/KeyBridge.h"

namespace {
bool gExtendedKeyMark = false;
}  // namespace

bool ExtendedKeyMark() { return gExtendedKeyMark; }

void MessageHook(TMsg& msg, bool& /*handled*/)
{
    gExtendedKeyMark = msg.message == WM_KEYDOWN && (msg.lParam & KF_EXTENDED_BIT) != 0;
    if (msg.message != WM_KEYUP && msg.message != WM_IME_KEYDOWN)
        return;
    // A copy: a refresh never changes the book, but the list must not move under the walk.
    const auto entries = TCharBooks::CharBookList;
    for (const auto& entry : entries)
        if (auto* window = dynamic_cast<TAnsiTerminalForm*>(entry->TermForm))
            window->RefreshIndicators();
}

void InstallMessageHook(TApplication& application) { application.OnMessage = MessageHook; }
