#pragma once
// The texts the terminal puts on the clipboard: every line followed by CR LF.

#include "platform/core/AnsiString.h"
#include "terminal/core/DataList.h"

// All 10000 lines of the buffer, blank ones included.
AnsiString AllBufferText(const TDataList& data);
// The lines linePos .. linePos + pageSize (those inside the buffer).
AnsiString ScreenText(const TDataList& data, int linePos, int pageSize);

// The notices shown after a copy.
extern const char* const kCopyAllNotice;     // "전체 데이타를 클립보드에 복사했습니다."
extern const char* const kCopyScreenNotice;  // "한 화면의 데이타를 클립보드에 복사했습니다."
