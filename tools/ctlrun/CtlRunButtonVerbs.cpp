// The `call` verbs of the speed button, switch and credits panel, and `util SolidBitmap`, which
// writes a one-colour BMP for the glyph tests.

#include "controls/lib/CtrlUtils.h"
#include "controls/lib/ExCtrls.h"
#include "platform/core/Strings.h"
#include "tools/ctlrun/CtlRun.h"
#include "tools/ctlrun/CtlRunText.h"

namespace {

int Number(const TCtlArgs& a, size_t i)
{
    int v = 0;
    if (!TryStrToInt(CtlWord(a, i), v))
        throw ECtlError("bad value: " + CtlWord(a, i));
    return v;
}

TColor ColorArg(const TCtlArgs& a, size_t i)
{
    try {
        return StringToColor(CtlWord(a, i));
    } catch (const Exception&) {
        throw ECtlError("bad value: " + CtlWord(a, i));
    }
}

// An enumeration value by name or number.
int Choice(const TCtlArgs& a, size_t i, std::initializer_list<const char*> names)
{
    int index = 0;
    for (const char* name : names) {
        if (SameText(CtlWord(a, i), name))
            return index;
        ++index;
    }
    return Number(a, i);
}

void Result(TCtlRun& run, const AnsiString& text) { run.Print("RESULT " + TCtlRun::Escape(text)); }

// The bitmap of a file; the caller's glyph stays as it was when the file does not load.
std::unique_ptr<TBitmap> LoadBitmap(const AnsiString& file)
{
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->LoadFromFile(file);
    return bitmap;
}

void CalcLayout(TCtlRun& run, TComponent* c, const TCtlArgs& a)
{
    TExSpeedButton* b = CtlAs<TExSpeedButton>(c);
    const TRect client = Rect(Number(a, 0), Number(a, 1), Number(a, 2), Number(a, 3));
    const auto layout =
        static_cast<TButtonLayout>(Choice(a, 4, {"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"}));
    const int margin = Number(a, 5), spacing = Number(a, 6);
    const bool mark = Choice(a, 7, {"False", "True"}) != 0;
    std::string_view rest = a.Rest;
    for (int i = 0; i < 8; ++i)
        NextWord(rest);
    AnsiString caption = RestText(rest);
    TBitmap scratch;
    scratch.SetSize(1, 1);
    scratch.Canvas()->SetFont(b->Font());
    TPoint glyph;
    TRect text;
    b->ButtonGlyph()->CalcButtonLayout(scratch.Canvas(), client, caption, layout, margin, spacing, mark, glyph, text,
                                       AlignmentTextFlags(b->Alignment()));
    Result(run, Format("%d %d %d %d %d %d|", glyph.x, glyph.y, text.Left, text.Top, text.Right, text.Bottom) + caption);
}

}  // namespace

const std::map<AnsiString, TCtlVerb>& CtlButtonVerbs()
{
    static const std::map<AnsiString, TCtlVerb> verbs{
        {"LoadGlyph",
         [](TCtlRun&, TComponent* c, const TCtlArgs& a) {
             if (auto* sw = dynamic_cast<TExSwitch*>(c))
                 sw->SetSwitchGlyph(Number(a, 1), LoadBitmap(CtlWord(a, 0)).get());
             else
                 CtlAs<TExSpeedButton>(c)->SetGlyph(LoadBitmap(CtlWord(a, 0)).get());
         }},
        {"ButtonClick", [](TCtlRun&, TComponent* c, const TCtlArgs&) { CtlAs<TExSpeedButton>(c)->ButtonClick(); }},
        {"MapColor",
         [](TCtlRun& run, TComponent* c, const TCtlArgs& a) {
             Result(run, IntToStr(CtlAs<TExSpeedButton>(c)->ButtonGlyph()->MapColor(ColorArg(a, 0))));
         }},
        {"CalcButtonLayout", CalcLayout},
        {"ToggleSwitch", [](TCtlRun&, TComponent* c, const TCtlArgs&) { CtlAs<TExSwitch>(c)->ToggleSwitch(); }},
        {"AddLine", [](TCtlRun&, TComponent* c, const TCtlArgs& a) { CtlAs<TSecretPanel>(c)->Lines()->Add(a.Rest); }},
        {"Play", [](TCtlRun&, TComponent* c, const TCtlArgs&) { CtlAs<TSecretPanel>(c)->Play(); }},
        {"Stop", [](TCtlRun&, TComponent* c, const TCtlArgs&) { CtlAs<TSecretPanel>(c)->Stop(); }},
    };
    return verbs;
}
