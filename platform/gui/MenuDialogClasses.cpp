// The published properties of the menus, the common dialogs and the form's menu, style and
// placement settings, so that stored settings and the control driver reach them by name.

#include "platform/core/TypInfo.h"
#include "platform/gui/CommonDialogs.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Graphics.h"
#include "platform/gui/Menus.h"
#include "platform/gui/Printers.h"
#include "platform/gui/StandardClasses.h"

void RegisterMenuClasses()
{
    RegisterClass<TMenuItem>("TMenuItem", "TComponent", MakeComponent<TMenuItem>)
        .Str("Caption", &TMenuItem::Caption, &TMenuItem::SetCaption)
        .Bool("Checked", &TMenuItem::Checked, &TMenuItem::SetChecked, false)
        .Bool("Default", &TMenuItem::Default, &TMenuItem::SetDefault, false)
        .Bool("Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled, true)
        .Int("GroupIndex", &TMenuItem::GroupIndex, &TMenuItem::SetGroupIndex, 0)
        .Str("Hint", &TMenuItem::Hint, &TMenuItem::SetHint)
        .Int("ImageIndex", &TMenuItem::ImageIndex, &TMenuItem::SetImageIndex, -1)
        .Bool("RadioItem", &TMenuItem::RadioItem, &TMenuItem::SetRadioItem, false)
        .Int("ShortCut", &TMenuItem::ShortCut, &TMenuItem::SetShortCut, 0)
        .Bool("Visible", &TMenuItem::Visible, &TMenuItem::SetVisible, true);
    RegisterClass<TMenu>("TMenu", "TComponent").Bool("OwnerDraw", &TMenu::OwnerDraw, &TMenu::SetOwnerDraw, false);
    RegisterClass<TMainMenu>("TMainMenu", "TMenu", MakeComponent<TMainMenu>);
    RegisterClass<TPopupMenu>("TPopupMenu", "TMenu", MakeComponent<TPopupMenu>)
        .Bool("AutoPopup", &TPopupMenu::AutoPopup, &TPopupMenu::SetAutoPopup, true)
        .Enum("Alignment", "TPopupAlignment", {"paLeft", "paRight", "paCenter"}, &TPopupMenu::Alignment,
              &TPopupMenu::SetAlignment, paLeft);
    using F = TCustomForm;
    RegisterClass<F>("TCustomForm", "TWinControl")
        .Object("Menu", "TMainMenu", &F::Menu, &F::SetMenu)
        .Enum("FormStyle", "TFormStyle", {"fsNormal", "fsMDIChild", "fsMDIForm", "fsStayOnTop"}, &F::FormStyle,
              &F::SetFormStyle, fsNormal)
        .Set("BorderIcons", "TBorderIcons", {"biSystemMenu", "biMinimize", "biMaximize", "biHelp"}, &F::BorderIcons,
             &F::SetBorderIcons, biSystemMenu | biMinimize | biMaximize)
        .Int("PixelsPerInch", &F::PixelsPerInch, &F::SetPixelsPerInch, 96);
}

void RegisterDialogClasses()
{
    RegisterClass<TCommonDialog>("TCommonDialog", "TComponent");
    using O = TOpenDialog;
    RegisterClass<O>("TOpenDialog", "TCommonDialog", MakeComponent<O>)
        .Str(
            "DefaultExt", [](O* d) { return d->DefaultExt; }, [](O* d, const AnsiString& v) { d->DefaultExt = v; })
        .Str(
            "FileName", [](O* d) { return d->FileName; }, [](O* d, const AnsiString& v) { d->FileName = v; })
        .Str(
            "Filter", [](O* d) { return d->Filter; }, [](O* d, const AnsiString& v) { d->Filter = v; })
        .Int(
            "FilterIndex", [](O* d) { return d->FilterIndex; }, [](O* d, int v) { d->FilterIndex = v; }, 1)
        .Str(
            "InitialDir", [](O* d) { return d->InitialDir; }, [](O* d, const AnsiString& v) { d->InitialDir = v; })
        .Set(
            "Options", "TOpenOptions",
            {"ofReadOnly",
             "ofOverwritePrompt",
             "ofHideReadOnly",
             "ofNoChangeDir",
             "ofShowHelp",
             "ofNoValidate",
             "ofAllowMultiSelect",
             "ofExtensionDifferent",
             "ofPathMustExist",
             "ofFileMustExist",
             "ofCreatePrompt",
             "ofShareAware",
             "ofNoReadOnlyReturn",
             "ofNoTestFileCreate",
             "",
             "",
             "",
             "",
             "",
             "ofEnableSizing"},
            [](O* d) { return d->Options; }, [](O* d, unsigned v) { d->Options = v; }, ofHideReadOnly | ofEnableSizing)
        .Str(
            "Title", [](O* d) { return d->Title; }, [](O* d, const AnsiString& v) { d->Title = v; })
        .Object("Files", "TStrings", &O::Files, nullptr);
    RegisterClass<TSaveDialog>("TSaveDialog", "TOpenDialog", MakeComponent<TSaveDialog>);
    RegisterClass<TOpenPictureDialog>("TOpenPictureDialog", "TOpenDialog", MakeComponent<TOpenPictureDialog>);
    RegisterClass<TSavePictureDialog>("TSavePictureDialog", "TSaveDialog", MakeComponent<TSavePictureDialog>);
    using C = TColorDialog;
    RegisterClass<C>("TColorDialog", "TCommonDialog", MakeComponent<C>)
        .Int(
            "Color", [](C* d) { return d->Color; }, [](C* d, int v) { d->Color = v; }, clBlack);
    RegisterClass<TFontDialog>("TFontDialog", "TCommonDialog", MakeComponent<TFontDialog>)
        .Object("Font", "TFont", &TFontDialog::Font, [](TFontDialog* d, TFont* f) { d->Font()->Assign(f); });
    using P = TPrintDialog;
    RegisterClass<P>("TPrintDialog", "TCommonDialog", MakeComponent<P>)
        .Int(
            "Copies", [](P* d) { return d->Copies; }, [](P* d, int v) { d->Copies = v; }, 1)
        .Int(
            "FromPage", [](P* d) { return d->FromPage; }, [](P* d, int v) { d->FromPage = v; }, 0)
        .Int(
            "ToPage", [](P* d) { return d->ToPage; }, [](P* d, int v) { d->ToPage = v; }, 0)
        .Int(
            "MinPage", [](P* d) { return d->MinPage; }, [](P* d, int v) { d->MinPage = v; }, 0)
        .Int(
            "MaxPage", [](P* d) { return d->MaxPage; }, [](P* d, int v) { d->MaxPage = v; }, 0);
    RegisterClass<TPrinterSetupDialog>("TPrinterSetupDialog", "TCommonDialog", MakeComponent<TPrinterSetupDialog>);
}
