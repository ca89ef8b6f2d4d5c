// The memo: a plain-text edit whose lines are a string list view of its text, and the rich
// edit in plain-text mode.

#include "platform/core/StringList.h"
#include "platform/gui/EditWidgets.h"
#include "platform/gui/StdCtrls.h"

namespace {

// The memo's lines: every change rewrites the memo's text, which stays the one copy.
class TMemoLines : public TStrings {
public:
    explicit TMemoLines(TCustomMemo* memo) : FMemo(memo) {}
    void Insert(int index, const AnsiString& s) override
    {
        std::vector<AnsiString> lines = Split();
        if (index < 0 || index > static_cast<int>(lines.size()))
            throw EStringListError(Format("List index out of bounds (%d)", index));
        lines.insert(lines.begin() + index, s);
        Join(lines);
    }
    void Delete(int index) override
    {
        std::vector<AnsiString> lines = Split();
        Check(index, lines);
        lines.erase(lines.begin() + index);
        Join(lines);
    }
    void Clear() override { FMemo->SetText(AnsiString()); }
    // One change of the text for the whole list (an assigned list comes this way), not one a line.
    void AddStrings(const TStrings* strings) override
    {
        std::vector<AnsiString> lines = Split();
        for (int i = 0; i < strings->Count(); ++i)
            lines.push_back(strings->Strings(i));
        Join(lines);
    }

protected:
    AnsiString Get(int index) const override
    {
        std::vector<AnsiString> lines = Split();
        Check(index, lines);
        return lines[static_cast<size_t>(index)];
    }
    int GetCount() const override { return static_cast<int>(Split().size()); }
    void Put(int index, const AnsiString& s) override
    {
        std::vector<AnsiString> lines = Split();
        Check(index, lines);
        lines[static_cast<size_t>(index)] = s;
        Join(lines);
    }
    AnsiString GetTextStr() const override { return FMemo->Text(); }
    void SetTextStr(std::string_view text) override
    {
        TStringList parsed;
        parsed.SetText(AnsiString(text));
        std::vector<AnsiString> lines;
        for (int i = 0; i < parsed.Count(); ++i)
            lines.push_back(parsed.Strings(i));
        Join(lines);
    }

private:
    static void Check(int index, const std::vector<AnsiString>& lines)
    {
        if (index < 0 || index >= static_cast<int>(lines.size()))
            throw EStringListError(Format("List index out of bounds (%d)", index));
    }
    // Lines as the edit shows them: a text ending in a line break has no empty line after it.
    std::vector<AnsiString> Split() const
    {
        std::vector<AnsiString> lines;
        const AnsiString& t = FMemo->Text();
        size_t start = 0;
        while (start < t.size()) {
            size_t end = t.find_first_of("\r\n", start);
            if (end == AnsiString::npos) {
                lines.push_back(t.substr(start));
                break;
            }
            lines.push_back(t.substr(start, end - start));
            start = end + ((t[end] == '\r' && end + 1 < t.size() && t[end + 1] == '\n') ? 2 : 1);
        }
        return lines;
    }
    void Join(const std::vector<AnsiString>& lines)
    {
        AnsiString t;
        for (size_t i = 0; i < lines.size(); ++i) {
            if (i > 0)
                t += "\r\n";
            t += lines[i];
        }
        // A last empty line is kept by the line break that ends it (Split drops none other).
        if (!lines.empty() && lines.back().empty())
            t += "\r\n";
        FMemo->SetText(t);
    }
    TCustomMemo* FMemo;
};

}  // namespace

TCustomMemo::TCustomMemo(TComponent* AOwner) : TCustomEdit(AOwner), FLines(std::make_unique<TMemoLines>(this))
{
    SetBounds(0, 0, 185, 89);
    SetAutoSelect(false);
    RegisterHandler(WM_GETDLGCODE, [this](TMessage& m) {
        m.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
        if (FWantReturns)
            m.Result |= DLGC_WANTALLKEYS;
        if (FWantTabs)
            m.Result |= DLGC_WANTTAB;
    });
    // The Tab key never reaches the widget (the focus would move): the memo types its tab here.
    RegisterHandler(WM_CHAR, [this](TMessage& m) {
        Inherited(m);
        if (m.WParam == '\t' && FWantTabs)
            InsertTyped("\t", false);
    });
}

TCustomMemo::~TCustomMemo() { Destroying(); }

void TCustomMemo::SetLines(TStrings* v) { FLines->Assign(v); }

void TCustomMemo::KeyPress(char& Key)
{
    TCustomEdit::KeyPress(Key);
    if (Key == '\r' && !FWantReturns)
        Key = 0;
}

QWidget* TCustomMemo::CreateWidget()
{
    auto* w = new TPlainTextInput(this, this);
    FSurface = MakePlainTextSurface(w);
    QObject::connect(w, &QPlainTextEdit::textChanged, w, [this] { SurfaceChanged(); });
    return w;
}

void TCustomMemo::WidgetCreated()
{
    TCustomEdit::WidgetCreated();
    ApplyWrap();
}

void TCustomMemo::ApplyWrap()
{
    auto* w = HandleAllocated() ? qobject_cast<QPlainTextEdit*>(Handle()) : nullptr;
    if (!w)
        return;
    // Word wrap has no horizontal scrolling, as the framework's memo.
    bool wrap = FWordWrap && FScrollBars != ssHorizontal && FScrollBars != ssBoth;
    w->setLineWrapMode(wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    w->setTabChangesFocus(!FWantTabs);
    auto policy = [](bool on) { return on ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff; };
    w->setVerticalScrollBarPolicy(policy(FScrollBars == ssVertical || FScrollBars == ssBoth));
    w->setHorizontalScrollBarPolicy(policy(FScrollBars == ssHorizontal || FScrollBars == ssBoth));
}

void TCustomMemo::SetScrollBars(TScrollStyle v)
{
    FScrollBars = v;
    ApplyWrap();
}

void TCustomMemo::SetWordWrap(bool v)
{
    FWordWrap = v;
    ApplyWrap();
}

TPoint TCustomMemo::CaretPos() const
{
    AnsiString before = Text().substr(0, static_cast<size_t>(SelStart() + SelLength()));
    int line = 0;
    size_t lineStart = 0;
    for (size_t i = 0; i < before.size(); ++i) {
        if (before[i] == '\n') {
            ++line;
            lineStart = i + 1;
        }
    }
    return TPoint{static_cast<int>(before.size() - lineStart), line};
}

void TCustomMemo::SetCaretPos(TPoint p)
{
    const AnsiString& t = Text();
    size_t pos = 0;
    for (int line = 0; line < p.y && pos < t.size(); ++line) {
        size_t nl = t.find('\n', pos);
        pos = nl == AnsiString::npos ? t.size() : nl + 1;
    }
    size_t end = t.find_first_of("\r\n", pos);
    if (end == AnsiString::npos)
        end = t.size();
    SetSelStart(static_cast<int>(std::min(pos + static_cast<size_t>(std::max(p.x, 0)), end)));
}

TRichEdit::TRichEdit(TComponent* AOwner) : TCustomMemo(AOwner) {}

QWidget* TRichEdit::CreateWidget()
{
    QWidget* w = TCustomMemo::CreateWidget();
    QObject::connect(static_cast<QPlainTextEdit*>(w), &QPlainTextEdit::selectionChanged, w,
                     [this] { SelectionChange(); });
    QObject::connect(static_cast<QPlainTextEdit*>(w), &QPlainTextEdit::cursorPositionChanged, w,
                     [this] { SelectionChange(); });
    return w;
}

void TRichEdit::SelectionChange()
{
    if (OnSelectionChange)
        OnSelectionChange(this);
}
