// The in-process spreadsheet and document servers: the object models the grid's exchange
// calls, over workbooks and documents kept in memory. .xlsx and .docx files are read and
// written here; other extensions are converted through LibreOffice. A new workbook has one
// sheet; WorkSheets.Add puts a new active sheet before the active one. Texts that are numbers
// in their own canonical form are stored as numbers, every other text as text. An opened
// workbook reads a sheet's cells when the sheet is first used, and saving it changes only the
// cells written and the sheet list (OfficeWorkbook.h), over the file as another program may have
// saved it since (OfficeBookSave.h). Every save holds the file's update lock from its read to
// the new file's naming.

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>
#include <optional>
#include <unordered_set>

#include "platform/core/AtomicFile.h"
#include "platform/core/CLocaleNumbers.h"
#include "platform/core/Cp949.h"
#include "platform/core/FloatFormat.h"
#include "platform/core/StoredPath.h"
#include "platform/core/Streams.h"
#include "platform/gui/OfficeBookSave.h"
#include "platform/gui/OfficeConvert.h"
#include "platform/gui/OfficePackage.h"
#include "platform/gui/OfficeWorkbook.h"

namespace {

// Cells a range or a table may hold: what a grid can hold.
constexpr int64_t kMaxRangeCells = int64_t{1} << 26;

[[noreturn]] void UnknownName(const AnsiString& Member) { throw EOleException("Unknown name: " + Member); }

const TOleVariant& Arg(const std::vector<TOleVariant>& Args, size_t Index, const std::vector<TNamedArg>& Named,
                       const char* Name)
{
    for (const TNamedArg& a : Named)
        if (LowerCase(a.Name) == Name)
            return a.Value;
    if (Index >= Args.size())
        throw EOleException(AnsiString("Missing argument: ") + Name);
    return Args[Index];
}

int IntArg(const std::vector<TOleVariant>& Args, size_t Index, const std::vector<TNamedArg>& Named, const char* Name)
{
    try {
        return Arg(Args, Index, Named, Name).Value().AsInteger();
    } catch (const EVariantError&) {
        throw EOleException(AnsiString("Type mismatch: ") + Name);
    }
}

// A file's extension in lower case, without the dot.
std::string Extension(const std::string& NativePath)
{
    return QFileInfo(QString::fromStdString(NativePath)).suffix().toLower().toStdString();
}

// A text stored as a number when the number gives it back exactly ("12", "-0.5"; not "007",
// "1.50" or 20 digits).
Variant StoredValue(const AnsiString& Text)
{
    if (Text.empty() || Text.size() > 17)
        return Variant(Text);
    size_t i = Text[0] == '-' ? 1 : 0, digits = 0, points = 0;
    for (; i < Text.size(); ++i) {
        if (Text[i] == '.')
            ++points;
        else if (Text[i] >= '0' && Text[i] <= '9')
            ++digits;
        else
            return Variant(Text);
    }
    if (digits == 0 || points > 1 || Text.back() == '.')
        return Variant(Text);
    // Read and written with "." whatever the desktop's locale, as the sheet stores numbers.
    const double value = CStrToD(Text.c_str(), nullptr);
    return Format("%.15g", value) == Text ? Variant(value) : Variant(Text);
}

// A value read from a sheet: numbers in the general format with up to 15 digits.
TOleVariant ReadValue(const Variant& Stored)
{
    if (Stored.VarType() == varDouble) {
        const double value = Stored.AsDouble();
        if (value == std::floor(value) && std::fabs(value) < 1e15)
            return TOleVariant(Variant(static_cast<int64_t>(value)));
    }
    return TOleVariant(Stored);
}

// The bytes of a package made in Kind (xlsx, docx) as Target's kind of file: made by LibreOffice
// where that is another.
std::string InTargetKind(const std::string& Target, const std::string& Bytes, const char* Kind)
{
    const std::string extension = Extension(Target);
    if (extension == Kind)
        return Bytes;
    const AnsiString failed = "Cannot save " + Utf8ToCp949(Target);
    QTemporaryDir folder;
    const std::string source = folder.filePath(QStringLiteral("package.") + QLatin1String(Kind)).toStdString();
    if (!folder.isValid() || !AtomicWriteFile(source, Bytes))
        throw EOleException(failed);
    const std::string made = ConvertWithOffice(source, extension, folder.path().toStdString());
    std::string converted;
    if (!TryReadWholeFile(StoredPath(made), converted))
        throw EOleException(failed);
    return converted;
}

// Writes Target under its update lock, held from before Make reads what the file holds now until
// the new file has its name, so that another program's save in between is never lost. Make reads
// the file through the lock and gives the bytes to write; the new file is written through the
// lock too, in the folder it locked. Bytes that do not depend on the file are made before the
// lock is taken: a conversion may take long, and other programs' saves wait only so long.
void SaveLocked(const std::string& Target, const std::function<std::string(const TFileUpdateLock& Lock)>& Make)
{
    TFileUpdateLock lock(Target);
    if (!lock.MaySave())
        throw EOleException(lock.Message());
    if (!AtomicWriteFile(lock, Make(lock)))
        throw EOleException("Cannot save " + Utf8ToCp949(Target));
}

// The workbook package of a file's bytes as Read found them, an .xlsx's as they are and another
// kind's converted through LibreOffice from a copy; nullopt when no file was there. Raises when it
// could not be read, naming the file as Shown.
std::optional<std::string> WorkbookPackage(TFileRead Read, std::string Bytes, const std::string& Extension,
                                           const AnsiString& Shown)
{
    const AnsiString unreadable = "Cannot open file " + Shown;
    switch (Read) {
    case TFileRead::Ok: break;
    case TFileRead::Missing: return std::nullopt;
    case TFileRead::TooLarge:
        throw EOleException("The workbook is too large: " + Shown + " is larger than " +
                            std::to_string(kMaxWorkbookFileBytes) + " bytes");
    case TFileRead::Unreadable: throw EOleException(unreadable);
    }
    if (Extension == "xlsx")
        return Bytes;
    QTemporaryDir folder;
    const std::string copy =
        folder.filePath(QStringLiteral("stored.") + QString::fromStdString(Extension)).toStdString();
    if (!folder.isValid() || !AtomicWriteFile(copy, Bytes))
        throw EOleException(unreadable);
    const std::string made = ConvertWithOffice(copy, "xlsx", folder.path().toStdString());
    if (!TryReadWholeFile(StoredPath(made), Bytes))
        throw EOleException(unreadable);
    return Bytes;
}

// Whether two paths name one file, through links and relative folders.
bool SameFile(const std::string& A, const std::string& B)
{
    std::error_code a, b;
    const std::filesystem::path one = std::filesystem::weakly_canonical(A, a);
    const std::filesystem::path two = std::filesystem::weakly_canonical(B, b);
    return a || b ? A == B : one == two;
}

// --- Spreadsheet.

// A sheet of a workbook: its cells, read from the workbook's package when first used, and the
// boxes of cells written since, which are all that saving changes in its part.
struct TSheetState {
    TSheetData Data;
    int Listed = -1;  // its place in the package's sheet list; -1 for a new sheet
    bool Worksheet = true;
    std::shared_ptr<TXlsxPackage> Package;  // until its cells are read
    std::vector<TCellBox> Written;

    TSheetData& Cells()
    {
        if (Package) {
            try {
                Package->ReadCells(static_cast<size_t>(Listed), Data);
            } catch (...) {
                Data.Cells.clear();
                throw;
            }
            Package.reset();
        }
        return Data;
    }
};

struct TBook;

// "$B$3:$D$5" or "B3" into a box; false when it is no range.
bool ParseBox(std::string_view Text, TCellBox& Box)
{
    const auto corner = [](std::string_view part, int& row, int& col) {
        std::string letters, digits;
        for (const char c : part) {
            if (c == '$')
                continue;
            if (c >= 'a' && c <= 'z')
                letters += static_cast<char>(c - 'a' + 'A');
            else if (c >= 'A' && c <= 'Z' && digits.empty())
                letters += c;
            else if (c >= '0' && c <= '9')
                digits += c;
            else
                return false;
        }
        col = ColumnNumber(letters);
        row = digits.empty() || digits.size() > 8 ? 0 : std::stoi(digits);
        return col >= 1 && row >= 1 && row <= kMaxSheetRows;
    };
    const size_t colon = Text.find(':');
    if (!corner(Text.substr(0, colon), Box.Top, Box.Left))
        return false;
    Box.Bottom = Box.Top;
    Box.Right = Box.Left;
    if (colon != std::string_view::npos && !corner(Text.substr(colon + 1), Box.Bottom, Box.Right))
        return false;
    if (Box.Bottom < Box.Top)
        std::swap(Box.Bottom, Box.Top);
    if (Box.Right < Box.Left)
        std::swap(Box.Right, Box.Left);
    return true;
}

class TSheetObject;

class TRangeObject : public IDispatchObject {
public:
    TRangeObject(std::shared_ptr<TSheetState> Sheet, TCellBox Box) : FSheet(std::move(Sheet)), FBox(Box) {}
    TOleVariant Invoke(const AnsiString& Member, TInvokeKind Kind, const std::vector<TOleVariant>& Args,
                       const std::vector<TNamedArg>& Named) override
    {
        const AnsiString name = LowerCase(Member);
        if (name == "address" && Kind != ikPropertyPut)
            return TOleVariant(BoxReference(FBox, true));
        if (name == "value" && Kind == ikPropertyPut)
            return Put(Args.empty() ? TOleVariant() : Args.back());
        if (name == "value") {
            auto array = std::make_shared<TOleArray>(1, FBox.Bottom - FBox.Top + 1, 1, FBox.Right - FBox.Left + 1);
            for (const auto& [at, value] : FSheet->Cells().Cells)
                if (FBox.Holds(at.first, at.second))
                    array->At(at.first - FBox.Top + 1, at.second - FBox.Left + 1) = ReadValue(value);
            return TOleVariant(array);
        }
        UnknownName(Member);
    }

private:
    TOleVariant Put(const TOleVariant& Value)
    {
        auto& cells = FSheet->Cells().Cells;
        const auto put = [&](int row, int col, const TOleVariant& v) {
            if (v.IsEmpty() || (v.Value().VarType() == varString && v.AsString().empty()))
                cells.erase({row, col});
            else
                cells[{row, col}] = v.Value().VarType() == varString ? StoredValue(v.AsString()) : v.Value();
        };
        // Cells past an array's size get nothing, as the office programs fill "#N/A": the box
        // written is the part of the range the array covers, so a save keeps what the file has
        // beyond it.
        const TOleArray* array = Value.Array().get();
        TCellBox box = FBox;
        if (array) {
            box.Bottom =
                static_cast<int>(std::min<int64_t>(box.Bottom, int64_t{box.Top} + array->RowHigh() - array->RowLow()));
            box.Right =
                static_cast<int>(std::min<int64_t>(box.Right, int64_t{box.Left} + array->ColHigh() - array->ColLow()));
            if (box.Bottom < box.Top || box.Right < box.Left)
                return {};
        }
        for (int r = box.Top; r <= box.Bottom; ++r)
            for (int c = box.Left; c <= box.Right; ++c)
                put(r, c, array ? array->At(array->RowLow() + r - box.Top, array->ColLow() + c - box.Left) : Value);
        std::vector<TCellBox>& written = FSheet->Written;
        if (std::find(written.begin(), written.end(), box) == written.end())
            written.push_back(box);
        return {};
    }

    std::shared_ptr<TSheetState> FSheet;
    TCellBox FBox;
};

// A name office programs take for a sheet: 1 to 31 characters, none of : \ / ? * [ ] or a
// control character (the file could not hold it), not starting or ending with an apostrophe.
bool ValidSheetName(const AnsiString& Name)
{
    const std::u16string text = Cp949ToUtf16(Name);
    return !text.empty() && text.size() <= 31 && text.front() != u'\'' && text.back() != u'\'' &&
        text.find_first_of(u":\\/?*[]") == std::u16string::npos &&
        std::none_of(text.begin(), text.end(), [](char16_t c) { return c < 0x20; });
}

class TSheetObject : public IDispatchObject {
public:
    TSheetObject(std::shared_ptr<TSheetState> Sheet, std::weak_ptr<TBook> Book)
        : FSheet(std::move(Sheet)), FBook(std::move(Book))
    {}
    const std::shared_ptr<TSheetState>& Sheet() const { return FSheet; }
    TOleVariant Invoke(const AnsiString& Member, TInvokeKind Kind, const std::vector<TOleVariant>& Args,
                       const std::vector<TNamedArg>& Named) override;

private:
    std::shared_ptr<TSheetState> FSheet;
    std::weak_ptr<TBook> FBook;
};

// The workbook's sheets in memory, and the package it was opened from, if any.
struct TBook : std::enable_shared_from_this<TBook> {
    std::vector<std::shared_ptr<TSheetObject>> Sheets;
    int Active = 0;
    std::string Path;  // native; empty for a new workbook
    std::shared_ptr<TXlsxPackage> Package;

    void AddSheet(std::shared_ptr<TSheetState> Sheet, int At)
    {
        Sheets.insert(Sheets.begin() + At, std::make_shared<TSheetObject>(std::move(Sheet), weak_from_this()));
    }
    // Another sheet with this name, compared as office programs do, without regard to case.
    bool NameTaken(const AnsiString& Name, const TSheetState* Except) const
    {
        for (const auto& s : Sheets)
            if (s->Sheet().get() != Except && SameText(s->Sheet()->Data.Name, Name))
                return true;
        return false;
    }
    // The first "SheetN" no sheet has; the names are folded once, as a book may hold many.
    AnsiString FreeName() const
    {
        std::unordered_set<AnsiString> taken;
        for (const auto& s : Sheets)
            taken.insert(LowerCase(s->Sheet()->Data.Name));
        for (int n = 1;; ++n) {
            const AnsiString name = "Sheet" + std::to_string(n);
            if (!taken.count(LowerCase(name)))
                return name;
        }
    }
    // Saves the workbook to Target (native). Saved over the file it was opened from, the changes
    // made here go over what that file holds now (OfficeBookSave.h), read again under the file's
    // lock: a file that is no longer there gets the workbook as opened plus the changes. Saved to
    // another file, a workbook that was opened is its package as opened plus the changes, and a
    // new one is written whole. The workbook then stands for what was written.
    void Save(const std::string& Target)
    {
        const bool over = Package && SameFile(Target, Path);
        std::string written;
        std::vector<int> ours;
        const auto asHeld = [&] {
            written = AsHeld();
            ours.clear();
            for (size_t i = 0; i < Sheets.size(); ++i)
                ours.push_back(static_cast<int>(i));
        };
        if (over) {
            SaveLocked(Target, [&](const TFileUpdateLock& lock) {
                if (const std::unique_ptr<TXlsxPackage> now = StoredNow(lock, Target)) {
                    const TBookSave save = SaveOver(now->Sheets(), Described(), Utf8ToCp949(Target));
                    written = now->Written(save.Book);
                    ours = save.Ours;
                } else {
                    asHeld();
                }
                return InTargetKind(Target, written, "xlsx");
            });
        } else {
            asHeld();
            const std::string bytes = InTargetKind(Target, written, "xlsx");
            SaveLocked(Target, [&](const TFileUpdateLock&) { return bytes; });
        }
        Path = Target;
        StandFor(std::move(written), ours);
    }

    // The workbook as the package Written holds it, opened or just saved: each sheet of it is the
    // sheet of the book at Ours (a new one for a sheet only the file had, or past Ours), its
    // cells read when next used.
    void StandFor(std::string Written, const std::vector<int>& Ours)
    {
        auto package = std::make_shared<TXlsxPackage>(std::move(Written));
        std::vector<std::shared_ptr<TSheetObject>> sheets;
        for (size_t place = 0; place < package->Sheets().size(); ++place) {
            const int ours = place < Ours.size() ? Ours[place] : -1;
            sheets.push_back(ours >= 0
                                 ? Sheets[static_cast<size_t>(ours)]
                                 : std::make_shared<TSheetObject>(std::make_shared<TSheetState>(), weak_from_this()));
            TSheetState& sheet = *sheets.back()->Sheet();
            const TListedSheet& listed = package->Sheets()[place];
            sheet.Data = {listed.Name, {}};
            sheet.Listed = static_cast<int>(place);
            sheet.Worksheet = listed.Worksheet;
            sheet.Package = package;
            sheet.Written.clear();
        }
        Sheets = std::move(sheets);
        Active = package->Active();
        Package = std::move(package);
    }

private:
    // What the file holds now, for a save over it; a file that cannot be read is refused, never
    // written over blindly.
    static std::unique_ptr<TXlsxPackage> StoredNow(const TFileUpdateLock& Lock, const std::string& Target)
    {
        const AnsiString shown = Utf8ToCp949(Target);
        try {
            std::string bytes;
            const TFileRead read = Lock.ReadUpTo(kMaxWorkbookFileBytes, bytes);
            std::optional<std::string> package = WorkbookPackage(read, std::move(bytes), Extension(Target), shown);
            return package ? std::make_unique<TXlsxPackage>(std::move(*package)) : nullptr;
        } catch (const EOfficeMissing&) {
            throw;
        } catch (const EOleException& e) {
            throw EOleException("Cannot save " + shown + ": the file as it is now cannot be read (" + e.Message +
                                "), and writing it would lose what it holds");
        }
    }
    std::vector<TBookSheet> Described() const
    {
        std::vector<TBookSheet> described;
        for (const auto& s : Sheets) {
            const std::shared_ptr<TSheetState>& sheet = s->Sheet();
            described.push_back(
                {sheet->Listed >= 0 ? Package->Sheets()[static_cast<size_t>(sheet->Listed)].Name : AnsiString(),
                 &sheet->Data, &sheet->Written,
                 [sheet]() -> const TSheetData* { return sheet->Worksheet ? &sheet->Cells() : nullptr; }});
        }
        return described;
    }
    // The package as it was opened with the changes made here, or a new workbook whole.
    std::string AsHeld() const
    {
        if (Package) {
            std::vector<TSheetWrite> book;
            for (const auto& s : Sheets)
                book.push_back({s->Sheet()->Listed, &s->Sheet()->Data, s->Sheet()->Written});
            return Package->Written(book);
        }
        TWorkbookData data;
        for (const auto& s : Sheets)
            data.Sheets.push_back(s->Sheet()->Cells());
        data.Active = Active;
        return XlsxBytes(data);
    }
};

TOleVariant TSheetObject::Invoke(const AnsiString& Member, TInvokeKind Kind, const std::vector<TOleVariant>& Args,
                                 const std::vector<TNamedArg>& Named)
{
    const AnsiString name = LowerCase(Member);
    if (name == "name" && Kind == ikPropertyPut) {
        const AnsiString value = Args.empty() ? AnsiString() : Args.back().AsString();
        if (!ValidSheetName(value))
            throw EOleException("You typed an invalid name for a sheet or chart");
        const std::shared_ptr<TBook> book = FBook.lock();
        if (book && book->NameTaken(value, FSheet.get()))
            throw EOleException("That name is already taken. Try a different one");
        FSheet->Data.Name = value;
        return {};
    }
    if (name == "name")
        return TOleVariant(FSheet->Data.Name);
    // Chart sheets and the like have no cells.
    if (!FSheet->Worksheet)
        UnknownName(Member);
    if (name == "usedrange") {
        TCellBox box;
        const auto& cells = FSheet->Cells().Cells;
        if (!cells.empty()) {
            box = {cells.begin()->first.first, kMaxSheetCols, 0, 0};
            for (const auto& [at, value] : cells) {
                box.Bottom = std::max(box.Bottom, at.first);
                box.Left = std::min(box.Left, at.second);
                box.Right = std::max(box.Right, at.second);
            }
        }
        return TOleVariant(TDispatch(std::make_shared<TRangeObject>(FSheet, box)));
    }
    if (name == "range") {
        TCellBox box;
        const AnsiString text = Arg(Args, 0, Named, "cell1").AsString();
        if (!ParseBox(text, box) ||
            int64_t{box.Bottom - box.Top + 1} * int64_t{box.Right - box.Left + 1} > kMaxRangeCells)
            throw EOleException("Range '" + text + "' is not valid");
        return TOleVariant(TDispatch(std::make_shared<TRangeObject>(FSheet, box)));
    }
    UnknownName(Member);
}

class TSheetsObject : public IDispatchObject {
public:
    explicit TSheetsObject(std::shared_ptr<TBook> Book) : FBook(std::move(Book)) {}
    TOleVariant Invoke(const AnsiString& Member, TInvokeKind Kind, const std::vector<TOleVariant>& Args,
                       const std::vector<TNamedArg>& Named) override
    {
        const AnsiString name = LowerCase(Member);
        if (name == "count")
            return TOleVariant(static_cast<int>(FBook->Sheets.size()));
        if (name == "add") {
            auto sheet = std::make_shared<TSheetState>();
            sheet->Data.Name = FBook->FreeName();
            FBook->AddSheet(sheet, FBook->Active);
            return TOleVariant(TDispatch(FBook->Sheets[static_cast<size_t>(FBook->Active)]));
        }
        if (name == "item")
            return Item(FBook, IntArg(Args, 0, Named, "index"));
        UnknownName(Member);
    }
    static TOleVariant Item(const std::shared_ptr<TBook>& Book, int Index)
    {
        if (Index < 1 || Index > static_cast<int>(Book->Sheets.size()))
            throw EOleException("Invalid index");
        return TOleVariant(TDispatch(Book->Sheets[static_cast<size_t>(Index - 1)]));
    }

private:
    std::shared_ptr<TBook> FBook;
};

class TWorkbookObject : public IDispatchObject {
public:
    explicit TWorkbookObject(std::shared_ptr<TBook> Book) : FBook(std::move(Book)) {}
    TOleVariant Invoke(const AnsiString& Member, TInvokeKind Kind, const std::vector<TOleVariant>& Args,
                       const std::vector<TNamedArg>& Named) override
    {
        const AnsiString name = LowerCase(Member);
        if (name == "activesheet")
            return TOleVariant(TDispatch(FBook->Sheets[static_cast<size_t>(FBook->Active)]));
        if (name == "sheets" || name == "worksheets") {
            if (!Args.empty())
                return TSheetsObject::Item(FBook, IntArg(Args, 0, Named, "index"));
            return TOleVariant(TDispatch(std::make_shared<TSheetsObject>(FBook)));
        }
        if (name == "saveas") {
            FBook->Save(NativePath(Arg(Args, 0, Named, "filename").AsString()));
            return {};
        }
        if (name == "save") {
            if (FBook->Path.empty())
                throw EOleException("The workbook has no file name");
            FBook->Save(FBook->Path);
            return {};
        }
        if (name == "close") {
            bool save = false;
            for (const TNamedArg& a : Named)
                if (LowerCase(a.Name) == "savechanges")
                    save = a.Value.Value().AsBoolean();
            if (!Args.empty())
                save = Args[0].Value().AsBoolean();
            if (save && !FBook->Path.empty())
                FBook->Save(FBook->Path);
            return {};
        }
        UnknownName(Member);
    }

private:
    std::shared_ptr<TBook> FBook;
};

class TWorkbooksObject : public IDispatchObject {
public:
    TOleVariant Invoke(const AnsiString& Member, TInvokeKind Kind, const std::vector<TOleVariant>& Args,
                       const std::vector<TNamedArg>& Named) override
    {
        const AnsiString name = LowerCase(Member);
        if (name == "add") {
            auto book = std::make_shared<TBook>();
            auto sheet = std::make_shared<TSheetState>();
            sheet->Data.Name = "Sheet1";
            book->AddSheet(sheet, 0);
            return TOleVariant(TDispatch(std::make_shared<TWorkbookObject>(book)));
        }
        if (name == "open")
            return Open(Arg(Args, 0, Named, "filename").AsString());
        UnknownName(Member);
    }

private:
    // A file that is not there opens nothing (an empty result); one that cannot be read raises.
    // Sheets are read when they are first used.
    static TOleVariant Open(const AnsiString& FileName)
    {
        const std::string path = NativePath(FileName);
        if (!QFileInfo(QString::fromStdString(path)).isFile())
            return {};
        std::string read;
        const TFileRead found = ReadFileUpTo(FileName, kMaxWorkbookFileBytes, read);
        std::optional<std::string> bytes = WorkbookPackage(found, std::move(read), Extension(path), FileName);
        if (!bytes)
            return {};
        auto book = std::make_shared<TBook>();
        book->StandFor(std::move(*bytes), {});
        book->Path = path;
        return TOleVariant(TDispatch(std::make_shared<TWorkbookObject>(book)));
    }
};

class TExcelObject : public IDispatchObject {
public:
    TOleVariant Invoke(const AnsiString& Member, TInvokeKind Kind, const std::vector<TOleVariant>& Args,
                       const std::vector<TNamedArg>& Named) override
    {
        const AnsiString name = LowerCase(Member);
        if (name == "workbooks")
            return TOleVariant(TDispatch(FBooks));
        if (name == "quit")
            return {};
        UnknownName(Member);
    }

private:
    TDispatch FBooks = std::make_shared<TWorkbooksObject>();
};

// --- Document.

struct TDocument {
    TDocumentData Data;
};

class TParagraphFormatObject : public IDispatchObject {
public:
    explicit TParagraphFormatObject(TDocCell& Cell) : FCell(Cell) {}
    TOleVariant Invoke(const AnsiString& Member, TInvokeKind Kind, const std::vector<TOleVariant>& Args,
                       const std::vector<TNamedArg>& Named) override
    {
        if (LowerCase(Member) != "alignment")
            UnknownName(Member);
        if (Kind == ikPropertyPut) {
            const int value = IntArg(Args, Args.empty() ? 0 : Args.size() - 1, Named, "alignment");
            FCell.Alignment = value == 2 ? daRight : value == 1 ? daCenter : daLeft;
            return {};
        }
        return TOleVariant(static_cast<int>(FCell.Alignment));
    }

private:
    TDocCell& FCell;
};

// A cell's range, or the document's own (which holds no cell).
class TDocRangeObject : public IDispatchObject {
public:
    TDocRangeObject(std::shared_ptr<TDocument> Document, TDocCell* Cell) : FDocument(std::move(Document)), FCell(Cell)
    {}
    TDocCell* Cell() const { return FCell; }
    TOleVariant Invoke(const AnsiString& Member, TInvokeKind Kind, const std::vector<TOleVariant>& Args,
                       const std::vector<TNamedArg>& Named) override
    {
        const AnsiString name = LowerCase(Member);
        if (name == "insertafter" && FCell) {
            FCell->Text += Arg(Args, 0, Named, "text").AsString();
            return {};
        }
        if (name == "paragraphformat" && FCell)
            return TOleVariant(TDispatch(std::make_shared<TParagraphFormatObject>(*FCell)));
        if (name == "text" && FCell)
            return TOleVariant(FCell->Text);
        UnknownName(Member);
    }

private:
    std::shared_ptr<TDocument> FDocument;  // keeps the cell alive
    TDocCell* FCell;
};

class TTableObject : public IDispatchObject {
public:
    TTableObject(std::shared_ptr<TDocument> Document, size_t Index) : FDocument(std::move(Document)), FIndex(Index) {}
    TOleVariant Invoke(const AnsiString& Member, TInvokeKind Kind, const std::vector<TOleVariant>& Args,
                       const std::vector<TNamedArg>& Named) override
    {
        if (LowerCase(Member) != "cell")
            UnknownName(Member);
        TDocTable& table = FDocument->Data.Tables[FIndex];
        const int row = IntArg(Args, 0, Named, "row"), col = IntArg(Args, 1, Named, "column");
        if (row < 1 || row > table.Rows || col < 1 || col > table.Cols)
            throw EOleException("The requested member of the collection does not exist");
        TDocCell* cell =
            &table.Cells[static_cast<size_t>(row - 1) * static_cast<size_t>(table.Cols) + static_cast<size_t>(col - 1)];
        auto range = std::make_shared<TDocRangeObject>(FDocument, cell);
        return TOleVariant(TDispatch(std::make_shared<TCellObject>(range)));
    }

private:
    class TCellObject : public IDispatchObject {
    public:
        explicit TCellObject(TDispatch Range) : FRange(std::move(Range)) {}
        TOleVariant Invoke(const AnsiString& Member, TInvokeKind, const std::vector<TOleVariant>&,
                           const std::vector<TNamedArg>&) override
        {
            if (LowerCase(Member) != "range")
                UnknownName(Member);
            return TOleVariant(FRange);
        }

    private:
        TDispatch FRange;
    };
    std::shared_ptr<TDocument> FDocument;
    size_t FIndex;
};

class TTablesObject : public IDispatchObject {
public:
    explicit TTablesObject(std::shared_ptr<TDocument> Document) : FDocument(std::move(Document)) {}
    TOleVariant Invoke(const AnsiString& Member, TInvokeKind Kind, const std::vector<TOleVariant>& Args,
                       const std::vector<TNamedArg>& Named) override
    {
        const AnsiString name = LowerCase(Member);
        if (name == "count")
            return TOleVariant(static_cast<int>(FDocument->Data.Tables.size()));
        if (name != "add")
            UnknownName(Member);
        const int rows = IntArg(Args, 1, Named, "numrows"), cols = IntArg(Args, 2, Named, "numcolumns");
        if (rows < 1 || cols < 1 || int64_t{rows} * cols > kMaxRangeCells)
            throw EOleException("The number must be between 1 and the table's limit");
        TDocTable table;
        table.Rows = rows;
        table.Cols = cols;
        table.Cells.resize(static_cast<size_t>(rows) * static_cast<size_t>(cols));
        FDocument->Data.Tables.push_back(std::move(table));
        return TOleVariant(TDispatch(std::make_shared<TTableObject>(FDocument, FDocument->Data.Tables.size() - 1)));
    }

private:
    std::shared_ptr<TDocument> FDocument;
};

class TDocumentObject : public IDispatchObject {
public:
    TOleVariant Invoke(const AnsiString& Member, TInvokeKind Kind, const std::vector<TOleVariant>& Args,
                       const std::vector<TNamedArg>& Named) override
    {
        const AnsiString name = LowerCase(Member);
        if (name == "range")
            return TOleVariant(TDispatch(std::make_shared<TDocRangeObject>(FDocument, nullptr)));
        if (name == "tables")
            return TOleVariant(TDispatch(std::make_shared<TTablesObject>(FDocument)));
        if (name == "saveas") {
            Save(NativePath(Arg(Args, 0, Named, "filename").AsString()));
            return {};
        }
        UnknownName(Member);
    }

private:
    void Save(const std::string& Target) const
    {
        const std::string bytes = InTargetKind(Target, DocxBytes(FDocument->Data), "docx");
        SaveLocked(Target, [&](const TFileUpdateLock&) { return bytes; });
    }
    std::shared_ptr<TDocument> FDocument = std::make_shared<TDocument>();
};

class TDocumentsObject : public IDispatchObject {
public:
    TOleVariant Invoke(const AnsiString& Member, TInvokeKind, const std::vector<TOleVariant>&,
                       const std::vector<TNamedArg>&) override
    {
        if (LowerCase(Member) != "add")
            UnknownName(Member);
        return TOleVariant(TDispatch(std::make_shared<TDocumentObject>()));
    }
};

class TWordObject : public IDispatchObject {
public:
    TOleVariant Invoke(const AnsiString& Member, TInvokeKind, const std::vector<TOleVariant>&,
                       const std::vector<TNamedArg>&) override
    {
        const AnsiString name = LowerCase(Member);
        if (name == "documents")
            return TOleVariant(FDocuments);
        if (name == "quit")
            return {};
        UnknownName(Member);
    }

private:
    TDispatch FDocuments = std::make_shared<TDocumentsObject>();
};

}  // namespace

TDispatch CreateOfficeServer(const AnsiString& ProgId)
{
    const AnsiString id = LowerCase(ProgId);
    if (id == "excel.application")
        return std::make_shared<TExcelObject>();
    if (id == "word.application")
        return std::make_shared<TWordObject>();
    return nullptr;
}
