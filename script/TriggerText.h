#pragma once
// Fixed texts of the trigger engine, as cp949 bytes.

namespace TriggerText {

// A pass that keeps jumping: "* 경고 * 트리거가 무한루프를 돌고있습니다".
inline constexpr const char* JumpLoop =
    "\n\r* \xB0\xE6\xB0\xED * \xC6\xAE\xB8\xAE\xB0\xC5\xB0\xA1 \xB9\xAB\xC7\xD1\xB7\xE7\xC7\xC1\xB8\xA6 "
    "\xB5\xB9\xB0\xED\xC0\xD6\xBD\xC0\xB4\xCF\xB4\xD9";

}  // namespace TriggerText
