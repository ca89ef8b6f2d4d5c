#pragma once
// The terminal control's event types.

#include <functional>

#include "platform/core/AnsiString.h"
#include "platform/core/Component.h"

using TBlockEvent = std::function<void(TObject* Sender, const AnsiString& BlockData)>;
using TBlockLineEvent = std::function<void(TObject* Sender, const AnsiString& BlockData, bool Opening)>;
using THanEngEvent = std::function<void(bool IsHan)>;
using TTermPopupEvent = std::function<void(int X, int Y)>;
using TTermPopupSmartEvent = std::function<void(int X, int Y, const AnsiString& SmartText)>;
using TJReplyEvent = std::function<void(TObject* Sender, const AnsiString& context, const AnsiString& ID)>;
using TLineEvent = std::function<void(TObject* Sender, const AnsiString& Data)>;
using TAfterPutEvent = std::function<void(TObject* Sender, const AnsiString& Data)>;
using TBeforePutEvent = std::function<void(TObject* Sender, const AnsiString& Data)>;
using TChangeRowEvent = std::function<void(int RowCount)>;
using TPutCharEvent = std::function<void(TObject* Sender, char data)>;
using TPutStringEvent = std::function<void(TObject* Sender, const AnsiString& data)>;
