// The `util` routines: platform functions that take and give text. One entry each.

#include "platform/core/ShortCuts.h"
#include "tools/ctlrun/CtlRun.h"

const std::map<AnsiString, TCtlUtil>& CtlUtils()
{
    static const std::map<AnsiString, TCtlUtil> utils{
        {"ShortCutToText",
         [](TCtlRun& run, const TCtlArgs& a) {
             int code = 0;
             if (a.Words.empty() || !TryStrToInt(a.Words[0], code))
                 throw ECtlError("bad value: " + a.Rest);
             run.Print("RESULT " + TCtlRun::Escape(ShortCutToText(static_cast<TShortCut>(code))));
         }},
        {"TextToShortCut",
         [](TCtlRun& run, const TCtlArgs& a) { run.Print("RESULT " + IntToStr(TextToShortCut(a.Rest))); }},
    };
    return utils;
}
