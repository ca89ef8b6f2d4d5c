#pragma once
// The character-entry dialog's decisions, without a display: the button's caption by mode, the
// check of the four boxes, what each mode does to the book, and which entry the delete walk
// offers next.

#include <memory>

#include "app/core/CharBooks.h"
#include "platform/core/AnsiString.h"

// The dialog's modes, as the book window's buttons open it.
enum TCharEditMode { cemAdd = 1, cemEdit = 2, cemInsert = 3, cemDelete = 4 };

namespace CharEdit {

// The port box takes at most this many characters.
constexpr int kPortMaxLength = 5;

// "추가", "수정", "삽입", "삭제"; any other mode "디폴트(Bug)".
AnsiString ButtonCaption(int mode);

// An optional sign followed by one digit or more, nothing else.
bool IsNumber(const AnsiString& text);

// What the four boxes hold.
struct TFields {
    AnsiString HostName, Host, Port, CharName;
};
TFields FieldsOf(const TCharBooks& entry);

// The boxes may be saved: names and address not empty, the port a number, and no '~' anywhere
// (the book file ends a value there).
bool Accepts(const TFields& fields);

// Add (at the end), insert (before index, clamped into the book) or edit (entry): the fields go
// into the entry. Accepts must have passed.
void Add(const TFields& fields);
void Insert(int index, const TFields& fields);
void Edit(TCharBooks& entry, const TFields& fields);

// Takes the entry at index out of the book (a window open on it keeps it); false when the index
// is outside the book.
bool Delete(int index);
// After deleting index with the book grid on gridRow: the index the walk offers next, or -1 when
// the dialog closes. The grid row's entry when it lies after the deleted one, else the one
// before; none below 1, and never past the book.
int NextDeleteIndex(int deleted, int gridRow, int entryCount);

}  // namespace CharEdit
