#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QPalette>
#include <QPointer>

#include "platform/core/TypInfo.h"
#include "platform/gui/Canvas.h"
#include "platform/gui/Clipboard.h"
#include "platform/gui/EditWidgets.h"
#include "platform/gui/Sound.h"
#include "platform/gui/StdCtrls.h"

namespace {

// The control keeps CR LF between lines; Qt's widgets keep "\n".
QString ToQtText(const AnsiString& text, bool multiLine)
{
    QString q = AnsiToQString(text);
    if (multiLine)
        q.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return q;
}

AnsiString FromQtText(const QString& text, bool multiLine)
{
    if (!multiLine)
        return QStringToAnsi(text);
    QString q = text;
    q.replace(QChar(0x2029), QLatin1Char('\n'));
    q.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return QStringToAnsi(q);
}

}  // namespace

TWinControl* EditControl(TCustomEdit* edit) { return edit; }

QMenu* EditContextMenu(TCustomEdit* edit, QWidget* parent)
{
    auto* menu = new QMenu(parent);
    QPointer<QWidget> widget = edit->Handle();
    // Each item finds the control again: the menu may outlive it.
    auto add = [&](const char* caption, bool enabled, std::function<void(TCustomEdit*)> act) {
        QAction* a = menu->addAction(QString::fromLatin1(caption));
        a->setEnabled(enabled);
        QObject::connect(a, &QAction::triggered, menu, [widget, act] {
            if (auto* e = widget ? dynamic_cast<TCustomEdit*>(TWinControl::FromWidget(widget)) : nullptr)
                act(e);
        });
    };
    const bool writable = !edit->ReadOnly();
    const bool selected = edit->SelLength() > 0;
    add("&Undo", writable && edit->CanUndo(), [](TCustomEdit* e) { e->Perform(EM_UNDO); });
    menu->addSeparator();
    add("Cu&t", writable && selected, [](TCustomEdit* e) { e->Perform(WM_CUT); });
    add("&Copy", selected, [](TCustomEdit* e) { e->Perform(WM_COPY); });
    add("&Paste", writable && Clipboard()->HasText(), [](TCustomEdit* e) { e->Perform(WM_PASTE); });
    add("&Delete", writable && selected, [](TCustomEdit* e) { e->Perform(WM_CLEAR); });
    menu->addSeparator();
    add("Select &All", !edit->Text().empty(), [](TCustomEdit* e) { e->SelectAll(); });
    return menu;
}
bool EditIsReadOnly(TCustomEdit* edit) { return edit->ReadOnly(); }

void EditTypeText(TCustomEdit* edit, const QString& text)
{
    QString q = text;
    q.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    edit->InsertTyped(FromQtText(q, edit->MultiLine()), false);
}

void EditDropText(TCustomEdit* edit, const QString& text)
{
    edit->FDropText = FromQtText(text, edit->MultiLine());
    edit->Perform(WM_PASTE, kPasteDrop);
    edit->FDropText.clear();
}

TCustomEdit::TCustomEdit(TComponent* AOwner) : TWinControl(AOwner)
{
    SetBounds(0, 0, 121, 21);
    SetTabStop(true);
    FFocusOnClick = true;
    SetColor(clWindow);
    FControlStyle |= csFramed;
    RegisterEditHandlers();
}

TCustomEdit::~TCustomEdit()
{
    Destroying();
    FSurface.reset();
}

QWidget* TCustomEdit::CreateWidget()
{
    auto* w = new TLineInput(this, this);
    FSurface = MakeLineSurface(w);
    QObject::connect(w, &QLineEdit::textChanged, w, [this] { SurfaceChanged(); });
    return w;
}

void TCustomEdit::WidgetCreated()
{
    TWinControl::WidgetCreated();
    FPushing = true;
    FSurface->SetText(ToQtText(Text(), MultiLine()));
    FPushing = false;
    FSurface->SetReadOnly(FReadOnly);
    ApplyLook();
    ApplyColors();
    SetSelStart(FSelStart);
    SetSelLength(FSelLength);
}

void TCustomEdit::RegisterEditHandlers()
{
    RegisterHandler(CM_COLORCHANGED, [this](TMessage& m) {
        Inherited(m);
        ApplyColors();
    });
    RegisterHandler(CM_FONTCHANGED, [this](TMessage& m) {
        Inherited(m);
        ApplyColors();
    });
    RegisterHandler(CM_ENABLEDCHANGED, [this](TMessage& m) {
        Inherited(m);
        ApplyColors();
    });
    RegisterHandler(CM_TEXTCHANGED, [this](TMessage& m) {
        Inherited(m);
        if (FSurface && !FPushing && SurfaceText() != Text()) {
            // Text set by code leaves the caret at the start, as the system's edit does.
            FPushing = true;
            FSurface->SetText(ToQtText(Text(), MultiLine()));
            FSurface->Select(0, 0);
            FPushing = false;
        }
        if (!FSurface || FPushing)
            return;
        Change();
    });
    RegisterHandler(WM_PASTE, [this](TMessage& m) {
        if (FReadOnly)
            return;
        AnsiString text = PasteText(static_cast<unsigned>(m.WParam));
        if (!text.empty())
            InsertTyped(text, true);
    });
    RegisterHandler(WM_COPY, [this](TMessage&) {
        if (SelLength() > 0 && FPasswordChar == 0)
            Clipboard()->SetAsText(SelText());
    });
    RegisterHandler(WM_CUT, [this](TMessage&) {
        if (FReadOnly || SelLength() == 0 || FPasswordChar)
            return;
        Clipboard()->SetAsText(SelText());
        ReplaceSelection(AnsiString());
    });
    RegisterHandler(WM_CLEAR, [this](TMessage&) {
        if (!FReadOnly && SelLength() > 0)
            ReplaceSelection(AnsiString());
    });
    RegisterHandler(EM_UNDO, [this](TMessage& m) {
        if (FSurface && !FReadOnly) {
            FSurface->Undo();
            m.Result = 1;
        }
    });
    RegisterHandler(WM_GETDLGCODE, [this](TMessage& m) { m.Result = DLGC_WANTARROWS | DLGC_WANTCHARS; });
}

void TCustomEdit::SurfaceChanged()
{
    if (FPushing)
        return;
    AnsiString now = SurfaceText();
    FModified = true;
    if (now == Text()) {
        Change();
        return;
    }
    FPushing = true;
    std::shared_ptr<bool> alive = AliveToken();
    try {
        SetText(now);
    } catch (...) {
        if (*alive)
            FPushing = false;
        throw;
    }
    if (!*alive)
        return;
    FPushing = false;
    Change();
}

void TCustomEdit::Change()
{
    if (OnChange)
        OnChange(this);
}

AnsiString TCustomEdit::SurfaceText() const { return FSurface ? FromQtText(FSurface->Text(), MultiLine()) : Text(); }

int TCustomEdit::ToBytes(int qtPos) const
{
    return static_cast<int>(FromQtText(FSurface->Text().left(qtPos), MultiLine()).size());
}

int TCustomEdit::ToQt(int bytes) const
{
    const AnsiString& text = Text();
    size_t pos = SnapToChar(text, static_cast<size_t>(std::max(bytes, 0)), false);
    return static_cast<int>(ToQtText(text.substr(0, pos), MultiLine()).size());
}

int TCustomEdit::SelStart() const { return FSurface ? ToBytes(FSurface->SelStart()) : FSelStart; }

int TCustomEdit::SelLength() const
{
    return FSurface ? ToBytes(FSurface->SelEnd()) - ToBytes(FSurface->SelStart()) : FSelLength;
}

void TCustomEdit::SetSelStart(int v)
{
    FSelStart = static_cast<int>(SnapToChar(Text(), static_cast<size_t>(std::max(v, 0)), false));
    FSelLength = 0;
    if (FSurface)
        FSurface->Select(ToQt(FSelStart), ToQt(FSelStart));
}

void TCustomEdit::SetSelLength(int v)
{
    int start = SelStart();
    size_t end = SnapToChar(Text(), static_cast<size_t>(std::max(start + v, 0)), true);
    FSelStart = start;
    FSelLength = static_cast<int>(end) - start;
    if (FSurface)
        FSurface->Select(ToQt(start), ToQt(static_cast<int>(end)));
}

AnsiString TCustomEdit::SelText() const
{
    const AnsiString text = Text();
    size_t start = static_cast<size_t>(SelStart());
    return start < text.size() ? text.substr(start, static_cast<size_t>(SelLength())) : AnsiString();
}

void TCustomEdit::SetSelText(const AnsiString& v) { ReplaceSelection(v); }

void TCustomEdit::ReplaceSelection(const AnsiString& text)
{
    if (!FSurface) {
        AnsiString t = Text();
        size_t start = std::min(static_cast<size_t>(FSelStart), t.size());
        t.replace(start, std::min(static_cast<size_t>(FSelLength), t.size() - start), text);
        FSelStart = static_cast<int>(start + text.size());
        FSelLength = 0;
        SetText(t);
        return;
    }
    FSurface->Insert(ToQtText(text, MultiLine()));
}

void TCustomEdit::SelectAll()
{
    SetSelStart(0);
    SetSelLength(static_cast<int>(Text().size()));
}

void TCustomEdit::InsertTyped(const AnsiString& text, bool pasted)
{
    if (FReadOnly) {
        MessageBeep(0);
        return;
    }
    AnsiString t = ApplyCharCase(text, FCharCase);
    AnsiString fits =
        FitInsert(Text(), static_cast<size_t>(SelStart()), static_cast<size_t>(SelLength()), t, FMaxLength);
    if (fits.size() < t.size())
        MessageBeep(0);
    if (!fits.empty() || (pasted && SelLength() > 0 && fits.size() == t.size()))
        ReplaceSelection(fits);
}

AnsiString TCustomEdit::PasteText(unsigned source)
{
    AnsiString text;
    if (source == kPasteDrop)
        text = FDropText;
    else if (source == kPasteSelection)
        text = FromQtText(QApplication::clipboard()->text(QClipboard::Selection), MultiLine());
    else
        text = Clipboard()->AsText();
    if (!MultiLine()) {
        // A single line takes what comes before the first line break.
        size_t end = text.find_first_of("\r\n");
        if (end != AnsiString::npos)
            text.erase(end);
    }
    return text;
}

void TCustomEdit::SetMaxLength(int v)
{
    FMaxLength = std::max(v, 0);
    Perform(EM_LIMITTEXT, static_cast<WPARAM>(FMaxLength));
}

void TCustomEdit::SetReadOnly(bool v)
{
    FReadOnly = v;
    if (FSurface)
        FSurface->SetReadOnly(v);
}

void TCustomEdit::SetCharCase(TEditCharCase v)
{
    FCharCase = v;
    if (v != ecNormal)
        SetText(ApplyCharCase(Text(), v));
}

void TCustomEdit::SetPasswordChar(char v)
{
    FPasswordChar = v;
    ApplyLook();
}

void TCustomEdit::SetAlignment(TAlignment v)
{
    FAlignment = v;
    ApplyLook();
}

void TCustomEdit::ApplyColors()
{
    if (!HandleAllocated())
        return;
    QWidget* w = Handle();
    // From the style's palette each time, so that a colour given up goes back to the default.
    QPalette palette = QApplication::palette(w);
    if (Color() != clWindow)
        palette.setColor(QPalette::Base, ToQColor(Color()));
    if (const TColor text = TextColor(); text != clWindowText)
        palette.setColor(QPalette::Text, ToQColor(text));
    w->setPalette(palette);
}

void TCustomEdit::ApplyLook()
{
    auto* line = HandleAllocated() ? qobject_cast<QLineEdit*>(Handle()) : nullptr;
    if (!line)
        return;
    line->setFrame(FBorderStyle != bsNone);
    line->setEchoMode(FPasswordChar ? QLineEdit::Password : QLineEdit::Normal);
    line->setAlignment(FAlignment == taRightJustify ? Qt::AlignRight
                           : FAlignment == taCenter ? Qt::AlignHCenter
                                                    : Qt::AlignLeft);
    line->setTextMargins(FMarginLeft, 0, FMarginRight, 0);
}

void TCustomEdit::SetBorderStyle(TBorderStyle v)
{
    FBorderStyle = v;
    ApplyLook();
}

void TCustomEdit::SetTextMargins(int Left, int Right)
{
    FMarginLeft = Left;
    FMarginRight = Right;
    ApplyLook();
}

bool TCustomEdit::CanUndo() const { return FSurface && FSurface->CanUndo(); }

void TCustomEdit::DoEnter()
{
    if (FAutoSelect && !MultiLine())
        SelectAll();
    TWinControl::DoEnter();
}

TEdit::TEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}

void RegisterEditClasses()
{
    const std::vector<AnsiString> borders{"bsNone", "bsSingle"};
    RegisterClass<TCustomEdit>("TCustomEdit", "TWinControl")
        .Enum("Alignment", "TAlignment", {"taLeftJustify", "taRightJustify", "taCenter"}, &TCustomEdit::Alignment,
              &TCustomEdit::SetAlignment, taLeftJustify)
        .Bool("AutoSelect", &TCustomEdit::AutoSelect, &TCustomEdit::SetAutoSelect, true)
        .Enum("BorderStyle", "TBorderStyle", borders, &TCustomEdit::BorderStyle, &TCustomEdit::SetBorderStyle, bsSingle)
        .Enum("CharCase", "TEditCharCase", {"ecNormal", "ecUpperCase", "ecLowerCase"}, &TCustomEdit::CharCase,
              &TCustomEdit::SetCharCase, ecNormal)
        .Bool("HideSelection", &TCustomEdit::HideSelection, &TCustomEdit::SetHideSelection, true)
        .Int("MaxLength", &TCustomEdit::MaxLength, &TCustomEdit::SetMaxLength, 0)
        .Bool("Modified", &TCustomEdit::Modified, &TCustomEdit::SetModified)
        .Char("PasswordChar", &TCustomEdit::PasswordChar, &TCustomEdit::SetPasswordChar, 0)
        .Bool("ReadOnly", &TCustomEdit::ReadOnly, &TCustomEdit::SetReadOnly, false)
        .Int("SelStart", &TCustomEdit::SelStart, &TCustomEdit::SetSelStart)
        .Int("SelLength", &TCustomEdit::SelLength, &TCustomEdit::SetSelLength)
        .Str("SelText", &TCustomEdit::SelText, &TCustomEdit::SetSelText);
    RegisterClass<TEdit>("TEdit", "TCustomEdit", MakeComponent<TEdit>);
    RegisterClass<TCustomMemo>("TCustomMemo", "TCustomEdit")
        .Object("Lines", "TStrings", &TCustomMemo::Lines, &TCustomMemo::SetLines)
        .Enum("ScrollBars", "TScrollStyle", {"ssNone", "ssHorizontal", "ssVertical", "ssBoth"},
              &TCustomMemo::ScrollBars, &TCustomMemo::SetScrollBars, ssNone)
        .Bool("WantReturns", &TCustomMemo::WantReturns, &TCustomMemo::SetWantReturns, true)
        .Bool("WantTabs", &TCustomMemo::WantTabs, &TCustomMemo::SetWantTabs, false)
        .Bool("WordWrap", &TCustomMemo::WordWrap, &TCustomMemo::SetWordWrap, true)
        .Int(
            "CaretLine", [](TCustomMemo* m) { return m->CaretPos().y; },
            [](TCustomMemo* m, int v) {
                m->SetCaretPos(TPoint{m->CaretPos().x, v});
            })
        .Int(
            "CaretColumn", [](TCustomMemo* m) { return m->CaretPos().x; },
            [](TCustomMemo* m, int v) {
                m->SetCaretPos(TPoint{v, m->CaretPos().y});
            });
    RegisterClass<TMemo>("TMemo", "TCustomMemo", MakeComponent<TMemo>);
    RegisterClass<TRichEdit>("TRichEdit", "TCustomMemo", MakeComponent<TRichEdit>)
        .Bool("PlainText", &TRichEdit::PlainText, nullptr, true);
}
