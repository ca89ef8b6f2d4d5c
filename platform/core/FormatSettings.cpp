#include "platform/core/FormatSettings.h"

#include "platform/core/Cp949.h"

TFormatSettings TFormatSettings::Korean()
{
    TFormatSettings s;
    s.FarEast = true;
    s.LongDateFormat = Utf8ToCp949("yyyy'년' m'월' d'일' dddd");
    s.ShortTimeFormat = "ampm h:nn";
    s.LongTimeFormat = "ampm h:nn:ss";
    s.TimeAMString = Utf8ToCp949("오전");
    s.TimePMString = Utf8ToCp949("오후");
    for (int m = 0; m < 12; ++m) {
        s.ShortMonthNames[static_cast<size_t>(m)] = IntToStr(m + 1) + Utf8ToCp949("월");
        s.LongMonthNames[static_cast<size_t>(m)] = s.ShortMonthNames[static_cast<size_t>(m)];
    }
    static const char* const kDays[7] = {"일", "월", "화", "수", "목", "금", "토"};
    for (size_t d = 0; d < 7; ++d) {
        s.ShortDayNames[d] = Utf8ToCp949(kDays[d]);
        s.LongDayNames[d] = Utf8ToCp949(std::string(kDays[d]) + "요일");
    }
    return s;
}

TFormatSettings& FormatSettings()
{
    static TFormatSettings settings = TFormatSettings::Korean();
    return settings;
}
