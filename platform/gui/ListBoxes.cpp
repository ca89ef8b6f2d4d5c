#include "platform/gui/ListBoxes.h"
#include "platform/core/TypInfo.h"

#include <QListWidget>
#include <QPainter>
#include <QScrollBar>
#include <cstring>

#include "platform/core/ScrollBarModel.h"
#include "platform/gui/Canvas.h"
#include "platform/gui/ControlWidget.h"
#include "platform/gui/DrawText.h"
#include "platform/gui/DrawTextLayout.h"
#include "platform/gui/ItemStrings.h"
#include "platform/gui/OwnerDrawDelegate.h"

[[noreturn]] void ListIndexError(int index) { throw EListError(Format("List index out of bounds (%d)", index)); }

namespace {

constexpr int kDataRole = TOwnerDrawDelegate::kDataRole;

}  // namespace

TCustomListBox::TCustomListBox(TComponent* AOwner)
    : TWinControl(AOwner), FItems(std::make_unique<TItemStrings>(this, kListBoxItemMessages)),
      FCanvas(std::make_unique<TCanvas>())
{
    SetBounds(0, 0, 121, 97);
    SetTabStop(true);
    FFocusOnClick = true;
    SetColor(clWindow);
    FControlStyle = csSetCaption | csDoubleClicks | csOpaque;
    RegisterListHandlers();
}

TCustomListBox::~TCustomListBox() { Destroying(); }

TCanvas* TCustomListBox::Canvas() { return FCanvas.get(); }

QListWidget* TCustomListBox::List() { return static_cast<QListWidget*>(Handle()); }

QWidget* TCustomListBox::CreateWidget()
{
    auto* w = new TWidgetAdapter<QListWidget>(this);
    TOwnerDrawDelegate::TRules rules;
    rules.Canvas = FCanvas.get();
    rules.ItemHeight = [this] { return FItemHeight; };
    rules.Drawn = [] { return true; };
    rules.Width = [this](const std::function<int()>&) { return std::max(FHorizontalExtent, 1); };
    w->setItemDelegate(new TOwnerDrawDelegate(this, std::move(rules), w));
    QObject::connect(w, &QListWidget::itemSelectionChanged, w, [this] {
        if (FInCode == 0)
            Perform(CN_COMMAND, static_cast<WPARAM>(LBN_SELCHANGE) << 16);
    });
    // The system list box reports a double click on a line as a notification, not a click.
    QObject::connect(w, &QListWidget::itemDoubleClicked, w,
                     [this] { Perform(CN_COMMAND, static_cast<WPARAM>(LBN_DBLCLK) << 16); });
    return w;
}

void TCustomListBox::WidgetCreated()
{
    TWinControl::WidgetCreated();
    ApplyLook();
}

void TCustomListBox::ApplyLook()
{
    if (!HandleAllocated())
        return;
    QListWidget* w = List();
    ++FInCode;
    w->setSelectionMode(!FMultiSelect         ? QAbstractItemView::SingleSelection
                            : FExtendedSelect ? QAbstractItemView::ExtendedSelection
                                              : QAbstractItemView::MultiSelection);
    w->setFrameShape(FBorderStyle == bsNone ? QFrame::NoFrame : QFrame::StyledPanel);
    // Rows of one height and one width (the range) are laid out from the first alone.
    w->setUniformItemSizes(FStyle != lbOwnerDrawVariable);
    w->setFlow(QListView::TopToBottom);
    w->setWrapping(FColumns > 0);
    if (FColumns > 0)
        w->setGridSize(QSize((Width() + FColumns - 3) / FColumns, FItemHeight));
    else
        w->setGridSize(QSize());
    w->setHorizontalScrollBarPolicy(FHorizontalExtent > 0 || FColumns > 0 ? Qt::ScrollBarAsNeeded
                                                                          : Qt::ScrollBarAlwaysOff);
    w->doItemsLayout();
    --FInCode;
}

void TCustomListBox::RegisterListHandlers()
{
    auto item = [this](WPARAM index) -> QListWidgetItem* {
        QListWidget* w = List();
        int i = static_cast<int>(static_cast<intptr_t>(index));
        return i >= 0 && i < w->count() ? w->item(i) : nullptr;
    };
    auto insert = [this](int index, const char* text) -> LRESULT {
        QListWidget* w = List();
        if (index < 0 || index > w->count())
            index = w->count();
        ++FInCode;
        auto* it = new QListWidgetItem(AnsiToQString(text ? text : ""));
        it->setData(kDataRole, qlonglong(0));
        w->insertItem(index, it);
        --FInCode;
        return index;
    };
    RegisterHandler(LB_ADDSTRING, [this, insert](TMessage& m) {
        AnsiString s = reinterpret_cast<const char*>(m.LParam);
        m.Result = insert(FSorted ? SortedIndexOf(s) : -1, s.c_str());
    });
    RegisterHandler(LB_INSERTSTRING, [insert](TMessage& m) {
        m.Result = insert(static_cast<int>(static_cast<intptr_t>(m.WParam)), reinterpret_cast<const char*>(m.LParam));
    });
    RegisterHandler(LB_DELETESTRING, [this, item](TMessage& m) {
        QListWidgetItem* it = item(m.WParam);
        if (!it) {
            m.Result = LB_ERR;
            return;
        }
        ++FInCode;
        delete it;
        --FInCode;
        m.Result = List()->count();
    });
    RegisterHandler(LB_RESETCONTENT, [this](TMessage&) {
        ++FInCode;
        List()->clear();
        --FInCode;
    });
    RegisterHandler(LB_GETCOUNT, [this](TMessage& m) { m.Result = List()->count(); });
    RegisterHandler(LB_GETTEXTLEN, [item](TMessage& m) {
        QListWidgetItem* it = item(m.WParam);
        m.Result = it ? static_cast<LRESULT>(QStringToAnsi(it->text()).size()) : LB_ERR;
    });
    RegisterHandler(LB_GETTEXT, [item](TMessage& m) {
        QListWidgetItem* it = item(m.WParam);
        if (!it) {
            m.Result = LB_ERR;
            return;
        }
        AnsiString s = QStringToAnsi(it->text());
        std::memcpy(reinterpret_cast<char*>(m.LParam), s.c_str(), s.size() + 1);
        m.Result = static_cast<LRESULT>(s.size());
    });
    RegisterHandler(LB_GETITEMDATA, [item](TMessage& m) {
        QListWidgetItem* it = item(m.WParam);
        m.Result = it ? static_cast<LRESULT>(it->data(kDataRole).toLongLong()) : LB_ERR;
    });
    RegisterHandler(LB_SETITEMDATA, [item](TMessage& m) {
        QListWidgetItem* it = item(m.WParam);
        if (it)
            it->setData(kDataRole, qlonglong(m.LParam));
        m.Result = it ? 0 : LB_ERR;
    });
    RegisterHandler(LB_GETCURSEL, [this](TMessage& m) { m.Result = List()->currentRow(); });
    RegisterHandler(LB_SETCURSEL, [this](TMessage& m) {
        int i = static_cast<int>(static_cast<intptr_t>(m.WParam));
        ++FInCode;
        List()->setCurrentRow(i >= 0 && i < List()->count() ? i : -1);
        if (i < 0 || i >= List()->count())
            List()->clearSelection();
        --FInCode;
        m.Result = i >= 0 && i < List()->count() ? i : LB_ERR;
    });
    RegisterHandler(LB_GETSEL, [item](TMessage& m) {
        QListWidgetItem* it = item(m.WParam);
        m.Result = it ? (it->isSelected() ? 1 : 0) : LB_ERR;
    });
    RegisterHandler(LB_SETSEL, [this](TMessage& m) {
        int i = static_cast<int>(static_cast<intptr_t>(m.LParam));
        ++FInCode;
        for (int k = 0; k < List()->count(); ++k)
            if (i == -1 || k == i)
                List()->item(k)->setSelected(m.WParam != 0);
        --FInCode;
    });
    RegisterHandler(LB_GETSELCOUNT, [this](TMessage& m) { m.Result = List()->selectedItems().size(); });
    RegisterHandler(LB_GETTOPINDEX, [this](TMessage& m) {
        QModelIndex top = List()->indexAt(QPoint(2, 2));
        m.Result = top.isValid() ? top.row() : 0;
    });
    RegisterHandler(LB_SETTOPINDEX, [this, item](TMessage& m) {
        if (QListWidgetItem* it = item(m.WParam))
            List()->scrollToItem(it, QAbstractItemView::PositionAtTop);
    });
    RegisterHandler(LB_SETHORIZONTALEXTENT, [this](TMessage& m) {
        // Laying the items out again costs a pass over the list: only for a new range.
        const int extent = static_cast<int>(m.WParam);
        if (extent == FHorizontalExtent)
            return;
        FHorizontalExtent = extent;
        ApplyLook();
    });
    RegisterHandler(LB_GETHORIZONTALEXTENT, [this](TMessage& m) { m.Result = FHorizontalExtent; });
    // Scrolled fully left (SB_TOP); the other codes move by a line or a page of the bar.
    RegisterHandler(WM_HSCROLL, [this](TMessage& m) {
        QScrollBar* bar = List()->horizontalScrollBar();
        switch (m.WParam & 0xFFFF) {
        case SB_TOP: bar->setValue(bar->minimum()); break;
        case SB_BOTTOM: bar->setValue(bar->maximum()); break;
        case SB_LINEUP: bar->triggerAction(QAbstractSlider::SliderSingleStepSub); break;
        case SB_LINEDOWN: bar->triggerAction(QAbstractSlider::SliderSingleStepAdd); break;
        case SB_PAGEUP: bar->triggerAction(QAbstractSlider::SliderPageStepSub); break;
        case SB_PAGEDOWN: bar->triggerAction(QAbstractSlider::SliderPageStepAdd); break;
        default: break;
        }
    });
    RegisterHandler(LB_SETITEMHEIGHT, [this](TMessage& m) {
        FItemHeight = std::max(static_cast<int>(m.LParam), 1);
        ApplyLook();
    });
    RegisterHandler(LB_GETITEMHEIGHT, [this](TMessage& m) { m.Result = FItemHeight; });
    RegisterHandler(LB_GETITEMRECT, [this, item](TMessage& m) {
        QListWidgetItem* it = item(m.WParam);
        if (!it) {
            m.Result = LB_ERR;
            return;
        }
        QRect r = List()->visualItemRect(it);
        *reinterpret_cast<TRect*>(m.LParam) = TRect{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
    });
    RegisterHandler(WM_SETREDRAW, [this](TMessage& m) { List()->setUpdatesEnabled(m.WParam != 0); });
    RegisterHandler(CN_COMMAND, [this](TMessage& m) {
        if ((m.WParam >> 16) == LBN_SELCHANGE)
            Click();
        else if ((m.WParam >> 16) == LBN_DBLCLK)
            DblClick();
    });
    RegisterHandler(CN_DRAWITEM, [this](TMessage& m) {
        DefaultDrawItemMessage(m, [this](int index, TRect r, TOwnerDrawState state) { DrawItem(index, r, state); });
    });
    RegisterHandler(CN_MEASUREITEM, [this](TMessage& m) {
        auto* mis = reinterpret_cast<TMeasureItemStruct*>(m.LParam);
        mis->ItemHeight = FItemHeight;
        if (FStyle == lbOwnerDrawVariable)
            MeasureItem(mis->ItemID, mis->ItemHeight);
    });
}

void TCustomListBox::DrawItem(int Index, TRect Rect, TOwnerDrawState State)
{
    if (FStyle != lbStandard && OnDrawItem) {
        OnDrawItem(this, Index, Rect, State);
        return;
    }
    DrawItemText(Canvas(), Rect, FItems->Strings(Index));
}

void TCustomListBox::MeasureItem(int Index, int& Height)
{
    if (OnMeasureItem)
        OnMeasureItem(this, Index, Height);
}

int TCustomListBox::SortedIndexOf(const AnsiString& s)
{
    int lo = 0, hi = static_cast<int>(Perform(LB_GETCOUNT));
    while (lo < hi) {
        int mid = (lo + hi) / 2;
        if (CompareText(FItems->Strings(mid), s) <= 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

int TCustomListBox::ItemIndex() { return static_cast<int>(Perform(LB_GETCURSEL)); }

void TCustomListBox::SetItemIndex(int v)
{
    if (ItemIndex() != v)
        Perform(LB_SETCURSEL, static_cast<WPARAM>(v));
}

int TCustomListBox::TopIndex() { return static_cast<int>(Perform(LB_GETTOPINDEX)); }

void TCustomListBox::SetTopIndex(int v)
{
    if (TopIndex() != v)
        Perform(LB_SETTOPINDEX, static_cast<WPARAM>(v));
}

bool TCustomListBox::Selected(int index)
{
    LRESULT r = FMultiSelect ? Perform(LB_GETSEL, static_cast<WPARAM>(index)) : (ItemIndex() == index ? 1 : 0);
    if (r < 0 || index < 0 || index >= FItems->Count())
        ListIndexError(index);
    return r != 0;
}

void TCustomListBox::SetSelected(int index, bool v)
{
    if (index < 0 || index >= FItems->Count())
        ListIndexError(index);
    if (FMultiSelect)
        Perform(LB_SETSEL, v ? 1 : 0, index);
    else if (v)
        SetItemIndex(index);
    else if (ItemIndex() == index)
        SetItemIndex(-1);
}

void TCustomListBox::SetMultiSelect(bool v)
{
    FMultiSelect = v;
    ApplyLook();
}

void TCustomListBox::SetExtendedSelect(bool v)
{
    FExtendedSelect = v;
    ApplyLook();
}

void TCustomListBox::SetSorted(bool v)
{
    if (v == FSorted)
        return;
    FSorted = v;
    if (!v)
        return;
    // Sorting re-adds every item in order, objects with them.
    std::vector<std::pair<AnsiString, TObject*>> items;
    for (int i = 0; i < FItems->Count(); ++i)
        items.emplace_back(FItems->Strings(i), FItems->Objects(i));
    FItems->Clear();
    for (auto& [s, o] : items)
        FItems->AddObject(s, o);
}

void TCustomListBox::SetStyle(TListBoxStyle v)
{
    FStyle = v;
    ApplyLook();
}

void TCustomListBox::SetItemHeight(int v)
{
    if (v >= 1)
        Perform(LB_SETITEMHEIGHT, 0, v);
}

void TCustomListBox::SetColumns(int v)
{
    FColumns = std::max(v, 0);
    ApplyLook();
}

void TCustomListBox::SetBorderStyle(TBorderStyle v)
{
    FBorderStyle = v;
    ApplyLook();
}

void TCustomListBox::Invalidate()
{
    TWinControl::Invalidate();
    if (HandleAllocated())
        List()->viewport()->update();
}

int TCustomListBox::ItemAtPos(TPoint Pos, bool Existing)
{
    QModelIndex i = List()->indexAt(QPoint(Pos.x, Pos.y));
    if (i.isValid())
        return i.row();
    return Existing ? -1 : FItems->Count();
}

TRect TCustomListBox::ItemRect(int Index)
{
    TRect r{};
    int count = FItems->Count();
    if (Index >= 0 && Index < count) {
        Perform(LB_GETITEMRECT, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&r));
    } else if (Index == count && count > 0) {
        Perform(LB_GETITEMRECT, static_cast<WPARAM>(count - 1), reinterpret_cast<LPARAM>(&r));
        int h = r.Height();
        r.Top += h;
        r.Bottom += h;
    }
    return r;
}

void RegisterListBoxClasses()
{
    RegisterClass<TCustomListBox>("TCustomListBox", "TWinControl")
        .Enum("BorderStyle", "TBorderStyle", {"bsNone", "bsSingle"}, &TCustomListBox::BorderStyle,
              &TCustomListBox::SetBorderStyle, bsSingle)
        .Int("Columns", &TCustomListBox::Columns, &TCustomListBox::SetColumns, 0)
        .Bool("ExtendedSelect", &TCustomListBox::ExtendedSelect, &TCustomListBox::SetExtendedSelect, true)
        .Bool("IntegralHeight", &TCustomListBox::IntegralHeight, &TCustomListBox::SetIntegralHeight, false)
        .Int("ItemHeight", &TCustomListBox::ItemHeight, &TCustomListBox::SetItemHeight)
        .Int("ItemIndex", &TCustomListBox::ItemIndex, &TCustomListBox::SetItemIndex)
        .Object("Items", "TStrings", &TCustomListBox::Items, &TCustomListBox::SetItems)
        .Bool("MultiSelect", &TCustomListBox::MultiSelect, &TCustomListBox::SetMultiSelect, false)
        .Int("SelCount", &TCustomListBox::SelCount, nullptr)
        .Bool("Sorted", &TCustomListBox::Sorted, &TCustomListBox::SetSorted, false)
        .Enum("Style", "TListBoxStyle", {"lbStandard", "lbOwnerDrawFixed", "lbOwnerDrawVariable"},
              &TCustomListBox::Style, &TCustomListBox::SetStyle, lbStandard)
        .Int("TabWidth", &TCustomListBox::TabWidth, &TCustomListBox::SetTabWidth, 0)
        .Int("TopIndex", &TCustomListBox::TopIndex, &TCustomListBox::SetTopIndex)
        .Int(
            "HorizontalExtent", [](TCustomListBox* b) { return static_cast<int>(b->Perform(LB_GETHORIZONTALEXTENT)); },
            [](TCustomListBox* b, int v) { b->Perform(LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(v)); });
    RegisterClass<TListBox>("TListBox", "TCustomListBox", MakeComponent<TListBox>);
}
