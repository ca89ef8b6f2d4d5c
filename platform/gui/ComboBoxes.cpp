#include "platform/gui/ComboBoxes.h"
#include "platform/core/TypInfo.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QPainter>
#include <cstring>

#include "platform/gui/Canvas.h"
#include "platform/gui/ControlWidget.h"
#include "platform/gui/DrawText.h"
#include "platform/gui/DrawTextLayout.h"
#include "platform/gui/ItemStrings.h"
#include "platform/gui/OwnerDrawDelegate.h"
#include "platform/gui/Sound.h"

namespace {

constexpr int kDataRole = TOwnerDrawDelegate::kDataRole;

// The drop-down signals of a combo widget, which Qt gives as virtual calls only.
class TComboWidget : public TWidgetAdapter<QComboBox> {
public:
    using TWidgetAdapter<QComboBox>::TWidgetAdapter;
    std::function<void()> OnPopup, OnHide;
    void showPopup() override
    {
        if (OnPopup)
            OnPopup();
        QComboBox::showPopup();
    }
    void hidePopup() override
    {
        QComboBox::hidePopup();
        if (OnHide)
            OnHide();
    }
};

}  // namespace

TCustomComboBox::TCustomComboBox(TComponent* AOwner)
    : TWinControl(AOwner), FItems(std::make_unique<TItemStrings>(this, kComboBoxItemMessages)),
      FCanvas(std::make_unique<TCanvas>())
{
    SetBounds(0, 0, 145, 21);
    SetTabStop(true);
    FFocusOnClick = true;
    SetColor(clWindow);
    RegisterComboHandlers();
}

TCustomComboBox::~TCustomComboBox() { Destroying(); }

TCanvas* TCustomComboBox::Canvas() { return FCanvas.get(); }

QComboBox* TCustomComboBox::Combo() { return static_cast<QComboBox*>(Handle()); }

QWidget* TCustomComboBox::CreateWidget()
{
    auto* w = new TComboWidget(this);
    w->setEditable(FStyle == csDropDown || FStyle == csSimple);
    w->setInsertPolicy(QComboBox::NoInsert);
    TOwnerDrawDelegate::TRules rules;
    rules.Canvas = FCanvas.get();
    rules.ItemHeight = [this] { return FItemHeight; };
    rules.Drawn = [this] { return OwnerDrawn(); };
    rules.Width = [](const std::function<int()>& textWidth) { return textWidth(); };
    w->setItemDelegate(new TOwnerDrawDelegate(this, std::move(rules), w));
    w->setMaxVisibleItems(FDropDownCount);
    w->OnPopup = [this] { Perform(CN_COMMAND, static_cast<WPARAM>(CBN_DROPDOWN) << 16); };
    w->OnHide = [this] { Perform(CN_COMMAND, static_cast<WPARAM>(CBN_CLOSEUP) << 16); };
    QObject::connect(w, QOverload<int>::of(&QComboBox::activated), w,
                     [this](int) { Perform(CN_COMMAND, static_cast<WPARAM>(CBN_SELCHANGE) << 16); });
    if (QLineEdit* edit = w->lineEdit())
        QObject::connect(edit, &QLineEdit::textEdited, w, [this] { EditTextChanged(); });
    return w;
}

void TCustomComboBox::WidgetCreated()
{
    TWinControl::WidgetCreated();
    ++FInCode;
    for (auto& [text, data] : FSaved) {
        Combo()->addItem(AnsiToQString(text), qlonglong(data));
    }
    FSaved.clear();
    Combo()->setCurrentIndex(FSavedIndex);
    if (Combo()->lineEdit() && FSavedIndex < 0)
        Combo()->lineEdit()->setText(AnsiToQString(Text()));
    --FInCode;
}

void TCustomComboBox::DestroyWnd()
{
    QComboBox* w = Combo();
    FSaved.clear();
    for (int i = 0; i < w->count(); ++i)
        FSaved.emplace_back(QStringToAnsi(w->itemText(i)),
                            static_cast<intptr_t>(w->itemData(i, kDataRole).toLongLong()));
    FSavedIndex = w->currentIndex();
}

void TCustomComboBox::RegisterComboHandlers()
{
    auto valid = [this](WPARAM index) {
        int i = static_cast<int>(static_cast<intptr_t>(index));
        return i >= 0 && i < Combo()->count();
    };
    auto insert = [this](int index, const char* text) -> LRESULT {
        QComboBox* w = Combo();
        if (index < 0 || index > w->count())
            index = w->count();
        ++FInCode;
        w->insertItem(index, AnsiToQString(text ? text : ""), qlonglong(0));
        --FInCode;
        return index;
    };
    RegisterHandler(CB_ADDSTRING, [this, insert](TMessage& m) {
        AnsiString s = reinterpret_cast<const char*>(m.LParam);
        int at = -1;
        if (FSorted) {
            at = 0;
            while (at < Combo()->count() && CompareText(QStringToAnsi(Combo()->itemText(at)), s) <= 0)
                ++at;
        }
        m.Result = insert(at, s.c_str());
    });
    RegisterHandler(CB_INSERTSTRING, [insert](TMessage& m) {
        m.Result = insert(static_cast<int>(static_cast<intptr_t>(m.WParam)), reinterpret_cast<const char*>(m.LParam));
    });
    RegisterHandler(CB_DELETESTRING, [this, valid](TMessage& m) {
        if (!valid(m.WParam)) {
            m.Result = CB_ERR;
            return;
        }
        ++FInCode;
        Combo()->removeItem(static_cast<int>(m.WParam));
        --FInCode;
        m.Result = Combo()->count();
    });
    RegisterHandler(CB_RESETCONTENT, [this](TMessage&) {
        ++FInCode;
        Combo()->clear();
        --FInCode;
    });
    RegisterHandler(CB_GETCOUNT, [this](TMessage& m) { m.Result = Combo()->count(); });
    RegisterHandler(CB_GETLBTEXTLEN, [this, valid](TMessage& m) {
        m.Result = valid(m.WParam)
            ? static_cast<LRESULT>(QStringToAnsi(Combo()->itemText(static_cast<int>(m.WParam))).size())
            : CB_ERR;
    });
    RegisterHandler(CB_GETLBTEXT, [this, valid](TMessage& m) {
        if (!valid(m.WParam)) {
            m.Result = CB_ERR;
            return;
        }
        AnsiString s = QStringToAnsi(Combo()->itemText(static_cast<int>(m.WParam)));
        std::memcpy(reinterpret_cast<char*>(m.LParam), s.c_str(), s.size() + 1);
        m.Result = static_cast<LRESULT>(s.size());
    });
    RegisterHandler(CB_GETITEMDATA, [this, valid](TMessage& m) {
        m.Result = valid(m.WParam)
            ? static_cast<LRESULT>(Combo()->itemData(static_cast<int>(m.WParam), kDataRole).toLongLong())
            : CB_ERR;
    });
    RegisterHandler(CB_SETITEMDATA, [this, valid](TMessage& m) {
        if (valid(m.WParam))
            Combo()->setItemData(static_cast<int>(m.WParam), qlonglong(m.LParam), kDataRole);
    });
    RegisterHandler(CB_GETCURSEL, [this](TMessage& m) { m.Result = Combo()->currentIndex(); });
    RegisterHandler(CB_SETCURSEL, [this, valid](TMessage& m) {
        ++FInCode;
        bool ok = valid(m.WParam);
        Combo()->setCurrentIndex(ok ? static_cast<int>(m.WParam) : -1);
        --FInCode;
        m.Result = ok ? static_cast<LRESULT>(m.WParam) : CB_ERR;
        SetText(ok ? QStringToAnsi(Combo()->currentText()) : AnsiString());
    });
    RegisterHandler(CB_SHOWDROPDOWN, [this](TMessage& m) {
        if (m.WParam)
            Combo()->showPopup();
        else
            Combo()->hidePopup();
    });
    RegisterHandler(CB_GETDROPPEDSTATE, [this](TMessage& m) { m.Result = Combo()->view()->isVisible() ? 1 : 0; });
    RegisterHandler(CB_SETITEMHEIGHT, [this](TMessage& m) { FItemHeight = std::max(static_cast<int>(m.LParam), 1); });
    RegisterHandler(CB_GETITEMHEIGHT, [this](TMessage& m) { m.Result = FItemHeight; });
    RegisterHandler(CM_TEXTCHANGED, [this](TMessage& m) {
        Inherited(m);
        if (HandleAllocated() && Combo()->lineEdit() && QStringToAnsi(Combo()->lineEdit()->text()) != Text()) {
            ++FInCode;
            Combo()->lineEdit()->setText(AnsiToQString(Text()));
            --FInCode;
        }
    });
    RegisterHandler(CN_COMMAND, [this](TMessage& m) {
        switch (m.WParam >> 16) {
        case CBN_SELCHANGE: {
            SetText(QStringToAnsi(Combo()->currentText()));
            std::shared_ptr<bool> alive = AliveToken();
            Click();
            if (*alive)
                Change();
            break;
        }
        case CBN_DROPDOWN:
            if (OnDropDown)
                OnDropDown(this);
            break;
        case CBN_CLOSEUP:
            if (OnCloseUp)
                OnCloseUp(this);
            break;
        default: break;
        }
    });
    RegisterHandler(CN_DRAWITEM, [this](TMessage& m) {
        DefaultDrawItemMessage(m, [this](int index, TRect r, TOwnerDrawState state) { DrawItem(index, r, state); });
    });
    RegisterHandler(CN_MEASUREITEM, [this](TMessage& m) {
        auto* mis = reinterpret_cast<TMeasureItemStruct*>(m.LParam);
        mis->ItemHeight = FItemHeight;
        if (FStyle == csOwnerDrawVariable && OnMeasureItem)
            OnMeasureItem(this, mis->ItemID, mis->ItemHeight);
    });
}

void TCustomComboBox::EditTextChanged()
{
    QLineEdit* edit = Combo()->lineEdit();
    AnsiString text = QStringToAnsi(edit->text());
    if (FMaxLength > 0 && text.size() > static_cast<size_t>(FMaxLength)) {
        // The byte limit refuses what was typed or pasted, a character whole, and keeps the text
        // that was there: the edit put the new text in place of the part between what the old
        // and new texts share at their start and at their end.
        const QString before = AnsiToQString(Text()), after = edit->text();
        qsizetype head = 0;
        while (head < before.size() && head < after.size() && before[head] == after[head])
            ++head;
        qsizetype tail = 0;
        while (tail < before.size() - head && tail < after.size() - head &&
               before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
            ++tail;
        const AnsiString start = QStringToAnsi(before.left(head));
        const AnsiString removed = QStringToAnsi(before.mid(head, before.size() - head - tail));
        const AnsiString inserted = QStringToAnsi(after.mid(head, after.size() - head - tail));
        const AnsiString fits = FitInsert(Text(), start.size(), removed.size(), inserted, FMaxLength);
        if (fits.size() < inserted.size())
            MessageBeep(0);
        text = start + fits + QStringToAnsi(before.right(tail));
        ++FInCode;
        edit->setText(AnsiToQString(text));
        edit->setCursorPosition(static_cast<int>(head + AnsiToQString(fits).size()));
        --FInCode;
        if (text == Text())
            return;
    }
    SetText(text);
    Change();
}

void TCustomComboBox::Change()
{
    if (OnChange)
        OnChange(this);
}

void TCustomComboBox::DrawItem(int Index, TRect Rect, TOwnerDrawState State)
{
    if (OnDrawItem) {
        OnDrawItem(this, Index, Rect, State);
        return;
    }
    DrawItemText(Canvas(), Rect, FItems->Strings(Index));
}

int TCustomComboBox::ItemIndex() { return static_cast<int>(Perform(CB_GETCURSEL)); }

void TCustomComboBox::SetItemIndex(int v)
{
    if (ItemIndex() != v)
        Perform(CB_SETCURSEL, static_cast<WPARAM>(v));
}

void TCustomComboBox::SetStyle(TComboBoxStyle v)
{
    if (v == FStyle)
        return;
    FStyle = v;
    RecreateWnd();
}

void TCustomComboBox::SetItemHeight(int v)
{
    if (v >= 1)
        Perform(CB_SETITEMHEIGHT, 0, v);
}

void TCustomComboBox::SetDropDownCount(int v)
{
    FDropDownCount = std::max(v, 1);
    if (HandleAllocated())
        Combo()->setMaxVisibleItems(FDropDownCount);
}

bool TCustomComboBox::DroppedDown() { return Perform(CB_GETDROPPEDSTATE) != 0; }

void TCustomComboBox::SetDroppedDown(bool v) { Perform(CB_SHOWDROPDOWN, v ? 1 : 0); }

void TCustomComboBox::Clear()
{
    FItems->Clear();
    SetText(AnsiString());
}

void RegisterComboBoxClasses()
{
    RegisterClass<TCustomComboBox>("TCustomComboBox", "TWinControl")
        .Int("DropDownCount", &TCustomComboBox::DropDownCount, &TCustomComboBox::SetDropDownCount, 8)
        .Bool("DroppedDown", &TCustomComboBox::DroppedDown, &TCustomComboBox::SetDroppedDown)
        .Int("ItemHeight", &TCustomComboBox::ItemHeight, &TCustomComboBox::SetItemHeight)
        .Int("ItemIndex", &TCustomComboBox::ItemIndex, &TCustomComboBox::SetItemIndex)
        .Object("Items", "TStrings", &TCustomComboBox::Items, &TCustomComboBox::SetItems)
        .Int("MaxLength", &TCustomComboBox::MaxLength, &TCustomComboBox::SetMaxLength, 0)
        .Bool("Sorted", &TCustomComboBox::Sorted, &TCustomComboBox::SetSorted, false)
        .Enum("Style", "TComboBoxStyle",
              {"csDropDown", "csSimple", "csDropDownList", "csOwnerDrawFixed", "csOwnerDrawVariable"},
              &TCustomComboBox::Style, &TCustomComboBox::SetStyle, csDropDown);
    RegisterClass<TComboBox>("TComboBox", "TCustomComboBox", MakeComponent<TComboBox>);
}
