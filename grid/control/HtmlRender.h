#pragma once
// The grid's HTML cell-text engine: lays a small subset of HTML out in lines inside a rectangle
// and draws it on a canvas, measures it, or finds the link under a point. Every line is laid out
// twice: a measuring pass that takes the line's words and tags off the text and finds its width
// and height, and a drawing (or hit-testing) pass over that line once it is placed by its
// alignment. The engine keeps nothing between calls; the canvas's font and brush are put back
// at the end of a call. Text is cp949 (grid/model/HtmlTags.h holds the text routines).
//
// Tags: A (href), B, BR, BLINK, BODY (background, bgcolor), FONT (face, color, bgcolor, size),
// HR, I, IND (x), IMG (src idx:/ssys:/lsys:/res:///file://, width, height, align), LI, P (align,
// bgcolor), R (a), S, SUB, SUP, SHAD, U, UL, Z and their closing forms; entities &lt; &gt; &amp;
// &quot;; "<#name>" shows as "#name".

#include <string_view>

#include "grid/model/HtmlTags.h"
#include "platform/gui/Canvas.h"
#include "platform/gui/ImageList.h"

// What a call asks for besides the text: the point to test, link numbers and looks.
struct THtmlRenderOptions {
    TImageList* Images = nullptr;  // for "idx:" images
    int X = 0, Y = 0;              // the point tested against links
    int FocusLink = -1;            // counted from 0; gets a focus rectangle
    int HoverLink = -1;            // counted from 1
    int ShadowOffset = 1;
    bool HitTestOnly = false;  // lay out and test, draw nothing
    bool MeasureOnly = false;  // measure only: one pass a line, every line
    bool Printing = false;     // images scaled by ResFactor and stretched
    bool Selected = false;     // link and font colours are not applied
    bool BlinkOn = false;      // the visible phase of <BLINK> text
    bool HoverOnlyHovered = false;
    double ResFactor = 0;
    TColor LinkColor = clBlue;
    TColor HoverColor = clNone, HoverFontColor = clNone;
    TColor ShadowColor = clGray;
};

// What a call finds.
struct THtmlRenderResult {
    AnsiString AnchorValue;  // the href of the link under the point
    AnsiString PlainText;    // the text without tags, <BR> as CR
    AnsiString FocusAnchor;  // the href of link FocusLink
    int Width = 0, Height = 0;
    int LinkCount = 0;
    int MouseLink = -1;  // the link under the point, counted from 1
    TRect HoverRect{};   // that link's last line part
    bool Hit = false;    // the point lies on a link's text
};

// The engine: Rect is the layout rectangle in the canvas's pixels.
THtmlRenderResult RenderHtml(TCanvas* Canvas, std::string_view Text, const TRect& Rect,
                             const THtmlRenderOptions& Options);

// The engine with the framework's parameter list; returns whether X, Y lies on a link.
bool RenderHtmlText(TCanvas* Canvas, std::string_view Text, const TRect& Rect, TImageList* Images, int X, int Y,
                    int FocusLink, int HoverLink, int ShadowOffset, bool HitTestOnly, bool MeasureOnly, bool Printing,
                    bool Selected, bool BlinkOn, bool HoverOnlyHovered, double ResFactor, TColor LinkColor,
                    TColor HoverColor, TColor HoverFontColor, TColor ShadowColor, AnsiString& AnchorValue,
                    AnsiString& PlainText, AnsiString& FocusAnchor, int& Width, int& Height, int& LinkCount,
                    int& MouseLink, TRect& HoverRect);
// The form the grid uses everywhere: no focus or hover link, shadows one pixel in grey.
bool PaintHtmlText(TCanvas* Canvas, std::string_view Text, const TRect& Rect, TImageList* Images, int X, int Y,
                   bool HitTestOnly, bool MeasureOnly, bool Printing, bool Selected, bool BlinkOn, double ResFactor,
                   TColor LinkColor, AnsiString& AnchorValue, AnsiString& PlainText, int& Width, int& Height);

// <R>: the canvas font turned by Angle degrees; SavedOrientation keeps what it was.
void SelectRotatedFont(TCanvas* Canvas, int Angle, int& SavedOrientation);
void RestoreRotatedFont(TCanvas* Canvas, int SavedOrientation);
