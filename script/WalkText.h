#pragma once
// Fixed texts of the walk engine, as cp949 bytes.

namespace WalkText {

// A walk file that could not be written; the walk's file name follows on the next line.
inline constexpr const char* SaveFailed = "Walk File \xC0\xFA\xC0\xE5\xC0\xCC \xBE\xC8\xB5\xCB\xB4\xCF\xB4\xD9\r\n";

}  // namespace WalkText
