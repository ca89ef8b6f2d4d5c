// The `util` routines that need the screen, the clipboard or the form: one entry each, printing
// RESULT and its fields (PictureFromClipboard: the pasted graphic's class, width and height). The display-free routines are in tools/ctlutil.

#include <memory>

#include "controls/lib/ClipIcon.h"
#include "controls/lib/CtrlUtils.h"
#include "platform/gui/Picture.h"
#include "platform/gui/Resources.h"
#include "tools/ctlrun/CtlRun.h"

namespace {

int Number(const TCtlArgs& a, size_t i) { return CtlNumber(a, i); }

TColor Colour(const TCtlArgs& a, size_t i)
{
    if (i >= a.Words.size())
        throw ECtlError("bad value: (missing)");
    return StringToColor(a.Words[i]);
}

const AnsiString& Word(const TCtlArgs& a, size_t i)
{
    if (i >= a.Words.size())
        throw ECtlError("bad value: (missing)");
    return a.Words[i];
}

void Result(TCtlRun& run, const AnsiString& fields = AnsiString())
{
    run.Print(fields.empty() ? AnsiString("RESULT") : "RESULT " + fields);
}

TFillDirection Direction(const AnsiString& name)
{
    static const char* const kNames[] = {"fdTopToBottom", "fdBottomToTop", "fdLeftToRight", "fdRightToLeft"};
    for (int i = 0; i < 4; ++i)
        if (SameText(name, kNames[i]))
            return static_cast<TFillDirection>(i);
    throw ECtlError("bad value: " + name);
}

std::unique_ptr<TIcon> IconFile(const AnsiString& file)
{
    auto icon = std::make_unique<TIcon>();
    icon->LoadFromFile(file);
    return icon;
}

}  // namespace

const std::map<AnsiString, TCtlUtil>& CtlUtils()
{
    static const std::map<AnsiString, TCtlUtil> utils{
        // A one-colour bitmap file for tests.
        {"SolidBitmap",
         [](TCtlRun& run, const TCtlArgs& a) {
             TBitmap bitmap;
             bitmap.SetPixelFormat(pf24bit);
             bitmap.SetSize(Number(a, 1), Number(a, 2));
             bitmap.Canvas()->Brush()->SetColor(Colour(a, 3));
             bitmap.Canvas()->FillRect(Rect(0, 0, bitmap.Width(), bitmap.Height()));
             bitmap.SaveToFile(Word(a, 0));
             Result(run);
         }},
        {"StartWait",
         [](TCtlRun& run, const TCtlArgs&) {
             StartWait();
             Result(run);
         }},
        {"StopWait",
         [](TCtlRun& run, const TCtlArgs&) {
             StopWait();
             Result(run);
         }},
        {"ScreenCursor", [](TCtlRun& run, const TCtlArgs&) { Result(run, IntToStr(Screen->Cursor())); }},
        {"CursorName",
         [](TCtlRun& run, const TCtlArgs& a) {
             const AnsiString name = DefinedCursorName(Number(a, 0));
             Result(run, name.empty() ? AnsiString("default") : name);
         }},
        {"LoadStr", [](TCtlRun& run, const TCtlArgs& a) { Result(run, TCtlRun::Escape(LoadStr(Number(a, 0)))); }},
        // The gradient stays on the form's picture: it is painted at every repaint.
        {"GradientFillRect",
         [](TCtlRun& run, const TCtlArgs& a) {
             const TRect r = Rect(Number(a, 0), Number(a, 1), Number(a, 2), Number(a, 3));
             const TColor start = Colour(a, 4), end = Colour(a, 5);
             const TFillDirection direction = Direction(Word(a, 6));
             const int colors = Number(a, 7);
             TCustomForm* form = run.Form();
             form->OnPaint = [form, r, start, end, direction, colors](TObject*) {
                 GradientFillRect(form->Canvas(), r, start, end, direction, colors);
             };
             form->Invalidate();
             Result(run);
         }},
        {"CopyIconToClipboard",
         [](TCtlRun& run, const TCtlArgs& a) {
             CopyIconToClipboard(IconFile(Word(a, 0)).get(), Colour(a, 1));
             Result(run);
         }},
        {"IconFromClipboard",
         [](TCtlRun& run, const TCtlArgs& a) {
             std::unique_ptr<TIcon> icon(CreateIconFromClipboard());
             if (!icon) {
                 Result(run, "nil");
                 return;
             }
             icon->SaveToFile(Word(a, 0));
             Result(run);
         }},
        // A picture pasted from the clipboard: its kind and size.
        {"PictureFromClipboard",
         [](TCtlRun& run, const TCtlArgs&) {
             TPicture picture;
             picture.LoadFromClipboard();
             const AnsiString kind = dynamic_cast<TIcon*>(picture.Graphic()) ? "TIcon" : "TBitmap";
             Result(run, kind + " " + IntToStr(picture.Width()) + " " + IntToStr(picture.Height()));
         }},
        {"GetIconSize",
         [](TCtlRun& run, const TCtlArgs& a) {
             unsigned w = 0, h = 0;
             GetIconSize(IconFile(Word(a, 0)).get(), w, h);
             Result(run, IntToStr(w) + " " + IntToStr(h));
         }},
    };
    return utils;
}
