#pragma once
// Owner-drawn combo boxes: TColorComboBox lists the 16 basic colours, each as a framed swatch
// and its name, and keeps a ColorValue that is not listed; TFontComboBox lists the font families
// (with the Windows names of the font-alias table whose font is installed), each marked as a
// TrueType or a device font, filtered by Options. Both fire their own OnChange.
//
// Files: ExCombos.cpp (the base and the colour box), FontComboBox.cpp (the font box).

#include <memory>

#include "controls/core/FontFilter.h"
#include "platform/gui/ComboBoxes.h"

class TBitmap;

// The owner-drawn base: the item height follows the font; Style is one of csDropDown, csSimple
// and csDropDownList (default).
class TOwnerDrawComboBox : public TCustomComboBox {
public:
    explicit TOwnerDrawComboBox(TComponent* AOwner);
    void SetStyle(TComboBoxStyle Value);

protected:
    // The font's character height + 1, at least 9.
    virtual int MinItemHeight();
    void ResetItemHeight();
    void WidgetCreated() override;
    bool OwnerDrawn() const override { return true; }
};

// The 16 colours in list order and their default names ("Black" ... "White").
extern const TColor kComboColors[16];
extern const char* const kComboColorNames[16];

class TColorComboBox : public TOwnerDrawComboBox {
public:
    explicit TColorComboBox(TComponent* AOwner);
    ~TColorComboBox() override;

    TColor GetColorValue();
    void SetColorValue(TColor Value);
    bool DisplayNames() const { return FDisplayNames; }
    void SetDisplayNames(bool Value);
    // Entry i names colour i; an empty or missing entry keeps the default name.
    TStrings* ColorNames() const { return FColorNames.get(); }
    void SetColorNames(TStrings* Value);

    TNotifyEvent OnChange;

protected:
    virtual void PopulateList();
    virtual void DoChange();
    void WidgetCreated() override;
    void DrawItem(int Index, TRect Rect, TOwnerDrawState State) override;
    void Change() override;
    void Click() override;

private:
    void ColorNamesChanged();
    TColor ItemColor(int Index);

    TColor FColorValue = clBlack;
    bool FDisplayNames = true;
    std::unique_ptr<TStrings> FColorNames;
};

enum TFontDevice { fdScreen, fdPrinter, fdBoth };
// The item object's bit for a font whose character set is not the symbol set.
constexpr unsigned kWritableFont = 0x100;

class TFontComboBox : public TOwnerDrawComboBox {
public:
    explicit TFontComboBox(TComponent* AOwner);
    ~TFontComboBox() override;

    AnsiString GetFontName() const { return Text(); }
    void SetFontName(const AnsiString& Value);
    TFontDevice Device() const { return FDevice; }
    void SetDevice(TFontDevice Value);
    TFontListOptions Options() const { return FOptions; }
    void SetOptions(TFontListOptions Value);
    bool TrueTypeOnly() const { return FOptions & (1u << foTrueTypeOnly); }
    void SetTrueTypeOnly(bool Value);
    bool UseFonts() const { return FUseFonts; }
    void SetUseFonts(bool Value);
    // Lists the fonts again keeping the name when it is still listed: after a change of the
    // filter, and on the system's word that the installed fonts changed (WM_FONTCHANGE).
    void Reset();

    TNotifyEvent OnChange;

protected:
    virtual void PopulateList();
    virtual void DoChange();
    int MinItemHeight() override;
    void WidgetCreated() override;
    void DrawItem(int Index, TRect Rect, TOwnerDrawState State) override;
    void Change() override;
    void Click() override;

private:
    std::unique_ptr<TBitmap> FTrueTypeBMP;
    std::unique_ptr<TBitmap> FDeviceBMP;
    TFontDevice FDevice = fdScreen;
    bool FUpdate = false;
    bool FUseFonts = false;
    TFontListOptions FOptions = 0;
};

void RegisterExCombosClasses();
