// The edit with a button: the click key, Enter and Escape under the form's key preview, read-only
// and direct input, button widths and glyph kinds, and the drop-down protocol with a pop-up of
// the test's own.

#include "controls/lib/ToolEdit.h"

#include <gtest/gtest.h>

#include <string>

#include "GuiTestSupport.h"
#include "platform/core/VirtualKeys.h"
#include "platform/gui/SystemMetrics.h"

namespace {

// A form that logs its preview keys and the dialog keys it is sent.
class TLogForm : public TForm {
public:
    explicit TLogForm(std::string& log) : TForm(nullptr), FLog(log)
    {
        SetBounds(0, 0, 300, 200);
        RegisterHandler(CM_DIALOGKEY, [this](TMessage& m) {
            FLog += "dialogkey " + std::to_string(m.WParam) + " ";
            Inherited(m);
        });
    }

protected:
    void KeyDown(uint16_t& Key, TShiftState Shift) override
    {
        FLog += "form.keydown " + std::to_string(Key) + " ";
        TForm::KeyDown(Key, Shift);
    }
    void KeyPress(char& Key) override
    {
        FLog += "form.keypress " + std::to_string(static_cast<unsigned char>(Key)) + " ";
        TForm::KeyPress(Key);
    }

private:
    std::string& FLog;
};

// A pop-up holding a text value.
class TTextPopup : public TPopupWindow {
public:
    explicit TTextPopup(TWinControl* AOwner) : TPopupWindow(AOwner) { SetBounds(0, 0, 120, 80); }
    Variant GetValue() override { return Variant(Value); }
    void SetValue(const Variant& v) override { Value = VarToStr(v); }
    AnsiString Value;
};

class TPopupEdit : public TCustomComboEdit {
public:
    explicit TPopupEdit(TComponent* AOwner) : TCustomComboEdit(AOwner)
    {
        FPopupWindow = new TTextPopup(this);
        SetPopup(FPopupWindow);
    }
    TTextPopup* FPopupWindow;
};

struct TComboEditTest : ::testing::Test {
    void SetUp() override
    {
        TestApplication();
        form = std::make_unique<TLogForm>(log);
        edit = Place<TComboEdit>(*form, 10, 10, 150, 21);
        edit->OnButtonClick = [this](TObject*) { log += "button "; };
        form->Show();
        edit->SetFocus();
    }
    void Key(int key, Qt::KeyboardModifiers mods = Qt::NoModifier, const QString& text = QString())
    {
        TypeKey(edit->Handle(), key, mods, text);
    }
    std::string log;
    std::unique_ptr<TLogForm> form;
    TComboEdit* edit = nullptr;
};

TEST_F(TComboEditTest, AltDownAndTheButtonEachClickOnce)
{
    Key(Qt::Key_Down, Qt::AltModifier);
    edit->DoClick();
    EXPECT_EQ(log, "button button ");
}

TEST_F(TComboEditTest, AltDownRunsAfterTheFormsKeyHandlersUnderKeyPreview)
{
    form->SetKeyPreview(true);
    Key(Qt::Key_Down, Qt::AltModifier);
    EXPECT_EQ(log, "form.keydown 40 button ");
}

TEST_F(TComboEditTest, AltDownWithoutAButtonReachesTheEditUntouched)
{
    edit->SetButtonWidth(0);
    edit->OnKeyUp = [this](TObject*, uint16_t& key, TShiftState) { log += "keyup " + std::to_string(key) + " "; };
    edit->OnKeyDown = [this](TObject*, uint16_t& key, TShiftState) { log += "keydown " + std::to_string(key) + " "; };
    Key(Qt::Key_Down, Qt::AltModifier);
    EXPECT_EQ(log, "keydown 40 keyup 40 ");
}

TEST_F(TComboEditTest, ReadOnlyIgnoresTheButtonAndAltDown)
{
    edit->SetReadOnly(true);
    Key(Qt::Key_Down, Qt::AltModifier);
    edit->DoClick();
    EXPECT_EQ(log, "");
}

TEST_F(TComboEditTest, EnterGoesToTheFormsDialogKeyThenOnKeyPressAndEndsConsumed)
{
    form->SetKeyPreview(true);
    edit->OnKeyPress = [this](TObject*, char& key) { log += "edit.keypress " + std::to_string(key) + " "; };
    Key(Qt::Key_Return, Qt::NoModifier, "\r");
    EXPECT_EQ(log, "form.keydown 13 form.keypress 13 dialogkey 13 edit.keypress 13 ");
    EXPECT_EQ(edit->Text(), "");
}

TEST_F(TComboEditTest, EscapeGoesToTheFormsDialogKeyThenOnKeyPress)
{
    edit->OnKeyPress = [this](TObject*, char& key) { log += "edit.keypress " + std::to_string(key) + " "; };
    Key(Qt::Key_Escape, Qt::NoModifier, "\x1B");
    EXPECT_EQ(log, "dialogkey 27 edit.keypress 27 ");
}

TEST(ComboEdit, EnterWithoutAParentFormSendsNoDialogKey)
{
    TestApplication();
    TComboEdit edit(nullptr);
    std::string log;
    edit.OnKeyPress = [&](TObject*, char& key) { log += "keypress " + std::to_string(key); };
    edit.Perform(WM_CHAR, '\r');
    EXPECT_EQ(log, "keypress 13");
}

TEST_F(TComboEditTest, DirectInputOffRefusesTypingAndPasteButTheButtonWorks)
{
    edit->SetText("abc");
    edit->SetDirectInput(false);
    Key(Qt::Key_X, Qt::NoModifier, "x");
    edit->SetSelStart(0);
    edit->SelectAll();
    EXPECT_EQ(edit->SelLength(), 0);
    edit->Perform(WM_CUT);
    edit->DoClick();
    EXPECT_EQ(edit->Text(), "abc");
    EXPECT_EQ(log, "button ");
    EXPECT_FALSE(edit->ReadOnly());
}

TEST_F(TComboEditTest, ButtonWidthOneHidesTheButtonAndAWidthPastTheClientIsIgnored)
{
    edit->SetButtonWidth(1);
    EXPECT_FALSE(edit->Button()->Parent()->Visible());
    edit->SetButtonWidth(30);
    EXPECT_TRUE(edit->Button()->Parent()->Visible());
    edit->SetButtonWidth(edit->ClientWidth());
    EXPECT_EQ(edit->ButtonWidth(), 30);
    EXPECT_TRUE(edit->ButtonWidthStored());
}

TEST_F(TComboEditTest, DropDownKindTakesTheScrollBarWidthAndAGlyphMakesItCustomAgain)
{
    edit->SetGlyphKind(gkDropDown);
    EXPECT_EQ(edit->ButtonWidth(), GetSystemMetrics(SM_CXVSCROLL));
    EXPECT_TRUE(edit->Button()->ControlStyle() & csFixedWidth);
    EXPECT_FALSE(edit->Glyph()->Empty());
    EXPECT_FALSE(edit->ButtonWidthStored());
    TBitmap own;
    own.SetSize(8, 8);
    edit->SetGlyph(&own);
    EXPECT_EQ(edit->GlyphKind(), gkCustom);
}

TEST_F(TComboEditTest, EllipsisGlyphIsThreeDotsNarrowerThanTheButton)
{
    edit->SetGlyphKind(gkEllipsis);
    EXPECT_EQ(edit->Glyph()->Width(), TCustomComboEdit::kDefaultButtonWidth - 6);
    EXPECT_EQ(edit->Glyph()->Height(), 4);
    // Width 15, gap 3, start (15 - 6 - 6) / 2 = 1: dots at x 1, 6, 11 on rows 1 and 2.
    EXPECT_EQ(edit->Glyph()->Canvas()->Pixels(1, 1), clBlack);
    EXPECT_EQ(edit->Glyph()->Canvas()->Pixels(6, 2), clBlack);
    EXPECT_EQ(edit->Glyph()->Canvas()->Pixels(12, 2), clBlack);
    EXPECT_EQ(edit->Glyph()->Canvas()->Pixels(5, 1), clWhite);
    EXPECT_EQ(edit->Glyph()->Canvas()->Pixels(1, 0), clWhite);
}

TEST_F(TComboEditTest, ASmallerHeightGrowsBackToTheMinimum)
{
    edit->SetHeight(4);
    EXPECT_EQ(edit->Height(), edit->GetMinHeight());
    EXPECT_GT(edit->GetMinHeight(), 4);
}

struct TPopupEditTest : ::testing::Test {
    void SetUp() override
    {
        TestApplication();
        form = std::make_unique<TLogForm>(log);
        edit = Place<TPopupEdit>(*form, 10, 10, 150, 21);
        other = Place<TComboEdit>(*form, 10, 60, 150, 21);
        edit->OnChange = [this](TObject*) { log += "change "; };
        form->Show();
        edit->SetFocus();
        edit->SetText("old");
        log.clear();
    }
    std::string log;
    std::unique_ptr<TLogForm> form;
    TPopupEdit* edit = nullptr;
    TComboEdit* other = nullptr;
};

TEST_F(TPopupEditTest, TheButtonDropsItDownWithTheTextAndEnterAcceptsItsValue)
{
    edit->DoClick();
    ASSERT_TRUE(edit->PopupVisible());
    EXPECT_EQ(edit->FPopupWindow->Value, "old");
    EXPECT_TRUE(edit->FPopupWindow->Visible());
    edit->FPopupWindow->Value = "new";
    TypeKey(edit->Handle(), Qt::Key_Return, Qt::NoModifier, "\r");
    EXPECT_FALSE(edit->PopupVisible());
    EXPECT_FALSE(edit->FPopupWindow->Visible());
    EXPECT_EQ(edit->Text(), "new");
    EXPECT_TRUE(edit->Modified());
    EXPECT_EQ(log, "change ");
}

TEST_F(TPopupEditTest, EscapeClosesWithoutTakingTheValueAndSendsNoDialogKey)
{
    edit->DoClick();
    edit->FPopupWindow->Value = "new";
    TypeKey(edit->Handle(), Qt::Key_Escape, Qt::NoModifier, "\x1B");
    EXPECT_FALSE(edit->PopupVisible());
    EXPECT_EQ(edit->Text(), "old");
    EXPECT_EQ(log, "");
}

TEST_F(TPopupEditTest, AnEmptyTextIsHandedOverAsNull)
{
    edit->SetText("");
    edit->FPopupWindow->Value = "x";
    edit->DoClick();
    EXPECT_EQ(edit->FPopupWindow->Value, "");
}

TEST_F(TPopupEditTest, TheTextIsReadOnlyWhileItIsOpen)
{
    edit->DoClick();
    TypeKey(edit->Handle(), Qt::Key_Z, Qt::NoModifier, "z");
    EXPECT_EQ(edit->Text(), "old");
    TypeKey(edit->Handle(), Qt::Key_Escape, Qt::NoModifier, "\x1B");
    edit->SetSelStart(3);
    TypeKey(edit->Handle(), Qt::Key_Z, Qt::NoModifier, "z");
    EXPECT_EQ(edit->Text(), "oldz");
}

TEST_F(TPopupEditTest, APressOnAnotherControlClosesItWithoutAccepting)
{
    edit->DoClick();
    edit->FPopupWindow->Value = "new";
    other->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(3, 3));
    EXPECT_FALSE(edit->PopupVisible());
    EXPECT_EQ(edit->Text(), "old");
}

TEST_F(TPopupEditTest, APressInsideThePopupKeepsItOpenAndItsReleaseAccepts)
{
    edit->DoClick();
    edit->FPopupWindow->Value = "new";
    edit->FPopupWindow->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(3, 3));
    EXPECT_TRUE(edit->PopupVisible());
    edit->FPopupWindow->Perform(WM_LBUTTONUP, 0, MakeLParam(3, 3));
    EXPECT_FALSE(edit->PopupVisible());
    EXPECT_EQ(edit->Text(), "new");
}

TEST_F(TPopupEditTest, APressOnTheButtonWhileOpenAcceptsAndItsClickDoesNotReopen)
{
    edit->DoClick();
    edit->FPopupWindow->Value = "new";
    TControl* button = edit->Button();
    button->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(3, 3));
    button->Perform(WM_LBUTTONUP, 0, MakeLParam(3, 3));
    EXPECT_FALSE(edit->PopupVisible());
    EXPECT_EQ(edit->Text(), "new");
    button->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(3, 3));
    button->Perform(WM_LBUTTONUP, 0, MakeLParam(3, 3));
    EXPECT_TRUE(edit->PopupVisible());
}

TEST_F(TPopupEditTest, APopupThatIsFreedIsForgotten)
{
    edit->DoClick();
    delete edit->FPopupWindow;
    EXPECT_EQ(edit->Popup(), nullptr);
    EXPECT_FALSE(edit->PopupVisible());
    edit->DoClick();
}

TEST(PopupWindow, WithoutValueOperationsRaisesTheAbstractError)
{
    TestApplication();
    TComboEdit edit(nullptr);
    TPopupWindow popup(&edit);
    EXPECT_THROW(popup.GetValue(), EAbstractError);
    EXPECT_THROW(popup.SetValue(Variant()), EAbstractError);
}

}  // namespace
