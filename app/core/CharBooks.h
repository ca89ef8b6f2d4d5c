#pragma once
// The character book: one entry per saved character (display names, address and port, command
// file, bitmap fonts, colours, option bits) and the one book file "CharBooks\CharBooks" beside
// the program that holds them all.
//
// Entries are shared: the book's list holds them, and an open character window holds its own
// entry too, so reloading the book or deleting an entry never leaves a window with a freed one.

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/core/AnsiString.h"
#include "platform/core/Colors.h"

class TFreadStream;
class TCharBooks;

// What the book needs of the character window open for an entry.
class ICharBookWindow {
public:
    virtual ~ICharBookWindow() = default;
    // The book was reloaded: this is the window's entry from now on.
    virtual void RelinkCharBook(const std::shared_ptr<TCharBooks>& entry) = 0;
};

// The Hangul font of a new entry ("Fonts\뻗음꼴.han"), and the one a window draws with when the
// entry's own is no longer made (a face an earlier version shipped).
constexpr const char* kDefaultHanFont = "Fonts\\\xBB\xB8\xC0\xBD\xB2\xC3.han";

class TCharBooks {
public:
    TCharBooks();

    uint32_t Status;
    ICharBookWindow* TermForm;  // the open window, not owned; null when none
    AnsiString HostName;
    AnsiString CharName;
    AnsiString Host;
    int32_t Port;
    AnsiString TriggerFile;
    AnsiString HanFont;
    AnsiString EngFont;
    AnsiString SpcFont;
    AnsiString KsgFont;
    AnsiString FontName;
    TColor FgColor;
    TColor BgColor;

    int GetReConnect() const { return Bit(0x1); }
    int GetAlpha() const { return Bit(0x2); }
    int GetHan() const { return Bit(0x4); }
    int GetTranslate() const { return Bit(0x8); }
    int GetWalkAutoRewind() const { return Bit(0x10); }
    int GetWFCSubString() const { return Bit(0x20); }
    void SetReConnect(bool on) { SetBit(0x1, on); }
    void SetAlpha(bool on) { SetBit(0x2, on); }
    void SetHan(bool on) { SetBit(0x4, on); }
    void SetTranslate(bool on) { SetBit(0x8, on); }
    void SetWalkAutoRewind(bool on) { SetBit(0x10, on); }
    void SetWFCSubString(bool on) { SetBit(0x20, on); }

    // The text or colour field a book-file key names; null for any other key.
    AnsiString* TextField(const AnsiString& key);
    TColor* ColorField(const AnsiString& key);

    // The whole book, in file order.
    static std::vector<std::shared_ptr<TCharBooks>> CharBookList;
    // The book file as a program path; empty until the first load or save.
    static AnsiString BookFileName;

    // Reads the book into CharBookList; true when the last record read ended well. A file that
    // cannot be opened leaves the list as it was. A load that stops before the end of the book
    // (its "#END"), and a book that is there but cannot be read, are reported, and the file is
    // kept as "CharBooks\CharBooks.bak" at the next save.
    static bool Load();
    // How the last Load went: read to its end, stopped early, or the file could not be opened.
    enum TLoadOutcome { loRead, loStopped, loNotOpened };
    static TLoadOutcome LastLoad;
    // The longest value the load reads back.
    static constexpr size_t kMaxBookValue = 65535;
    // Writes the whole list; a failure is reported and leaves the old file. A value the load
    // could not read back (one holding '~', or longer than kMaxBookValue) fails the save.
    static bool Save();
    static void FreeAll();

    // Reports a failure to the user (caption, text; cp949). The window sets it to a message box;
    // unset, reports are only logged.
    static std::function<void(const AnsiString& caption, const AnsiString& text)> ReportError;

private:
    int Bit(uint32_t bit) const { return (Status & bit) ? 1 : 0; }
    void SetBit(uint32_t bit, bool on) { Status = on ? (Status | bit) : (Status & ~bit); }
};

// Reads the keys of one record into entry: true at "End" or the end of the file, false at an
// unknown key or a value that cannot be read (the reader then stays just after it).
bool FreadAccount(TCharBooks& entry, TFreadStream& file);
