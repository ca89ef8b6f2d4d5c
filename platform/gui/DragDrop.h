#pragma once
// Drag and drop between controls and programs, on Qt's: a control registered as a drop target
// gets enter, over, leave and drop with what the drag offers (text, rich text as text/rtf,
// local files from text/uri-list, a grid column in a private type); a control starts a drag of
// text and rich text, or of a column, and learns the effect. The decisions (what is accepted,
// which effect) are made on TDragData, which tests build without a window.
//
// DragDrop.cpp holds the decisions, the data read from and made for Qt, the drag, and the
// event filters that make a control's window a drop target and let a press start a drag.
//
// A control with a scrolled window (a list box) takes drops and presses on the window that
// shows its items (the viewport), in client coordinates.

#include <functional>
#include <memory>
#include <vector>

#include "platform/core/AnsiString.h"
#include "platform/core/EnumSet.h"
#include "platform/core/Geometry.h"
#include "platform/core/ShiftState.h"

class TObject;
class TWinControl;
class TBitmap;
class QMimeData;

enum : int { DROPEFFECT_NONE = 0, DROPEFFECT_COPY = 1, DROPEFFECT_MOVE = 2 };
enum : int { DRAGDROP_S_DROP = 0x00040100, DRAGDROP_S_CANCEL = 0x00040101 };

enum TDropFormat { dfText, dfFile, dfCol, dfRTF };
using TDropFormats = TEnumSet<TDropFormat>;

// What a drag offers: cp949 text, rich-text bytes, files (program paths), a column (-1: none).
struct TDragData {
    bool HasText = false;
    AnsiString Text;
    bool HasRTF = false;
    AnsiString RTF;
    std::vector<AnsiString> Files;
    int Col = -1;
};
// Read from Qt's data: text/plain as cp949, text/rtf, the local files of text/uri-list and the
// grid column's private type.
TDragData DragDataOf(const QMimeData& Mime);
// Made for Qt: text (UTF-8), rich text when RTFAware, the column when there is one.
std::unique_ptr<QMimeData> MimeDataOf(const TDragData& Data, bool RTFAware);

// Copy with Ctrl held, else move.
int StandardEffect(TShiftState Shift);
// The process-wide switch that lets rich text travel (set by a grid's OleDropRTF).
void SetRTFAware(bool Value);
bool RTFAware();

// A drop target's decisions. Accepting text and files is on at creation, columns off.
class TDropTarget {
public:
    virtual ~TDropTarget() = default;
    bool AcceptText = true;
    bool AcceptFiles = true;
    bool AcceptCols = false;

    // The drag comes in: its formats are read and whether it is accepted decided.
    void DragEnter(const TDragData& Data, TPoint Point);
    // The effect while over Point with the keys held (none when refused).
    int DragOver(TShiftState Keys, TPoint Point);
    void DragLeave() { DragMouseLeave(); }
    // The drop: a column, else rich text (when rich text travels), else text; and files. The
    // effect it had.
    int Drop(const TDragData& Data, TShiftState Keys, TPoint Point);
    bool Accepted() const { return FAccept; }
    TDropFormats Formats() const { return FFormats; }
    // Whether the target takes the drag at all: one it does not take goes to the window's own
    // handling (an edit's text drop), as if no target were registered.
    virtual bool TakesDrag(const TDragData& Data) const { return true; }

protected:
    // Before a drag's formats are read: a target may take its accept switches from its owner.
    virtual void DragPrepare() {}
    // The effect of an accepted drag with the keys held.
    virtual int DropEffect(TShiftState Keys) const { return StandardEffect(Keys); }
    virtual void DropText(TPoint Point, const AnsiString& Text) {}
    virtual void DropCol(TPoint Point, int Col) {}
    virtual void DropRTF(TPoint Point, const AnsiString& RTF) {}
    virtual void DropFiles(TPoint Point, const std::vector<AnsiString>& Files) {}
    virtual void DragMouseMove(TPoint Point, bool& Allow, TDropFormats Formats) {}
    virtual void DragMouseEnter() {}
    virtual void DragMouseLeave() {}

private:
    bool FAccept = false;
    TDropFormats FFormats;
};

// A drag's source: told of each effect the drag shows.
class TDropSource {
public:
    virtual ~TDropSource() = default;
    // The drag's last feedback was "no drop".
    bool NoDrop = false;
    virtual void CurrentEffect(int Effect) {}
};

// The control's window takes drops for Target (points in the control's client coordinates);
// null stops it. The target must outlive the registration.
void RegisterDropTarget(TWinControl* Control, TDropTarget* Target);
// Runs a drag from Control until it ends (the drag's picture is Picture when given): the result
// is DRAGDROP_S_DROP with the effect, or DRAGDROP_S_CANCEL.
int StartTextDoDragDrop(TWinControl* Control, TDropSource& Source, const AnsiString& Text, const AnsiString& RTF,
                        int OkEffects, int& Effect, TBitmap* Picture = nullptr);
int StartColDoDragDrop(TWinControl* Control, TDropSource& Source, int Col, int OkEffects, int& Effect,
                       TBitmap* Picture = nullptr);

// --- The framework's drag of a control (a list box's items)

// Manual: the control starts its drags itself; automatic: a left press starts one.
enum TDragMode { dmManual, dmAutomatic };
// Where a drag is, as a target sees it.
enum TDragState { dsDragEnter, dsDragLeave, dsDragMove };

// What a control's window is doing with the mouse, offered to the control before the window's
// own handling: a left press, or a move while the left button is held.
enum TDragInput { diPress, diMove };
// True takes the input: the window's own handling and the control's mouse messages are skipped,
// so that a drag can start without the press or the move selecting anything.
using TDragInputEvent = std::function<bool(TDragInput Input, TPoint Point, TShiftState Shift)>;
// Offers Control's window input to Event (client points); null stops it.
void SetDragInput(TWinControl* Control, TDragInputEvent Event);
// A left click (press and release, no keys) at a screen point, delivered to Control's window as
// the user's would be: the click that a cancelled drag took away. Nothing outside the window.
void ClickAfterDrag(TWinControl* Control, TPoint ScreenPoint);

// The framework's drag events: a drag starts and ends at its source (Target: the control that
// took the drop, or null); a target is told where the drag is and decides whether it would take
// it (Accept), then takes the drop.
using TStartDragEvent = std::function<void(TObject* Sender)>;
using TEndDragEvent = std::function<void(TObject* Sender, TObject* Target, int X, int Y)>;
using TDragOverEvent =
    std::function<void(TObject* Sender, TObject* Source, int X, int Y, TDragState State, bool& Accept)>;
using TDragDropEvent = std::function<void(TObject* Sender, TObject* Source, int X, int Y)>;
