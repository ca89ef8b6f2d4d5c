#include "tools/gridrun/GridRunExchange.h"

#include <ostream>

#include "platform/gui/Clipboard.h"
#include "platform/gui/DragDrop.h"
#include "tools/gridrun/GridRunValues.h"

void SetClipboardText(const AnsiString& Text) { Clipboard()->SetAsText(Text); }

void ShowClipboard(TGridRun& Run, const std::vector<TGridRunWord>& Words)
{
    if (Words.size() == 2) {
        Run.Out() << "clipboard = " << Escape(Clipboard()->HasText() ? Clipboard()->AsText() : AnsiString()) << '\n';
        return;
    }
    if (Words.size() != 3 || Words[2].Text != "rtf")
        throw EBadDirective("expected: ? clipboard [rtf]");
    std::string bytes = Clipboard()->GetBytes(RegisterClipboardFormat("Rich Text Format"));
    Run.Out() << "clipboard rtf = " << Escape(bytes) << '\n';
}

void DropOnGrid(TGridRun& Run, const std::vector<TGridRunWord>& Words, const AnsiString& Data)
{
    const bool ctrl = Words.size() > 1 && Words[1].Text == "ctrl";
    const size_t at = ctrl ? 2 : 1;
    int col = 0, row = 0;
    if (Words.size() < at + 3 || !ParseInt(Words[at].Text, col) || !ParseInt(Words[at + 1].Text, row))
        throw EBadDirective("expected: drop [ctrl] C R text|rtf|file|col DATA");
    const AnsiString& kind = Words[at + 2].Text;
    TDragData data;
    if (kind == "text") {
        data.HasText = true;
        data.Text = Data;
    } else if (kind == "rtf") {
        data.HasRTF = true;
        data.RTF = Data;
    } else if (kind == "file") {
        for (size_t i = at + 3; i < Words.size(); ++i)
            data.Files.push_back(Words[i].Text);
    } else if (kind == "col") {
        if (!ParseInt(Data, data.Col) || data.Col < 0)
            throw EBadDirective("a dragged column is a number");
    } else {
        throw EBadDirective("expected: drop [ctrl] C R text|rtf|file|col DATA");
    }
    TCellGrid& grid = Run.Grid();
    const TRect cell = grid.CellRect(col, row);
    const TPoint point{(cell.Left + cell.Right) / 2, (cell.Top + cell.Bottom) / 2};
    TShiftState keys;
    if (ctrl)
        keys << ssCtrl;
    TDropTarget* target = grid.OleDropTargetObject();
    target->DragEnter(data, point);
    int effect = target->DragOver(keys, point);
    if (effect == DROPEFFECT_NONE)
        target->DragLeave();
    else
        effect = target->Drop(data, keys, point);
    Run.Out() << "drop " << col << ' ' << row << " = "
              << (effect == DROPEFFECT_COPY       ? "copy"
                      : effect == DROPEFFECT_MOVE ? "move"
                                                  : "none")
              << '\n';
}
