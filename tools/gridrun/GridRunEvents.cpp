// The events gridrun prints and answers, one line each: the event, and the part each of its
// parameters after Sender plays ('C' the column, 'R' the row, '-' anything else). An answer
// names its column and row first (as many as the event has, "*" for any), then values for the
// var parameters in order ("-" keeps one); a brush takes its colour, a font its colour and
// styles, a pen its colour.

#include <ostream>
#include <tuple>

#include "tools/gridrun/GridRun.h"
#include "tools/gridrun/GridRunEnums.h"

namespace {

using G = TCellGrid;

// Sets one parameter from the answer's values at `next`, moving it past what it took.
template <class A>
void Apply(A&& arg, const TWords& values, size_t& next)
{
    using T = std::remove_reference_t<A>;
    const auto take = [&]() -> const AnsiString* { return next < values.size() ? &values[next++] : nullptr; };
    const auto colour = [&](auto set) {
        const AnsiString* word = take();
        int v = 0;
        if (word && *word != "-" && ParseInt(*word, v))
            set(v);
    };
    if constexpr (std::is_same_v<T, TBrush*>) {
        colour([&](int v) { arg->SetColor(v); });
    } else if constexpr (std::is_same_v<T, TPen*>) {
        colour([&](int v) { arg->SetColor(v); });
    } else if constexpr (std::is_same_v<T, TFont*>) {
        colour([&](int v) { arg->SetColor(v); });
        TEnumSet<TFontStyle> styles;
        if (const AnsiString* word = take(); word && *word != "-" && ParseSet(*word, styles)) {
            TFontStyles s;
            for (TFontStyle f : {fsBold, fsItalic, fsUnderline, fsStrikeOut})
                if (styles.Contains(f))
                    s << f;
            arg->SetStyle(s);
        }
    } else if constexpr (std::is_lvalue_reference_v<A> && !std::is_const_v<T> && !std::is_pointer_v<T>) {
        if (const AnsiString* word = take(); word && *word != "-")
            ParseValue(*word, arg);
    }
}

template <class T>
int IndexOf(const T& arg)
{
    if constexpr (std::is_integral_v<T>)
        return static_cast<int>(arg);
    else
        return 0;
}

template <class C, class... A>
TGridEvent Bound(const char* name, std::function<void(TObject*, A...)> C::*slot, std::string roles)
{
    TGridEvent e;
    for (char r : roles)
        e.Indexes += r == 'C' || r == 'R';
    e.Bind = [name, slot, roles](TGridRun& run, TEventState& state) {
        auto& target = static_cast<C&>(run.Grid()).*slot;
        if (!state.Printing && state.Answers.empty()) {
            target = nullptr;
            return;
        }
        target = [&run, &state, name, roles](TObject*, A... args) {
            auto refs = std::forward_as_tuple(args...);
            // The window's own repaints between directives print nothing.
            if (state.Printing && !run.Grid().InPaint()) {
                std::string line = std::string("event ") + name;
                std::apply([&](auto&... a) { ((line += " " + ValueText(a, true)), ...); }, refs);
                run.Out() << line << '\n';
            }
            // The column and row this call is for, in the order answers name them.
            int col = 0, row = 0;
            std::apply(
                [&](auto&... a) {
                    size_t i = 0;
                    ((roles[i] == 'C' ? col = IndexOf(a) : roles[i] == 'R' ? row = IndexOf(a) : 0, ++i), ...);
                },
                refs);
            std::vector<int> wanted;
            if (roles.find('C') != std::string::npos)
                wanted.push_back(col);
            if (roles.find('R') != std::string::npos)
                wanted.push_back(row);
            for (auto it = state.Answers.rbegin(); it != state.Answers.rend(); ++it) {
                bool match = true;
                for (size_t k = 0; k < wanted.size() && k < it->Indexes.size(); ++k)
                    match = match && (it->Indexes[k] == "*" || it->Indexes[k] == std::to_string(wanted[k]));
                if (!match)
                    continue;
                size_t next = 0;
                std::apply(
                    [&](auto&&... a) { (Apply<decltype(a)>(std::forward<decltype(a)>(a), it->Values, next), ...); },
                    std::forward_as_tuple(std::forward<A>(args)...));
                break;
            }
        };
    };
    return e;
}

}  // namespace

#define EVENT(Class, Name, Roles)                                                                                      \
    {                                                                                                                  \
#Name, Bound(#Name, &Class::Name, Roles)                                                                       \
    }

const std::map<std::string, TGridEvent, std::less<>>& GridEvents()
{
    using M = TCellModel;
    static const std::map<std::string, TGridEvent, std::less<>> table{
        EVENT(G, OnGetCellColor, "RC---"),
        EVENT(G, OnGetCellPrintColor, "RC---"),
        EVENT(G, OnGetCellBorder, "RC--"),
        EVENT(G, OnGetCellPrintBorder, "RC--"),
        EVENT(M, OnGetAlignment, "RC-"),
        EVENT(M, OnGetFormat, "C---"),
        EVENT(M, OnGetEditorType, "CR-"),
        EVENT(M, OnIsFixedCell, "RC-"),
        EVENT(M, OnIsPasswordCell, "RC-"),
        EVENT(M, OnCanEditCell, "RC-"),
        EVENT(M, OnGridHint, "RC-"),
        EVENT(M, OnScrollHint, "R-"),
        EVENT(M, OnRowChanging, "---"),
        EVENT(M, OnColChanging, "---"),
        EVENT(M, OnCellChanging, "-----"),
        EVENT(M, OnCellValidate, "CR--"),
        EVENT(M, OnClickCell, "RC"),
        EVENT(M, OnRightClickCell, "RC"),
        EVENT(M, OnDblClickCell, "RC"),
        EVENT(M, OnClickSort, "C"),
        EVENT(M, OnCanSort, "C-"),
        EVENT(M, OnCustomCompare, "---"),
        EVENT(M, OnRawCompare, "C---"),
        EVENT(M, OnExpandNode, "R-"),
        EVENT(M, OnContractNode, "R-"),
        EVENT(M, OnCanAddRow, "-"),
        EVENT(M, OnAutoAddRow, "R"),
        EVENT(M, OnCanInsertRow, "R-"),
        EVENT(M, OnAutoInsertRow, "R"),
        EVENT(M, OnAutoInsertCol, "C"),
        EVENT(M, OnCanDeleteRow, "R-"),
        EVENT(M, OnAutoDeleteRow, "R"),
        EVENT(M, OnAnchorClick, "RC--"),
        EVENT(M, OnAnchorEnter, "RC-"),
        EVENT(M, OnAnchorExit, "RC-"),
        EVENT(M, OnClipboardCopy, "-"),
        EVENT(M, OnClipboardCut, "-"),
        EVENT(M, OnClipboardPaste, "-"),
        EVENT(M, OnFileProgress, "-"),
        EVENT(M, OnEllipsClick, "CR-"),
        EVENT(M, OnButtonClick, "CR"),
        EVENT(M, OnCheckBoxClick, "CR-"),
        EVENT(M, OnCheckBoxMouseUp, "CR-"),
        EVENT(M, OnRadioClick, "CR-"),
        EVENT(M, OnRadioMouseUp, "CR-"),
        EVENT(M, OnComboChange, "CR--"),
        EVENT(M, OnSpinClick, "CR--"),
        EVENT(M, OnFloatSpinClick, "CR--"),
        EVENT(M, OnTimeSpinClick, "CR--"),
        EVENT(M, OnDateSpinClick, "CR--"),
        EVENT(M, OnColumnSize, "C-"),
        EVENT(M, OnColumnMove, "C-"),
        EVENT(M, OnRowSize, "R-"),
        EVENT(M, OnRowMove, "R-"),
        EVENT(M, OnEndColumnSize, "C"),
        EVENT(M, OnEndRowSize, "R"),
        EVENT(M, OnOleDrop, "RC--"),
        EVENT(M, OnOleDrag, "RC--"),
        EVENT(M, OnOleDragOver, "RC-"),
        EVENT(M, OnOleDragStart, "RC"),
        EVENT(M, OnOleDragStop, "-"),
        EVENT(M, OnOleDropCol, "RC-"),
        EVENT(M, OnPrintStart, "---"),
        EVENT(G, OnPrintPage, "----"),
        EVENT(M, OnPrintNewPage, "R-"),
        EVENT(M, OnPrintSetColumnWidth, "C-"),
        EVENT(M, OnPrintSetRowHeight, "R-"),
        EVENT(M, OnFitToPage, "--"),
        EVENT(G, OnGetEditMask, "CR-"),
        EVENT(TDrawGrid, OnSelectCell, "CR-"),
        EVENT(TDrawGrid, OnRowMoved, "--"),
        EVENT(TDrawGrid, OnColumnMoved, "--"),
        // --- The window's own events (keys, focus, clicks).
        EVENT(TWinControl, OnKeyDown, "--"),
        EVENT(TWinControl, OnKeyUp, "--"),
        EVENT(TWinControl, OnKeyPress, "-"),
        EVENT(TWinControl, OnEnter, ""),
        EVENT(TWinControl, OnExit, ""),
        EVENT(TControl, OnClick, ""),
        EVENT(TControl, OnDblClick, ""),
        EVENT(TDrawGrid, OnTopLeftChanged, ""),
    };
    return table;
}
