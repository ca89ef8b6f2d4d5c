#include "platform/gui/OfficeFormula.h"

#include "platform/gui/OfficePackage.h"

namespace {

bool IsAsciiLetter(QChar c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); }
bool IsDigit(QChar c) { return c >= u'0' && c <= u'9'; }
// Names, numbers and references are runs of these.
bool IsWordChar(QChar c) { return c.isLetterOrNumber() || c == u'_' || c == u'.' || c == u'$' || c == u'\\'; }

// One end of a reference: a cell (B3), a whole column (B) or a whole row (3).
struct TRefEnd {
    enum TKind { None, Cell, WholeColumn, WholeRow } Kind = None;
    int Col = 0, Row = 0;
    bool AbsCol = false, AbsRow = false;

    // Moved by Rows and Cols; false when it leaves the sheet.
    bool Move(int Rows, int Cols)
    {
        if (Kind != TRefEnd::WholeRow && !AbsCol)
            Col += Cols;
        if (Kind != TRefEnd::WholeColumn && !AbsRow)
            Row += Rows;
        return (Kind == TRefEnd::WholeRow || (Col >= 1 && Col <= kMaxSheetCols)) &&
            (Kind == TRefEnd::WholeColumn || (Row >= 1 && Row <= kMaxSheetRows));
    }
    QString Text() const
    {
        QString text;
        if (Kind != TRefEnd::WholeRow)
            text += (AbsCol ? QStringLiteral("$") : QString()) + QString::fromStdString(ColumnLetters(Col));
        if (Kind != TRefEnd::WholeColumn)
            text += (AbsRow ? QStringLiteral("$") : QString()) + QString::number(Row);
        return text;
    }
};

// A word as one end of a reference; None when it is a name, a number or past the sheet.
TRefEnd ParseEnd(QStringView Word)
{
    qsizetype i = 0;
    const bool dollarFirst = i < Word.size() && Word[i] == u'$';
    i += dollarFirst;
    std::string letters;
    for (; i < Word.size() && IsAsciiLetter(Word[i]) && letters.size() <= 3; ++i)
        letters += static_cast<char>(Word[i].toUpper().unicode());
    const bool dollarSecond = i < Word.size() && Word[i] == u'$';
    i += dollarSecond;
    const qsizetype digits = i;
    while (i < Word.size() && IsDigit(Word[i]))
        ++i;
    if (i != Word.size() || letters.size() > 3 || (dollarFirst && dollarSecond && letters.empty()))
        return {};
    TRefEnd end;
    bool ok = i > digits;
    end.Row = ok ? Word.mid(digits).toInt(&ok) : 0;
    end.Col = letters.empty() ? 0 : ColumnNumber(letters);
    if (!letters.empty() && end.Col == 0)
        return {};
    if (ok && end.Row >= 1 && end.Row <= kMaxSheetRows && end.Col > 0) {
        end.Kind = TRefEnd::Cell;
        end.AbsCol = dollarFirst;
        end.AbsRow = dollarSecond;
    } else if (ok && end.Row >= 1 && end.Row <= kMaxSheetRows && letters.empty()) {
        end.Kind = TRefEnd::WholeRow;
        end.AbsRow = dollarFirst || dollarSecond;
    } else if (i == digits && end.Col > 0 && !dollarSecond) {
        end.Kind = TRefEnd::WholeColumn;
        end.AbsCol = dollarFirst;
    }
    return end;
}

// The end of the word that starts at From.
qsizetype WordEnd(QStringView Text, qsizetype From)
{
    while (From < Text.size() && IsWordChar(Text[From]))
        ++From;
    return From;
}

// The word From..To as a reference's end, unless what follows makes it a function, a sheet or
// a table.
TRefEnd EndAt(QStringView Text, qsizetype From, qsizetype To)
{
    const QChar next = To < Text.size() ? Text[To] : QChar();
    if (next == u'(' || next == u'!' || next == u'[')
        return {};
    return ParseEnd(Text.mid(From, To - From));
}

// The end of what starts at From with Open and ends with the matching Close; a quote closes
// where it is not doubled, brackets nest.
qsizetype Enclosed(QStringView Text, qsizetype From, QChar Open, QChar Close)
{
    int depth = 0;
    for (qsizetype i = From; i < Text.size(); ++i) {
        if (Open == Close && Text[i] == Close && i > From) {
            if (i + 1 < Text.size() && Text[i + 1] == Close) {
                ++i;
                continue;
            }
            return i + 1;
        }
        if (Open != Close && Text[i] == Open)
            ++depth;
        else if (Open != Close && Text[i] == Close && --depth == 0)
            return i + 1;
    }
    return Text.size();
}

}  // namespace

QString MovedFormula(QStringView Formula, int Rows, int Cols)
{
    const QString broken = QStringLiteral("#REF!");
    QString out;
    out.reserve(Formula.size());
    for (qsizetype i = 0; i < Formula.size();) {
        const QChar c = Formula[i];
        if (c == u'"' || c == u'\'' || c == u'[') {
            const qsizetype end = Enclosed(Formula, i, c, c == u'[' ? QChar(u']') : c);
            out += Formula.mid(i, end - i);
            i = end;
            continue;
        }
        if (!IsWordChar(c)) {
            out += c;
            ++i;
            continue;
        }
        const qsizetype end = WordEnd(Formula, i);
        TRefEnd first = EndAt(Formula, i, end);
        // A range: both ends move together, and it breaks as a whole.
        if (first.Kind != TRefEnd::None && end < Formula.size() && Formula[end] == u':') {
            const qsizetype secondEnd = WordEnd(Formula, end + 1);
            TRefEnd second = EndAt(Formula, end + 1, secondEnd);
            if (second.Kind == first.Kind) {
                const bool firstInside = first.Move(Rows, Cols), secondInside = second.Move(Rows, Cols);
                out += firstInside && secondInside ? first.Text() + u':' + second.Text() : broken;
                i = secondEnd;
                continue;
            }
        }
        if (first.Kind == TRefEnd::Cell)
            out += first.Move(Rows, Cols) ? first.Text() : broken;
        else
            out += Formula.mid(i, end - i);
        i = end;
    }
    return out;
}
