#pragma once
// The framework's edits: single-line edit and memo (the rich edit in plain-text mode), on Qt's
// line edit and plain-text edit. Text is cp949 (memo lines joined by CR LF); selection offsets
// and MaxLength count cp949 bytes, and no selection, cut or deletion splits a Hangul pair.
// Typed, composed and pasted text passes the character case and the byte limit, which refuses
// a character that would pass it whole; text set by code is kept as it is.

#include <memory>

#include "platform/core/EditText.h"
#include "platform/core/Strings.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdMessages.h"

class TEditSurface;

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

class TCustomEdit : public TWinControl {
public:
    explicit TCustomEdit(TComponent* AOwner);
    ~TCustomEdit() override;

    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int v);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool v);
    bool Modified() const { return FModified; }
    void SetModified(bool v) { FModified = v; }
    bool AutoSelect() const { return FAutoSelect; }
    void SetAutoSelect(bool v) { FAutoSelect = v; }
    TEditCharCase CharCase() const { return FCharCase; }
    void SetCharCase(TEditCharCase v);
    char PasswordChar() const { return FPasswordChar; }
    void SetPasswordChar(char v);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment v);
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle v);
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool v) { FHideSelection = v; }

    // Selection in cp949 bytes; a position inside a pair moves to the pair's start.
    int SelStart() const;
    void SetSelStart(int v);
    int SelLength() const;
    void SetSelLength(int v);
    AnsiString SelText() const;
    // Replaces the selection as code does: no byte limit, no character case.
    void SetSelText(const AnsiString& v);
    void SelectAll();
    void ClearSelection() { Perform(WM_CLEAR); }
    void CopyToClipboard() { Perform(WM_COPY); }
    void CutToClipboard() { Perform(WM_CUT); }
    void PasteFromClipboard() { Perform(WM_PASTE); }
    void Clear() { SetText(AnsiString()); }
    bool CanUndo() const;
    void Undo() { Perform(EM_UNDO); }
    // The text rectangle: margins that keep text off a child placed inside the edit.
    void SetTextMargins(int Left, int Right);

    TNotifyEvent OnChange;

protected:
    QWidget* CreateWidget() override;
    void WidgetCreated() override;
    void DoEnter() override;
    virtual void Change();
    // Text typed or composed (byUser) or pasted: character case, byte limit, then inserted.
    virtual void InsertTyped(const AnsiString& text, bool pasted);
    // Where a paste's text comes from, already in cp949 and cut to what one edit takes.
    AnsiString PasteText(unsigned source);
    virtual bool MultiLine() const { return false; }
    // The widget's text as the control keeps it.
    AnsiString SurfaceText() const;
    void ReplaceSelection(const AnsiString& text);
    TEditSurface* Surface() const { return FSurface.get(); }
    // The widget's text changed (typed, pasted, undone or set).
    void SurfaceChanged();
    // The colour the text is drawn in now: the font's; asked again when the font, the colour or
    // the enabled state changes.
    virtual TColor TextColor() { return Font()->Color(); }

    std::unique_ptr<TEditSurface> FSurface;
    AnsiString FDropText;

private:
    void RegisterEditHandlers();
    void ApplyLook();
    // A colour or text colour other than the window's defaults goes to the widget's palette, in
    // every state (a disabled edit included); the others keep the style's.
    void ApplyColors();
    int ToBytes(int qtPos) const;
    int ToQt(int bytes) const;

    int FMaxLength = 0;
    bool FReadOnly = false;
    bool FModified = false;
    bool FAutoSelect = true;
    TEditCharCase FCharCase = ecNormal;
    char FPasswordChar = 0;
    TAlignment FAlignment = taLeftJustify;
    TBorderStyle FBorderStyle = bsSingle;
    bool FHideSelection = true;
    int FMarginLeft = 0, FMarginRight = 0;
    int FSelStart = 0, FSelLength = 0;  // kept while there is no widget
    bool FPushing = false;              // the control is writing its text into the widget

    friend void EditTypeText(TCustomEdit*, const QString&);
    friend void EditDropText(TCustomEdit*, const QString&);
    friend bool EditIsReadOnly(TCustomEdit*);
};

class TEdit : public TCustomEdit {
public:
    explicit TEdit(TComponent* AOwner);
};

class TCustomMemo : public TCustomEdit {
public:
    explicit TCustomMemo(TComponent* AOwner);
    ~TCustomMemo() override;
    // The lines of the text (CR LF between them); editing them edits the text.
    TStrings* Lines() const { return FLines.get(); }
    void SetLines(TStrings* v);
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle v);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool v);
    bool WantTabs() const { return FWantTabs; }
    void SetWantTabs(bool v) { FWantTabs = v; }
    bool WantReturns() const { return FWantReturns; }
    void SetWantReturns(bool v) { FWantReturns = v; }
    // The caret's line and column (0-based; the column in bytes).
    TPoint CaretPos() const;
    void SetCaretPos(TPoint p);

protected:
    QWidget* CreateWidget() override;
    void WidgetCreated() override;
    bool MultiLine() const override { return true; }
    void KeyPress(char& Key) override;

private:
    void ApplyWrap();
    std::unique_ptr<TStrings> FLines;
    TScrollStyle FScrollBars = ssNone;
    bool FWordWrap = true;
    bool FWantTabs = false;
    bool FWantReturns = true;
};

class TMemo : public TCustomMemo {
public:
    using TCustomMemo::TCustomMemo;
};

// The rich edit in plain-text mode: a memo that reports selection changes.
class TRichEdit : public TCustomMemo {
public:
    explicit TRichEdit(TComponent* AOwner);
    bool PlainText() const { return true; }
    TNotifyEvent OnSelectionChange;

protected:
    QWidget* CreateWidget() override;
    virtual void SelectionChange();
};

void RegisterEditClasses();
