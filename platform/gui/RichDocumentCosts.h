#pragma once
// What a rich document costs to lay out and to keep, read from its parts: the longest run its
// lines cannot break in at white space with the largest font it names (Qt lays out each line of
// such a run to the run's end, so a run that spans many lines costs the square of its length),
// the tallest a line of it can be, and the memory a document of its blocks, characters, runs, formats, lines and fonts takes.

#include <QtGlobal>
#include <cstddef>

class QTextDocument;

struct TRichRunShape {
    // The most characters a line holds between two places where it surely breaks at white
    // space, its white space not counted.
    int LongestRun = 0;
    // The largest font size a run names, or the document's default size, in points.
    qreal LargestPoints = 0;
    // The farthest a run is raised or lowered, in points.
    qreal LargestOffsetPoints = 0;
};
TRichRunShape RunShapeOf(const QTextDocument& Doc);

// What the document takes in memory, reckoned from its parts with what Qt keeps for each: its
// text with its formats or, when LaidOut, a copy of it laid out (every block's lines made) and
// drawn, with the fonts it shows.
size_t EstimatedBytes(const QTextDocument& Doc, bool LaidOut);
