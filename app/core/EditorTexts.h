#pragma once
// The texts of the script editor (its grids, confirmations, find messages, commands and file
// dialogs), cp949 bytes with the Hangul beside them.

namespace EditorText {
// Grid headers.
inline constexpr const char* HeadNumber = "\xB9\xF8\xC8\xA3";  // 번호
inline constexpr const char* HeadName = "\xC0\xCC\xB8\xA7";    // 이름
inline constexpr const char* HeadStatus = "\xBB\xF3\xC5\xC2";  // 상태
inline constexpr const char* HeadOn = "On";
inline constexpr const char* HeadOff = "Off";
inline constexpr const char* HeadCycle = "\xBC\xF8\xC8\xAF";                    // 순환
inline constexpr const char* HeadTime = "\xBD\xC3\xB0\xA3";                     // 시간
inline constexpr const char* HeadLeft = "\xB3\xB2\xC0\xBA\xC3\xCA";             // 남은초
inline constexpr const char* HeadCommand = "\xBD\xC7\xC7\xE0\xB8\xED\xB7\xC9";  // 실행명령
inline constexpr const char* HeadTrigOn = "ON";
inline constexpr const char* HeadReact = "\xB9\xDD\xC0\xC0";          // 반응
inline constexpr const char* HeadGroup = "\xB1\xD7\xB7\xEC\xB8\xED";  // 그룹명
inline constexpr const char* HeadNick = "\xBA\xB0\xB8\xED";           // 별명
inline constexpr const char* HeadFrom = "From";
inline constexpr const char* HeadTo = "To";
inline constexpr const char* HeadType = "\xC5\xB8\xC0\xD4";               // 타입
inline constexpr const char* HeadValue = "\xB0\xAA";                      // 값
inline constexpr const char* HeadAliasText = "\xBD\xC7\xC7\xE0\xB9\xAE";  // 실행문
inline constexpr const char* HeadShortCut = "\xB4\xDC\xC3\xE0\xC5\xB0";   // 단축키
inline constexpr const char* HeadText = "\xB9\xAE\xC0\xDA";               // 문자

// Cell texts.
inline constexpr const char* On = "On";
inline constexpr const char* Off = "Off";
inline constexpr const char* LineReact = "\xB6\xF3\xC0\xCE";  // 라인
inline constexpr const char* CharReact = "\xB9\xAE\xC0\xDA";  // 문자

// Delete confirmations: the text is formatted with the values the page shows.
inline constexpr const char* DeleteTrigger = "\xC6\xAE\xB8\xAE\xB0\xC5 %d\xB9\xF8 '(%s)'\xB8\xA6 \xBB\xE8\xC1\xA6 "
                                             "\xC7\xD2\xB1\xEE\xBF\xE4?";  // 트리거 %d번 '(%s)'를 삭제 할까요?
inline constexpr const char* DeleteTriggerCaption = "\xC6\xAE\xB8\xAE\xB0\xC5\xBB\xE8\xC1\xA6";  // 트리거삭제
inline constexpr const char* DeleteVariable = "\xBA\xAF\xBC\xF6 %d\xB9\xF8 '%s'\xB8\xA6 \xBB\xE8\xC1\xA6 "
                                              "\xC7\xD2\xB1\xEE\xBF\xE4?";  // 변수 %d번 '%s'를 삭제 할까요?
inline constexpr const char* DeleteVariableCaption = "\xBA\xAF\xBC\xF6\xBB\xE8\xC1\xA6";  // 변수삭제
inline constexpr const char* DeleteMacro =
    "\xB8\xC5\xC5\xA9\xB7\xCE '%s'\xB8\xA6 \xBB\xE8\xC1\xA6 \xC7\xD2\xB1\xEE\xBF\xE4?";  // 매크로 '%s'를 삭제 할까요?
inline constexpr const char* DeleteMacroCaption = "\xB8\xC5\xC5\xA9\xB7\xCE\xBB\xE8\xC1\xA6";  // 매크로삭제
inline constexpr const char* DeleteButton =
    "\xB9\xF6\xC6\xB0 '%s'\xB8\xA6 \xBB\xE8\xC1\xA6 \xC7\xD2\xB1\xEE\xBF\xE4?";  // 버튼 '%s'를 삭제 할까요?
inline constexpr const char* DeleteButtonCaption = "\xB9\xF6\xC6\xB0\xBB\xE8\xC1\xA6";  // 버튼삭제
inline constexpr const char* DeleteTimer =
    "\xC5\xB8\xC0\xCC\xB8\xD3 '%s'\xB8\xA6 \xBB\xE8\xC1\xA6 \xC7\xD2\xB1\xEE\xBF\xE4?";  // 타이머 '%s'를 삭제 할까요?
inline constexpr const char* DeleteTimerCaption = "\xC5\xB8\xC0\xCC\xB8\xD3\xBB\xE8\xC1\xA6";  // 타이머삭제
inline constexpr const char* DeleteAlias =
    "Alias '%s'\xB8\xA6 \xBB\xE8\xC1\xA6 \xC7\xD2\xB1\xEE\xBF\xE4?";  // Alias '%s'를 삭제 할까요?
inline constexpr const char* DeleteAliasCaption = "Alias";

// Find.
inline constexpr const char* FindCaption = "\xB9\xAE\xC0\xDA\xBF\xAD \xC2\xFE\xB1\xE2";  // 문자열 찻기
inline constexpr const char* FindPrompt = "\xC2\xFE\xC0\xBB \xB9\xAE\xC0\xDA\xBF\xAD\xC0\xBB "
                                          "\xC0\xD4\xB7\xC2\xC7\xCF\xBC\xBC\xBF\xE4.";  // 찻을 문자열을 입력하세요.
inline constexpr const char* NotFoundTail =
    ")\xB6\xF3\xB4\xC2\xB0\xCD\xC0\xCC \xBE\xF8\xBD\xC0\xB4\xCF\xB4\xD9.";  // )라는것이 없습니다.
inline constexpr const char* NoMoreFound = "\xB4\xF5\xC0\xCC\xBB\xF3 \xC2\xFE\xB4\xC2 \xB9\xAE\xC0\xDA\xBF\xAD\xC0\xCC "
                                           "\xBE\xF8\xBD\xC0\xB4\xCF\xB4\xD9.";  // 더이상 찻는 문자열이 없습니다.

// The editor's commands: captions and hints.
inline constexpr const char* NewCaption = "New";
inline constexpr const char* NewHint = "\xBB\xF5\xB7\xCE\xBF\xEE \xC7\xD7\xB8\xF1\xC3\xDF\xB0\xA1";  // 새로운 항목추가
inline constexpr const char* InsertCaption = "\xBB\xF0\xC0\xD4";                                     // 삽입
inline constexpr const char* InsertHint = "\xBB\xF5\xB7\xCE\xBF\xEE \xC7\xD7\xB8\xF1 \xC7\xF6\xC0\xA7\xC4\xA1\xBF\xA1 "
                                          "\xBB\xF0\xC0\xD4";   // 새로운 항목 현위치에 삽입
inline constexpr const char* EditCaption = "\xBC\xF6\xC1\xA4";  // 수정
inline constexpr const char* EditHint = "\xC7\xF6\xC0\xE7 \xC7\xD7\xB8\xF1 \xBC\xF6\xC1\xA4";  // 현재 항목 수정
inline constexpr const char* CopyCaption = "\xBA\xB9\xBB\xE7";                                 // 복사
inline constexpr const char* CopyHint =
    "\xC7\xF6\xC0\xE7\xC7\xD7\xB8\xF1 \xBA\xB9\xBB\xE7\xC7\xD8\xBC\xAD \xC7\xF6\xC0\xE7 \xC7\xD7\xB8\xF1 "
    "\xBE\xD5\xBF\xA1 \xC3\xDF\xB0\xA1";  // 현재항목 복사해서 현재 항목 앞에 추가
inline constexpr const char* DeleteCaption = "\xBB\xE8\xC1\xA6";                                 // 삭제
inline constexpr const char* DeleteHint = "\xC7\xF6\xC0\xE7 \xC7\xD7\xB8\xF1 \xBB\xE8\xC1\xA6";  // 현재 항목 삭제
inline constexpr const char* FindFirstCaption = "\xC2\xFE\xB1\xE2";                              // 찻기
inline constexpr const char* FindFirstHint = "\xB9\xAE\xC0\xDA\xBF\xAD \xC2\xFE\xB1\xE2";        // 문자열 찻기
inline constexpr const char* FindNextCaption = "\xC2\xFE\xB1\xE2";                               // 찻기
inline constexpr const char* FindNextHint =
    "\xB9\xAE\xC0\xDA\xBF\xAD \xB4\xD9\xC0\xBD\xC2\xFE\xB1\xE2";   // 문자열 다음찻기
inline constexpr const char* FindNextButton = "\xB4\xD9\xC0\xBD";  // 다음
inline constexpr const char* NewFileCaption = "New";
inline constexpr const char* NewFileHint = "\xBB\xF5\xB7\xCE\xBF\xEE CMD \xC6\xC4\xC0\xCF";  // 새로운 CMD 파일
inline constexpr const char* SaveCaption = "\xC0\xFA\xC0\xE5";                               // 저장
inline constexpr const char* SaveHint = "CMD \xC0\xFA\xC0\xE5";                              // CMD 저장
inline constexpr const char* SaveAsCaption =
    "\xB4\xD9\xB8\xA5\xC0\xCC\xB8\xA7\xC0\xB8\xB7\xCE \xC0\xFA\xC0\xE5";  // 다른이름으로 저장
inline constexpr const char* SaveAsHint =
    "\xB4\xD9\xB8\xA5\xC0\xCC\xB8\xA7\xC0\xB8\xB7\xCE CMD \xC0\xFA\xC0\xE5";  // 다른이름으로 CMD 저장
inline constexpr const char* LoadCaption = "Load";
inline constexpr const char* LoadHint = "CMD \xC0\xD0\xBE\xEE\xBF\xC0\xB1\xE2";   // CMD 읽어오기
inline constexpr const char* CloseCaption = "\xC1\xBE\xB7\xE1";                   // 종료
inline constexpr const char* CloseHint = "CMD \xC6\xED\xC1\xFD\xC1\xBE\xB7\xE1";  // CMD 편집종료
inline constexpr const char* FileMenu = "\xC6\xC4\xC0\xCF(&F)";                   // 파일(&F)
inline constexpr const char* NewFileMenu = "\xBB\xF5\xB7\xCE\xBF\xEE CMD";        // 새로운 CMD
inline constexpr const char* EditMenu = "\xC6\xED\xC1\xFD(&E)";                   // 편집(&E)
inline constexpr const char* FormCaption = "Driver Form";

// Command-file dialogs.
inline constexpr const char* CmdFilter = "Cmd files (*.Cmd)|*.Cmd|All files (*.*)|*.*";
inline constexpr const char* CmdExt = "Cmd";
inline constexpr const char* CmdFolder = "Cmd";
inline constexpr const char* SaveAsTitle = "Cmd \xC6\xC4\xC0\xCF \xB4\xD9\xB8\xA5 \xC0\xCC\xB8\xA7\xC0\xB8\xB7\xCE "
                                           "\xC0\xFA\xC0\xE5";  // Cmd 파일 다른 이름으로 저장
inline constexpr const char* LoadTitle = "Cmd \xC6\xC4\xC0\xCF \xBF\xAD\xB1\xE2";             // Cmd 파일 열기
inline constexpr const char* NewFileTitle = "\xBB\xF5\xB7\xCE\xBF\xEE Cmd \xC6\xC4\xC0\xCF";  // 새로운 Cmd 파일
}  // namespace EditorText
