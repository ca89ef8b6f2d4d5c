#pragma once
// The widths of one column's cell texts, measured once and kept while typing widens the column:
// a row is measured again only when its text changed, and every row is when the column or the
// measuring context changed (the fonts, the zoom, the switches that change how a text measures).
// So a key typed into a cell of a large grid measures one text, not the whole column.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/core/AnsiString.h"

class TMeasuredWidths {
public:
    // The widest of Rows rows of Column: each row's kept width of its text (Text(row); Measure(row)
    // measures it when it is not known for that text and context) plus Extra(row), which is
    // asked every time (the cell's picture or check box, which no text names).
    template <class TextOf, class MeasureOf, class ExtraOf>
    int Widest(int Column, const std::string& Context, int Rows, TextOf Text, MeasureOf Measure, ExtraOf Extra)
    {
        if (Column != FColumn || Context != FContext) {
            FRows.clear();
            FColumn = Column;
            FContext = Context;
        }
        FRows.resize(static_cast<size_t>(Rows < 0 ? 0 : Rows));
        int widest = 0;
        for (int r = 0; r < Rows; ++r) {
            TRowWidth& row = FRows[static_cast<size_t>(r)];
            const AnsiString& text = Text(r);
            if (!row.Known || row.Text != text) {
                row.Width = Measure(r);
                row.Text = text;
                row.Known = true;
                ++FMeasurements;
            }
            const int width = row.Width + Extra(r);
            if (width > widest)
                widest = width;
        }
        return widest;
    }
    void Clear()
    {
        FRows.clear();
        FColumn = -1;
        FContext.clear();
    }
    // Texts measured so far.
    int64_t Measurements() const { return FMeasurements; }

private:
    struct TRowWidth {
        AnsiString Text;
        int Width = 0;
        bool Known = false;
    };
    int FColumn = -1;
    std::string FContext;
    std::vector<TRowWidth> FRows;
    int64_t FMeasurements = 0;
};
