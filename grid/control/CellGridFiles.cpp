// The grid's files: its own file and stream, CSV, fixed width, aligned text, HTML and XML. The
// formats themselves are display-free (grid/model/GridFiles.h); this file reads the grid's
// switches, reports progress, shows the hourglass, and reads and writes the files, every write
// through the atomic writer (an append writes the old contents and the new).

#include "grid/control/CellGrid.h"
#include "grid/model/Cgutil.h"
#include "grid/model/GridFiles.h"
#include "platform/core/AtomicFile.h"
#include "platform/core/StoredPath.h"
#include "platform/core/Streams.h"
#include "platform/gui/Forms.h"
#include "platform/gui/PendingEvents.h"

namespace {

// Writes a file whole; a failure raises Message (the old file stays).
void WriteOrRaise(const AnsiString& FileName, std::string_view Bytes, const AnsiString& Message)
{
    if (FileName.empty() || !AtomicWriteFile(NativePath(FileName), Bytes))
        throw ECellGridError(Message + FileName);
}

// A file read up to the readers' bound; one past it raises before anything is read.
TFileRead ReadGridFile(const AnsiString& FileName, std::string& Bytes)
{
    const TFileRead read = ReadFileUpTo(FileName, kMaxGridFileBytes, Bytes);
    if (read == TFileRead::TooLarge)
        throw ECellGridError(TooLargeFileMessage(FileName));
    return read;
}

// The bytes of a file a reader takes: a file that cannot be read raises Message.
std::string ReadOrRaise(const AnsiString& FileName, const AnsiString& Message)
{
    std::string bytes;
    if (FileName.empty() || ReadGridFile(FileName, bytes) != TFileRead::Ok)
        throw ECellGridError(Message);
    return bytes;
}

// The old contents of a file an append adds to: nothing for a file not there yet. A file that
// is there but cannot be read (no permission, a pipe, a device, a folder) is refused, as the
// append would replace it by the new rows alone.
std::string OldContents(const AnsiString& FileName)
{
    std::string bytes;
    if (ReadGridFile(FileName, bytes) == TFileRead::Unreadable)
        throw ECellGridError("Cannot open file " + FileName);
    return bytes;
}

// The hourglass for the life of a long export.
class THourGlass {
public:
    THourGlass()
    {
        if (Screen)
            Screen->SetCursor(crHourGlass);
    }
    ~THourGlass()
    {
        if (Screen)
            Screen->SetCursor(crDefault);
    }
    THourGlass(const THourGlass&) = delete;
    THourGlass& operator=(const THourGlass&) = delete;
};

std::vector<int> IntsOf(const TIntList* List)
{
    std::vector<int> values;
    for (int i = 0; List && i < List->Count(); ++i)
        values.push_back(List->GetInteger(i));
    return values;
}

}  // namespace

TGridFileSettings TCellGrid::FileSettings() const
{
    TGridFileSettings settings;
    settings.Multilinecells = Multilinecells;
    settings.SaveIncludesHidden = SaveIncludesHidden;
    settings.OemConvert = OemConvert;
    settings.CSVDelimiter = CSVDelimiter;
    settings.CSVJavaStyle = CSVJavaStyle;
    return settings;
}

TFileProgress TCellGrid::FileProgress()
{
    std::function<void(int)> report;
    if (OnFileProgress)
        report = [this](int p) {
            if (OnFileProgress)
                OnFileProgress(this, static_cast<int16_t>(std::clamp(p, -32768, 32767)));
        };
    // The window repaints meanwhile but takes no input, which could change the grid under the load.
    return TFileProgress(std::move(report), ProcessPendingEventsWithoutInput);
}

void TCellGrid::SaveToFile(const AnsiString& FileName)
{
    TFileProgress progress = FileProgress();
    WriteOrRaise(FileName, GridFileText(*this, FileSettings(), progress), "Cannot create ");
}

void TCellGrid::LoadFromFile(const AnsiString& FileName)
{
    const std::string bytes = ReadOrRaise(FileName, "Cannot open file " + FileName);
    TFileProgress progress = FileProgress();
    LoadGridFileText(*this, bytes, FileName, FileSettings(), progress);
}

void TCellGrid::SaveToStream(TStream* Stream)
{
    if (Stream)
        Stream->WriteBuffer(GridStreamText(*this));
}

void TCellGrid::LoadFromStream(TStream* Stream)
{
    if (Stream)
        LoadGridStream(*this, *Stream, Multilinecells);
}

void TCellGrid::OutputToCSV(const AnsiString& FileName, bool Append)
{
    TFileProgress progress = FileProgress();
    const AnsiString text = CSVText(*this, FileSettings(), progress);
    WriteOrRaise(FileName, Append ? OldContents(FileName) + text : text, "Cannot create file ");
}

void TCellGrid::InputFromCSV(const AnsiString& FileName, bool Insert)
{
    const std::string bytes = ReadOrRaise(FileName, "Cannot open file " + FileName);
    TFileProgress progress = FileProgress();
    LoadCSVText(*this, bytes, FileName, Insert, FileSettings(), progress);
}

void TCellGrid::SaveToFixed(const AnsiString& FileName, TIntList* Widths)
{
    std::vector<int> widths = IntsOf(Widths);
    const size_t given = widths.size();
    const AnsiString text = FixedText(*this, widths, Multilinecells);
    // The caller's list grows by the widths measured.
    for (size_t i = given; Widths && i < widths.size(); ++i)
        Widths->Add(widths[i]);
    WriteOrRaise(FileName, text, "Cannot create file ");
}

void TCellGrid::LoadFromFixed(const AnsiString& FileName, TIntList* Positions)
{
    const std::string bytes = ReadOrRaise(FileName, "File " + FileName + " not found");
    LoadFixedText(*this, bytes, FileName, IntsOf(Positions));
}

void TCellGrid::SaveToASCII(const AnsiString& FileName)
{
    THourGlass hourGlass;
    const AnsiString text =
        ASCIIText(*this, Multilinecells, [this](int ACol, int ARow) { return GetCellAlignment(RemapCol(ACol), ARow); });
    WriteOrRaise(FileName, text, "Cannot create file ");
}

void TCellGrid::OutputToHTML(const AnsiString& FileName, bool Append)
{
    THtmlExport html;
    html.Settings = HTMLSettings();
    html.WordWrap = WordWrap();
    html.URLShow = URLShow();
    html.URLFull = URLFull();
    html.FixedBack = ColorToRGB(GetSysColor(10));
    html.Alignment = [this](int ACol, int ARow) { return GetCellAlignment(RemapCol(ACol), ARow); };
    html.Look = [this](int ACol, int ARow) {
        TBrush brush;
        TFont font;
        brush.SetColor(static_cast<TColor>(THtmlCellLook::kUnsetColor));
        font.SetColor(static_cast<TColor>(THtmlCellLook::kUnsetColor));
        font.SetStyle(TFontStyles());
        GetCellColor(ACol, ARow, {}, &brush, &font);
        THtmlCellLook look;
        if (brush.Color() != static_cast<TColor>(THtmlCellLook::kUnsetColor))
            look.Back = static_cast<int32_t>(ColorToRGB(brush.Color()));
        if (font.Color() != static_cast<TColor>(THtmlCellLook::kUnsetColor))
            look.Text = static_cast<int32_t>(ColorToRGB(font.Color()));
        look.Bold = font.Style().Contains(fsBold);
        look.Italic = font.Style().Contains(fsItalic);
        look.Underline = font.Style().Contains(fsUnderline);
        return look;
    };
    AnsiString text = Append ? AnsiString(OldContents(FileName)) : AnsiString();
    // Header and footer files are copied line by line; a missing one is skipped.
    const auto copyLines = [&text](const AnsiString& Name) {
        std::string bytes;
        if (Name.empty() || ReadGridFile(Name, bytes) != TFileRead::Ok)
            return;
        TStringList lines;
        lines.SetText(bytes);
        for (int i = 0; i < lines.Count(); ++i)
            text += lines.Strings(i) + "\r\n";
    };
    copyLines(HTMLSettings()->HeaderFile);
    text += HTMLTable(*this, html);
    copyLines(HTMLSettings()->FooterFile);
    WriteOrRaise(FileName, text, "Cannot create file ");
}

void TCellGrid::SaveToXML(const AnsiString& FileName, const AnsiString& ListTag, const AnsiString& RecordTag,
                          TStrings* FieldTags)
{
    std::vector<AnsiString> tags;
    for (int i = 0; FieldTags && i < FieldTags->Count(); ++i)
        tags.push_back(FieldTags->Strings(i));
    WriteOrRaise(FileName, XMLText(*this, ListTag, RecordTag, tags), "Cannot create file ");
}
