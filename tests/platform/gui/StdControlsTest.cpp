// The standard controls' contracts: clipboard operations arrive as messages by every path, byte
// limits at a Hangul pair, masks on typed and pasted text, list items as interceptable
// messages, combo styles on a new widget, and which changes made in code raise events.

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QScrollBar>
#include <functional>

#include "GuiTestSupport.h"
#include "platform/core/FormatSettings.h"
#include "platform/core/StringList.h"
#include "platform/gui/Clipboard.h"
#include "platform/gui/ComCtrls.h"
#include "platform/gui/ComboBoxes.h"
#include "platform/gui/EditWidgets.h"
#include "platform/gui/Mask.h"
#include "platform/gui/Sound.h"
#include "platform/gui/SyntheticInput.h"
#include "platform/gui/WindowScrollBars.h"

namespace {

// An edit that refuses every paste and counts the requests.
class TNoPasteEdit : public TEdit {
public:
    explicit TNoPasteEdit(TComponent* owner) : TEdit(owner)
    {
        RegisterHandler(WM_PASTE, [this](TMessage&) { ++pastes; });
    }
    int pastes = 0;
};

void Commit(QWidget* w, const QString& text)
{
    QInputMethodEvent e;
    e.setCommitString(text);
    QCoreApplication::sendEvent(w, &e);
}

struct TPastePath {
    const char* name;
    std::function<void(QWidget*)> paste;
};

const TPastePath kPastePaths[] = {
    {"CtrlV", [](QWidget* w) { TypeKey(w, Qt::Key_V, Qt::ControlModifier, QStringLiteral("\x16")); }},
    {"ShiftInsert", [](QWidget* w) { TypeKey(w, Qt::Key_Insert, Qt::ShiftModifier); }},
    {"ContextMenu",
     [](QWidget* w) {
         QMenu* menu = EditContextMenu(static_cast<TCustomEdit*>(TWinControl::FromWidget(w)), w);
         for (QAction* a : menu->actions())
             if (a->text() == QLatin1String("&Paste"))
                 a->trigger();
         delete menu;
     }},
    {"MiddleClick",
     [](QWidget* w) {
         SendMouse(w, QEvent::MouseButtonPress, QPoint(5, 5), Qt::MiddleButton, Qt::MiddleButton);
         SendMouse(w, QEvent::MouseButtonRelease, QPoint(5, 5), Qt::MiddleButton, Qt::NoButton);
     }},
    {"Drop",
     [](QWidget* w) {
         // A drop reaches only the widget that accepted the drag's entry.
         QMimeData data;
         data.setText(QStringLiteral("dropped"));
         QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
         QCoreApplication::sendEvent(w, &enter);
         QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
         QCoreApplication::sendEvent(w, &drop);
     }},
};

class EditPastePath : public ::testing::TestWithParam<TPastePath> {};

TEST_P(EditPastePath, ArrivesAsWmPasteThatTheControlMayRefuse)
{
    Clipboard()->SetAsText("clip");
    TForm form(nullptr);
    auto* edit = new TNoPasteEdit(&form);
    edit->SetParent(&form);
    edit->SetText("kept");
    GetParam().paste(edit->Handle());
    EXPECT_EQ(edit->pastes, 1);
    EXPECT_EQ(edit->Text(), "kept");
}

INSTANTIATE_TEST_SUITE_P(Paths, EditPastePath, ::testing::ValuesIn(kPastePaths),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(EditPaste, DefaultPastesTheFirstLineAtTheSelection)
{
    Clipboard()->SetAsText("xy\r\nsecond");
    TForm form(nullptr);
    auto* edit = new TEdit(&form);
    edit->SetParent(&form);
    edit->SetText("ab");
    edit->SetSelStart(1);
    edit->PasteFromClipboard();
    EXPECT_EQ(edit->Text(), "axyb");
}

TEST(EditMaxLength, InputMethodPairPastTheLimitIsRefusedWhole)
{
    int beeps = 0;
    TSoundHook old = SetSoundHook([&](const TSoundRequest&) { return ++beeps > 0; });
    TForm form(nullptr);
    auto* edit = new TEdit(&form);
    edit->SetParent(&form);
    edit->SetMaxLength(3);
    edit->SetText("ab");
    edit->SetSelStart(2);
    Commit(edit->Handle(), QString::fromUtf8("\xED\x95\x9C"));  // 한, two bytes in cp949
    EXPECT_EQ(edit->Text(), "ab");
    EXPECT_EQ(beeps, 1);
    edit->SetMaxLength(4);
    Commit(edit->Handle(), QString::fromUtf8("\xED\x95\x9C"));
    EXPECT_EQ(edit->Text(), "ab\xC7\xD1");
    SetSoundHook(old);
}

TEST(EditInput, TextOutsideCp949BecomesAQuestionMark)
{
    TForm form(nullptr);
    auto* edit = new TEdit(&form);
    edit->SetParent(&form);
    Commit(edit->Handle(), QString::fromUtf8("a\xF0\x9F\x98\x80"));  // an emoji
    EXPECT_EQ(edit->Text(), "a?");
}

TEST(MemoKeys, EnterCountsTwoBytesAndTabIsTypedOnlyWhenWanted)
{
    TForm form(nullptr);
    auto* memo = new TMemo(&form);
    memo->SetParent(&form);
    form.Show();
    memo->SetMaxLength(3);
    memo->SetText("ab");
    memo->SetSelStart(2);
    TypeKey(memo->Handle(), Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    EXPECT_EQ(memo->Text(), "ab");  // CR LF would pass the limit
    memo->SetMaxLength(0);
    TypeKey(memo->Handle(), Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    EXPECT_EQ(memo->Text(), "ab\r\n");
    EXPECT_EQ(memo->Lines()->Count(), 1);  // as the framework's memo: a last empty line is not one
    memo->SetWantTabs(true);
    TypeKey(memo->Handle(), Qt::Key_Tab, Qt::NoModifier, QStringLiteral("\t"));
    EXPECT_EQ(memo->Text(), "ab\r\n\t");
}

// An empty line is kept, also while it is the last; an assigned list changes the text once,
// not once a line.
TEST(MemoLines, RegressionEmptyLineAddedLastIsKept)
{
    TForm form(nullptr);
    auto* memo = new TMemo(&form);
    memo->SetParent(&form);
    form.Show();
    int changes = 0;
    memo->OnChange = [&](TObject*) { ++changes; };
    TStringList lines;
    for (const char* line : {"one", "", "three", ""})
        lines.Add(line);
    memo->SetText("old");
    changes = 0;
    memo->Lines()->Assign(&lines);
    EXPECT_GE(changes, 1);
    EXPECT_LE(changes, 2);
    EXPECT_EQ(memo->Lines()->Count(), 4);
    EXPECT_EQ(memo->Lines()->Strings(1), "");
    EXPECT_EQ(memo->Text(), "one\r\n\r\nthree\r\n\r\n");
    memo->Lines()->Delete(3);
    EXPECT_EQ(memo->Text(), "one\r\n\r\nthree");
    memo->Lines()->Add("");
    EXPECT_EQ(memo->Lines()->Count(), 4);
}

TEST(Mnemonics, AltAndALabelsLetterFocusesItsControl)
{
    TForm form(nullptr);
    auto* first = new TEdit(&form);
    first->SetParent(&form);
    auto* second = new TEdit(&form);
    second->SetParent(&form);
    auto* label = new TLabel(&form);
    label->SetParent(&form);
    label->SetCaption("&Name:");
    label->SetFocusControl(second);
    form.Show();
    first->SetFocus();
    int entered = 0;
    second->OnEnter = [&](TObject*) { ++entered; };
    TypeKey(first->Handle(), Qt::Key_N, Qt::AltModifier, QStringLiteral("n"));
    EXPECT_EQ(entered, 1);
    EXPECT_EQ(form.ActiveControl(), second);
}

TEST(EditSelection, NeverEndsInsideAPair)
{
    TForm form(nullptr);
    auto* edit = new TEdit(&form);
    edit->SetParent(&form);
    edit->SetText("a\xC7\xD1z");
    edit->SetSelStart(2);  // the pair's trail byte
    EXPECT_EQ(edit->SelStart(), 1);
    edit->SetSelLength(1);
    EXPECT_EQ(edit->SelText(), "\xC7\xD1");
    edit->CutToClipboard();
    EXPECT_EQ(edit->Text(), "az");
    EXPECT_EQ(Clipboard()->AsText(), "\xC7\xD1");
}

struct TMaskCase {
    const char* name;
    bool pasted;
    const char* input;
    const char* editText;
};

const TMaskCase kMaskCases[] = {
    {"TypedDigitsSkipLiterals", false, "05032024", "05/03/2024"},
    {"TypedLetterRefused", false, "0x5", "05/__/____"},
    {"PasteStopsAtARefusedCharacter", true, "1231x99", "12/31/____"},
};

class MaskEditInput : public ::testing::TestWithParam<TMaskCase> {};

TEST_P(MaskEditInput, FollowsTheMask)
{
    TSoundHook old = SetSoundHook([](const TSoundRequest&) { return true; });
    // "/" in a mask is the locale's date separator.
    const char separator = FormatSettings().DateSeparator;
    FormatSettings().DateSeparator = '/';
    TForm form(nullptr);
    auto* edit = new TMaskEdit(&form);
    edit->SetParent(&form);
    edit->SetEditMask("!99/99/9999;1;_");
    edit->SetSelStart(0);
    if (GetParam().pasted) {
        Clipboard()->SetAsText(GetParam().input);
        edit->PasteFromClipboard();
    } else {
        for (const char* p = GetParam().input; *p; ++p)
            TypeKey(edit->Handle(), *p >= 'a' ? *p - 'a' + 'A' : *p, Qt::NoModifier, QString(QChar(*p)));
    }
    EXPECT_EQ(edit->EditText(), GetParam().editText);
    FormatSettings().DateSeparator = separator;
    SetSoundHook(old);
}

INSTANTIATE_TEST_SUITE_P(Dates, MaskEditInput, ::testing::ValuesIn(kMaskCases),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(MaskEdit, BackspaceEmptiesAPositionAndRequiredOnesAreChecked)
{
    TForm form(nullptr);
    auto* edit = new TMaskEdit(&form);
    edit->SetParent(&form);
    edit->SetEditMask("00:00;0;_");
    edit->SetMaskedText("1234");
    EXPECT_EQ(edit->EditText(), "12:34");
    edit->SetSelStart(5);
    TypeKey(edit->Handle(), Qt::Key_Backspace, Qt::NoModifier, QStringLiteral("\b"));
    EXPECT_EQ(edit->EditText(), "12:3_");
    EXPECT_EQ(edit->MaskedText(), "123");
    EXPECT_THROW(edit->ValidateEdit(), EDBEditError);
    EXPECT_EQ(edit->SelStart(), 4);
}

// A list box that writes every added item in upper case and refuses deletions.
class TShoutingList : public TListBox {
public:
    explicit TShoutingList(TComponent* owner) : TListBox(owner)
    {
        RegisterHandler(LB_ADDSTRING, [this](TMessage& m) {
            AnsiString s = UpperCase(reinterpret_cast<const char*>(m.LParam));
            m.LParam = reinterpret_cast<LPARAM>(s.c_str());
            Inherited(m);
        });
        RegisterHandler(LB_DELETESTRING, [](TMessage& m) { m.Result = LB_ERR; });
    }
};

TEST(ListBoxMessages, ItemOperationsCanBeIntercepted)
{
    TForm form(nullptr);
    auto* list = new TShoutingList(&form);
    list->SetParent(&form);
    list->Items()->Add("one");
    list->Items()->AddObject("two", reinterpret_cast<TObject*>(7));
    list->Items()->Delete(0);
    ASSERT_EQ(list->Items()->Count(), 2);
    EXPECT_EQ(list->Items()->Strings(0), "ONE");
    EXPECT_EQ(list->Items()->Objects(1), reinterpret_cast<TObject*>(7));
    try {
        list->Items()->Strings(5);
        ADD_FAILURE() << "no error";
    } catch (const EListError& e) {
        EXPECT_EQ(e.Message, "List index out of bounds (5)");
    }
}

TEST(ListBoxMessages, SortedListInsertsInOrder)
{
    TForm form(nullptr);
    auto* list = new TListBox(&form);
    list->SetParent(&form);
    list->SetSorted(true);
    for (const char* s : {"pear", "Apple", "fig"})
        list->Items()->Add(s);
    EXPECT_EQ(list->Items()->Text(), "Apple\r\nfig\r\npear\r\n");
}

// Synthetic clicks went to the list's outer window, which Qt ignores: drivers could not click
// an item.
TEST(ListBoxMouse, RegressionSyntheticClickOnAListReachedNoItem)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 200, 200);
    auto* list = new TListBox(&form);
    list->SetParent(&form);
    list->SetBounds(0, 0, 150, 150);
    list->Items()->SetText("a\r\nb\r\nc");
    form.Show();
    const TRect r = list->ItemRect(2);
    SendMouseInput(list, maDown, mbLeft, r.Left + 3, r.Top + 2, {});
    SendMouseInput(list, maUp, mbLeft, r.Left + 3, r.Top + 2, {});
    EXPECT_EQ(list->ItemIndex(), 2);
}

// Rows of one height are laid out from the first: a new height still reaches every row.
TEST(ListBoxLayout, ItemHeightSetOnAFilledListMovesEveryRow)
{
    TForm form(nullptr);
    auto* list = new TListBox(&form);
    list->SetParent(&form);
    list->SetBounds(0, 0, 150, 150);
    list->Items()->SetText("a\r\nb\r\nc");
    form.Show();
    list->SetItemHeight(30);
    EXPECT_EQ(list->ItemRect(2).Top - list->ItemRect(0).Top, 60);
    EXPECT_EQ(list->ItemRect(1).Height(), 30);
}

// Counts the widgets made for it.
class TCountingCombo : public TComboBox {
public:
    using TComboBox::TComboBox;
    int made = 0;

protected:
    void WidgetCreated() override
    {
        TComboBox::WidgetCreated();
        ++made;
    }
};

TEST(ComboBoxStyle, ChangeMakesTheWidgetAgainKeepingItems)
{
    TForm form(nullptr);
    auto* combo = new TCountingCombo(&form);
    combo->SetParent(&form);
    combo->Items()->Add("a");
    combo->Items()->AddObject("b", reinterpret_cast<TObject*>(3));
    combo->SetItemIndex(1);
    ASSERT_EQ(combo->made, 1);
    EXPECT_TRUE(static_cast<QComboBox*>(combo->Handle())->isEditable());
    combo->SetStyle(csDropDownList);
    EXPECT_EQ(combo->made, 2);
    EXPECT_FALSE(static_cast<QComboBox*>(combo->Handle())->isEditable());
    EXPECT_EQ(combo->Items()->Count(), 2);
    EXPECT_EQ(combo->Items()->Objects(1), reinterpret_cast<TObject*>(3));
    EXPECT_EQ(combo->ItemIndex(), 1);
}

struct TCodeChange {
    const char* name;
    std::function<TControl*(TForm*)> make;
    std::function<void(TControl*)> change;
    int clicks;
};

template <class T>
std::function<TControl*(TForm*)> Make(std::function<void(T*)> setup = nullptr)
{
    return [setup](TForm* form) {
        auto* c = new T(form);
        c->SetParent(form);
        if (setup)
            setup(c);
        return c;
    };
}

const TCodeChange kCodeChanges[] = {
    {"CheckBoxChecked", Make<TCheckBox>(), [](TControl* c) { static_cast<TCheckBox*>(c)->SetChecked(true); }, 1},
    {"CheckBoxSameValue", Make<TCheckBox>(), [](TControl* c) { static_cast<TCheckBox*>(c)->SetChecked(false); }, 0},
    {"RadioButtonChecked", Make<TRadioButton>(), [](TControl* c) { static_cast<TRadioButton*>(c)->SetChecked(true); },
     1},
    {"RadioGroupItemIndex", Make<TRadioGroup>([](TRadioGroup* g) { g->Items()->SetText("a\r\nb"); }),
     [](TControl* c) { static_cast<TRadioGroup*>(c)->SetItemIndex(1); }, 1},
    {"ListBoxItemIndex", Make<TListBox>([](TListBox* l) { l->Items()->SetText("a\r\nb"); }),
     [](TControl* c) { static_cast<TListBox*>(c)->SetItemIndex(1); }, 0},
    {"ComboBoxItemIndex", Make<TComboBox>([](TComboBox* b) { b->Items()->SetText("a\r\nb"); }),
     [](TControl* c) { static_cast<TComboBox*>(c)->SetItemIndex(1); }, 0},
};

class CodeChange : public ::testing::TestWithParam<TCodeChange> {};

TEST_P(CodeChange, RaisesOnClickAsTheFrameworkDoes)
{
    TForm form(nullptr);
    TControl* c = GetParam().make(&form);
    int clicks = 0;
    c->OnClick = [&](TObject*) { ++clicks; };
    GetParam().change(c);
    EXPECT_EQ(clicks, GetParam().clicks);
}

INSTANTIATE_TEST_SUITE_P(Controls, CodeChange, ::testing::ValuesIn(kCodeChanges),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(RadioGroup, UserClickOnAButtonSetsItemIndexAndUnchecksTheOthers)
{
    TForm form(nullptr);
    auto* group = new TRadioGroup(&form);
    group->SetParent(&form);
    group->Items()->SetText("a\r\nb\r\nc");
    group->SetItemIndex(0);
    int clicks = 0;
    group->OnClick = [&](TObject*) { ++clicks; };
    group->Buttons(2)->Perform(BM_CLICK);
    EXPECT_EQ(group->ItemIndex(), 2);
    EXPECT_FALSE(group->Buttons(0)->Checked());
    EXPECT_EQ(clicks, 1);
}

// Records the window scroll messages it gets.
class TScrolledPanel : public TCustomControl {
public:
    explicit TScrolledPanel(TComponent* owner) : TCustomControl(owner)
    {
        RegisterHandler(WM_VSCROLL, [this](TMessage& m) { codes.push_back(static_cast<int>(m.WParam & 0xFFFF)); });
    }
    std::vector<int> codes;
};

TEST(WindowScrollBars, ShownBarTakesClientRoomAndReportsItsUse)
{
    TForm form(nullptr);
    auto* panel = new TScrolledPanel(&form);
    panel->SetParent(&form);
    panel->SetBounds(0, 0, 100, 80);
    TScrollInfo info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMax = 99;
    info.nPage = 10;
    info.nPos = 200;
    EXPECT_EQ(SetScrollInfo(panel, SB_VERT, info, true), 90);  // clamped to the range less the page
    EXPECT_EQ(panel->ClientWidth(), 100 - TScrollBarModel::kWidth);
    EXPECT_EQ(panel->ClientHeight(), 80);
    QScrollBar* bar = nullptr;
    for (QScrollBar* b : panel->Handle()->findChildren<QScrollBar*>())
        if (b->orientation() == Qt::Vertical)
            bar = b;
    ASSERT_NE(bar, nullptr);
    bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(panel->codes, std::vector<int>{SB_LINEUP});
    EXPECT_EQ(GetScrollPos(panel, SB_VERT), 90);  // the window moves the bar itself
}

TEST(UpDown, PressIsAReflectedThumbPositionThatMayBeRefused)
{
    TForm form(nullptr);
    auto* ud = new TUpDown(&form);
    ud->SetParent(&form);
    ud->SetMax(2);
    std::vector<TUDBtnType> clicks;
    ud->OnClick = [&](TObject*, TUDBtnType b) { clicks.push_back(b); };
    ud->Press(btNext);
    ud->Press(btNext);
    ud->Press(btNext);  // at Max without Wrap: no change, no click
    ud->Press(btPrev);
    EXPECT_EQ(ud->Position(), 1);
    EXPECT_EQ(clicks, (std::vector<TUDBtnType>{btNext, btNext, btPrev}));
    ud->OnChanging = [](TObject*, bool& allow) { allow = false; };
    ud->Perform(CN_VSCROLL, SB_THUMBPOSITION | (2u << 16));
    EXPECT_EQ(ud->Position(), 1);
}

TEST(PageControl, TabsGoOnSeveralRowsAndAClickChangesThePage)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 400, 300);
    auto* pages = new TPageControl(&form);
    pages->SetParent(&form);
    pages->SetBounds(0, 0, 150, 120);
    pages->SetMultiLine(true);
    for (const char* caption : {"First page", "Second page", "Third page"}) {
        auto* sheet = new TTabSheet(&form);
        sheet->SetCaption(caption);
        sheet->SetPageControl(pages);
    }
    EXPECT_GE(pages->RowCount(), 2);
    EXPECT_EQ(pages->ActivePageIndex(), 0);
    EXPECT_EQ(pages->Pages(0)->Top(), pages->RowCount() * pages->TabHeight() + 2);
    TRect third = pages->TabRect(2);
    pages->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(third.Left + 3, third.Top + 3));
    pages->Perform(WM_LBUTTONUP, 0, MakeLParam(third.Left + 3, third.Top + 3));
    EXPECT_EQ(pages->ActivePageIndex(), 2);
    // The selected tab's row now touches the page.
    EXPECT_EQ(pages->TabRect(2).Bottom, pages->RowCount() * pages->TabHeight());
}

TEST(DialogKeys, EnterAndEscapePressDefaultAndCancelButtons)
{
    TForm form(nullptr);
    auto* edit = new TEdit(&form);
    edit->SetParent(&form);
    auto* ok = new TButton(&form);
    ok->SetParent(&form);
    ok->SetDefault(true);
    ok->SetModalResult(mrOk);
    auto* cancel = new TButton(&form);
    cancel->SetParent(&form);
    cancel->SetCancel(true);
    form.Show();  // buttons take dialog keys only while they can be focused
    std::string log;
    ok->OnClick = [&](TObject*) { log += "ok "; };
    cancel->OnClick = [&](TObject*) { log += "cancel "; };
    TypeKey(edit->Handle(), Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    TypeKey(edit->Handle(), Qt::Key_Escape, Qt::NoModifier, QStringLiteral("\x1B"));
    EXPECT_EQ(log, "ok cancel ");
    EXPECT_EQ(form.ModalResult(), mrOk);
}

}  // namespace

// The edit of a combo box at its byte limit refuses the key (with a beep) and keeps its text,
// as the other edits do; a Hangul pair that does not fit is refused whole.
TEST(ComboBox, AtMaxLengthRefusesTheKeystrokeInsteadOfDroppingText)
{
    TestApplication();
    TForm form(nullptr);
    auto* combo = new TComboBox(&form);
    combo->SetParent(&form);
    combo->SetMaxLength(3);
    int beeps = 0;
    TSoundHook old = SetSoundHook([&](const TSoundRequest&) {
        ++beeps;
        return true;
    });
    QLineEdit* line = static_cast<QComboBox*>(combo->Handle())->lineEdit();
    for (const char* ch : {"a", "b", "c"})
        TypeKey(line, Qt::Key_A, Qt::NoModifier, QString::fromLatin1(ch));
    TypeKey(line, Qt::Key_Home);
    TypeKey(line, Qt::Key_X, Qt::NoModifier, "x");
    EXPECT_EQ(combo->Text(), "abc");
    EXPECT_EQ(line->text(), QStringLiteral("abc"));
    EXPECT_EQ(line->cursorPosition(), 0);
    combo->SetMaxLength(4);
    TypeKey(line, Qt::Key_End);
    TypeKey(line, Qt::Key_unknown, Qt::NoModifier, QStringLiteral("\uD55C"));  // 한, two bytes
    EXPECT_EQ(combo->Text(), "abc");
    TypeKey(line, Qt::Key_D, Qt::NoModifier, "d");
    EXPECT_EQ(combo->Text(), "abcd");
    EXPECT_EQ(beeps, 2);
    SetSoundHook(old);
}

// Labels painted white boxes on the grey of every dialog: a label takes the colour of what it is
// placed on, until it is given one of its own.
TEST(Labels, RegressionALabelTakesTheColourOfItsParent)
{
    TForm form(nullptr);
    form.SetColor(clBtnFace);
    auto* label = new TLabel(&form);
    label->SetParent(&form);
    EXPECT_EQ(label->Color(), clBtnFace);
    form.SetColor(clNavy);
    EXPECT_EQ(label->Color(), clNavy);
    label->SetColor(clWhite);
    form.SetColor(clBtnFace);
    EXPECT_EQ(label->Color(), clWhite);
}

// The press that opens a combo box's list never sees its release (the list takes the mouse), so
// the capture the press set stayed with the combo box, and the next click anywhere on the form,
// on a button say, went to the combo box instead.
TEST(ComboBox, RegressionTheClickAfterChoosingFromTheListWasLost)
{
    TestApplication();
    TForm form(nullptr);
    form.SetBounds(0, 0, 300, 200);
    auto* combo = new TComboBox(&form);
    combo->SetParent(&form);
    combo->SetStyle(csDropDownList);
    combo->Items()->SetText("a\r\nb");
    form.Show();
    QWidget* list = combo->Handle();
    SendMouse(list, QEvent::MouseButtonPress, QPoint(5, 5), Qt::LeftButton, Qt::LeftButton);
    static_cast<QComboBox*>(list)->hidePopup();
    EXPECT_NE(GetCaptureControl(), combo);
    EXPECT_EQ(ClicksOfAButtonClickedOnce(form), 1);
}
