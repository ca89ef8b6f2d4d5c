#pragma once
// The program's message hook: every message taken from the queue passes it before it is
// dispatched, and none is stopped there. It keeps the extended-key mark that the character
// windows' key handlers read (so the grey cursor, page and editing keys can be told from the same
// keys on the numeric keypad), and after every key-up and input-method key it has each open
// character window refresh its Hangul/English and insert indicators.

#include "platform/gui/Messages.h"

class TApplication;

// True exactly while a key-down whose key data carry the extended-key bit is being handled.
bool ExtendedKeyMark();

// The hook's work for one message.
void MessageHook(TMsg& msg, bool& handled);
// Makes MessageHook the application's message event.
void InstallMessageHook(TApplication& application);
