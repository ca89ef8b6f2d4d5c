#pragma once
// The texts of the six item dialogs and of the button bar, cp949 bytes with the Hangul beside
// them.

namespace ItemText {
// Shared.
inline constexpr const char* ErrorCaption = "\xBF\xA1\xB7\xAF";  // 에러
inline constexpr const char* SaveButton = "\xC0\xFA\xC0\xE5";    // 저장
inline constexpr const char* CancelButton = "\xC3\xEB\xBC\xD2";  // 취소
inline constexpr const char* EmptyName =
    "\xC0\xCC\xB8\xA7\xC0\xCC \xBA\xF1\xBE\xEE\xC0\xD6\xBD\xC0\xB4\xCF\xB4\xD9. "
    "\xC3\xEB\xBC\xD2\xC7\xCF\xB4\xF8\xB0\xA1 \xC0\xCC\xB8\xA7\xC0\xBB "
    "\xC1\xA4\xC7\xD8\xC1\xD6\xBC\xBC\xBF\xE4.";  // 이름이 비어있습니다. 취소하던가 이름을 정해주세요.
inline constexpr const char* Gulim = "\xB1\xBC\xB8\xB2";             // 굴림
inline constexpr const char* GulimChe = "\xB1\xBC\xB8\xB2\xC3\xBC";  // 굴림체

// Trigger dialog.
inline constexpr const char* TriggerCaption = "\xC6\xAE\xB8\xAE\xB0\xC5\xBF\xA1\xB5\xF0\xC5\xCD";  // 트리거에디터
inline constexpr const char* TriggerCaptionHead =
    "\xC6\xAE\xB8\xAE\xB0\xC5 \xBF\xA1\xB5\xF0\xC5\xCD(";                                    // 트리거 에디터(
inline constexpr const char* TriggerFromLabel = "\xB9\xDD\xC0\xC0\xB9\xAE\xC0\xDA\xBF\xAD";  // 반응문자열
inline constexpr const char* TriggerNickLabel = "\xBA\xB0\xB8\xED";                          // 별명
inline constexpr const char* TriggerGroupLabel = "\xB1\xD7\xB7\xEC";                         // 그룹
inline constexpr const char* TriggerToLabel = "\xBD\xC7\xC7\xE0\xC7\xD2\xB9\xAE\xC0\xE5";    // 실행할문장
inline constexpr const char* TriggerStatusGroup = "Status";
inline constexpr const char* TriggerOnBox = "\xBD\xC7\xC7\xE0";                                     // 실행
inline constexpr const char* TriggerCycleBox = "\xBC\xF8\xC8\xAF";                                  // 순환
inline constexpr const char* TriggerLineBox = "\xB6\xF3\xC0\xCE\xB4\xDC\xC0\xA7\xB9\xDD\xC0\xC0 ";  // 라인단위반응
inline constexpr const char* TriggerSaveExit = "\xC0\xFA\xC0\xE5&&\xC1\xBE\xB7\xE1";                // 저장&&종료
inline constexpr const char* TriggerCancelExit = "\xC3\xEB\xBC\xD2&&\xC1\xBE\xB7\xE1";              // 취소&&종료
inline constexpr const char* TriggerIncomplete =
    "\xB9\xDD\xC0\xC0\xBF\xA1 \xB0\xFC\xB7\xC3\xB5\xC8 \xB9\xAE\xC0\xDA\xB0\xA1 \xBE\xF8\xB4\xC2\xB0\xD4 "
    "\xC0\xD6\xBD\xC0\xB4\xCF\xB4\xD9.";  // 반응에 관련된 문자가 없는게 있습니다.

// Key-macro dialog.
inline constexpr const char* MacroCaption = "\xB4\xDC\xC3\xE0\xC5\xB0 \xBC\xB3\xC1\xA4";  // 단축키 설정
inline constexpr const char* MacroKeyLabel =
    "\xBF\xF8\xC7\xCF\xB4\xC2 \xB4\xDC\xC3\xE0\xC5\xB0\xB8\xA6 \xC1\xC2\xC3\xF8\xBF\xA1 \xB1\xD7\xB4\xEB\xB7\xCE "
    "\xC0\xD4\xB7\xC2\xC7\xCF\xBC\xBC\xBF\xE4.\r\n\xC0\xA9\xB5\xB5\xBF\xEC \xBD\xC3\xBD\xBA\xC5\xDB\xC5\xB0\xB3\xAA "
    "\xC7\xC1\xB7\xCE\xB1\xD7\xB7\xA5\xC0\xC7 \xC7\xD6\xC5\xB0\xBF\xCD \xC1\xDF\xBA\xB9\xB5\xC7\xB4\xC2 "
    "\xB0\xE6\xBF\xEC\xB4\xC2 \xB0\xA1\xB4\xC9\xC7\xD1 \xC7\xC7\xC7\xD8\xC1\xD6\xBD\xC3\xB1\xE2 "
    "\xB9\xD9\xB6\xF8\xB4\xCF\xB4\xD9.";  // 원하는 단축키를 좌측에 그대로 입력하세요.\r\n윈도우 시스템키나 프로그램의 핫키와 중복되는 경우는 가능한 피해주시기 바랍니다.
inline constexpr const char* MacroBuffLabel = "\xB4\xDC\xC3\xE0\xC5\xB0 \xB3\xBB\xBF\xEB";  // 단축키 내용
inline constexpr const char* MacroKeyTaken =
    "\xB5\xBF\xC0\xCF\xC7\xD1 \xC5\xB0\xB0\xA1 \xC0\xCC\xB9\xCC "
    "\xC1\xB8\xC0\xE7\xC7\xD5\xB4\xCF\xB4\xD9.";                         // 동일한 키가 이미 존재합니다.
inline constexpr const char* MacroKeyTakenCaption = "\xBF\xC0\xB7\xF9";  // 오류

// Button dialog.
inline constexpr const char* ButtonCaption = "ButtonEditForm";
inline constexpr const char* ButtonNameLabel = "\xB9\xF6\xC6\xB0\xC0\xCC\xB8\xA7";  // 버튼이름
inline constexpr const char* ButtonOnLabel = "On \xB8\xED\xB7\xC9";                 // On 명령
inline constexpr const char* ButtonOffLabel = "Off \xB8\xED\xB7\xC9";               // Off 명령
inline constexpr const char* StatusGroup = "\xBB\xF3\xC5\xC2";                      // 상태

// Timer dialog.
inline constexpr const char* TimerCaption = "TimerEditForm";
inline constexpr const char* TimerNameLabel = "\xC5\xB8\xC0\xCC\xB8\xD3\xC0\xCC\xB8\xA7";  // 타이머이름
inline constexpr const char* TimerTickLabel = "Tick Seconds";
inline constexpr const char* TimerRepeatLabel = "\xB9\xDD\xBA\xB9\xC8\xB8\xBC\xF6";  // 반복회수
inline constexpr const char* TimerCycleBox = "\xBC\xF8\xC8\xAF";                     // 순환

// Alias dialog.
inline constexpr const char* AliasCaption = "Alias Edit";
inline constexpr const char* AliasNameLabel = "Alias \xC0\xCC\xB8\xA7";  // Alias 이름
inline constexpr const char* AliasTaken =
    " \xB5\xBF\xC0\xCF\xC7\xD1 \xC0\xCC\xB8\xA7\xC0\xC7 \xB4\xD9\xB8\xA5 Alias\xB0\xA1 \xC0\xCC\xB9\xCC "
    "\xC0\xD6\xBD\xC0\xB4\xCF\xB4\xD9! \xC3\xEB\xBC\xD2\xC7\xCF\xB4\xF8\xB0\xA1 \xC0\xCC\xB8\xA7\xC0\xBB "
    "\xB4\xD9\xBD\xC3 \xC1\xA4\xC7\xD8\xC1\xD6\xBC\xBC\xBF\xE4";  //  동일한 이름의 다른 Alias가 이미 있습니다! 취소하던가 이름을 다시 정해주세요

// Variable dialog.
inline constexpr const char* VarCaption = "VarEditForm";
inline constexpr const char* VarNameLabel = "\xBA\xAF\xBC\xF6\xC0\xCC\xB8\xA7";  // 변수이름
inline constexpr const char* VarTypeGroup = "\xC5\xB8\xC0\xD4";                  // 타입
inline constexpr const char* VarTypeText = "\xB9\xAE\xC0\xDA";                   // 문자
inline constexpr const char* VarTypeNumber = "\xBC\xFD\xC0\xDA";                 // 숫자
inline constexpr const char* VarExit = "\xC1\xBE\xB7\xE1";                       // 종료
inline constexpr const char* VarTaken =
    "\xBA\xAF\xBC\xF6 \xC0\xCC\xB8\xA7(%s)\xB8\xA6 \xB0\xA1\xC1\xF8 \xB4\xD9\xB8\xA5 \xBA\xAF\xBC\xF6\xB0\xA1 "
    "\xC0\xD6\xBD\xC0\xB4\xCF\xB4\xD9.";  // 변수 이름(%s)를 가진 다른 변수가 있습니다.
inline constexpr const char* VarTakenCaption = "\xBD\xC7\xC7\xE0\xC3\xEB\xBC\xD2";  // 실행취소
// Button bar.
inline constexpr const char* BarCaption = "\xB9\xF6\xC6\xB0";  // 버튼
inline constexpr const char* NewButton = "NewButton";
inline constexpr const char* CloseBar = "Close Button Window";
}  // namespace ItemText
