#pragma once
// The framework's list of lines kept in memory, optionally sorted, with change events.

#include <functional>
#include <utility>
#include <vector>

#include "platform/core/Strings.h"

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStringList;
// <0, 0 or >0 for the lines at Index1 and Index2 of List.
using TStringListSortCompare = std::function<int(TStringList* List, int Index1, int Index2)>;

class TStringList : public TStrings {
public:
    TStringList() = default;
    ~TStringList() override;

    int Add(const AnsiString& s) override;
    int AddObject(const AnsiString& s, TObject* object) override;
    void Insert(int index, const AnsiString& s) override;
    void InsertObject(int index, const AnsiString& s, TObject* object) override;
    void Delete(int index) override;
    void Clear() override;
    void Exchange(int index1, int index2) override;
    void Move(int curIndex, int newIndex) override;
    int IndexOf(std::string_view s) const override;

    // Binary search of a sorted list: true when found; index is where s is or would be.
    virtual bool Find(std::string_view s, int& index) const;
    virtual void Sort();
    virtual void CustomSort(const TStringListSortCompare& compare);

    bool Sorted() const { return sorted_; }
    void SetSorted(bool value);
    TDuplicates Duplicates() const { return duplicates_; }
    void SetDuplicates(TDuplicates value) { duplicates_ = value; }
    bool CaseSensitive() const { return caseSensitive_; }
    void SetCaseSensitive(bool value);
    int Capacity() const { return static_cast<int>(items_.capacity()); }
    void SetCapacity(int value);

    // Raised around every change, not while an update is open; OnChange once more at its end.
    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

protected:
    AnsiString Get(int index) const override;
    int GetCount() const override { return static_cast<int>(items_.size()); }
    TObject* GetObject(int index) const override;
    void Put(int index, const AnsiString& s) override;
    void PutObject(int index, TObject* object) override;
    void SetUpdateState(bool updating) override;
    int CompareStrings(std::string_view a, std::string_view b) const override;
    virtual void Changed();
    virtual void Changing();

private:
    void CheckIndex(int index) const;
    void InsertItem(int index, const AnsiString& s, TObject* object);

    std::vector<std::pair<AnsiString, TObject*>> items_;
    bool sorted_ = false;
    bool caseSensitive_ = false;
    TDuplicates duplicates_ = dupIgnore;
};
