#pragma once
// The framework's abstract list of lines, each with an object pointer. Subclasses keep the lines
// (TStringList) or forward them to a control. The list never owns the objects.

#include "platform/core/AnsiString.h"
#include "platform/core/Object.h"

class TStrings : public TPersistent {
public:
    TStrings() = default;
    TStrings(const TStrings&) = delete;
    TStrings& operator=(const TStrings&) = delete;

    int Count() const { return GetCount(); }
    AnsiString Strings(int index) const { return Get(index); }
    void SetStrings(int index, const AnsiString& s) { Put(index, s); }
    TObject* Objects(int index) const { return GetObject(index); }
    void SetObjects(int index, TObject* object) { PutObject(index, object); }

    // Every line followed by CR LF.
    AnsiString Text() const { return GetTextStr(); }
    // Replaces the lines by the text split at CR LF, LF or CR; a final line break adds no line.
    void SetText(std::string_view text) { SetTextStr(text); }

    // The lines joined by Delimiter; a line holding a blank, a control byte, the delimiter or the
    // quote character is quoted (inner quotes doubled). A single empty line gives two quotes.
    AnsiString DelimitedText() const;
    // Splits at the delimiter and at blanks outside quotes; a quoted field keeps its blanks.
    void SetDelimitedText(std::string_view text);
    AnsiString CommaText() const;
    void SetCommaText(std::string_view text);
    char Delimiter() const { return delimiter_; }
    void SetDelimiter(char c) { delimiter_ = c; }
    char QuoteChar() const { return quoteChar_; }
    void SetQuoteChar(char c) { quoteChar_ = c; }
    char NameValueSeparator() const { return nameValueSeparator_; }
    void SetNameValueSeparator(char c) { nameValueSeparator_ = c; }

    // Name=Value lines: the name part of a line (empty without a separator), the value of the
    // first line with that name (names compared without regard to case).
    AnsiString Names(int index) const;
    AnsiString Values(std::string_view name) const;
    // An empty value deletes the line; otherwise the line is replaced or added.
    void SetValues(std::string_view name, std::string_view value);
    AnsiString ValueFromIndex(int index) const;

    virtual int Add(const AnsiString& s);
    virtual int AddObject(const AnsiString& s, TObject* object);
    void Append(const AnsiString& s) { Add(s); }
    virtual void AddStrings(const TStrings* strings);
    virtual void Insert(int index, const AnsiString& s) = 0;
    virtual void InsertObject(int index, const AnsiString& s, TObject* object);
    virtual void Delete(int index) = 0;
    virtual void Clear() = 0;
    virtual void Exchange(int index1, int index2);
    virtual void Move(int curIndex, int newIndex);
    virtual int IndexOf(std::string_view s) const;
    virtual int IndexOfName(std::string_view name) const;
    virtual int IndexOfObject(const TObject* object) const;
    bool Equals(const TStrings* strings) const;

    void Assign(TPersistent* source) override;

    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return updateCount_; }

    // File names are program paths (cp949, backslashes allowed, relative to the program folder).
    // Loading raises EFOpenError; saving goes through the atomic writer and raises on failure,
    // leaving the old file in place.
    virtual void LoadFromFile(std::string_view fileName);
    virtual void SaveToFile(std::string_view fileName) const;

    // Raises EStringListError with the framework's message (a "%d" in it takes value).
    [[noreturn]] static void Error(const char* message, int value);

protected:
    virtual AnsiString Get(int index) const = 0;
    virtual int GetCount() const = 0;
    virtual TObject* GetObject(int index) const;
    virtual void Put(int index, const AnsiString& s);
    virtual void PutObject(int index, TObject* object);
    virtual AnsiString GetTextStr() const;
    virtual void SetTextStr(std::string_view text);
    // Called with true when the first BeginUpdate starts and false when the last EndUpdate ends.
    virtual void SetUpdateState(bool updating);
    // <0, 0 or >0 for two lines; the base ignores ASCII case.
    virtual int CompareStrings(std::string_view a, std::string_view b) const;

private:
    AnsiString JoinFields(char delimiter, char quoteChar) const;
    void SplitFields(std::string_view text, char delimiter, char quoteChar);

    int updateCount_ = 0;
    char delimiter_ = ',';
    char quoteChar_ = '"';
    char nameValueSeparator_ = '=';
};
