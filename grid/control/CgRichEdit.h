#pragma once
// The grid's rich-edit control for rich-text cells: the rich-edit document (a cell's rich text
// loaded, formatted and saved) with the three baseline shifts of its selection that callers
// use between CellToRich and RichToCell: normal, subscript and superscript.

#include "platform/gui/RichDocument.h"

class TCgRichEdit : public TRichDocument {
public:
    // The selection on the baseline, 40 twips (2 points) below it, 40 twips above it.
    void SelNormal() { SelFormat(0); }
    void SelSubscript() { SelFormat(-kShift); }
    void SelSuperscript() { SelFormat(kShift); }

private:
    static constexpr int kShift = 40;
    // The selection's vertical offset in twips, nothing else of its format.
    void SelFormat(int Offset) { SetSelOffset(Offset); }
};
